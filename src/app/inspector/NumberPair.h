#pragma once

#include <QtGlobal>

class QLineEdit;
class Stepper;

// A number field and the stepper that moves it, with the rules for typed numbers.
struct NumberPair {
    QLineEdit* field = nullptr;
    Stepper* stepper = nullptr;
    qint64 fallback = 0;
    qint64 minimum = 0;
    qint64 maximum = 0;
    bool wholeNumberText = true; // the stepper writes "%.0f"; otherwise its value as is

    // The typed text: one that is no whole number becomes the fallback, one outside the range
    // its nearest end; the stepper takes the value.
    void TakeTyped() const;
    // The stepper's value, written into the field.
    void ShowStepped() const;
};
