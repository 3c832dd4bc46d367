#include "EditorFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

const QString kExitQuestion = QStringLiteral(
    "You have unsaved changes that will be lost. Are you sure you want to exit the application?");
constexpr int kYes = 0;
constexpr int kNo = 1;

// Runs the application's main loop, starting with `action`, until something ends it; returns
// its exit status, or -1 when it was still running after a few seconds.
int RunMainLoop(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(5000);
    return QCoreApplication::exec();
}

} // namespace

// The unsaved-changes marker, the questions before closing or quitting, and the help pages.
class tst_AppShell : public QObject {
    Q_OBJECT

public slots:
    // Receives the help pages instead of the browser.
    void OpenUrl(const QUrl& url) { m_openedUrls.append(url); }

private:
    QList<QUrl> m_openedUrls;

private slots:
    void markerIsAddedOnce() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Click(editor.controls().checkTextShadow);
        UserInput::Click(editor.controls().checkTextShadow);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.controller()->HasUnsavedChanges());
    }

    void markerIsOnlyTheLastCharacter_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QString>("afterAnEdit");
        QTest::newRow("star inside") << "Sigilon - a*b" << false << "Sigilon - a*b*";
        QTest::newRow("only a star") << "*" << true << "*";
        QTest::newRow("empty title") << "" << false << "*";
        QTest::newRow("marked profile") << "Sigilon - logo*" << true << "Sigilon - logo*";
    }
    void markerIsOnlyTheLastCharacter() {
        QFETCH(QString, title);
        QFETCH(bool, unsaved);
        QFETCH(QString, afterAnEdit);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.window->setWindowTitle(title);
        QCOMPARE(editor.controller()->HasUnsavedChanges(), unsaved);
        // Without a marker nothing is asked; with one the question is asked.
        QCOMPARE(editor.controller()->ConfirmDiscard(kExitQuestion), true);
        QCOMPARE(editor.prompter.questions.size(), unsaved ? 1 : 0);
        editor.controller()->MarkAsModified();
        QCOMPARE(editor.Title(), afterAnEdit);
    }

    void confirmDiscardAsksYesOrNo() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->MarkAsModified();
        editor.prompter.answers = {kNo, kYes, -1};
        QVERIFY(!editor.controller()->ConfirmDiscard(QStringLiteral("Lose it?")));
        QVERIFY(editor.controller()->ConfirmDiscard(QStringLiteral("Lose it?")));
        // Any other ending of the question lets the caller go on.
        QVERIFY(editor.controller()->ConfirmDiscard(QStringLiteral("Lose it?")));
        QCOMPARE(editor.prompter.questions.size(), 3);
        QCOMPARE(editor.prompter.questions.first().message, QStringLiteral("Lose it?"));
        QCOMPARE(editor.prompter.questions.first().buttons,
                 (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    }

    // A controller that is not placed in a window has no title to mark.
    void withoutAWindowNothingIsMarkedOrAsked() {
        ScriptedPrompter prompter;
        auto log = std::make_shared<RenderLog>();
        {
            MemoryRatePreference ratePreference;
            ViewController controller(prompter, ratePreference, LoggingRenderer(log));
            controller.setWindowTitle(QStringLiteral("Sigilon"));
            controller.MarkAsModified();
            QCOMPARE(controller.windowTitle(), QStringLiteral("Sigilon"));
            QVERIFY(!controller.HasUnsavedChanges());
            QVERIFY(controller.ConfirmDiscard(kExitQuestion));
            QVERIFY(prompter.questions.isEmpty());
        }
        QThreadPool::globalInstance()->waitForDone();
    }

    void closingWithoutMarkerClosesAtOnce() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        // Closing the one window ends the application.
        QCOMPARE(RunMainLoop([&] { QVERIFY(editor.window->close()); }), 0);
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(!editor.window->isVisible());
    }

    void closingWithMarkerAsks() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Click(editor.controls().checkIconShadow);
        QVERIFY(editor.WaitUntilIdle());
        const QString design = editor.controller()->MakeProfileText();

        editor.prompter.answers = {kNo};
        QVERIFY(!editor.window->close());
        QCOMPARE(editor.prompter.Messages(), QStringList{kExitQuestion});
        QVERIFY(editor.window->isVisible());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QCOMPARE(editor.controller()->MakeProfileText(), design);
        QCOMPARE(editor.HistorySize(), 2);

        editor.prompter.answers = {kYes};
        QCOMPARE(RunMainLoop([&] { QVERIFY(editor.window->close()); }), 0);
        QVERIFY(!editor.window->isVisible());
        QCOMPARE(editor.prompter.questions.size(), 2);
    }

    void quitWithoutMarkerQuitsAtOnce() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(RunMainLoop([&] { editor.controller()->menuActions().quit->trigger(); }), 0);
        QVERIFY(editor.prompter.questions.isEmpty());
    }

    void quitWithMarkerAsks() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Click(editor.controls().checkTextStroke);
        QVERIFY(editor.WaitUntilIdle());
        const QString design = editor.controller()->MakeProfileText();
        QSignalSpy terminate(editor.controller(), &ViewController::terminateRequested);

        editor.prompter.answers = {kNo};
        editor.controller()->menuActions().quit->trigger();
        QCOMPARE(terminate.size(), 0);
        QCOMPARE(editor.prompter.Messages(), QStringList{kExitQuestion});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QCOMPARE(editor.controller()->MakeProfileText(), design);
        QCOMPARE(editor.HistorySize(), 2);

        editor.prompter.answers = {kYes};
        QCOMPARE(RunMainLoop([&] { editor.controller()->menuActions().quit->trigger(); }), 0);
        // The quit asked once and did not ask again through the window.
        QCOMPARE(editor.prompter.questions.size(), 2);
    }

    void menusCarryTheCommands() {
        EditorFixture editor;
        QStringList titles;
        for (QAction* menu : editor.window->menuBar()->actions())
            titles.append(menu->text().remove(u'&'));
        QCOMPARE(titles, (QStringList{"File", "Edit", "View", "Help"}));
        const ViewController::MenuActions& a = editor.controller()->menuActions();
        QCOMPARE(a.undo->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(a.quit->shortcut(), QKeySequence(QKeySequence::Quit));
        QVERIFY(!a.showCanvasMargins->associatedObjects().isEmpty());
    }

    void helpPagesShipWithTheApplication() {
        EditorFixture editor;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
        m_openedUrls.clear();
        const ViewController::MenuActions& a = editor.controller()->menuActions();
        for (QAction* help :
             {a.howToCreateMacAppIcons, a.howToCreateAnIOSAppIcon, a.howToCreateALogo})
            help->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        QCOMPARE(m_openedUrls.size(), 3);
        const QDir sources(QStringLiteral(SIGILON_SOURCE_DIR "/help"));
        QSet<QString> pages;
        for (const QUrl& url : m_openedUrls) {
            QVERIFY(url.isLocalFile());
            const QString name = QFileInfo(url.toLocalFile()).fileName();
            QVERIFY2(sources.exists(name), qPrintable(name));
            pages.insert(name);
        }
        QCOMPARE(pages.size(), 3);
    }
};

QTEST_MAIN(tst_AppShell)
#include "tst_AppShell.moc"
