#include "app/canvas/ProgressIndicator.h"

#include <QPainter>

namespace {
constexpr int kSpokes = 12;
}

ProgressIndicator::ProgressIndicator(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
}

void ProgressIndicator::startAnimation() {
    m_timer.start();
}

void ProgressIndicator::stopAnimation() {
    m_timer.stop();
}

void ProgressIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    QColor color = palette().color(QPalette::WindowText);
    QPen pen(color, side / 10.0, Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke at the current step is darkest; the ones behind it fade out.
        const int age = (m_step - i + kSpokes) % kSpokes;
        color.setAlphaF(1.0f - 0.8f * age / kSpokes);
        pen.setColor(color);
        painter.setPen(pen);
        painter.drawLine(QPointF(0, -side * 0.22), QPointF(0, -side * 0.45));
        painter.rotate(360.0 / kSpokes);
    }
}
