#include "app/inspector/SingleLineValidator.h"

namespace {

bool IsLineBreak(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x000A && code <= 0x000D) || code == 0x0085 || code == 0x2028 || code == 0x2029;
}

} // namespace

QValidator::State SingleLineValidator::validate(QString& input, int&) const {
    fixup(input);
    return Acceptable;
}

void SingleLineValidator::fixup(QString& input) const {
    for (QChar& c : input) {
        if (IsLineBreak(c))
            c = u' ';
    }
}
