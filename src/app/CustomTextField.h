#pragma once

#include <QLineEdit>

// The icon image's path field.
class CustomTextField : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;
};
