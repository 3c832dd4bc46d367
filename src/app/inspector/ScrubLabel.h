#pragma once

#include <QLabel>

class QLineEdit;
class Stepper;

// The caption of a number field that changes the number when dragged sideways: one step of the
// field's stepper for every few pixels, right for more, left for less. It announces the start
// and the end of a drag that moved the number, so the whole drag can be one undo step.
class ScrubLabel : public QLabel {
    Q_OBJECT

public:
    ScrubLabel(const QString& text, QLineEdit* field, Stepper* stepper);

    Stepper* stepper() const { return m_stepper; }

signals:
    void dragStarted();
    void dragFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLineEdit* m_field;
    Stepper* m_stepper;
    bool m_pressed = false;
    int m_pressX = 0;
    int m_stepsTaken = 0;
};
