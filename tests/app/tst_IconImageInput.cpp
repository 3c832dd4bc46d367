#include "EditorFixture.h"

#include "app/CustomImageView.h"
#include "app/CustomTextField.h"
#include "app/InfoProvider.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

const QString kReplaceQuestion =
    QStringLiteral("Are you sure you want to replace the current image?");
const QString kLoadFailure = QStringLiteral("The image could not be loaded.");
constexpr int kYes = 0;
constexpr int kNo = 1;

// Drops the files on the widget as the window system would; true when it was accepted.
bool Drop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

bool Drop(QWidget* target, const QString& path) {
    return Drop(target, {QUrl::fromLocalFile(path)});
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A Windows bitmap header that claims a picture far larger than any icon, with no pixels.
QByteArray HugeBitmapHeader() {
    QByteArray header(54, '\0');
    const auto put32 = [&header](int offset, quint32 value) {
        qToLittleEndian(value, header.data() + offset);
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, 54);      // file size as declared
    put32(10, 54);     // pixel data offset
    put32(14, 40);     // info header size
    put32(18, 100000); // width
    put32(22, 100000); // height
    header[26] = 1;    // planes
    header[28] = 24;   // bits per pixel
    return header;
}

} // namespace

// The icon image by open panel and by drops on the preview and the path field.
class tst_IconImageInput : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_photo;  // 512 x 512 pixels declaring 144 dots per inch, upper-case extension
    QString m_second; // a small PNG
    QString m_notes;  // a text file
    QString m_fake;   // text in a file named .png
    QString m_cut;    // a PNG cut off in the middle
    QString m_huge;   // a bitmap claiming 100000 x 100000 pixels

    QString Path(const QString& name) const { return m_folder.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        QImage photo(512, 512, QImage::Format_ARGB32);
        photo.fill(QColor(200, 40, 40));
        const int dotsPerMeterAt144Dpi = qRound(144 / 0.0254);
        photo.setDotsPerMeterX(dotsPerMeterAt144Dpi);
        photo.setDotsPerMeterY(dotsPerMeterAt144Dpi);
        m_photo = Path("photo.PNG");
        QVERIFY(photo.save(m_photo, "PNG"));

        m_second = Path("second.png");
        QVERIFY(QImage(32, 16, QImage::Format_ARGB32).save(m_second));
        m_notes = Path("notes.txt");
        QVERIFY(WriteAll(m_notes, "not an image\n"));
        m_fake = Path("fake.png");
        QVERIFY(WriteAll(m_fake, "not an image either\n"));
        QImage noisy(300, 300, QImage::Format_ARGB32);
        for (int y = 0; y < noisy.height(); ++y)
            for (int x = 0; x < noisy.width(); ++x)
                noisy.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, (x ^ y) % 256, 255));
        QVERIFY(noisy.save(Path("whole.png")));
        QFile whole(Path("whole.png"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        m_cut = Path("cut.png");
        QVERIFY(WriteAll(m_cut, whole.readAll().left(whole.size() / 2)));
        m_huge = Path("huge.bmp");
        QVERIFY(WriteAll(m_huge, HugeBitmapHeader()));
    }

    void droppedPhotoBecomesTheIcon() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        const QStringList historyBefore = vc->history().stateImagesPath();
        QSignalSpy dropped(editor.controls().imageViewIcon,
                           &CustomImageView::ImageViewDragPerformed);

        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(dropped.first().first().toMap().value("path").toString(), m_photo);
        QVERIFY(editor.prompter.questions.isEmpty());
        // Its size in units is its size in pixels, whatever resolution it declares.
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.controls().textFieldIconImage->text(), m_photo);
        QVERIFY(InfoProvider::Shared().isIconAdded);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->Design(1).iconImage.size(), QSize(512, 512));
        // Loading is not an edit of the saved design: no marker; the history records the
        // same design again.
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(vc->history().stateImagesPath(),
                 historyBefore + QStringList{historyBefore.last()});
        vc->OnUndo();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
    }

    void refusedDrops_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("text file") << m_notes;
        QTest::newRow("text named .png") << m_fake;
        QTest::newRow("PNG cut in the middle") << m_cut;
        QTest::newRow("bitmap claiming 100000 x 100000") << m_huge;
        QTest::newRow("missing file") << Path("missing.png");
    }
    void refusedDrops() {
        QFETCH(QString, file);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        for (QWidget* target : {static_cast<QWidget*>(editor.controls().imageViewIcon),
                                static_cast<QWidget*>(editor.controls().textFieldIconImage)})
            QVERIFY(!Drop(target, file));
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(editor.controller()->iconImage().isNull());
        QVERIFY(editor.controls().textFieldIconImage->text().isEmpty());
        QVERIFY(!InfoProvider::Shared().isIconAdded);

        // Chosen in the open panel, the same file is reported.
        editor.prompter.openFiles = {file};
        editor.controller()->OnSelectIconImage();
        QCOMPARE(editor.prompter.Messages(), QStringList{kLoadFailure});
        QVERIFY(editor.controller()->iconImage().isNull());
    }

    void dropsThatCarryNoFileAreRefused() {
        EditorFixture editor;
        QMimeData text;
        text.setText(QStringLiteral("photo.png"));
        QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.controls().textFieldIconImage, &drop);
        QVERIFY(!drop.isAccepted());
        QVERIFY(editor.controls().textFieldIconImage->text().isEmpty());
        QVERIFY(!Drop(editor.controls().imageViewIcon, {QUrl("https://example.org/a.png")}));
    }

    void aSecondDropAsksFirst() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        CustomTextField* field = editor.controls().textFieldIconImage;
        QSignalSpy dropped(field, &CustomTextField::TextFieldDragPerformed);
        QVERIFY(Drop(field, m_photo));
        QCOMPARE(dropped.size(), 1);

        editor.prompter.answers = {kNo};
        QVERIFY(!Drop(field, m_second));
        QCOMPARE(editor.prompter.Messages(), QStringList{kReplaceQuestion});
        QCOMPARE(editor.prompter.questions.first().buttons, (QStringList{"Yes", "No"}));
        QCOMPARE(editor.controller()->iconImage().size(), QSize(512, 512));

        // "Yes" to replacing, but the file is no image: still refused, without a message.
        editor.prompter.answers = {kYes};
        QVERIFY(!Drop(field, m_notes));
        QCOMPARE(editor.prompter.questions.size(), 2);

        editor.prompter.answers = {kYes};
        QVERIFY(Drop(editor.controls().imageViewIcon, m_second));
        QCOMPARE(editor.controller()->iconImage().size(), QSize(32, 16));
        QCOMPARE(field->text(), m_second);
        QCOMPARE(editor.prompter.questions.size(), 3);
    }

    void afterClearingTheNextDropStillAsks() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->OnClearIconImage();
        QVERIFY(editor.controller()->iconImage().isNull());
        QVERIFY(editor.controls().textFieldIconImage->text().isEmpty());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(editor.log->Design(editor.log->started - 1).iconImage.isNull());

        editor.prompter.answers = {kYes};
        QVERIFY(Drop(editor.controls().imageViewIcon, m_second));
        QCOMPARE(editor.prompter.Messages(), QStringList{kReplaceQuestion});

        // A new design forgets that an image was loaded.
        editor.controller()->menuActions().fileNew->trigger();
        QVERIFY(Drop(editor.controls().imageViewIcon, m_photo));
        QCOMPARE(editor.prompter.questions.size(), 1);
    }

    void openPanel() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        // Cancelled: nothing happens.
        vc->OnSelectIconImage();
        QCOMPARE(editor.prompter.openRequests.size(), 1);
        QCOMPARE(
            editor.prompter.openRequests.first(),
            (QStringList{"jpg", "jpeg", "jpe", "jp2", "jpx", "png", "tiff", "tif", "gif", "bmp"}));
        QVERIFY(editor.prompter.questions.isEmpty());
        // A panel that returns no file is reported.
        editor.prompter.openFiles = {QString()};
        vc->OnSelectIconImage();
        QCOMPARE(editor.prompter.Messages(), QStringList{kLoadFailure});
        // A chosen image loads without any question, even over another one.
        editor.prompter.openFiles = {m_second, m_photo};
        vc->OnSelectIconImage();
        vc->OnSelectIconImage();
        QCOMPARE(vc->iconImage().size(), QSize(512, 512));
        QCOMPARE(editor.prompter.questions.size(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
    }

    void announcementWithoutAPathIsReported() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->ImageViewDragPerformed({});
        editor.controller()->TextFieldDragPerformed({{"path", 42}});
        QCOMPARE(editor.prompter.Messages(), (QStringList{kLoadFailure, kLoadFailure}));
        QVERIFY(editor.controller()->iconImage().isNull());
    }
};

QTEST_MAIN(tst_IconImageInput)
#include "tst_IconImageInput.moc"
