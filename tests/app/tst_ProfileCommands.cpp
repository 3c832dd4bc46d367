#include "EditorFixture.h"

#include "app/CustomTextField.h"
#include "app/InfoProvider.h"
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kDiscardQuestion =
    QStringLiteral("You have unsaved changes that will be lost. Continue?");
constexpr int kYes = 0;
constexpr int kNo = 1;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A profile of a design that differs from the default in a few visible places.
QString SampleProfile() {
    DesignSettings settings;
    settings.text = QStringLiteral("Sample");
    settings.cornerCurvature = 0.5f;
    settings.textShadow = 0;
    settings.iosIconSet = 1;
    settings.macIconSet = 0;
    return MakeProfileText(settings);
}

void Trigger(EditorFixture& editor, QAction* ViewController::MenuActions::*action) {
    (editor.controller()->menuActions().*action)->trigger();
}

} // namespace

// New, Save, Save As and Load, the titles that name the profile, and their questions and
// failure alerts.
class tst_ProfileCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    QString Path(const QString& name) const { return m_folder.filePath(name); }

private slots:
    void init() { QVERIFY(m_folder.isValid()); }

    void newWithUnsavedChanges() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(editor.WaitUntilIdle());
        const QString edited = vc->MakeProfileText();

        editor.prompter.answers = {kNo};
        Trigger(editor, &ViewController::MenuActions::fileNew);
        QCOMPARE(editor.prompter.Messages(), QStringList{kDiscardQuestion});
        QCOMPARE(vc->MakeProfileText(), edited);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QCOMPARE(editor.HistorySize(), 2);

        editor.prompter.answers = {kYes};
        Trigger(editor, &ViewController::MenuActions::fileNew);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(DesignSettings{}));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(vc->currentProfilePath().isEmpty());
        QVERIFY(vc->iconImage().isNull());
        QCOMPARE(editor.HistorySize(), 1);
        QVERIFY(!InfoProvider::Shared().isIconAdded);
    }

    void newWithoutChangesAsksNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        Trigger(editor, &ViewController::MenuActions::fileNew);
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->started.load(), 2);
    }

    void saveOfAnUnmarkedDesignWritesNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.prompter.saveFiles = {Path("never.sgp")};
        Trigger(editor, &ViewController::MenuActions::saveProfile);
        QVERIFY(editor.prompter.saveRequests.isEmpty());
        QVERIFY(!QFile::exists(Path("never.sgp")));
    }

    void saveAsThenSave() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        UserInput::Type(editor.controls().textFieldText, "Logo");
        QVERIFY(editor.WaitUntilIdle());

        // Save on a new, edited design asks for a file like Save As.
        editor.prompter.saveFiles = {Path("logo.sgp")};
        Trigger(editor, &ViewController::MenuActions::saveProfile);
        QCOMPARE(editor.prompter.saveRequests.size(), 1);
        QCOMPARE(editor.prompter.saveRequests.first().first, QStringLiteral("profile.sgp"));
        QCOMPARE(editor.prompter.saveRequests.first().second, QStringLiteral("sgp"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QCOMPARE(vc->currentProfilePath(), Path("logo.sgp"));
        QCOMPARE(ReadAll(Path("logo.sgp")), vc->MakeProfileText().toUtf8());

        UserInput::Type(editor.controls().textFieldFontSize, "500");
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo*"));
        Trigger(editor, &ViewController::MenuActions::saveProfile);
        QCOMPARE(editor.prompter.saveRequests.size(), 1); // no panel this time
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QVERIFY(ReadAll(Path("logo.sgp")).contains("\n500\n"));
        // Saving keeps the history.
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 3);
    }

    void saveAsWithACancelledPanelChangesNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->MarkAsModified();
        Trigger(editor, &ViewController::MenuActions::saveProfileAs);
        QCOMPARE(editor.prompter.saveRequests.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.controller()->currentProfilePath().isEmpty());
    }

    // A directory where the file should go makes the write fail, even for root.
    void aFailedSaveKeepsTheMarker() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(QDir(m_folder.path()).mkdir("taken.sgp"));
        editor.controller()->MarkAsModified();
        editor.prompter.saveFiles = {Path("taken.sgp")};
        Trigger(editor, &ViewController::MenuActions::saveProfileAs);
        QCOMPARE(editor.prompter.Messages(), QStringList{"Could not save profile."});
        QCOMPARE(editor.prompter.questions.first().buttons, QStringList{"OK"});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(QFileInfo(Path("taken.sgp")).isDir());
    }

    void loadWithoutChangesAsksNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(WriteAll(Path("sample.sgp"), SampleProfile().toUtf8()));
        editor.prompter.openFiles = {Path("sample.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QVERIFY(editor.prompter.questions.isEmpty());
        QCOMPARE(editor.prompter.openRequests, QList<QStringList>{QStringList{"sgp"}});
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("Sample"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample"));
        QCOMPARE(editor.controller()->currentProfilePath(), Path("sample.sgp"));
        QVERIFY(editor.WaitUntilIdle());
        // The loaded design starts a new history: its preview adds nothing.
        QCOMPARE(editor.HistorySize(), 1);
        QCOMPARE(editor.log->Design(editor.log->started - 1).text, QStringLiteral("Sample"));
        QCOMPARE(editor.log->Design(editor.log->started - 1).cornerCurvature, 0.5f);
    }

    void loadWithChangesAsksFirst() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(WriteAll(Path("sample.sgp"), SampleProfile().toUtf8()));
        UserInput::Click(editor.controls().checkIconShadow);
        editor.prompter.answers = {kNo};
        editor.prompter.openFiles = {Path("sample.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QCOMPARE(editor.prompter.Messages(), QStringList{kDiscardQuestion});
        QVERIFY(editor.prompter.openRequests.isEmpty());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));

        editor.prompter.answers = {kYes};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample"));
        QVERIFY(!editor.controls().checkIconShadow->isChecked());
    }

    void unreadableProfilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray lines = SampleProfile().toUtf8();
        QByteArray crlf = lines;
        crlf.replace("\n", "\r\n");
        QTest::newRow("CR LF line ends") << crlf;
        QTest::newRow("105 lines") << lines + "extra\n";
        QTest::newRow("last line feed missing") << lines.chopped(1);
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\x00\x01", 4);
        QTest::newRow("empty") << QByteArray();
    }
    void unreadableProfilesChangeNothing() {
        QFETCH(QByteArray, content);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        // An open, edited profile.
        editor.prompter.saveFiles = {Path("open.sgp")};
        vc->MarkAsModified();
        Trigger(editor, &ViewController::MenuActions::saveProfileAs);
        UserInput::Click(editor.controls().checkBackgroundStroke);
        QVERIFY(editor.WaitUntilIdle());
        const QString design = vc->MakeProfileText();
        const QStringList history = vc->history().stateImagesPath();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));

        QVERIFY(WriteAll(Path("broken.sgp"), content));
        editor.prompter.answers = {kYes};
        editor.prompter.openFiles = {Path("broken.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QCOMPARE(editor.prompter.Messages(),
                 (QStringList{kDiscardQuestion, "Could not load profile."}));
        QCOMPARE(vc->MakeProfileText(), design);
        QCOMPARE(vc->history().stateImagesPath(), history);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));
        QCOMPARE(vc->currentProfilePath(), Path("open.sgp"));
        QCOMPARE(editor.log->started.load(), 2);

        // A later Save goes to the open profile, never over the file that failed to load.
        Trigger(editor, &ViewController::MenuActions::saveProfile);
        QCOMPARE(ReadAll(Path("broken.sgp")), content);
        QCOMPARE(ReadAll(Path("open.sgp")), design.toUtf8());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open"));
    }

    void aMissingProfileFileIsReported() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.prompter.openFiles = {Path("missing.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QCOMPARE(editor.prompter.Messages(), QStringList{"Could not load profile."});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(editor.controller()->currentProfilePath().isEmpty());
    }

    // An older profile without the watchOS lines keeps those settings as they were.
    void anOlderLayoutLoads() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Click(editor.Find<QCheckBox>("check36watchos"));
        QStringList lines = SampleProfile().split(u'\n');
        lines = lines.mid(0, 93);
        QVERIFY(WriteAll(Path("old.sgp"), (lines.join(u'\n') + u'\n').toUtf8()));
        editor.prompter.answers = {kYes};
        editor.prompter.openFiles = {Path("old.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - old"));
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("Sample"));
        QVERIFY(!editor.Find<QCheckBox>("check36watchos")->isChecked());
    }

    void loadingKeepsTheIconImage() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QImage icon(40, 30, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QVERIFY(icon.save(Path("icon.png")));
        editor.controller()->LoadIconImage(Path("icon.png"));
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(WriteAll(Path("sample.sgp"), SampleProfile().toUtf8()));
        editor.prompter.openFiles = {Path("sample.sgp")};
        Trigger(editor, &ViewController::MenuActions::loadProfile);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.controller()->iconImage().size(), QSize(40, 30));
        QCOMPARE(editor.controls().textFieldIconImage->text(), Path("icon.png"));
        QCOMPARE(editor.log->Design(editor.log->started - 1).iconImage.size(), QSize(40, 30));
        // Stepping through the history leaves the image too.
        editor.controller()->OnUndo();
        QCOMPARE(editor.controller()->iconImage().size(), QSize(40, 30));
    }
};

QTEST_MAIN(tst_ProfileCommands)
#include "tst_ProfileCommands.moc"
