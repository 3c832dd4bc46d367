#pragma once

#include "design/Rgba.h"

#include <QAbstractButton>
#include <QPointer>

class QColorDialog;

// A colour swatch that opens a chooser of opaque colours when clicked. It keeps its colour exactly
// as it was set, at full double precision, so a colour read from a profile is written back
// unchanged. colorChanged is emitted only for the user's choices, live while the chooser is
// open; setColor never emits it.
class ColorWell : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColorWell(QWidget* parent = nullptr);

    Rgba color() const { return m_color; }
    void setColor(const Rgba& color);
    // A colour the user chose elsewhere (a typed value): taken as a choice in the chooser is.
    void ChooseColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void colorChanged();
    // Every change of the colour shown, the user's and setColor's.
    void colorShown();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenChooser();

    Rgba m_color;
    Rgba m_colorBeforeChooser;
    QPointer<QColorDialog> m_chooser;
};
