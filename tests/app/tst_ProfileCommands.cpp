#include "EditorFixture.h"

#include "app/canvas/InfoProvider.h"
#include "app/window/CrashRecovery.h"
#include "design/DesignValues.h"
#include "helpers/EveryValueChanged.h"
#include "helpers/RefusingImageHelper.h"
#include "helpers/TestDesigns.h"

namespace {

const QString kDiscardQuestion = QStringLiteral(
    "Do you want to save the changes to this design? Your changes will be lost if you "
    "don't save them.");

// A design that differs from the default in its text and its corners.
QByteArray SampleProfile(const QString& text = QStringLiteral("Sample")) {
    DesignSettings settings;
    settings.text = text;
    settings.cornerCurvature = 0.5f;
    return MakeProfileText(settings).toUtf8();
}

const QString kNoImageOrProfile = QStringLiteral("The file is neither an image nor a profile.");

// Drops the file on the widget as the window system would; true when it was accepted.
bool Drop(QWidget* target, const QString& pathOrUrl) {
    QMimeData data;
    data.setUrls({QUrl::fromUserInput(pathOrUrl)});
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// The paths File > Open Recent lists, as it shows them.
QStringList RecentProfiles(const EditorFixture& editor) {
    auto* recent = editor.Find<QMenu>("menuOpenRecent");
    emit recent->aboutToShow();
    QStringList paths;
    for (const QAction* item : recent->actions())
        paths << item->data().toString();
    return paths;
}

} // namespace

// The File commands with their titles, questions and alerts; the icon image by panel and by
// drop; the recovery file and the design a crash left.
class tst_ProfileCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_photo;  // 512 x 512 pixels declaring 144 dots per inch, upper-case extension
    QString m_second; // 32 x 16 pixels

    QString Path(const QString& name) const { return m_folder.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        QImage photo = TestImages::Filled(512, 512, QColor(200, 40, 40));
        photo.setDotsPerMeterX(qRound(144 / 0.0254));
        photo.setDotsPerMeterY(qRound(144 / 0.0254));
        m_photo = Path("photo.PNG");
        QVERIFY(photo.save(m_photo, "PNG"));
        m_second = Path("second.png");
        QVERIFY(TestImages::AsymmetricImage(32, 16).save(m_second));
        QVERIFY(WriteFile(Path("notes.txt"), "not an image\n"));
        QVERIFY(WriteFile(Path("fake.png"), "not an image either\n"));
    }

    // Don't Save forgets the profile and the icon image too, not only the design.
    void newAsksOnlyWithTheMarker() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.menu().fileNew->trigger();
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.Renders(), 2);
        UserInput::Type(editor.controls().textFieldText, "Kept");
        editor.prompter.answers = {kSave};
        editor.menu().fileNew->trigger(); // the name panel is cancelled
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("Kept"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        editor.prompter.answers = {kSave};
        editor.prompter.saveFiles = {Path("open.sgp")};
        editor.menu().fileNew->trigger();
        QVERIFY(TestImages::ReadFile(Path("open.sgp")).contains("Kept"));
        QVERIFY(editor.controls().textFieldText->text().isEmpty());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));

        // An open profile with an icon image, then edited.
        editor.prompter.openFiles = {Path("open.sgp")};
        editor.menu().loadProfile->trigger();
        QVERIFY(TestImages::AsymmetricImage(8, 8).save(Path("icon.png")));
        vc->LoadIconImage(Path("icon.png"));
        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(editor.WaitUntilIdle());
        const QString edited = vc->MakeProfileText();

        editor.prompter.answers = {kCancel};
        editor.menu().fileNew->trigger();
        QCOMPARE(editor.prompter.Messages(), QStringList(3, kDiscardQuestion));
        QCOMPARE(vc->MakeProfileText(), edited);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));

        editor.prompter.answers = {kDontSave};
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
        // A folder in the way of the file makes the write fail, even for root.
        QVERIFY(QDir(m_folder.path()).mkdir("taken.sgp"));
        editor.prompter.saveFiles = {Path("taken.sgp"), Path("logo.sgp")};
        editor.menu().saveProfileAs->trigger();
        const QStringList failure = editor.prompter.Messages().value(0).split('\n');
        QCOMPARE(failure.mid(0, 2), (QStringList{"Could not save profile.", Path("taken.sgp")}));
        QVERIFY(!failure.value(2).isEmpty());
        QCOMPARE(editor.prompter.questions.first().buttons, QStringList{"OK"});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        editor.menu().saveProfileAs->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QCOMPARE(TestImages::ReadFile(Path("logo.sgp")), vc->MakeProfileText().toUtf8());

        UserInput::Type(editor.controls().textFieldFontSize, "500");
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo*"));
        editor.menu().saveProfile->trigger();
        QCOMPARE(editor.prompter.saveRequests.size(), 3); // no panel this time
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
        QVERIFY(TestImages::ReadFile(Path("logo.sgp")).contains("\n500\n"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 3); // saving keeps the history
    }

    // A number typed but not confirmed is saved as the window shows it, in both of its lines,
    // and the saved design carries no marker that comes back when the field is left.
    void aHalfTypedNumberIsSavedAsShown_data() {
        QTest::addColumn<bool>("savedBefore");
        QTest::addColumn<bool>("otherEdit");
        QTest::newRow("save as") << false << false;
        QTest::newRow("save, only the typed number changed") << true << false;
        QTest::newRow("save after another edit") << true << true;
    }
    void aHalfTypedNumberIsSavedAsShown() {
        QFETCH(bool, savedBefore);
        QFETCH(bool, otherEdit);
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        UserInput::Type(c.textFieldText, "Ab");
        editor.prompter.saveFiles = {Path("typed.sgp")};
        if (savedBefore)
            editor.menu().saveProfileAs->trigger();
        if (otherEdit)
            UserInput::Click(c.checkTextStroke);
        UserInput::Type(c.textFieldFontSize, "64", /*confirm=*/false);
        (savedBefore ? editor.menu().saveProfile : editor.menu().saveProfileAs)->trigger();

        DesignSettings saved;
        QVERIFY(ApplyProfileText(saved, QString::fromUtf8(TestImages::ReadFile(Path("typed.sgp"))),
                                 false));
        QCOMPARE(saved.fontSizeText, QStringLiteral("64"));
        QCOMPARE(saved.fontSize, 64.0f);
        QCOMPARE(saved.textStroke, otherEdit ? 1 : 0);
        c.textFieldText->setFocus();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - typed"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->LastDesign().fontSize, 64.0f);
    }

    // A hand-edited profile's values, beyond a slider's ends too, pass through the controls
    // unchanged; set from code, the controls render nothing and record nothing.
    void everyValueGoesThroughTheControlsUnchanged_data() {
        QTest::addColumn<bool>("beyondSliders");
        QTest::newRow("within the controls' ranges") << false;
        QTest::newRow("beyond the sliders' ends") << true;
    }
    void everyValueGoesThroughTheControlsUnchanged() {
        QFETCH(bool, beyondSliders);
        DesignSettings changed = EveryValueChanged();
        if (beyondSliders) {
            // The values without a range of their own are the sliders'.
            float beyond = -20000.5f;
            for (const DesignValues::Row& row : DesignValues::Table())
                if (row.kind == DesignValues::Kind::Real && row.maximum == row.minimum)
                    *std::get<float*>(row.in(changed)) = (beyond = -beyond + 1.0f);
        }
        const QString profile = MakeProfileText(changed);
        const QStringList lines = profile.split(u'\n');
        const QStringList defaultLines = MakeProfileText(DesignSettings{}).split(u'\n');
        QCOMPARE(lines.size(), defaultLines.size());
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(lines[i] != defaultLines[i], qPrintable(QString::number(i)));
        DesignSettings expected; // colours come back from a profile at single precision
        QVERIFY(ApplyProfileText(expected, profile, false));

        EditorFixture editor;
        ViewController* vc = editor.controller();
        QVERIFY(vc->ApplyProfileText(profile, false));
        QTest::qWait(50);
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.HistorySize(), 1);
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
        QVERIFY(editor.controls().textFieldQuality->isEnabled()); // follows the format
        QCOMPARE(editor.controls().checkBackgroundStroke->checkState(), Qt::PartiallyChecked);
        QVERIFY(!vc->ApplyProfileText(QStringLiteral("0\n1\n"), true));
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
    }

    void loadAsksOnlyWithTheMarkerAndKeepsTheIconImage() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        QVERIFY(TestImages::AsymmetricImage(40, 30).save(Path("icon.png")));
        vc->LoadIconImage(Path("icon.png"));
        QVERIFY(editor.WaitUntilIdle());
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
        QVERIFY(editor.Undo()); // the history holds no image either
        QCOMPARE(vc->iconImage().size(), QSize(40, 30));
        editor.prompter.answers = {kCancel};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.prompter.Messages(), QStringList{kDiscardQuestion});
        QCOMPARE(editor.prompter.openRequests.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - sample*"));
        // An older profile without the watchOS lines keeps those settings as they were.
        QCheckBox* watch = editor.Find<QCheckBox>("check36watchos");
        UserInput::Click(watch);
        const QList<QByteArray> lines = SampleProfile().split('\n').mid(0, 93);
        QVERIFY(WriteFile(Path("old.sgp"), lines.join('\n') + '\n'));
        editor.prompter.answers = {kDontSave};
        editor.prompter.openFiles = {Path("old.sgp")};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - old"));
        QVERIFY(!watch->isChecked());
    }

    // A later Save goes to the open profile, never over the file that failed to load.
    void anUnreadableProfileChangesNothing() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.prompter.saveFiles = {Path("open.sgp")};
        editor.menu().saveProfileAs->trigger();
        UserInput::Click(editor.controls().checkBackgroundStroke);
        QVERIFY(editor.WaitUntilIdle());
        const QString design = vc->MakeProfileText();
        const QStringList history = vc->history().stateImagesPath();

        const QString broken = Path("crlf.sgp");
        const QByteArray content = SampleProfile().replace("\n", "\r\n");
        QVERIFY(WriteFile(broken, content));
        editor.prompter.answers = {kDontSave};
        editor.prompter.openFiles = {broken};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.prompter.Messages().value(0), kDiscardQuestion);
        QVERIFY(
            editor.prompter.Messages().value(1).startsWith("Could not load profile.\n" + broken));
        QCOMPARE(vc->MakeProfileText(), design);
        QCOMPARE(vc->history().stateImagesPath(), history);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - open*"));
        QCOMPARE(vc->currentProfilePath(), Path("open.sgp"));
        editor.menu().saveProfile->trigger();
        QCOMPARE(TestImages::ReadFile(broken), content);
        QCOMPARE(TestImages::ReadFile(Path("open.sgp")), design.toUtf8());
    }

    // File > Open Recent: the last eight profiles saved or opened, newest first; one that has
    // gone is removed with a message; choosing one opens it as Load does.
    void openRecent() {
        QSettings().remove("file/recentProfiles");
        EditorFixture editor;
        auto* recent = editor.Find<QMenu>("menuOpenRecent");
        const auto listed = [&] { return RecentProfiles(editor); };
        QVERIFY(!recent->isEnabled());
        QStringList saved; // newest first
        for (int i = 0; i < 10; ++i) {
            saved.prepend(Path(QStringLiteral("recent%1.sgp").arg(i)));
            UserInput::Click(editor.controls().checkIconShadow);
            editor.prompter.saveFiles = {saved.first()};
            editor.menu().saveProfileAs->trigger();
        }
        QCOMPARE(listed(), saved.mid(0, 8));
        QVERIFY(QFile::remove(saved[1]));
        recent->actions()[1]->trigger();
        QVERIFY(editor.prompter.Messages().last().startsWith("The profile is no longer there.\n" +
                                                             saved[1]));
        saved.removeAt(1);
        QCOMPARE(listed(), saved.mid(0, 7));
        UserInput::Click(editor.controls().checkIconShadow);
        editor.prompter.answers = {kDontSave};
        recent->actions()[3]->trigger();
        QCOMPARE(editor.prompter.questions.last().buttons, kUnsavedButtons);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - recent5"));
        QCOMPARE(listed().first(), saved[3]);
        QSettings().remove("file/recentProfiles");
    }

    // A relative path is listed by its whole clean path, so that from another working
    // directory, where the same words name another profile, the same profile opens and saves.
    void openRecentAfterARelativePath_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"given at start", "loaded", "saved as"})
            QTest::newRow(how) << QString(how);
    }
    void openRecentAfterARelativePath() {
        QFETCH(QString, how);
        const QTemporaryDir folders;
        const QString relative = QStringLiteral("../profiles/relative.sgp");
        for (const char* folder :
             {"first/here", "first/profiles", "second/here", "second/profiles"})
            QVERIFY(QDir(folders.path()).mkpath(folder));
        QVERIFY(
            WriteFile(folders.filePath("second/profiles/relative.sgp"), SampleProfile("SECOND")));
        const QString first = folders.filePath("first/profiles/relative.sgp");
        if (how != "saved as")
            QVERIFY(WriteFile(first, SampleProfile("FIRST")));
        const QString workingDirectory = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            QDir::setCurrent(workingDirectory);
            QSettings().remove("file/recentProfiles");
        });
        QSettings().remove("file/recentProfiles");
        EditorFixture editor;

        QVERIFY(QDir::setCurrent(folders.filePath("first/here")));
        if (how == "given at start") {
            editor.startup.OpenProfile(*editor.controller(), relative);
        } else if (how == "loaded") {
            editor.prompter.openFiles = {relative};
            editor.menu().loadProfile->trigger();
        } else {
            UserInput::Type(editor.controls().textFieldText, "FIRST");
            editor.prompter.saveFiles = {relative};
            editor.menu().saveProfileAs->trigger();
        }
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - relative"));
        QVERIFY(QDir::setCurrent(folders.filePath("second/here")));
        UserInput::Type(editor.controls().textFieldText, "EDITED");
        editor.menu().saveProfile->trigger();
        QVERIFY(TestImages::ReadFile(first).contains("EDITED"));
        QVERIFY(TestImages::ReadFile(folders.filePath("second/profiles/relative.sgp"))
                    .contains("SECOND"));
        editor.menu().fileNew->trigger();
        QCOMPARE(editor.controls().textFieldText->text(), QString());

        const QStringList listed = RecentProfiles(editor);
        QCOMPARE(listed.size(), 1);
        QVERIFY2(QDir::isAbsolutePath(listed[0]) && QDir::cleanPath(listed[0]) == listed[0],
                 qPrintable(listed[0]));
        QCOMPARE(QFileInfo(listed[0]), QFileInfo(first));
        editor.Find<QMenu>("menuOpenRecent")->actions()[0]->trigger();
        QVERIFY(editor.prompter.Messages().isEmpty());
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("EDITED"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - relative"));
    }

    // A profile given at start that cannot be loaded gets Load's alert over the default
    // design (one that loads is a row of the Open Recent test); a later Load asks again.
    void unloadableProfileGivenAtStart() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.startup.OpenProfile(*vc, Path("missing.sgp"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.prompter.questions.size(), 1);
        QVERIFY(editor.prompter.Messages()[0].startsWith("Could not load profile.\n" +
                                                         Path("missing.sgp")));
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(DesignSettings{}));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(vc->currentProfilePath().isEmpty());
        QVERIFY(editor.prompter.openRequests.isEmpty());
        editor.menu().loadProfile->trigger(); // cancelled
        QCOMPARE(editor.prompter.openRequests.size(), 1);
    }

    // A drop is refused by the name at once; one with an image's name is taken and reported
    // when it is read. Every message names the file.
    void refusedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dropFailure");
        QTest::newRow("text file") << "notes.txt" << kNoImageOrProfile;
        QTest::newRow("text named .png") << "fake.png" << kLoadFailure;
        QTest::newRow("missing file") << "missing.png" << kLoadFailure;
    }
    void refusedFiles() {
        QFETCH(QString, name);
        QFETCH(QString, dropFailure);
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        QCOMPARE(Drop(c.imageViewIcon, Path(name)), dropFailure == kLoadFailure);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(Drop(c.textFieldIconImage, Path(name)), dropFailure == kLoadFailure);
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(c.textFieldIconImage->text().isEmpty());
        QVERIFY(!InfoProvider::Shared().isIconAdded);
        editor.prompter.openFiles = {Path(name)};
        editor.controller()->OnSelectIconImage();
        QVERIFY(editor.WaitUntilIdle());
        const QStringList failures{dropFailure, dropFailure, kLoadFailure};
        QCOMPARE(editor.prompter.questions.size(), failures.size());
        for (qsizetype i = 0; i < failures.size(); ++i)
            QVERIFY(editor.prompter.Messages()[i].startsWith(failures[i] + '\n' + Path(name)));
        QVERIFY(editor.controller()->iconImage().isNull());
    }

    // A profile dropped anywhere on the window opens as Load opens it, asking first about
    // unsaved changes.
    void droppedProfileOpens() {
        EditorFixture editor;
        QVERIFY(WriteFile(Path("dropped.sgp"), SampleProfile("Dropped")));
        UserInput::Click(editor.controls().checkIconShadow);
        editor.prompter.answers = {kCancel, kDontSave};
        Drop(editor.controls().imageViewIcon, Path("dropped.sgp"));
        QVERIFY(editor.controls().textFieldText->text().isEmpty());
        Drop(editor.controller(), Path("dropped.sgp"));
        QCOMPARE(editor.prompter.Messages(), QStringList(2, kDiscardQuestion));
        QCOMPARE(editor.controls().textFieldText->text(), QStringLiteral("Dropped"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - dropped"));
    }

    void dropsThatCarryNoFileAreRefused() {
        EditorFixture editor;
        QMimeData text;
        text.setText(QStringLiteral("photo.png"));
        QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.controls().textFieldIconImage, &drop);
        QVERIFY(!drop.isAccepted());
        QVERIFY(editor.controls().textFieldIconImage->text().isEmpty());
        QVERIFY(!Drop(editor.controls().imageViewIcon, "https://example.org/a.png"));
        // An announcement without a path is reported.
        editor.controller()->ImageViewDragPerformed({});
        editor.controller()->TextFieldDragPerformed({{"path", 42}});
        QCOMPARE(editor.prompter.Messages(), (QStringList{kLoadFailure, kLoadFailure}));
        QVERIFY(editor.controller()->iconImage().isNull());
    }

    // A dropped image's size in units is its size in pixels, whatever resolution it declares,
    // and it is no edit of the saved design. A further drop asks first until a New.
    void droppedImagesAndAFurtherDropThatAsksFirst() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        CustomTextField* field = editor.controls().textFieldIconImage;
        const QStringList historyBefore = vc->history().stateImagesPath();
        QSignalSpy dropped(field, &CustomTextField::TextFieldDragPerformed);
        QVERIFY(Drop(field, m_photo));
        QCOMPARE(dropped.size(), 1);
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(editor.prompter.questions.isEmpty());
        QCOMPARE(field->text(), m_photo);
        QVERIFY(InfoProvider::Shared().isIconAdded);
        QCOMPARE(editor.log->Design(1).iconImage.size(), QSize(512, 512));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(vc->history().stateImagesPath(),
                 historyBefore + QStringList{historyBefore.last()});
        editor.prompter.answers = {kNo};
        QVERIFY(!Drop(field, m_second));
        QCOMPARE(editor.prompter.Messages(), QStringList{kReplaceQuestion});
        QCOMPARE(editor.prompter.questions.first().buttons, (QStringList{"Yes", "No"}));
        QCOMPARE(editor.controller()->iconImage().size(), QSize(512, 512));
        // A question closed without an answer keeps the image too.
        QVERIFY(!Drop(field, m_second));
        QCOMPARE(editor.controller()->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.prompter.questions.size(), 2);

        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->OnClearIconImage();
        QVERIFY(field->text().isEmpty());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(editor.log->LastDesign().iconImage.isNull());
        editor.prompter.answers = {kYes};
        QVERIFY(Drop(editor.controls().imageViewIcon, m_second));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.prompter.questions.size(), 3);
        QCOMPARE(editor.controller()->iconImage().size(), QSize(32, 16));
        QCOMPARE(field->text(), m_second);

        editor.menu().fileNew->trigger();
        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QCOMPARE(editor.prompter.questions.size(), 3);
    }

    // The image helper decides within two seconds; meanwhile the window takes input and shows
    // that it is busy.
    void aLoadWaitingForItsHelperLeavesTheWindowLive() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        const QString silent = Path("silent-helper.sh");
        QVERIFY(WriteFile(silent, "#!/bin/sh\n" + kStandInHelperReady + "exec sleep 60\n"));
        QVERIFY(QFile::setPermissions(silent, QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray real = qgetenv("SIGILON_LOADER");
        const auto restore = qScopeGuard([&] { qputenv("SIGILON_LOADER", real); });
        qputenv("SIGILON_LOADER", QFile::encodeName(silent));
        editor.controller()->LoadIconImage(m_photo);
        QVERIFY(editor.controller()->loadingIconImage());
        QVERIFY(!c.progressIndicator->isHidden());
        UserInput::Click(c.checkIconShadow);
        QVERIFY(c.checkIconShadow->isChecked());
        QVERIFY(editor.controller()->loadingIconImage());
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.prompter.questions.size(), 1);
        QVERIFY(editor.prompter.Messages().first().startsWith(kLoadFailure + '\n' + m_photo));
        QVERIFY(editor.controller()->iconImage().isNull());
        QVERIFY(c.progressIndicator->isHidden());
    }

    void openPanel() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        vc->OnSelectIconImage(); // cancelled: nothing happens
        const QStringList types{"jpg",  "jpeg", "jpe", "jp2", "jpx", "png",
                                "tiff", "tif",  "gif", "bmp", "svg", "svgz"};
        QCOMPARE(editor.prompter.openRequests, QList<QStringList>{types});
        QVERIFY(editor.prompter.questions.isEmpty());
        // A panel that returns no file is reported.
        editor.prompter.openFiles = {QString()};
        vc->OnSelectIconImage();
        QCOMPARE(editor.prompter.Messages(), QStringList{kLoadFailure});
        // Over another image without a question; of two loads, the last one's image is taken.
        editor.prompter.openFiles = {m_second, m_photo};
        vc->OnSelectIconImage();
        vc->OnSelectIconImage();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.prompter.questions.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        // An SVG document comes with its vector picture, which Clear lets go again.
        QVERIFY(!vc->iconVector());
        editor.prompter.openFiles = {TestDesigns::DataFile("gvim.svg")};
        vc->OnSelectIconImage();
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(vc->iconVector());
        vc->OnClearIconImage();
        QVERIFY(!vc->iconVector());
    }

    // The recovery file follows an undo too; Save and a discard remove it.
    void recoveryFileFollowsTheUnsavedChanges() {
        UseOwnSettings();
        QVERIFY(QDir(RecoveryFolder::StandardPath()).removeRecursively());
        QByteArray image = TestImages::ReadFile(m_second);
        EditorFixture editor;
        ViewController* vc = editor.controller();
        vc->LoadIconImage(m_second);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(RecoveryFiles(), QStringList{}); // an image alone is not an unsaved change
        UserInput::Type(editor.controls().textFieldText, "Kept");
        QVERIFY(editor.WaitUntilIdle());
        const QString kept = vc->MakeProfileText();
        QTRY_VERIFY_WITH_TIMEOUT(OnlyRecoveryRecord(), CrashRecovery::kLongestWaitMs + 2000);
        QCOMPARE(OnlyRecoveryRecord()->profileText, kept);
        QCOMPARE(OnlyRecoveryRecord()->imagePath, m_second);
        QCOMPARE(OnlyRecoveryRecord()->imageBytes, image);
        QCOMPARE(OnlyRecoveryRecord()->profilePath, QString());

        UserInput::Type(editor.controls().textFieldText, "Undone");
        QVERIFY(editor.WaitUntilIdle());
        vc->recovery().WriteNow();
        QVERIFY(editor.Undo());
        QVERIFY(vc->MakeProfileText().contains("\nKept\n"));
        QTRY_COMPARE_WITH_TIMEOUT(OnlyRecoveryRecord()->profileText, vc->MakeProfileText(),
                                  CrashRecovery::kLongestWaitMs + 2000);

        editor.prompter.saveFiles = {Path("kept.sgp")};
        editor.menu().saveProfile->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - kept"));
        vc->recovery().FinishWrites();
        QCOMPARE(StateFiles(), QStringList{});

        UserInput::Type(editor.controls().textFieldText, "Dropped");
        vc->recovery().WriteNow();
        vc->recovery().FinishWrites();
        QCOMPARE(OnlyRecoveryRecord()->profilePath, Path("kept.sgp"));
        QCOMPARE(OnlyRecoveryRecord()->imageBytes, image);
        editor.prompter.answers = {kDontSave};
        editor.menu().fileNew->trigger();
        vc->recovery().FinishWrites();
        QCOMPARE(StateFiles(), QStringList{});
    }

    // The left design's image file has gone: Restore takes it from the copy, and this editor's
    // own file takes the design over. A question closed unanswered keeps it for the next start.
    void leftOverDesignIsOffered_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("restore") << 0;
        QTest::newRow("discard") << 1;
        QTest::newRow("closed") << -1;
    }

    void leftOverDesignIsOffered() {
        QFETCH(int, answer);
        UseOwnSettings();
        QVERIFY(QDir(RecoveryFolder::StandardPath()).removeRecursively());
        const QImage picture = TestImages::AsymmetricImage(32, 16);
        RecoveryRecord left;
        left.savedAt = QDateTime(QDate(2026, 3, 14), QTime(11, 32, 7));
        left.profilePath = Path("gone.sgp");
        left.imagePath = Path("moved.png");
        left.imageBytes = TestImages::PngBytes(picture);
        left.profileText = QString::fromUtf8(SampleProfile());
        QVERIFY(RecoveryFolder().Write(left));
        // The record and the image's copy beside it.
        const QStringList leftFiles = StateFiles();
        QCOMPARE(leftFiles.size(), 2);

        EditorFixture editor;
        ViewController* vc = editor.controller();
        editor.prompter.answers = {answer};
        vc->recovery().OfferLeftOver();
        vc->recovery().FinishWrites();
        QCOMPARE(editor.prompter.questions.size(), 1);
        const QString question = editor.prompter.questions[0].message;
        QVERIFY2(question.startsWith("Sigilon did not close properly. Restore the unsaved design "
                                     "from ") &&
                     question.contains("11:32") && question.endsWith('?'),
                 qPrintable(question));
        QCOMPARE(editor.prompter.questions[0].buttons, (QStringList{"Restore", "Discard"}));
        QVERIFY(editor.WaitUntilIdle());

        if (answer != 0) {
            QCOMPARE(vc->MakeProfileText(), MakeProfileText(DesignSettings{}));
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
            QCOMPARE(StateFiles(), answer == 1 ? QStringList{} : leftFiles);
            RecoveryFolder later;
            QCOMPARE(later.TakeLeftOver().has_value(), answer != 1);
            later.DiscardTaken();
            return;
        }
        // The design as Load would show that profile.
        DesignSettings loaded;
        QVERIFY(ApplyProfileText(loaded, left.profileText, false));
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(loaded));
        QCOMPARE(vc->currentProfilePath(), Path("gone.sgp"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - gone*"));
        QCOMPARE(TestImages::FirstDifference(vc->iconImage(), picture, 0), QString());
        QCOMPARE(editor.controls().textFieldIconImage->text(), Path("moved.png"));
        QCOMPARE(editor.log->LastDesign().text, QStringLiteral("Sample"));
        QCOMPARE(editor.HistorySize(), 1);
        const QStringList own = StateFiles();
        QCOMPARE(own.size(), 2);
        for (const QString& file : own)
            QVERIFY2(!leftFiles.contains(file), qPrintable(file));
        QCOMPARE(OnlyRecoveryRecord()->profileText, vc->MakeProfileText());
        QCOMPARE(OnlyRecoveryRecord()->imageBytes, left.imageBytes);
        // Save writes the profile it belonged to, without asking for a name.
        editor.menu().saveProfile->trigger();
        QCOMPARE(TestImages::ReadFile(Path("gone.sgp")), vc->MakeProfileText().toUtf8());
        vc->recovery().FinishWrites();
        QCOMPARE(StateFiles(), QStringList{});
    }

    // A state folder that cannot be made is told once, and editing goes on.
    void unwritableStateFolderIsToldOnce() {
        UseOwnSettings();
        const QString inTheWay = RecoveryFolder::StandardPath();
        QVERIFY(QDir(inTheWay).removeRecursively());
        QVERIFY(WriteFile(inTheWay, "a file where the folder should be"));
        {
            EditorFixture editor;
            for (const char* text : {"First", "Second"}) {
                UserInput::Type(editor.controls().textFieldText, text);
                editor.controller()->recovery().WriteNow();
                editor.controller()->recovery().FinishWrites();
            }
            QVERIFY(editor.WaitUntilIdle());
            QCOMPARE(editor.prompter.questions.size(), 1);
            const QStringList told = editor.prompter.Messages()[0].split('\n');
            QVERIFY2(told[0].startsWith("The unsaved changes cannot be kept for recovery"),
                     qPrintable(told[0]));
            QCOMPARE(told.value(1), inTheWay);
            QVERIFY(!told.value(2).isEmpty());
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
            QCOMPARE(editor.log->LastDesign().text, QStringLiteral("Second"));
        }
        QVERIFY(QFile::remove(inTheWay));
    }
};

QTEST_MAIN(tst_ProfileCommands)
#include "tst_ProfileCommands.moc"
