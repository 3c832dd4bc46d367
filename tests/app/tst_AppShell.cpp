#include "EditorFixture.h"

namespace {

const QString kExitQuestion = QStringLiteral(
    "You have unsaved changes that will be lost. Are you sure you want to exit the application?");

// Runs the main loop, starting with `action`, until something ends it; -1 when nothing did.
int RunMainLoop(const std::function<void()>& action) {
    const QObject giveUp; // its timer goes with it
    QTimer::singleShot(0, action);
    QTimer::singleShot(5000, &giveUp, [] { QCoreApplication::exit(-1); });
    return QCoreApplication::exec();
}

} // namespace

// The unsaved-changes marker, the question before closing or quitting, and the menus.
class tst_AppShell : public QObject {
    Q_OBJECT

public slots:
    void OpenUrl(const QUrl& url) { m_openedUrls.append(url); }

private:
    QList<QUrl> m_openedUrls;

private slots:
    // Only a "*" at the very end is the marker, and edits add it once.
    void marker_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("edits");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QString>("afterEdits");
        QTest::newRow("two edits") << "Sigilon" << 2 << false << "Sigilon*";
        QTest::newRow("star inside") << "Sigilon - a*b" << 1 << false << "Sigilon - a*b*";
        QTest::newRow("only a star") << "*" << 1 << true << "*";
        QTest::newRow("empty title") << "" << 1 << false << "*";
    }
    void marker() {
        QFETCH(QString, title);
        QFETCH(int, edits);
        QFETCH(bool, unsaved);
        QFETCH(QString, afterEdits);
        EditorFixture editor;
        editor.window->setWindowTitle(title);
        QCOMPARE(editor.controller()->HasUnsavedChanges(), unsaved);
        // Asked only with the marker; a question closed without an answer lets the caller go on.
        QVERIFY(editor.controller()->ConfirmDiscard(kExitQuestion));
        QCOMPARE(editor.prompter.questions.size(), unsaved ? 1 : 0);
        for (int i = 0; i < edits; ++i)
            UserInput::Click(editor.controls().checkTextShadow);
        QCOMPARE(editor.Title(), afterEdits);
    }

    void closeAndQuit_data() {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("marked");
        QTest::newRow("close") << false << false;
        QTest::newRow("close with marker") << false << true;
        QTest::newRow("quit") << true << false;
        QTest::newRow("quit with marker") << true << true;
    }
    void closeAndQuit() {
        QFETCH(bool, quit);
        QFETCH(bool, marked);
        EditorFixture editor;
        QSignalSpy terminate(editor.controller(), &ViewController::terminateRequested);
        const auto request = [&] {
            if (quit)
                editor.menu().quit->trigger();
            else
                editor.window->close();
        };
        if (marked) {
            UserInput::Click(editor.controls().checkIconShadow);
            editor.prompter.answers = {kNo};
            request();
            QCOMPARE(editor.prompter.Messages(), QStringList{kExitQuestion});
            QCOMPARE(editor.prompter.questions.first().buttons, (QStringList{"Yes", "No"}));
            QVERIFY(editor.window->isVisible());
            QCOMPARE(terminate.size(), 0);
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
            editor.prompter.answers = {kYes};
        }
        QCOMPARE(RunMainLoop(request), 0);
        QCOMPARE(editor.window->isVisible(), quit);
        // A confirmed quit is not asked again as the window goes.
        QCOMPARE(editor.prompter.questions.size(), marked ? 2 : 0);
    }

    void helpMenuOpensThePagesThatShipWithTheApplication() {
        EditorFixture editor;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
        for (QAction* help : editor.window->menuBar()->actions().last()->menu()->actions())
            help->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QSet<QString> pages;
        for (const QUrl& url : m_openedUrls) {
            const QString name = QFileInfo(url.toLocalFile()).fileName();
            QVERIFY2(QDir(QStringLiteral(SIGILON_SOURCE_DIR "/help")).exists(name),
                     qPrintable(url.toString()));
            pages.insert(name);
        }
        QCOMPARE(pages.size(), 3);
    }
};

QTEST_MAIN(tst_AppShell)
#include "tst_AppShell.moc"
