#pragma once

// What may already sit at an output path, and what every export must do about it with
// overwriting on and off: one table of rules for the size-list export and the platform
// export alike. Overwriting replaces a file or a link (never what a link points to), writes
// into a pipe without replacing it and refuses a folder; without it everything is kept.

#include "helpers/TestImages.h"

#include <QDir>
#include <QImage>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OutputOccupants {

enum Occupant { Nothing, File, DanglingLink, LinkToFile, LinkToFolder, Folder, Pipe };
enum Outcome { Written, Kept, Failed }; // as ExportRun::FileAction counts them

inline const QByteArray OldContent("what was there before");

inline void AddRows() {
    QTest::addColumn<int>("occupant");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("outcome");
    const struct {
        const char* name;
        Occupant occupant;
        Outcome overwritten;
    } rules[] = {{"nothing", Nothing, Written},
                 {"file", File, Written},
                 {"dangling link", DanglingLink, Written},
                 {"link to a file", LinkToFile, Written},
                 {"link to a folder", LinkToFolder, Written},
                 {"folder", Folder, Failed},
                 {"FIFO", Pipe, Written}};
    for (const auto& rule : rules) {
        QTest::addRow("%s, overwrite", rule.name)
            << int(rule.occupant) << true << int(rule.overwritten);
        // Without overwriting only an empty path is written.
        QTest::addRow("%s, keep", rule.name)
            << int(rule.occupant) << false << int(rule.occupant == Nothing ? Written : Kept);
    }
}

// An occupant placed at `path`, with whatever its links point to in a folder of its own
// outside the export, and the reading end of a pipe held open so that it can be written to.
class Scene {
public:
    Scene(Occupant occupant, const QString& path) : m_occupant(occupant), m_path(path) {
        m_victim = m_outside.filePath("victim");
        switch (occupant) {
        case Nothing:
            break;
        case File:
            QVERIFY(TestImages::WriteFile(path, OldContent));
            break;
        case DanglingLink:
            QVERIFY(QFile::link(m_victim, path));
            break;
        case LinkToFile:
            QVERIFY(TestImages::WriteFile(m_victim, OldContent));
            QVERIFY(QFile::link(m_victim, path));
            break;
        case LinkToFolder:
            QVERIFY(QDir().mkdir(m_victim));
            QVERIFY(QFile::link(m_victim, path));
            break;
        case Folder:
            QVERIFY(QDir().mkdir(path));
            break;
        case Pipe:
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            m_reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(m_reader >= 0);
            break;
        }
    }
    ~Scene() {
        if (m_reader >= 0)
            ::close(m_reader);
    }

    // After the run: a written path holds the picture (a pipe's reader got it, and the pipe
    // is still there), any other path holds what it held; what links point to never changes.
    void Check(Outcome outcome, int pixels) {
        const QFileInfo info(m_path);
        const QByteArray piped = ReadPipe();
        if (outcome == Written) {
            const QImage picture = m_occupant == Pipe ? QImage::fromData(piped) : QImage(m_path);
            QCOMPARE(picture.size(), QSize(pixels, pixels));
            QVERIFY(!info.isSymLink());
        } else {
            QVERIFY(piped.isEmpty());
            QCOMPARE(info.isSymLink(), m_occupant == DanglingLink || m_occupant == LinkToFile ||
                                           m_occupant == LinkToFolder);
            QCOMPARE(info.isDir(), m_occupant == Folder || m_occupant == LinkToFolder);
            if (m_occupant == File)
                QCOMPARE(TestImages::ReadFile(m_path), OldContent);
        }
        if (m_occupant == Pipe) {
            struct stat status;
            QCOMPARE(::lstat(QFile::encodeName(m_path).constData(), &status), 0);
            QVERIFY(S_ISFIFO(status.st_mode));
        }
        const QFileInfo victim(m_victim);
        QCOMPARE(victim.exists(), m_occupant == LinkToFile || m_occupant == LinkToFolder);
        if (m_occupant == LinkToFile)
            QCOMPARE(TestImages::ReadFile(m_victim), OldContent);
        if (m_occupant == LinkToFolder)
            QVERIFY(QDir(m_victim).isEmpty());
    }

private:
    QByteArray ReadPipe() const {
        QByteArray bytes;
        char buffer[4096];
        ssize_t got = 0;
        while (m_reader >= 0 && (got = ::read(m_reader, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, got);
        return bytes;
    }

    Occupant m_occupant;
    QString m_path;
    QTemporaryDir m_outside;
    QString m_victim;
    int m_reader = -1;
};

} // namespace OutputOccupants
