#include "app/inspector/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionFocusRect>

ColorWell::ColorWell(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &ColorWell::OpenChooser);
}

void ColorWell::setColor(const Rgba& color) {
    m_color = color;
    update();
    emit colorShown();
}

QSize ColorWell::sizeHint() const {
    return {40, 22};
}

void ColorWell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF swatch = frame.adjusted(3, 3, -3, -3);

    painter.setPen(QPen(palette().color(isDown() ? QPalette::Highlight : QPalette::Mid), 1));
    painter.setBrush(palette().button());
    painter.drawRoundedRect(frame, 4, 4);

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color.toQColor());
    painter.drawRoundedRect(swatch, 2, 2);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ColorWell::OpenChooser() {
    if (m_chooser) {
        m_chooser->raise();
        m_chooser->activateWindow();
        return;
    }
    m_colorBeforeChooser = m_color;
    m_chooser = new QColorDialog(m_color.toQColor(), this);
    // Profiles keep red, green and blue only, so the chooser offers no transparency.
    m_chooser->setOptions(QColorDialog::DontUseNativeDialog);
    m_chooser->setWindowTitle(toolTip().isEmpty() ? tr("Colour") : toolTip());
    m_chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_chooser, &QColorDialog::currentColorChanged, this, &ColorWell::ChooseColor);
    // Cancel puts back the colour the chooser started from.
    connect(m_chooser, &QDialog::rejected, this, [this] {
        if (m_color == m_colorBeforeChooser)
            return;
        setColor(m_colorBeforeChooser);
        emit colorChanged();
    });
    m_chooser->show();
}

void ColorWell::ChooseColor(const QColor& color) {
    const Rgba chosen{color.redF(), color.greenF(), color.blueF(), 1.0};
    if (chosen == m_color)
        return;
    setColor(chosen);
    emit colorChanged();
}
