#include "EditorFixture.h"

#include "app/canvas/InfoProvider.h"

namespace {

const QString kReplaceQuestion =
    QStringLiteral("Are you sure you want to replace the current image?");
const QString kLoadFailure = QStringLiteral("The image could not be loaded.");
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

} // namespace

// The icon image by open panel and by drops on the preview and the path field.
class tst_IconImageInput : public QObject {
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

    void droppedPhotoBecomesTheIcon() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const QStringList historyBefore = vc->history().stateImagesPath();
        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QVERIFY(editor.prompter.questions.isEmpty());
        // Its size in units is its size in pixels, whatever resolution it declares.
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.controls().textFieldIconImage->text(), m_photo);
        QVERIFY(InfoProvider::Shared().isIconAdded);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->Design(1).iconImage.size(), QSize(512, 512));
        // No edit of the saved design: no marker, and the history records the same design.
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(vc->history().stateImagesPath(),
                 historyBefore + QStringList{historyBefore.last()});
    }

    // Refused by its name, by its content or for not being there, each time with a message
    // that names the file; which damaged and hostile files the loader refuses is its own
    // concern.
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
        QVERIFY(!Drop(c.imageViewIcon, Path(name)));
        QVERIFY(!Drop(c.textFieldIconImage, Path(name)));
        QVERIFY(c.textFieldIconImage->text().isEmpty());
        QVERIFY(!InfoProvider::Shared().isIconAdded);
        // Chosen in the open panel, the same file is reported.
        editor.prompter.openFiles = {Path(name)};
        editor.controller()->OnSelectIconImage();
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
        DesignSettings dropped;
        dropped.text = QStringLiteral("Dropped");
        QVERIFY(WriteFile(Path("dropped.sgp"), MakeProfileText(dropped).toUtf8()));
        UserInput::Click(editor.controls().checkIconShadow);
        editor.prompter.answers = {kCancel};
        Drop(editor.controls().imageViewIcon, Path("dropped.sgp"));
        QCOMPARE(editor.prompter.questions.size(), 1);
        QCOMPARE(editor.prompter.questions.first().buttons, kUnsavedButtons);
        QVERIFY(editor.controls().textFieldText->text().isEmpty());
        editor.prompter.answers = {kDontSave};
        Drop(editor.controller(), Path("dropped.sgp"));
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

    // Once an image is loaded, a further drop asks first, even after the image was cleared,
    // until a new design forgets it.
    void aFurtherDropAsksFirst() {
        EditorFixture editor;
        CustomTextField* field = editor.controls().textFieldIconImage;
        QSignalSpy dropped(field, &CustomTextField::TextFieldDragPerformed);
        QVERIFY(Drop(field, m_photo));
        QCOMPARE(dropped.size(), 1);
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
        QCOMPARE(editor.prompter.questions.size(), 3);
        QCOMPARE(editor.controller()->iconImage().size(), QSize(32, 16));
        QCOMPARE(field->text(), m_second);

        editor.menu().fileNew->trigger();
        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QCOMPARE(editor.prompter.questions.size(), 3);
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
        // A chosen image loads without a question, even over another one.
        editor.prompter.openFiles = {m_second, m_photo};
        vc->OnSelectIconImage();
        vc->OnSelectIconImage();
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.prompter.questions.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        // An SVG document comes with its vector picture, which Clear lets go again.
        QVERIFY(!vc->iconVector());
        editor.prompter.openFiles = {QStringLiteral(SIGILON_SOURCE_DIR "/tests/data/gvim.svg")};
        vc->OnSelectIconImage();
        QVERIFY(vc->iconVector());
        vc->OnClearIconImage();
        QVERIFY(!vc->iconVector());
    }
};

QTEST_MAIN(tst_IconImageInput)
#include "tst_IconImageInput.moc"
