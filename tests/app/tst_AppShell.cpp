#include "EditorFixture.h"
#include "app/dialogs/HelpWindow.h"
#include "app/window/CrashRecovery.h"
#include "app/window/DesktopColorScheme.h"
#include "app/window/TerminationSignal.h"
#include "helpers/TestDesigns.h"

#include <csignal>
#include <unistd.h>

namespace {

const QString kExitQuestion = QStringLiteral(
    "Do you want to save the changes to this design before you quit? Your changes will be lost "
    "if you don't save them.");

// Runs the main loop, starting with `action`, until something ends it; -1 when nothing did.
int RunMainLoop(const std::function<void()>& action) {
    const QObject giveUp; // its timer goes with it
    QTimer::singleShot(0, action);
    QTimer::singleShot(5000, &giveUp, [] { QCoreApplication::exit(-1); });
    return QCoreApplication::exec();
}

// The section a control sits in, as its index in reading order; -1 outside the sections.
int GroupIndex(const QWidget* widget) {
    static const QStringList kGroups{"Canvas", "Background", "Icon", "Text", "Output"};
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const CollapsibleSection*>(w))
            return int(kGroups.indexOf(group->title()));
    }
    return -1;
}

} // namespace

// The editor window as it starts, where its controls are, the question before closing or
// quitting, a quit from outside, and the menus.
class tst_AppShell : public QObject {
    Q_OBJECT

public slots:
    void OpenUrl(const QUrl& url) { m_openedUrls.append(url); }

private:
    QList<QUrl> m_openedUrls;

private slots:
    // A number typed but not yet confirmed is a change too; a question closed unanswered keeps
    // the window, as Cancel does.
    void closeAndQuit_data() {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QString>("edit"); // "", "click" or "typed"
        QTest::addColumn<int>("answer");   // to the second question; -1: closed
        QTest::newRow("close") << false << "" << -1;
        QTest::newRow("quit") << true << "" << -1;
        QTest::newRow("close after a click") << false << "click" << int(kDontSave);
        QTest::newRow("quit with a typed number") << true << "typed" << int(kDontSave);
        QTest::newRow("quit, question closed") << true << "click" << -1;
    }
    void closeAndQuit() {
        QFETCH(bool, quit);
        QFETCH(QString, edit);
        QFETCH(int, answer);
        EditorFixture editor;
        QSignalSpy terminate(editor.controller(), &ViewController::terminateRequested);
        const auto request = [&] {
            if (quit)
                editor.menu().quit->trigger();
            else
                editor.window->close();
        };
        if (edit == "click")
            UserInput::Click(editor.controls().checkIconShadow);
        if (edit == "typed")
            UserInput::Type(editor.controls().textFieldFontSize, "64", /*confirm=*/false);
        const bool marked = !edit.isEmpty();
        if (marked) {
            editor.prompter.answers = {kCancel};
            request();
            QCOMPARE(editor.prompter.Messages(), QStringList{kExitQuestion});
            QCOMPARE(editor.prompter.questions.first().buttons, kUnsavedButtons);
            QVERIFY(editor.window->isVisible());
            QCOMPARE(terminate.size(), 0);
            editor.prompter.answers = {answer};
        }
        if (answer < 0 && marked) {
            request();
            QVERIFY(editor.window->isVisible());
            QCOMPARE(terminate.size(), 0);
            return;
        }
        QCOMPARE(RunMainLoop(request), 0);
        QCOMPARE(editor.window->isVisible(), quit);
        // A confirmed quit is not asked again as the window goes.
        QCOMPARE(editor.prompter.questions.size(), marked ? 2 : 0);
    }

    // A quit from outside asks nothing and keeps the unsaved changes, up to date however recent,
    // for the next start; a quit the user confirmed removes them, saved or let go.
    void quitFromOutsideKeepsTheUnsavedChanges_data() {
        QTest::addColumn<int>("signal"); // 0: quit from the menu
        QTest::addColumn<int>("answer"); // to the question before quitting
        QTest::newRow("SIGTERM") << int(SIGTERM) << -1;
        QTest::newRow("SIGINT") << int(SIGINT) << -1;
        QTest::newRow("quit, don't save") << 0 << int(kDontSave);
        QTest::newRow("quit, save") << 0 << int(kSave);
    }
    void quitFromOutsideKeepsTheUnsavedChanges() {
        QFETCH(int, signal);
        QFETCH(int, answer);
        UseOwnSettings();
        QVERIFY(QDir(RecoveryFolder::StandardPath()).removeRecursively());
        const QTemporaryDir profiles;
        const TerminationSignal termination;
        QString shown;
        {
            EditorFixture editor;
            editor.controller()->recovery().KeepOnTermination(termination);
            editor.controller()->LoadIconImage(TestDesigns::DataFile("gvim.svg"));
            QVERIFY(editor.WaitUntilIdle());
            // Written before the last text and the size typed but not yet confirmed.
            UserInput::Type(editor.controls().textFieldText, "Written");
            editor.controller()->recovery().WriteNow();
            UserInput::Type(editor.controls().textFieldText, "Unwritten");
            UserInput::Type(editor.controls().textFieldFontSize, "61", /*confirm=*/false);
            editor.prompter.answers = {answer};
            editor.prompter.saveFiles = {profiles.filePath("saved.sgp")};
            const int status = RunMainLoop([&] {
                if (signal != 0)
                    ::kill(::getpid(), signal);
                else
                    editor.menu().quit->trigger();
            });
            QCOMPARE(status, 0);
            QCOMPARE(editor.prompter.questions.size(), signal != 0 ? 0 : 1);
            shown = editor.controller()->MakeProfileText();
        }
        if (signal == 0) {
            QCOMPARE(StateFiles(), QStringList());
            return;
        }
        const std::optional<RecoveryRecord> kept = OnlyRecoveryRecord();
        QVERIFY(kept);
        QCOMPARE(kept->profileText, shown);
        QVERIFY(shown.contains("\nUnwritten\n") && shown.contains("\n61\n"));
        QCOMPARE(kept->imageBytes, TestImages::ReadFile(TestDesigns::DataFile("gvim.svg")));
        RecoveryFolder nextStart;
        QVERIFY(nextStart.TakeLeftOver());
        nextStart.DiscardTaken();
    }

    // A line edit has key bindings of its own (Ctrl+E, Ctrl+Z, ...); the menu's win.
    void everyMenuShortcutWorksWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        for (const char* name : {"textFieldCanvasWidth", "textFieldText", "textFieldName",
                                 "sliderCornerCurvature", "comboFontType", "stepperFontSize"})
            QTest::newRow(name) << QString(name);
    }
    void everyMenuShortcutWorksWhereverTheFocusIs() {
        QFETCH(QString, focus);
        EditorFixture editor;
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        QList<QKeySequence> tried;
        for (QAction* menu : editor.window->menuBar()->actions()) {
            for (QAction* action : menu->menu()->actions()) {
                for (const QKeySequence& sequence : action->shortcuts()) {
                    auto* widget = editor.Find<QWidget>(focus);
                    widget->setFocus();
                    QCOMPARE(QApplication::focusWidget(),
                             widget->focusProxy() ? widget->focusProxy() : widget);
                    QSignalSpy triggered(action, &QAction::triggered);
                    const QKeyCombination keys = sequence[0];
                    QTest::keyClick(QApplication::focusWidget(), keys.key(),
                                    keys.keyboardModifiers());
                    QVERIFY2(triggered.size() == 1, qPrintable(sequence.toString()));
                    tried.append(sequence);
                    // A command that opens a dialog would hold the keys of the next one.
                    if (QWidget* dialog = QApplication::activeModalWidget())
                        dialog->close();
                }
            }
        }
        // Some standard keys have no binding on every platform; these have one everywhere.
        for (const QKeySequence& always :
             {QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::CTRL | Qt::Key_Z),
              QKeySequence(Qt::CTRL | Qt::Key_S)})
            QVERIFY(tried.contains(always));
    }

    // View > Appearance changes the palette at once and is remembered; System puts back the
    // palette the application started with.
    void appearance() {
        QSettings().remove("view/appearance");
        const QPalette system = QApplication::palette();
        {
            EditorFixture editor;
            editor.Find<QAction>("actionAppearance2")->trigger(); // Dark
            QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 80);
            QVERIFY(QApplication::palette().color(QPalette::WindowText).lightness() > 180);
        }
        EditorFixture again;
        QVERIFY(again.Find<QAction>("actionAppearance2")->isChecked());
        QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 80);
        again.Find<QAction>("actionAppearance1")->trigger(); // Light
        QVERIFY(QApplication::palette().color(QPalette::Window).lightness() > 180);
        again.Find<QAction>("actionAppearance0")->trigger(); // System
        QCOMPARE(QApplication::palette(), system);
        QSettings().remove("view/appearance");
    }

    // System follows the desktop: GNOME's colour scheme where it says light or dark, else a GTK
    // theme named as dark, else KDE's window background, read from the user's kdeglobals.
    void desktopColorSchemeDecidesSystem() {
        using DesktopColorScheme::Settings;
        const QColor darkGrey(40, 40, 40);
        const std::pair<Settings, bool> cases[] = {
            {{}, false},
            {{"prefer-dark", {}, {}}, true},
            {{"prefer-light", "Adwaita-dark", darkGrey}, false},
            {{"default", "Adwaita-Dark", {}}, true},
            {{"default", "Adwaita", darkGrey}, true},
            {{{}, {}, QColor(235, 235, 235)}, false},
        };
        for (const auto& [settings, dark] : cases)
            QCOMPARE(DesktopColorScheme::PrefersDark(settings), dark);

        QTemporaryDir config;
        QVERIFY(WriteFile(config.filePath("kdeglobals"),
                          "[Colors:Window]\nBackgroundNormal=40,40,40\n"));
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const Settings read = DesktopColorScheme::Read();
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(read.kdeWindowBackground, std::optional(darkGrey));
    }

    // F1 and every Help command show in the application's own window, never a web browser, a
    // page the build puts beside the editor.
    void helpOpensInTheApplicationsOwnWindow() {
        EditorFixture editor;
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
        QTest::keyClick(editor.window.get(), Qt::Key_F1);
        auto* help = editor.window->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->page().fileName(), QStringLiteral("index.html"));
        QVERIFY(help->findChild<QTextBrowser*>()->toPlainText().contains("How to Create a Logo"));

        QSet<QString> pages;
        for (QAction* command : editor.window->menuBar()->actions().last()->menu()->actions()) {
            if (command->isSeparator())
                continue;
            command->trigger();
            const QString page = help->page().fileName();
            QVERIFY2(QFileInfo(QStringLiteral(SIGILON_EXECUTABLE)).dir().exists("help/" + page),
                     qPrintable(page));
            QVERIFY2(help->windowTitle().endsWith("Sigilon Help"), qPrintable(page));
            pages.insert(page);
        }
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(pages.size(), 4);
        QVERIFY(m_openedUrls.isEmpty());
        const auto* about = editor.window->findChild<QMessageBox*>("aboutBox");
        QVERIFY(about && about->text().contains(SIGILON_VERSION));
    }

    void startsWithTheDefaultDesignAndOneHistoryEntry() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        const QString defaults = MakeProfileText(DesignSettings{});
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(vc->MakeProfileText(), defaults);
        QCOMPARE(vc->history().stateImagesPath(), QStringList{defaults});
        // The first preview was not recorded a second time, and the next one will be.
        QVERIFY(vc->history().needToSaveState());
        QCOMPARE(c.imageViewIcon->image().size(), QSize(1024, 1024));
        QVERIFY(c.progressIndicator->isHidden());
        // What the profile text does not show: the font's name, the quality controls (PNG
        // takes no quality) and the steppers.
        QCOMPARE(c.comboFontType->currentText(), QStringLiteral("Marker Felt"));
        QVERIFY(!c.textFieldQuality->isEnabled() && !c.stepperQuality->isEnabled());
        for (Stepper* stepper : editor.window->findChildren<Stepper*>()) {
            const QString field = stepper->objectName().replace("stepper", "textField");
            QCOMPARE(stepper->value(), editor.Find<QLineEdit>(field)->text().toDouble());
        }
    }

    // Tab moves through the groups in reading order and, within each design group, row by row
    // from the top, left to right within a row.
    void tabFollowsTheRowsOnScreen() {
        EditorFixture editor;
        editor.OpenAllSections();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        editor.controls().textFieldCanvasWidth->setFocus();
        QList<QWidget*> chain{QApplication::focusWidget()};
        while (chain.size() < 200) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == chain.first())
                break;
            chain.append(QApplication::focusWidget());
        }
        QSet<int> groupsSeen{GroupIndex(chain.first())};
        for (qsizetype i = 1; i < chain.size(); ++i) {
            const QWidget* before = chain[i - 1];
            const QWidget* after = chain[i];
            const QString pair = before->objectName() + " -> " + after->objectName();
            const int group = GroupIndex(after);
            groupsSeen.insert(group);
            if (group < 0 || GroupIndex(before) < 0)
                continue;
            QVERIFY2(GroupIndex(before) <= group, qPrintable(pair));
            // The output group is laid out in columns, one per size set.
            if (group != GroupIndex(before) || group == 4)
                continue;
            const QRect a(before->mapTo(editor.window.get(), QPoint()), before->size());
            const QRect b(after->mapTo(editor.window.get(), QPoint()), after->size());
            const int tolerance = std::min(a.height(), b.height()) / 2;
            const int rise = b.center().y() - a.center().y();
            QVERIFY2(rise > tolerance || (std::abs(rise) <= tolerance && b.left() > a.left()),
                     qPrintable(pair));
        }
        for (int group = 0; group < 5; ++group)
            QVERIFY(groupsSeen.contains(group));
    }

    // At the smallest window size every control can be scrolled into view, and the room a
    // larger window gives goes to the preview, which stays square.
    void smallWindowScrollsLargeWindowGrowsThePreview() {
        EditorFixture editor;
        editor.OpenAllSections();
        MainWindow& window = *editor.window;
        auto* panel = window.findChild<QScrollArea*>("scrollAreaSettings");
        QVERIFY(panel);
        window.resize(800, 600);
        QTRY_COMPARE(window.size(), QSize(800, 600));
        const QRegularExpression outlet(
            "^(check|radio|slider|colorWell|textField|stepper|combo|button)");
        const QList<QWidget*> controls = panel->widget()->findChildren<QWidget*>(outlet);
        QCOMPARE(controls.size(), 56 + 31 + 4); // with the size check boxes and the buttons
        const QRect viewport(panel->viewport()->mapTo(&window, QPoint()),
                             panel->viewport()->size());
        QVERIFY(window.rect().contains(viewport));
        for (QWidget* control : controls) {
            // A line edit asks for its cursor only; a margin of its height shows all of it.
            panel->ensureWidgetVisible(control, 0, control->height());
            QCoreApplication::processEvents();
            const QRect at(control->mapTo(&window, QPoint()), control->size());
            QVERIFY2(viewport.contains(at), qPrintable(control->objectName()));
        }

        const CustomImageView* preview = editor.controls().imageViewIcon;
        const QSize small = preview->size();
        const int panelWidth = panel->width();
        QVERIFY(std::min(small.width(), small.height()) >= 240);
        window.resize(1600, 1100);
        QTRY_COMPARE(window.size(), QSize(1600, 1100));
        QCOMPARE(panel->width(), panelWidth);
        QVERIFY(preview->width() >= small.width() + 700);
        QVERIFY(preview->height() >= small.height() + 400);
    }
};

QTEST_MAIN(tst_AppShell)
#include "tst_AppShell.moc"
