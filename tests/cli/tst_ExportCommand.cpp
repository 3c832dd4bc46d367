// `sigilon export` as a function: what it writes, keeps and prints, and how it fails.

#include "cli/ExportCommand.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace {

const QByteArray OldContent("an icon from an earlier export");

QImage Rendering() {
    QImage image(1024, 1024, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 128, 255));
    painter.drawRoundedRect(QRectF(0, 0, 1024, 1024), 200, 200);
    return image;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a command printed: standard output and standard error, one entry per line.
struct Printed {
    QStringList out;
    QStringList err;
};

// Runs the export with standard output and error sent to files, and reads them back.
Printed RunCaptured(const DesignSettings& settings, const QString& folder, bool overwrite,
                    int& status) {
    QTemporaryFile out, err;
    if (!out.open() || !err.open())
        qFatal("cannot create capture files");
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(STDOUT_FILENO);
    const int savedErr = dup(STDERR_FILENO);
    dup2(out.handle(), STDOUT_FILENO);
    dup2(err.handle(), STDERR_FILENO);
    status = RunExportCommand(settings, Rendering(), folder, overwrite);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    close(savedOut);
    close(savedErr);
    const auto lines = [](QTemporaryFile& file) {
        file.seek(0);
        return QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    };
    return {lines(out), lines(err)};
}

QStringList Paths(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names)
        paths.append(folder + u'/' + name);
    return paths;
}

const QStringList MacNames{"Icon16.png",  "Icon32.png",  "Icon64.png",  "Icon128.png",
                           "Icon256.png", "Icon512.png", "Icon1024.png"};

} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void freshFolderGetsTheChosenSet() {
        QTemporaryDir folder;
        int status = -1;
        const Printed printed = RunCaptured(DesignSettings(), folder.path(), false, status);
        QCOMPARE(status, 0);
        QCOMPARE(printed.out, Paths(folder.path(), MacNames));
        QCOMPARE(printed.err, QStringList{"Icon(s) saved successfully."});
        QCOMPARE(QImage(folder.filePath("Icon64.png")).size(), QSize(64, 64));
    }

    void existingFilesAreKeptAndReported() {
        QTemporaryDir folder;
        for (const char* name : {"Icon16.png", "Icon1024.png"}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(OldContent);
        }
        int status = -1;
        const Printed printed = RunCaptured(DesignSettings(), folder.path(), false, status);
        QCOMPARE(status, 0);
        QCOMPARE(printed.out, Paths(folder.path(), MacNames.mid(1, 5)));
        QCOMPARE(printed.err, (QStringList{"Skipped: " + folder.filePath("Icon16.png"),
                                           "Skipped: " + folder.filePath("Icon1024.png"),
                                           "Icon(s) saved successfully."}));
        QCOMPARE(ReadAll(folder.filePath("Icon16.png")), OldContent);
        QCOMPARE(ReadAll(folder.filePath("Icon1024.png")), OldContent);
    }

    void overwriteReplacesEverything() {
        QTemporaryDir folder;
        for (const QString& name : MacNames) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(OldContent);
        }
        int status = -1;
        const Printed printed = RunCaptured(DesignSettings(), folder.path(), true, status);
        QCOMPARE(status, 0);
        QCOMPARE(printed.out, Paths(folder.path(), MacNames));
        QCOMPARE(printed.err, QStringList{"Icon(s) saved successfully."});
        for (const QString& name : MacNames)
            QVERIFY2(!QImage(folder.filePath(name)).isNull(), qPrintable(name));
    }

    void settingsChooseSizesFormatAndNames() {
        DesignSettings settings;
        settings.macIconSet = 0;
        settings.iosIconSet = 1;
        settings.iosSizes.fill(0);
        settings.iosSizes[0] = 1;  // 20
        settings.iosSizes[13] = 1; // 1024
        settings.iconFormat = 1;
        settings.qualityText = QStringLiteral("55");
        settings.namePattern = QStringLiteral("App-[Size]");
        QTemporaryDir folder;
        int status = -1;
        const Printed printed = RunCaptured(settings, folder.path(), false, status);
        QCOMPARE(status, 0);
        QCOMPARE(printed.out, Paths(folder.path(), {"App-20.jpg", "App-1024.jpg"}));
        QImageReader reader(folder.filePath("App-20.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(20, 20));
    }

    void unusableFolderIsAnError() {
        QTemporaryDir folder;
        const QString missing = folder.filePath("missing");
        int status = -1;
        Printed printed = RunCaptured(DesignSettings(), missing, false, status);
        QCOMPARE(status, 1);
        QVERIFY(printed.out.isEmpty());
        QCOMPARE(printed.err.size(), 1);
        QVERIFY(printed.err.first().contains(missing));
        QVERIFY(!QFileInfo::exists(missing));

        const QString plainFile = folder.filePath("plain");
        QFile file(plainFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        printed = RunCaptured(DesignSettings(), plainFile, false, status);
        QCOMPARE(status, 1);
        QVERIFY(printed.err.first().contains(plainFile));
    }

    void failedFilesFailTheCommand() {
        DesignSettings settings;
        settings.namePattern = QStringLiteral("missing/Icon[Size]");
        QTemporaryDir folder;
        int status = -1;
        const Printed printed = RunCaptured(settings, folder.path(), false, status);
        QCOMPARE(status, 1);
        QVERIFY(printed.out.isEmpty());
        QCOMPARE(printed.err.last(), QStringLiteral("Some icons could not be saved."));
        QVERIFY(QDir(folder.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ExportCommandTest)
#include "tst_ExportCommand.moc"
