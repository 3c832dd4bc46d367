#include "app/CustomTextField.h"

#include "app/IconImageDropTarget.h"

CustomTextField::CustomTextField(Prompter& prompter, QWidget* parent) : QLineEdit(parent) {
    new IconImageDropTarget(this, prompter, [this](const QString& path) {
        emit TextFieldDragPerformed({{QStringLiteral("path"), path}});
    });
}
