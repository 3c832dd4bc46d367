#include "app/inspector/CustomTextField.h"

#include "app/canvas/IconImageDropTarget.h"

CustomTextField::CustomTextField(Prompter& prompter, QWidget* parent) : QLineEdit(parent) {
    new IconImageDropTarget(this, prompter, [this](const QString& path) {
        emit TextFieldDragPerformed({{QStringLiteral("path"), path}});
    });
}
