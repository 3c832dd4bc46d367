#pragma once

#include <QWidget>

class QToolButton;

// Up and down arrows that step a number between a minimum and a maximum, kept apart from the
// text field that shows the number: the field's typed-number rules are the editor's own.
// valueChanged is emitted only when the user steps the value (click, auto-repeat, arrow keys,
// wheel); setValue never emits it.
class Stepper : public QWidget {
    Q_OBJECT

public:
    Stepper(double minimum, double maximum, double increment, QWidget* parent = nullptr);

    double value() const { return m_value; }
    // Clamped to the stepper's range, as a stepper cannot hold a value outside it.
    void setValue(double value);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double increment() const { return m_increment; }

    // Steps as one click on an arrow does: +1 up, -1 down.
    void StepBy(int steps);

    // For arrows inside a field, which shows the focus itself: this size, no ring around them.
    void SetArrowSize(const QSize& size);

signals:
    // Before each step the user takes, so a field that shows the number can hand over one typed
    // into it first and the step starts from that.
    void aboutToStep();
    void valueChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QToolButton* MakeArrow(Qt::ArrowType arrow, int steps);

    static constexpr int kFocusRing = 2; // width of the ring that shows the focus

    double m_minimum;
    double m_maximum;
    double m_increment;
    double m_value;
};
