// What an editor keeps of its unsaved changes: the recovery file read back exactly as written,
// anything else refused; which left-over file a start offers; and the folder shared by the
// editors of one user, where none takes another's file while it runs.

#include "design/DesignSettings.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileText.h"
#include "recovery/LeftOverChoice.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryRecord.h"

#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

RecoveryRecord SampleRecord(const QString& text = QStringLiteral("Ab")) {
    DesignSettings settings;
    settings.text = text;
    RecoveryRecord record;
    record.savedAt = QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26, 535), Qt::UTC);
    record.profilePath = QStringLiteral("/home/user/designs/logo.sgp");
    record.imagePath = QStringLiteral("/home/user/Downloads/logo.png");
    record.imageBytes = TestImages::PngBytes(TestImages::AsymmetricImage(8, 5));
    record.profileText = MakeProfileText(settings);
    return record;
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The files a record keeps in the folder: itself and its image copies, no lock, no temporary.
QStringList KeptFiles(const QString& folder) {
    QStringList kept;
    for (const QString& name : FilesIn(folder))
        if (!name.endsWith(".lock"))
            kept.append(name);
    return kept;
}

} // namespace

class tst_RecoveryFolder : public QObject {
    Q_OBJECT

private slots:
    void fileReadsBackAsWritten_data() {
        QTest::addColumn<RecoveryRecord>("record");
        QTest::addColumn<QString>("copy");
        RecoveryRecord sample = SampleRecord();
        QTest::newRow("saved profile with an image") << sample << "editor-7-x.3.image";
        RecoveryRecord never = sample;
        never.profilePath.clear();
        never.imagePath.clear();
        never.imageBytes.clear();
        QTest::newRow("never saved, no image") << never << "";
        // Names may hold anything a file name can: line feeds, spaces, percent signs, letters
        // of any script; each still fits on its header line.
        RecoveryRecord names = sample;
        names.profilePath = QStringLiteral("/tmp/a\nb %41 \u00e9\u4e2d/x.sgp");
        names.imagePath = QStringLiteral("/tmp/saved: 1\n\nimage-copy 3.png");
        QTest::newRow("awkward names") << names << "e\n\nprofile-text-bytes 2 .image";
        RecoveryRecord path = sample;
        path.imageBytes.clear();
        QTest::newRow("image kept as its path only") << path << "";
        QTest::newRow("text beyond ASCII")
            << SampleRecord(QStringLiteral("\u00c5\u00df \U0001F600")) << "editor-1-a.1.image";
    }

    void fileReadsBackAsWritten() {
        QFETCH(RecoveryRecord, record);
        QFETCH(QString, copy);
        const QByteArray bytes = RecoveryFileBytes(record, copy);
        QString copyRead = QStringLiteral("not set");
        const std::optional<RecoveryRecord> read = ReadRecoveryFileBytes(bytes, &copyRead);
        QVERIFY(read);
        QCOMPARE(read->savedAt, record.savedAt);
        QCOMPARE(read->profilePath, record.profilePath);
        QCOMPARE(read->imagePath, record.imagePath);
        QCOMPARE(read->profileText, record.profileText);
        QCOMPARE(copyRead, copy);
        // The image's bytes stay in their copy: the record is the header and the profile text,
        // held as a profile file holds it, byte for byte.
        QCOMPARE(read->imageBytes, QByteArray());
        QVERIFY(bytes.endsWith("\n\n" + record.profileText.toUtf8()));
        QVERIFY(bytes.size() < record.profileText.toUtf8().size() + 512);
    }

    void damagedFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        const RecoveryRecord sample = SampleRecord();
        const QByteArray good = RecoveryFileBytes(sample, "editor-1-a.1.image");
        const qsizetype headerEnd = good.indexOf("\n\n") + 2;
        const auto replaced = [&good](const char* from, const char* to) {
            QByteArray bytes = good;
            const qsizetype at = bytes.indexOf(from);
            return at < 0 ? QByteArray() : bytes.replace(at, qstrlen(from), to);
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a byte short") << good.chopped(1);
        QTest::newRow("a byte more") << good + 'x';
        QTest::newRow("header only") << good.left(headerEnd);
        QTest::newRow("another kind of file")
            << replaced("Sigilon recovery 2", "Sigilon recovery 3");
        // The earlier layout held the image's bytes after the text.
        QTest::newRow("earlier layout") << replaced("Sigilon recovery 2", "Sigilon recovery 1");
        QTest::newRow("no time") << replaced("saved 2026-03-14T15:09:26.535Z", "saved soon");
        QTest::newRow("length with a sign")
            << replaced("profile-text-bytes ", "profile-text-bytes +");
        QTest::newRow("length with a leading zero")
            << replaced("profile-text-bytes ", "profile-text-bytes 0");
        QTest::newRow("label changed") << replaced("image-path ", "image-file ");
        QTest::newRow("copy not named") << replaced("image-copy ", "image-bytes ");
        QTest::newRow("raw space in a copy's name")
            << replaced("editor-1-a.1.image", "editor 1.image");
        QTest::newRow("raw space in a path") << replaced("/home/user/designs", "/home/my designs");
        // The lengths agree, but the profile text is not one.
        QByteArray text = good;
        text[headerEnd] = 'x';
        QTest::newRow("profile text damaged") << text;
        QByteArray utf8 = good;
        utf8[headerEnd + good.mid(headerEnd).indexOf("Ab")] = char(0xFF);
        QTest::newRow("profile text not UTF-8") << utf8;
        // A profile of an older, shorter layout is never written here.
        RecoveryRecord older = sample;
        QStringList lines = older.profileText.split(u'\n');
        lines.resize(60);
        older.profileText = lines.join(u'\n') + u'\n';
        QTest::newRow("older profile layout") << RecoveryFileBytes(older, {});
    }

    void damagedFilesAreRefused() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty() || QTest::currentDataTag() == QByteArray("empty"));
        QString copy;
        QVERIFY(!ReadRecoveryFileBytes(bytes, &copy));
    }

    void choiceOfTheFileOffered_data() {
        // Each file: name, then R (its editor runs) or G (gone), then the minute it was written
        // or "-" for a file that holds no record.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("offered");     // "" for none
        QTest::addColumn<QStringList>("removed"); // the files that can never be offered
        const auto row = [](const char* name, const QStringList& files, const QString& offered,
                            const QStringList& removed = {}) {
            QTest::newRow(name) << files << offered << removed;
        };
        row("nothing", {}, "");
        row("one gone", {"a G 5"}, "a");
        row("only running", {"a R 5", "b R 9"}, "");
        row("newest gone, not newest running", {"a G 3", "b R 9", "c G 7", "d G 1"}, "c");
        row("a tie goes to the first name", {"b G 4", "a G 4"}, "a");
        row("unreadable never offered", {"a G -", "b G 2", "c R -"}, "b", {"a"});
    }

    void choiceOfTheFileOffered() {
        QFETCH(QStringList, files);
        QFETCH(QString, offered);
        QFETCH(QStringList, removed);
        QList<FoundRecoveryFile> found;
        for (const QString& file : files) {
            const QStringList parts = file.split(u' ');
            FoundRecoveryFile entry;
            entry.name = parts[0];
            entry.editorRunning = parts[1] == "R";
            entry.readable = parts[2] != "-";
            if (entry.readable)
                entry.savedAt = QDateTime(QDate(2026, 1, 1), QTime(10, parts[2].toInt()));
            found.append(entry);
        }
        const std::optional<qsizetype> chosen = ChooseLeftOver(found);
        QCOMPARE(chosen ? found[*chosen].name : QString(), offered);
        QStringList unusable;
        for (const qsizetype index : UnusableLeftOvers(found))
            unusable.append(found[index].name);
        QCOMPARE(unusable, removed);
    }

    // Two editors at once, the other one a process of its own: each writes its own file, and
    // neither takes the other's while both run. Once the other has died without a word, its
    // file is offered, held by the one that took it until it decides; discarding it leaves
    // nothing behind. A damaged file whose editor is gone is removed.
    void eachEditorKeepsItsOwnFile() {
        QTemporaryDir state;
        const QString folder = state.filePath("sigilon");
        int toChild[2];
        int fromChild[2];
        QVERIFY(::pipe(toChild) == 0 && ::pipe(fromChild) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            RecoveryFolder own(folder);
            const char written = own.Write(SampleRecord("other")) ? 1 : 0;
            [[maybe_unused]] ssize_t io = ::write(fromChild[1], &written, 1);
            char go;
            io = ::read(toChild[0], &go, 1);
            ::_exit(0); // no destructor runs: the lock and the file stay
        }
        // A failure below must not leave the child waiting for ever; once reaped, its number
        // may be another process's.
        bool reaped = false;
        const auto endChild = qScopeGuard([child, &reaped] {
            if (!reaped) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
        });
        char written = 0;
        QCOMPARE(::read(fromChild[0], &written, 1), ssize_t(1));
        QCOMPARE(written, char(1));
        for (const int fd : {toChild[0], fromChild[0], fromChild[1]})
            ::close(fd);

        RecoveryFolder editor(folder);
        QVERIFY(editor.Write(SampleRecord("own")));
        QCOMPARE(FilesIn(folder).filter(".recovery").size(), 2);
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QVERIFY(TestImages::WriteFile(folder + "/editor-1-1.recovery", "not a record"));
        QVERIFY2(!editor.TakeLeftOver(), "taken while its editor runs");
        QVERIFY2(!QFile::exists(folder + "/editor-1-1.recovery"), "a damaged file left behind");

        QCOMPARE(::write(toChild[1], "x", 1), ssize_t(1));
        ::close(toChild[1]);
        QCOMPARE(::waitpid(child, nullptr, 0), child);
        reaped = true;
        const std::optional<RecoveryRecord> left = editor.TakeLeftOver();
        QVERIFY(left);
        QCOMPARE(*left, SampleRecord("other"));
        RecoveryFolder third(folder);
        QVERIFY2(!third.TakeLeftOver(), "taken while another editor decides on it");
        editor.DiscardTaken();
        QVERIFY(!third.TakeLeftOver());
        editor.RemoveOwn();
        QCOMPARE(KeptFiles(folder), QStringList{});
    }

    // An image's bytes are written to a copy of their own once, whatever the records written
    // around them: a mark put into the copy stays through later records of the same bytes, in
    // the same array or another. Another image gets a copy of its own, the old one going once
    // the record names the new one; a record without an image leaves no copy; removing the
    // record removes its copy.
    void imageCopyIsWrittenOncePerImage() {
        QTemporaryDir state;
        const QString folder = state.filePath("sigilon");
        RecoveryFolder own(folder);
        const auto recorded = [&own] { return RecoveryFolder::ReadRecord(own.ownFilePath()); };
        RecoveryRecord record = SampleRecord("first");
        record.imageBytes = QByteArray(1 << 20, 'a');
        QVERIFY(own.Write(record));
        const QStringList first = KeptFiles(folder);
        QCOMPARE(first.size(), 2);
        const QString copy = QDir(folder).filePath(first.filter(".image").value(0));
        QCOMPARE(TestImages::ReadFile(copy), record.imageBytes);
        QVERIFY(QFileInfo(own.ownFilePath()).size() < 64 * 1024);

        QVERIFY(TestImages::WriteFile(copy, "marked"));
        record.profileText = SampleRecord("second").profileText;
        QVERIFY(own.Write(record));
        record.imageBytes = QByteArray(1 << 20, 'a');
        record.profileText = SampleRecord("third").profileText;
        QVERIFY(own.Write(record));
        QCOMPARE(KeptFiles(folder), first);
        QCOMPARE(recorded()->profileText, record.profileText);
        QCOMPARE(recorded()->imageBytes, QByteArray("marked"));

        record.imageBytes = QByteArray(1000, 'b');
        QVERIFY(own.Write(record));
        const QStringList second = KeptFiles(folder);
        QCOMPARE(second.size(), 2);
        QVERIFY2(!QFile::exists(copy), "the copy of the image before stayed");
        QCOMPARE(recorded()->imageBytes, record.imageBytes);

        record.imagePath.clear();
        record.imageBytes.clear();
        QVERIFY(own.Write(record));
        QCOMPARE(KeptFiles(folder), QStringList{QFileInfo(own.ownFilePath()).fileName()});
        QCOMPARE(recorded()->imageBytes, QByteArray());

        record.imageBytes = QByteArray(1000, 'b');
        QVERIFY(own.Write(record));
        QCOMPARE(KeptFiles(folder).size(), 2);
        own.RemoveOwn();
        QCOMPARE(KeptFiles(folder), QStringList{});
    }

    // What a start finds of editors that ended mid-way. A copy no record names (the editor ended
    // between writing it and the record, or before removing one the record had stopped naming)
    // is removed; a record whose copy is gone is still offered, with the image's path alone; a
    // record that names another editor's copy was not written here and goes with its copies,
    // and so do copies whose editor left no record.
    void leftOverCopiesOfEndedEditors() {
        QTemporaryDir state;
        const QString folder = state.filePath("sigilon");
        const auto stemOf = [](const RecoveryFolder& editor) {
            return QFileInfo(editor.ownFilePath()).completeBaseName();
        };
        QString older;
        QString newer;
        {
            RecoveryFolder first(folder);
            RecoveryFolder second(folder);
            QVERIFY(first.Write(SampleRecord("older")));
            RecoveryRecord record = SampleRecord("newer");
            record.savedAt = record.savedAt.addSecs(60);
            QVERIFY(second.Write(record));
            older = stemOf(first);
            newer = stemOf(second);
        } // both gone without removing their files
        QVERIFY(TestImages::WriteFile(QDir(folder).filePath(older + ".9.image"), "stray"));
        for (const QString& copy : FilesIn(folder).filter(newer + "."))
            if (copy.endsWith(".image"))
                QVERIFY(QFile::remove(QDir(folder).filePath(copy)));
        QVERIFY(TestImages::WriteFile(QDir(folder).filePath("editor-5-c.recovery"),
                                      RecoveryFileBytes(SampleRecord(), "editor-9-z.1.image")));
        QVERIFY(TestImages::WriteFile(QDir(folder).filePath("editor-5-c.1.image"), "own"));
        QVERIFY(TestImages::WriteFile(QDir(folder).filePath("editor-9-z.1.image"), "foreign"));
        const QStringList olderFiles = KeptFiles(folder).filter(older + ".");
        QCOMPARE(olderFiles.size(), 3);

        RecoveryFolder start(folder);
        const std::optional<RecoveryRecord> offered = start.TakeLeftOver();
        QVERIFY(offered);
        QCOMPARE(offered->profileText, SampleRecord("newer").profileText);
        QCOMPARE(offered->imagePath, SampleRecord().imagePath);
        QCOMPARE(offered->imageBytes, QByteArray());
        QStringList left = KeptFiles(folder);
        left.sort();
        QStringList expected{newer + ".recovery", older + ".recovery",
                             olderFiles.filter(QRegularExpression("\\.[0-8]\\.image$")).value(0)};
        expected.sort();
        QCOMPARE(left, expected);
        QCOMPARE(RecoveryFolder::ReadRecord(QDir(folder).filePath(older + ".recovery"))->imageBytes,
                 SampleRecord().imageBytes);
    }
};

QTEST_GUILESS_MAIN(tst_RecoveryFolder)
#include "tst_RecoveryFolder.moc"
