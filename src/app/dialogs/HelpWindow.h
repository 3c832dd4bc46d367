#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

// The offline help pages in a window of the application's own, so help works where no web
// browser is registered: one page at a time, its links followed inside the window (links to
// the web go to the browser), with Back, Forward and Contents.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // `contents` is the page the Contents button shows.
    explicit HelpWindow(const QUrl& contents, QWidget* parent = nullptr);

    // Shows `page`, a local file, and brings the window to the front.
    void Open(const QUrl& page);

    QUrl page() const;

private:
    QTextBrowser* m_browser;
};
