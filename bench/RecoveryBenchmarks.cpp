#include "RecoveryBenchmarks.h"

#include "Measurements.h"

#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryWriter.h"

#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qsizetype kImageBytes = qsizetype(64) << 20;

// The default design with the text `text`, as the editor keeps it while it is edited.
RecoveryRecord Record(int text, const QByteArray& image) {
    DesignSettings settings;
    settings.text = QString::number(text);
    RecoveryRecord record;
    record.savedAt = QDateTime::currentDateTimeUtc();
    record.imagePath = QStringLiteral("/home/user/Pictures/large.png");
    record.imageBytes = image;
    record.profileText = MakeProfileText(settings);
    return record;
}

void Report(const QString& name, const std::vector<double>& times, bool written) {
    PrintMedian(name, times);
    if (!written)
        std::printf("%s FAILED\n", qPrintable(name));
}

} // namespace

void RunRecoveryBenchmarks() {
    QTemporaryDir state;
    RecoveryFolder folder(state.filePath(QStringLiteral("sigilon")));
    bool written = true;
    const std::vector<double> newImage = TimesOf(5, [&](int run) {
        written =
            bool(folder.Write(Record(run, QByteArray(kImageBytes, char('a' + run))))) && written;
    });
    Report(QStringLiteral("recovery write new image 64mb"), newImage, written);

    const QByteArray image(kImageBytes, 'x');
    written = bool(folder.Write(Record(0, image)));
    const std::vector<double> sameImage = TimesOf(
        15, [&](int run) { written = bool(folder.Write(Record(run + 1, image))) && written; });
    Report(QStringLiteral("recovery write same image 64mb"), sameImage, written);

    // Each ask while the one before may still run, as changes come while the editor types; every
    // other one with another image, whose copy the writer then writes.
    RecoveryWriter writer(folder);
    const QByteArray another(kImageBytes, 'y');
    const std::vector<double> ask =
        TimesOf(15, [&](int run) { writer.Write(Record(run, run % 2 ? image : another)); });
    writer.Finish();
    PrintMedian(QStringLiteral("recovery ask write 64mb"), ask);
    folder.RemoveOwn();
}
