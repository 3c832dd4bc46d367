#pragma once

#include "editing/Keylines.h"

#include <QImage>
#include <QRect>
#include <QTransform>

// The keylines' shade and lines drawn once for where the picture lies on the screen, then laid
// over it at every paint as two images: filling the shade's and the lines' curved, anti-aliased
// paths anew took longer at each paint than all else the view draws while a layer is dragged.
class KeylinePictures {
public:
    // Draws the two images for the overlay mapped by `toScreen`, over the `visible` part of the
    // view, at the device's pixel ratio, unless they are drawn for that already.
    void Prepare(const KeylineOverlay& overlay, const QTransform& toScreen, const QRect& visible,
                 qreal pixelRatio);
    // The overlay changed: the next Prepare draws the images anew.
    void Forget() { m_shade = QImage(); }

    const QImage& shade() const { return m_shade; }
    const QImage& lines() const { return m_lines; }
    QPoint origin() const { return m_visible.topLeft(); } // where both images go on the view

private:
    QImage m_shade;
    QImage m_lines;
    QTransform m_toScreen;
    QRect m_visible;
    qreal m_pixelRatio = 0;
};
