#pragma once

#include <QValidator>

// Keeps a text field on one line: every line-break character typed, pasted or dropped into
// it becomes a space. A profile stores each text on a line of its own, so a line break in a
// text would make a profile that cannot be read back.
class SingleLineValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;
};
