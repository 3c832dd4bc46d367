#include "app/dialogs/QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

int QtPrompter::Ask(const QString& message, const QStringList& buttons) {
    return AskWithDetails(message, QString(), buttons);
}

int QtPrompter::AskWithDetails(const QString& message, const QString& details,
                               const QStringList& buttons) {
    return Show(true, message, details, buttons);
}

int QtPrompter::Tell(const QString& message, const QString& details, const QStringList& buttons) {
    return Show(false, message, details, buttons);
}

int QtPrompter::Show(bool warning, const QString& message, const QString& details,
                     const QStringList& buttons) {
    QMessageBox box(m_parent);
    box.setIcon(warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setWindowTitle(QStringLiteral("Sigilon"));
    // The message as the box's text, not its informative text: the box sizes itself by its
    // text and would wrap an informative text alone into a narrow column.
    box.setText(message);
    // The box adds its own "Show Details..." button, which opens a scrolling area.
    box.setDetailedText(details);
    // One role for all keeps the buttons in the order given; the first is the default.
    QList<QPushButton*> added;
    for (const QString& title : buttons)
        added.append(box.addButton(title, QMessageBox::AcceptRole));
    if (added.isEmpty()) {
        box.exec();
        return -1;
    }
    box.setDefaultButton(added.first());
    // The last button is the safe choice ("No", "No to All", "Cancel"): Escape and closing
    // the question choose it.
    box.setEscapeButton(added.last());
    box.exec();
    // No button at all when a quit from outside ended the box: not answered, which the callers
    // take as the safe choice, and the question at start keeps its design for the next start.
    return int(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}

std::optional<QString> QtPrompter::ChooseFolder(const QString& prompt) {
    QFileDialog dialog(m_parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, prompt);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

std::optional<QString> QtPrompter::ChooseSaveFile(const QString& defaultName,
                                                  const QString& extension) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("*.%1").arg(extension));
    dialog.setDefaultSuffix(extension);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::ChooseOpenFile(const QStringList& extensions) {
    // File names on this system are case-sensitive, the accepted extensions are not.
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << "*." + extension.toLower() << "*." + extension.toUpper();
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(patterns.join(u' '));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
