#pragma once

#include <QObject>
#include <QStringList>

class Prompter;
class QMenu;
class ViewController;

// File > Open Recent: the last profiles opened or saved, newest first, kept in the settings. A
// chosen one opens as Load opens it; one that is no longer there is removed with a message.
class RecentProfiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kLength = 8;

    RecentProfiles(QMenu& menu, ViewController& editor, Prompter& prompter);

    static QStringList List();
    // The list with `path` first, once, at most kLength long.
    static QStringList WithFirst(QStringList list, const QString& path);

private:
    void Fill();
    void Open(const QString& path);

    QMenu& m_menu;
    ViewController& m_editor;
    Prompter& m_prompter;
};
