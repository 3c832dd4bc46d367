#pragma once

#include "export/Prompter.h"

class QWidget;

// The questions, alerts and file choosers of the running editor, as modal dialogs over the
// window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    int Ask(const QString& message, const QStringList& buttons) override;
    int AskWithDetails(const QString& message, const QString& details,
                       const QStringList& buttons) override;
    int Tell(const QString& message, const QString& details, const QStringList& buttons) override;
    std::optional<QString> ChooseFolder(const QString& prompt) override;
    std::optional<QString> ChooseSaveFile(const QString& defaultName,
                                          const QString& extension) override;
    std::optional<QString> ChooseOpenFile(const QStringList& extensions) override;

private:
    int Show(bool warning, const QString& message, const QString& details,
             const QStringList& buttons);

    QWidget* m_parent;
};
