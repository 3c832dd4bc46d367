#include "app/inspector/NumberPair.h"

#include "app/inspector/Stepper.h"
#include "design/NumberText.h"

#include <QLineEdit>
#include <QSignalBlocker>

void NumberPair::TakeTyped() const {
    const QString text = field->text();
    {
        const QSignalBlocker blocker(field);
        if (!ParseWholeNumber(text)) {
            field->setText(QString::number(fallback));
        } else {
            const float value = float(LeadingNumberValue(text));
            if (value > maximum)
                field->setText(QString::number(maximum));
            else if (value < minimum)
                field->setText(QString::number(minimum));
        }
    }
    stepper->setValue(LeadingNumberValue(field->text()));
}

void NumberPair::ShowStepped() const {
    const double value = stepper->value();
    const QSignalBlocker blocker(field);
    field->setText(wholeNumberText ? QString::asprintf("%.0f", value) : QString::number(value));
}
