// The writer behind every exported file: names it refuses, the permissions of what it creates,
// and what a refused or interrupted write leaves behind. What it does about each kind of item
// already at a path is checked through both exports (OutputOccupants).

#include "export/AtomicFileWrite.h"
#include "helpers/FolderListing.h"
#include "helpers/TestImages.h"
#include "support/OwnTemporaryFiles.h"
#include "support/TerminationCleanup.h"

#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

const QByteArray NewContent("the new icon");

int g_signal = 0; // what the child process sends itself

class AtomicFileWriteTest : public QObject {
    Q_OBJECT

private slots:
    void nulEndsNoPath() {
        // The part before a NUL names an existing file, which must be neither found nor written.
        TestImages::ScratchFolder folder;
        const QString prefix = folder.filePath("Icon");
        QVERIFY(TestImages::WriteFile(prefix, "old"));
        const QString path = prefix + QChar(0) + "16.png";
        QVERIFY(!ItemExistsAt(path));
        const WriteResult result = WriteFileAtomically(path, NewContent);
        QVERIFY(!result);
        QVERIFY2(result.failure.contains("NUL"), qPrintable(result.failure));
        QCOMPARE(TestImages::ReadFile(prefix), QByteArray("old"));
        QCOMPARE(FolderListing::EntriesIn(folder.filePath(".")), QStringList{"Icon"});
    }

    void newFilesFollowTheUmask_data() {
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("mode");
        QTest::newRow("022") << 022 << 0644;
        QTest::newRow("077") << 077 << 0600;
        QTest::newRow("002") << 002 << 0664;
    }

    void newFilesFollowTheUmask() {
        QFETCH(int, umask);
        QFETCH(int, mode);
        TestImages::ScratchFolder folder;
        const QString path = folder.filePath("icon.png");
        const mode_t previous = ::umask(mode_t(umask));
        const WriteResult result = WriteFileAtomically(path, NewContent);
        ::umask(previous);
        QVERIFY(result);
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
    }

    // A child process sends itself the signal the moment its temporary file exists, before a
    // byte is written; it must end with 128 + the signal and leave nothing in the folder.
    void terminationRemovesTheOpenTemporary_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void terminationRemovesTheOpenTemporary() {
        QFETCH(int, signal);
        TestImages::ScratchFolder folder;
        const QString path = folder.filePath("icon.png");
        g_signal = signal;
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            RemoveTemporariesOnTermination();
            OwnTemporaryFiles::SetCreatedHookForTesting([] {
                ::kill(::getpid(), g_signal);
                for (;;)
                    ::pause();
            });
            [[maybe_unused]] const WriteResult written = WriteFileAtomically(path, NewContent);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 128 + signal);
        QCOMPARE(FolderListing::EntriesIn(folder.filePath(".")), QStringList());
    }
};

QTEST_GUILESS_MAIN(AtomicFileWriteTest)
#include "tst_AtomicFileWrite.moc"
