// Profile files on disk: UTF-8 without a byte-order mark, written whole or not at all, and
// read only when the path names an ordinary file of a plausible size.

#include "design/DesignSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileText.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class ProfileFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writtenTextReadsBackUnchanged() {
        DesignSettings settings;
        settings.text = QStringLiteral("Grüße ✓");
        const QString text = MakeProfileText(settings);
        const QString path = m_dir.filePath(QStringLiteral("profile.sgp"));
        QVERIFY(WriteProfileFile(path, text));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.toUtf8()); // no byte-order mark, nothing added
        QString read;
        QVERIFY(ReadProfileFile(path, read));
        QCOMPARE(read, text);
    }

    void onlyOrdinaryFilesAreRead() {
        // A pipe would block the reader until something writes to it, and a device such as
        // /dev/zero never ends: neither is a profile.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.sgp"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QString text;
        QVERIFY(!ReadProfileFile(pipe, text));
        QVERIFY(!ReadProfileFile(m_dir.path(), text));
        if (QFileInfo::exists(QStringLiteral("/dev/zero")))
            QVERIFY(!ReadProfileFile(QStringLiteral("/dev/zero"), text));
    }

    void hugeFileIsNotRead() {
        // A profile is a few kilobytes; a file of many megabytes was chosen by mistake and is
        // refused before it is read into memory.
        const QString path = m_dir.filePath(QStringLiteral("huge.sgp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(64) << 20));
        file.close();
        QString text;
        QVERIFY(!ReadProfileFile(path, text));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "tst_ProfileFile.moc"
