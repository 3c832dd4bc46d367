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

    QSize sizeHint() const override;

signals:
    void colorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenChooser();
    void TakeUserColor(const QColor& color);

    Rgba m_color;
    Rgba m_colorBeforeChooser;
    QPointer<QColorDialog> m_chooser;
};
