#include "platforms/PlatformExport.h"

#include "export/AtomicFileWrite.h"
#include "export/OutputFileWrite.h"
#include "export/OutputNameCheck.h"
#include "export/PngEncoder.h"
#include "imageio/SvgImage.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/PlatformPictures.h"
#include "support/ParallelRange.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace PlatformExport {

namespace {

using Action = ExportRun::FileAction;

// The caller's progress hook as the workers share it: one call at a time, and once it says
// stop, every later question is answered "stop" without asking again.
class ProgressGate {
public:
    ProgressGate(const Progress& progress, int total) : m_progress(progress), m_total(total) {}

    // Asks whether to go on, with no new file done.
    bool GoOn() { return Report(0); }

    // Counts one more file settled and asks whether to go on.
    bool FileDone() { return Report(1); }

    bool Stopped() const { return m_stopped; }

private:
    bool Report(int newlyDone) {
        const std::lock_guard lock(m_mutex);
        m_done += newlyDone;
        if (!m_stopped && m_progress && !m_progress(m_done, m_total))
            m_stopped = true;
        return !m_stopped;
    }

    const Progress& m_progress;
    const int m_total;
    std::mutex m_mutex;
    int m_done = 0;
    std::atomic<bool> m_stopped{false};
};

struct PngKey {
    PlatformVariant variant;
    int pixels;
    int height;
    PngEncoder::Channels channels;

    auto operator<=>(const PngKey&) const = default;
};

PngKey KeyOf(const PlannedImage& image, PngEncoder::Channels channels) {
    return {image.variant, image.pixels, image.Height(), channels};
}

// The PNGs the files need, each to be encoded once though several files carry it (the same
// 256 pixels in the asset catalog, the icns container and the Linux set); empty so far.
std::map<PngKey, QByteArray> PlannedPngs(const QList<const PlannedFile*>& files) {
    std::map<PngKey, QByteArray> pngs;
    for (const PlannedFile* file : files) {
        const bool opaque = file->kind == PlannedFile::Kind::OpaquePng;
        if (opaque || file->kind == PlannedFile::Kind::Png || file->kind == PlannedFile::Kind::Icns)
            for (const PlannedImage& image : file->images)
                pngs[KeyOf(image, opaque ? PngEncoder::Channels::Rgb : PngEncoder::Channels::Rgba)];
    }
    return pngs;
}

// The contents of one file; empty when a picture or an encoding is missing.
QByteArray Contents(const PlannedFile& file, const PlatformPictures& pictures,
                    const std::map<PngKey, QByteArray>& pngs) {
    switch (file.kind) {
    case PlannedFile::Kind::Png:
    case PlannedFile::Kind::OpaquePng: {
        const auto channels = file.kind == PlannedFile::Kind::OpaquePng
                                  ? PngEncoder::Channels::Rgb
                                  : PngEncoder::Channels::Rgba;
        return pngs.at(KeyOf(file.images.first(), channels));
    }
    case PlannedFile::Kind::Icns: {
        QMap<int, QByteArray> bySize;
        for (const PlannedImage& image : file.images) {
            const QByteArray& png = pngs.at(KeyOf(image, PngEncoder::Channels::Rgba));
            if (png.isEmpty())
                return {};
            bySize.insert(image.pixels, png);
        }
        return IcnsWriter::Write(bySize);
    }
    case PlannedFile::Kind::Ico: {
        QList<QImage> images;
        for (const PlannedImage& image : file.images)
            images.append(pictures.At(image));
        return IcoWriter::Write(images);
    }
    case PlannedFile::Kind::Text:
        return file.text;
    case PlannedFile::Kind::Generated:
        return file.generate();
    case PlannedFile::Kind::Folder: // made with the other folders
        break;
    }
    return {};
}

// Encodes one file and writes it as every export does; empty when written, else why not.
QString WriteContents(const PlannedFile& file, const QString& path,
                      const PlatformPictures& pictures, const std::map<PngKey, QByteArray>& pngs) {
    const QByteArray contents = Contents(file, pictures, pngs);
    if (contents.isEmpty())
        return QStringLiteral("The image could not be encoded.");
    return WriteOutputFile(path, contents).failure;
}

// How many drawings of the design's SVG icon image its helper has refused so far.
int RefusedDrawings(const IconDesign& design) {
    return design.iconVector ? design.iconVector->refusedDrawings() : 0;
}

// A run that ended early reports only the files it settled: those kept and those it began
// (`begun` has a flag per pending file; empty when none was begun).
void LeaveOutUnbegun(Result& result, const QList<int>& pendingIndex,
                     const std::vector<char>& begun) {
    QList<ExportRun::FileResult> settled;
    for (qsizetype i = 0, next = 0; i < result.files.size(); ++i) {
        const bool isPending = next < pendingIndex.size() && pendingIndex[next] == i;
        if (!isPending || (std::size_t(next) < begun.size() && begun[std::size_t(next)]))
            settled.append(result.files[i]);
        next += isPending;
    }
    result.files = settled;
}

} // namespace

bool Result::AllWritten() const {
    return !iconRefused &&
           std::none_of(files.begin(), files.end(), [](const ExportRun::FileResult& file) {
               return file.action == Action::Failed;
           });
}

QString DesignProblem(const IconDesign& design) {
    const QSize canvas = PlatformPictures::CanvasPixels(design);
    if (canvas.width() == canvas.height())
        return {};
    return QStringLiteral("Platform icon sets need a square canvas; this design is %1 x %2.")
        .arg(canvas.width())
        .arg(canvas.height());
}

Result Run(const IconDesign& design, const QList<PlannedFile>& plan, const QString& folder,
           bool overwrite, int threads, const Progress& progress, const Badge& badge) {
    const QDir root(folder);
    Result result;
    QList<const PlannedFile*> pending;
    QList<int> pendingIndex;
    QList<PlannedImage> images;
    for (const PlannedFile& file : plan) {
        const QString path = root.filePath(file.path);
        const bool keep = !overwrite && ItemExistsAt(path);
        result.files.append({path, keep ? Action::Kept : Action::Written, {}});
        if (keep)
            continue;
        pendingIndex.append(int(result.files.size() - 1));
        pending.append(&file);
        images.append(file.images);
    }
    if (pending.isEmpty())
        return result;
    ProgressGate gate(progress, int(pending.size()));
    if (!gate.GoOn()) {
        result.stopped = true;
        LeaveOutUnbegun(result, pendingIndex, {});
        return result;
    }

    // Each picture is encoded as soon as it is drawn, on the thread that drew it, and only
    // the icon containers' pictures are kept.
    std::map<PngKey, QByteArray> pngs = PlannedPngs(pending);
    QList<PlannedImage> kept;
    for (const PlannedFile* file : pending)
        if (file->kind == PlannedFile::Kind::Ico)
            kept.append(file->images);
    // Counted from here: this run's own drawings.
    const int refusedBefore = RefusedDrawings(design);
    const auto refused = [&] { return RefusedDrawings(design) != refusedBefore; };
    const PlatformPictures pictures(
        design, images, kept, threads,
        [&](const PlannedImage& image, const PictureRows& picture) {
            for (const auto channels : {PngEncoder::Channels::Rgba, PngEncoder::Channels::Rgb})
                if (const auto png = pngs.find(KeyOf(image, channels));
                    png != pngs.end() && gate.GoOn() && !refused())
                    png->second = PngEncoder::Encode(picture, 1, channels);
        },
        badge);
    result.notes = pictures.Notes();
    if (gate.Stopped() || refused()) {
        result.stopped = gate.Stopped();
        result.iconRefused = refused();
        LeaveOutUnbegun(result, pendingIndex, {});
        return result;
    }

    // Folders first, on this thread: two files of one new folder must not race to make it.
    // Each worker sets only its own file's reason; the results are settled afterwards.
    std::vector<QString> failures(std::size_t(pending.size()));
    // One flag per file, each written by its own worker (bytes, unlike vector<bool>'s bits).
    std::vector<char> begun(std::size_t(pending.size()), 0);
    // A link where a folder belongs fails every file below it: nothing goes through it.
    for (qsizetype i = 0; i < pending.size(); ++i) {
        const QString& path = result.files[pendingIndex[i]].path;
        const bool isFolder = pending[i]->kind == PlannedFile::Kind::Folder;
        const QString folderPath = isFolder ? path : QFileInfo(path).path();
        QString& failure = failures[std::size_t(i)];
        failure = OutputNameProblem(folder, pending[i]->path);
        if (failure.isEmpty() && !QDir().mkpath(folderPath))
            failure = QStringLiteral("The folder %1 could not be created.").arg(folderPath);
    }
    ForEachInParallel(int(pending.size()), threads, [&](int i) {
        if (gate.Stopped())
            return;
        begun[std::size_t(i)] = 1;
        QString& failure = failures[std::size_t(i)];
        if (failure.isEmpty() && pending[i]->kind != PlannedFile::Kind::Folder)
            failure =
                WriteContents(*pending[i], result.files.at(pendingIndex[i]).path, pictures, pngs);
        gate.FileDone();
    });
    for (qsizetype i = 0; i < pending.size(); ++i) {
        if (failures[std::size_t(i)].isEmpty())
            continue;
        ExportRun::FileResult& file = result.files[pendingIndex[i]];
        file.action = Action::Failed;
        file.failure = failures[std::size_t(i)];
    }
    if (gate.Stopped()) {
        result.stopped = true;
        LeaveOutUnbegun(result, pendingIndex, begun);
    }
    return result;
}

} // namespace PlatformExport
