// Profile files on disk: UTF-8 without a byte-order mark, written whole or not at all, and
// read only when the path names an ordinary file of a plausible size.

#include "helpers/TestImages.h"
#include "profiles/ProfileFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class ProfileFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writtenTextReadsBackUnchanged() {
        const QString text = QStringLiteral("0\nGrüße ✓\n0.5019607843137255\n");
        const QString path = m_dir.filePath(QStringLiteral("profile.sgp"));
        QVERIFY(WriteProfileFile(path, text));
        QCOMPARE(TestImages::ReadFile(path), text.toUtf8()); // no byte-order mark, nothing added
        QString read;
        QVERIFY(ReadProfileFile(path, read));
        QCOMPARE(read, text);
    }

    void onlyOrdinaryFilesOfAPlausibleSizeAreRead() {
        // A pipe would block the reader until something writes to it, a device such as
        // /dev/zero never ends, and a file of many megabytes was chosen by mistake.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.sgp"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QFile huge(m_dir.filePath(QStringLiteral("huge.sgp")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(64) << 20));
        huge.close();
        QString text;
        for (const QString& path :
             {pipe, m_dir.path(), huge.fileName(), QStringLiteral("/dev/zero")})
            QVERIFY2(!ReadProfileFile(path, text), qPrintable(path));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "tst_ProfileFile.moc"
