#include "EditorFixture.h"

#include "app/InfoProvider.h"

namespace {

const QString kDiscardQuestion =
    QStringLiteral("You have unsaved changes that will be lost. Continue?");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A design that differs from the default in a few visible places.
QByteArray SampleProfile() {
    DesignSettings settings;
    settings.text = QStringLiteral("Sample");
    settings.cornerCurvature = 0.5f;
    return MakeProfileText(settings).toUtf8();
}

} // namespace

// New, Save, Save As and Load, the titles that name the profile, their questions and alerts.
class tst_ProfileCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    QString Path(const QString& name) const { return m_folder.filePath(name); }

private slots:
    void init() { QVERIFY(m_folder.isValid()); }

    void newAsksOnlyWithTheMarker() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.menu().fileNew->trigger();
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.Renders(), 2);

        // An open profile with an icon image, then edited.
        editor.prompter.saveFiles = {Path("open.sgp")};
        editor.menu().saveProfileAs->trigger();
        QVERIFY(TestImages::AsymmetricImage(8, 8).save(Path("icon.png")));
        vc->LoadIconImage(Path("icon.png"));
        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(editor.WaitUntilIdle());
        const QString edited = vc->MakeProfileText();

        editor.prompter.answers = {kNo};
        editor.menu().fileNew->trigger();
        QCOMPARE(editor.prompter.Messages(), QStringList{kDiscardQuestion});
        QCOMPARE(vc->MakeProfileText(), edited);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));

        editor.prompter.answers = {kYes};
        editor.menu().fileNew->trigger();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(DesignSettings{}));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(vc->currentProfilePath().isEmpty());
        QVERIFY(vc->iconImage().isNull());
        QVERIFY(!InfoProvider::Shared().isIconAdded);
        QCOMPARE(editor.HistorySize(), 1);
    }

    void saveAsThenSave() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.menu().saveProfile->trigger(); // an unmarked design is not written
        QVERIFY(editor.prompter.saveRequests.isEmpty());
        UserInput::Type(editor.controls().textFieldText, "Logo");
        QVERIFY(editor.WaitUntilIdle());
        // Save on a new design asks for a file like Save As; a cancelled panel changes nothing.
        editor.menu().saveProfile->trigger();
        QCOMPARE(editor.prompter.saveRequests,
                 (QList<QPair<QString, QString>>{{"profile.sgp", "sgp"}}));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        editor.prompter.saveFiles = {Path("logo.sgp")};
        editor.menu().saveProfileAs->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QCOMPARE(ReadAll(Path("logo.sgp")), vc->MakeProfileText().toUtf8());

        UserInput::Type(editor.controls().textFieldFontSize, "500");
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo*"));
        editor.menu().saveProfile->trigger();
        QCOMPARE(editor.prompter.saveRequests.size(), 2); // no panel this time
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QVERIFY(ReadAll(Path("logo.sgp")).contains("\n500\n"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 3); // saving keeps the history
    }

    // A folder in the way of the file makes the write fail, even for root.
    void aFailedSaveKeepsTheMarker() {
        EditorFixture editor;
        QVERIFY(QDir(m_folder.path()).mkdir("taken.sgp"));
        UserInput::Click(editor.controls().checkTextShadow);
        editor.prompter.saveFiles = {Path("taken.sgp")};
        editor.menu().saveProfileAs->trigger();
        QCOMPARE(editor.prompter.Messages(), QStringList{"Could not save profile."});
        QCOMPARE(editor.prompter.questions.first().buttons, QStringList{"OK"});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(QFileInfo(Path("taken.sgp")).isDir());
    }

    void loadAsksOnlyWithTheMarkerAndKeepsTheIconImage() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        QVERIFY(TestImages::AsymmetricImage(40, 30).save(Path("icon.png")));
        vc->LoadIconImage(Path("icon.png"));
        QVERIFY(WriteFile(Path("sample.sgp"), SampleProfile()));
        editor.prompter.openFiles = {Path("sample.sgp")};
        editor.menu().loadProfile->trigger();
        QVERIFY(editor.prompter.questions.isEmpty());
        QCOMPARE(editor.prompter.openRequests, QList<QStringList>{QStringList{"sgp"}});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample"));
        QCOMPARE(vc->currentProfilePath(), Path("sample.sgp"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 1); // a new history; the loaded preview adds nothing
        QCOMPARE(editor.log->LastDesign().cornerCurvature, 0.5f);
        QCOMPARE(editor.log->LastDesign().iconImage.size(), QSize(40, 30));
        QCOMPARE(editor.controls().textFieldIconImage->text(), Path("icon.png"));

        UserInput::Click(editor.controls().checkIconShadow);
        QVERIFY(editor.WaitUntilIdle());
        vc->OnUndo(); // the history holds no image either
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(vc->iconImage().size(), QSize(40, 30));
        editor.prompter.answers = {kNo};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.prompter.Messages(), QStringList{kDiscardQuestion});
        QCOMPARE(editor.prompter.openRequests.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample*"));
        editor.prompter.answers = {kYes};
        editor.prompter.openFiles = {Path("sample.sgp")};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample"));
    }

    void unreadableProfilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        const QByteArray lines = SampleProfile();
        QTest::newRow("CR LF line ends") << QByteArray(lines).replace("\n", "\r\n");
        QTest::newRow("105 lines") << lines + "extra\n";
        QTest::newRow("last line feed missing") << lines.chopped(1);
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\x00\x01", 4);
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("missing") << QByteArray();
    }
    void unreadableProfilesChangeNothing() {
        QFETCH(QByteArray, content);
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.prompter.saveFiles = {Path("open.sgp")};
        editor.menu().saveProfileAs->trigger();
        UserInput::Click(editor.controls().checkBackgroundStroke);
        QVERIFY(editor.WaitUntilIdle());
        const QString design = vc->MakeProfileText();
        const QStringList history = vc->history().stateImagesPath();

        const QString broken = Path(QTest::currentDataTag() + QStringLiteral(".sgp"));
        QVERIFY(content.isNull() || WriteFile(broken, content));
        editor.prompter.answers = {kYes};
        editor.prompter.openFiles = {broken};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.prompter.Messages(),
                 (QStringList{kDiscardQuestion, "Could not load profile."}));
        QCOMPARE(vc->MakeProfileText(), design);
        QCOMPARE(vc->history().stateImagesPath(), history);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));
        QCOMPARE(vc->currentProfilePath(), Path("open.sgp"));
        // A later Save goes to the open profile, never over the file that failed to load.
        editor.menu().saveProfile->trigger();
        QCOMPARE(ReadAll(broken), content);
        QCOMPARE(ReadAll(Path("open.sgp")), design.toUtf8());
    }

    // An older profile without the watchOS lines keeps those settings as they were.
    void anOlderLayoutLoads() {
        EditorFixture editor;
        QCheckBox* watch = editor.Find<QCheckBox>("check36watchos");
        UserInput::Click(watch);
        const QList<QByteArray> lines = SampleProfile().split('\n').mid(0, 93);
        QVERIFY(WriteFile(Path("old.sgp"), lines.join('\n') + '\n'));
        editor.prompter.answers = {kYes};
        editor.prompter.openFiles = {Path("old.sgp")};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - old"));
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("Sample"));
        QVERIFY(!watch->isChecked());
    }
};

QTEST_MAIN(tst_ProfileCommands)
#include "tst_ProfileCommands.moc"
