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

// A design in which every value differs from the default and from every other value of its
// kind, so a control that shows or saves another control's value is caught. Colour components
// are multiples of 1/32, which a profile stores exactly.
DesignSettings EveryValueChanged() {
    DesignSettings s;
    s.transparentBackground = 1;
    s.gradientStartColor = {0.125, 0.25, 0.375, 1.0};
    s.gradientEndColor = {0.5, 0.625, 0.75, 1.0};
    s.cornerCurvature = 0.75f;
    s.backgroundStroke = 0;
    s.backgroundStrokeColor = {0.875, 0.0625, 0.1875, 1.0};
    s.backgroundStrokeSize = 61.0f;
    s.backgroundShadow = 0;
    s.backgroundShadowColor = {0.3125, 0.4375, 0.5625, 1.0};
    s.backgroundShadowOffset = 62.0f;
    s.backgroundShadowAngle = 63.0f;
    s.backgroundShadowBlur = 64.0f;
    s.iconVerticalOffset = -71.0f;
    s.iconVerticalOffsetText = QStringLiteral("-71");
    s.iconHorizontalOffset = 72.0f;
    s.iconHorizontalOffsetText = QStringLiteral("72");
    s.useImageColors = 0;
    s.iconColor = {0.6875, 0.8125, 0.9375, 1.0};
    s.iconScale = 73.0f;
    s.iconScaleText = QStringLiteral("73");
    s.iconRotation = 74.0f;
    s.iconShadow = 1;
    s.iconShadowColor = {0.03125, 0.09375, 0.15625, 1.0};
    s.iconShadowOffset = 75.0f;
    s.iconShadowAngle = 76.0f;
    s.iconShadowBlur = 77.0f;
    s.text = QStringLiteral("Every value");
    s.textVerticalOffset = -81.0f;
    s.textVerticalOffsetText = QStringLiteral("-81");
    s.textHorizontalOffset = 82.0f;
    s.textHorizontalOffsetText = QStringLiteral("82");
    s.textColor = {0.21875, 0.28125, 0.34375, 1.0};
    s.fontIndex = 5;
    s.fontSize = 83.0f;
    s.fontSizeText = QStringLiteral("83");
    s.textStroke = 1;
    s.textStrokeColor = {0.40625, 0.46875, 0.53125, 1.0};
    s.textStrokeSize = 8.5f;
    s.textShadow = 0;
    s.textShadowColor = {0.59375, 0.65625, 0.71875, 1.0};
    s.textShadowOffset = 84.0f;
    s.textShadowAngle = 85.0f;
    s.textShadowBlur = 86.0f;
    s.canvasWidthText = QStringLiteral("640");
    s.canvasHeightText = QStringLiteral("480");
    s.iosIconSet = 1;
    s.watchIconSet = 1;
    s.macIconSet = 0;
    s.customSize = 1;
    // Off and mixed in turn, so two neighbouring boxes that swapped their values show.
    for (std::size_t i = 0; i < s.iosSizes.size(); ++i)
        s.iosSizes[i] = i % 2 ? -1 : 0;
    for (std::size_t i = 0; i < s.watchSizes.size(); ++i)
        s.watchSizes[i] = i % 2 ? 0 : -1;
    for (std::size_t i = 0; i < s.macSizes.size(); ++i)
        s.macSizes[i] = i % 2 ? -1 : 0;
    s.customWidthText = QStringLiteral("320");
    s.customHeightText = QStringLiteral("240");
    s.iconFormat = 7;
    s.qualityText = QStringLiteral("57");
    s.quality = 57.0f;
    s.namePattern = QStringLiteral("App-[Size]");
    return s;
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
        QVERIFY(ApplyProfileText(saved, QString::fromUtf8(ReadAll(Path("typed.sgp"))), false));
        QCOMPARE(saved.fontSizeText, QStringLiteral("64"));
        QCOMPARE(saved.fontSize, 64.0f);
        QCOMPARE(saved.textStroke, otherEdit ? 1 : 0);
        c.textFieldText->setFocus();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - typed"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->LastDesign().fontSize, 64.0f);
    }

    // Every control takes its own value from a loaded profile and gives it back on save,
    // however long its text.
    void everyValueGoesThroughTheControlsUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("namePattern");
        QTest::newRow("every value changed") << QString() << QString();
        QTest::newRow("lines longer than a line edit's default")
            << QString(40000, u'W') + "end" << QString(33000, u'n') + "[Size]";
    }
    void everyValueGoesThroughTheControlsUnchanged() {
        QFETCH(QString, text);
        QFETCH(QString, namePattern);
        DesignSettings changed = EveryValueChanged();
        if (!text.isEmpty()) {
            changed.text = text;
            changed.namePattern = namePattern;
        }
        const QString profile = MakeProfileText(changed);
        const QStringList lines = profile.split(u'\n');
        const QStringList defaultLines = MakeProfileText(DesignSettings{}).split(u'\n');
        QCOMPARE(lines.size(), defaultLines.size());
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(lines[i] != defaultLines[i], qPrintable(QString::number(i)));

        EditorFixture editor;
        QVERIFY(WriteFile(Path("every.sgp"), profile.toUtf8()));
        editor.prompter.openFiles = {Path("every.sgp")};
        editor.menu().loadProfile->trigger();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - every"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->LastDesign().text, changed.text);
        editor.prompter.saveFiles = {Path("again.sgp")};
        editor.menu().saveProfileAs->trigger();
        QCOMPARE(QString::fromUtf8(ReadAll(Path("again.sgp"))), profile);
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
