// `sigilon PATH.sgp`: the editor starts with the profile loaded as its Load command loads it.

#include "EditorFixture.h"
#include "app/StartupProfile.h"

class OpenFromCommandLineTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_dir;

    // The editor as RunEditor builds it: the window's prompter behind the start-up one.
    struct StartedEditor {
        ScriptedPrompter windowPrompter;
        StartupProfilePrompter startupPrompter{windowPrompter};
        MemoryRatePreference ratePreference;
        std::shared_ptr<RenderLog> log = std::make_shared<RenderLog>();
        MainWindow window{startupPrompter, ratePreference, LoggingRenderer(log)};

        ~StartedEditor() { QThreadPool::globalInstance()->waitForDone(); }
        ViewController& controller() { return *window.controller(); }
        bool WaitUntilIdle() {
            return QTest::qWaitFor([this] { return !controller().updating(); }, 10000);
        }
    };

private slots:
    void profileGivenAtStart_data() {
        QVERIFY(m_dir.isValid());
        DesignSettings beta;
        beta.text = QStringLiteral("BETA");
        beta.canvasWidthText = QStringLiteral("512");
        const QString text = MakeProfileText(beta);
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("loads");
        QTest::newRow("profile") << m_dir.Write("beta.sgp", text.toUtf8()) << true;
        QTest::newRow("older 93-line layout")
            << m_dir.Write("older.sgp", (text.section(u'\n', 0, 92) + u'\n').toUtf8()) << true;
        QTest::newRow("missing file") << m_dir.filePath("missing.sgp") << false;
        QTest::newRow("not a profile") << m_dir.Write("broken.sgp", "BETA\n") << false;
        QTest::newRow("folder") << m_dir.filePath("") << false;
    }
    void profileGivenAtStart() {
        QFETCH(QString, path);
        QFETCH(bool, loads);
        StartedEditor editor;
        editor.window.show();
        QVERIFY(editor.WaitUntilIdle());
        editor.startupPrompter.OpenProfile(editor.controller(), path);
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& controls = editor.controller().controls();

        // The file chooser never appears; a file that cannot be loaded gets Load's alert over
        // the default design.
        QVERIFY(editor.windowPrompter.openRequests.isEmpty());
        QCOMPARE(editor.windowPrompter.Messages(),
                 loads ? QStringList() : QStringList{"Could not load profile."});
        QCOMPARE(editor.window.windowTitle(),
                 loads ? "Sigilon - " + QFileInfo(path).completeBaseName() : "Sigilon");
        QCOMPARE(editor.controller().currentProfilePath(), loads ? path : QString());
        QCOMPARE(controls.textFieldText->text(), loads ? "BETA" : "");
        QCOMPARE(controls.textFieldCanvasWidth->text(), loads ? "512" : "1024");
        QCOMPARE(editor.log->LastDesign().canvasWidth, loads ? 512.0f : 1024.0f);
    }

    void laterLoadAsksTheUserAgain() {
        StartedEditor editor;
        editor.window.show();
        QVERIFY(editor.WaitUntilIdle());
        editor.startupPrompter.OpenProfile(editor.controller(),
                                           m_dir.Write("first.sgp", MakeProfileText({}).toUtf8()));
        editor.windowPrompter.openFiles.append(std::nullopt); // the user cancels
        editor.controller().menuActions().loadProfile->trigger();
        QCOMPARE(editor.windowPrompter.openRequests.size(), 1);
        QCOMPARE(editor.window.windowTitle(), "Sigilon - first");
    }
};

QTEST_MAIN(OpenFromCommandLineTest)
#include "tst_OpenFromCommandLine.moc"
