#pragma once

#include <QLineEdit>
#include <QVariantMap>

class Prompter;

// The icon image's path field. An image file dropped on it is announced with
// TextFieldDragPerformed, whose user info holds the file under "path"; the field's text is
// left to the editor.
class CustomTextField : public QLineEdit {
    Q_OBJECT

public:
    // The prompter asks before a drop replaces an image; it must outlive the field.
    explicit CustomTextField(Prompter& prompter, QWidget* parent = nullptr);

signals:
    void TextFieldDragPerformed(const QVariantMap& userInfo);
};
