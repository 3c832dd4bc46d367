#pragma once

#include <QObject>

class QLineEdit;
class Stepper;

// Makes a number field and its stepper read and work as one spin box: the arrows sit inside
// the field's right edge and share its focus, Up and Down in the field step, and the wheel
// steps while the field has the focus. The field's typed-number rules stay the editor's own:
// a number typed but not yet committed is committed first, so a step starts from what the
// user sees.
class SpinField : public QObject {
    Q_OBJECT

public:
    SpinField(QLineEdit* field, Stepper* stepper);

    // Commits what was typed into the field, as leaving it would.
    static void CommitTyped(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceArrows();

    QLineEdit* m_field;
    Stepper* m_stepper;
};
