// `sigilon PATH.sgp`: the editor starts with the profile loaded as its Load command loads it.

#include "EditorFixture.h"

class OpenFromCommandLineTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_dir;

private slots:
    // Which files are profiles is the profile reader's concern; here one that loads and one
    // that cannot.
    void profileGivenAtStart_data() {
        QVERIFY(m_dir.isValid());
        DesignSettings beta;
        beta.text = QStringLiteral("BETA");
        beta.canvasWidthText = QStringLiteral("512");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("loads");
        QTest::newRow("profile") << m_dir.Write("beta.sgp", MakeProfileText(beta).toUtf8()) << true;
        QTest::newRow("missing file") << m_dir.filePath("missing.sgp") << false;
    }
    void profileGivenAtStart() {
        QFETCH(QString, path);
        QFETCH(bool, loads);
        EditorFixture editor;
        editor.startup.OpenProfile(*editor.controller(), path);
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& controls = editor.controls();

        // The file chooser never appears; a file that cannot be loaded gets Load's alert over
        // the default design.
        QVERIFY(editor.prompter.openRequests.isEmpty());
        QCOMPARE(editor.prompter.Messages(),
                 loads ? QStringList() : QStringList{"Could not load profile."});
        QCOMPARE(editor.Title(),
                 loads ? "Sigilon - " + QFileInfo(path).completeBaseName() : "Sigilon");
        QCOMPARE(editor.controller()->currentProfilePath(), loads ? path : QString());
        QCOMPARE(controls.textFieldText->text(), loads ? "BETA" : "");
        QCOMPARE(controls.textFieldCanvasWidth->text(), loads ? "512" : "1024");
        QCOMPARE(editor.log->LastDesign().canvasWidth, loads ? 512.0f : 1024.0f);

        // A later Load asks the user again.
        editor.menu().loadProfile->trigger(); // cancelled
        QCOMPARE(editor.prompter.openRequests.size(), 1);
    }
};

QTEST_MAIN(OpenFromCommandLineTest)
#include "tst_OpenFromCommandLine.moc"
