#pragma once

#include "design/IconDesign.h"
#include "export/ExportRun.h"
#include "platforms/PlannedFile.h"
#include "render/Badge.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Writes the planned files of platform sets into a folder: every picture drawn from the design
// once, every file encoded and then written (see WriteOutputFile), the folders a file needs
// created.
namespace PlatformExport {

struct Result {
    // One per planned file, in plan order; a stopped run leaves out the files it never began.
    QList<ExportRun::FileResult> files;
    QStringList notes; // what the user should know about the pictures
    bool stopped = false;
    // The image helper refused to draw the SVG icon image for a picture (it took too long or
    // too much memory): the pictures lack it, so no file was written, and those kept alone
    // are in `files`.
    bool iconRefused = false;

    bool AllWritten() const;
};

// Empty when the design can be exported as platform sets, else the message for the user:
// every platform asks for square icons.
QString DesignProblem(const IconDesign& design);

// Told how many of the files to write are settled (`done` of `total`): once before the
// pictures are drawn, while they are encoded (no file done yet) and after each file. Returning
// false stops the run before it begins another file; a file begun is still completed, so no
// file is ever left half-written. Called on worker threads, one call at a time.
using Progress = std::function<bool(int done, int total)>;

// Writes `plan` under `folder`. Every picture is drawn before any file or folder is made, so a
// run whose icon drawing is refused leaves the folder as it was. Existing files are kept unless
// `overwrite`; a file that cannot be written fails alone, the others are still written.
// `threads` as for rendering. A set `badge` is drawn over the pictures (see PlatformPictures).
Result Run(const IconDesign& design, const QList<PlannedFile>& plan, const QString& folder,
           bool overwrite, int threads = 0, const Progress& progress = {}, const Badge& badge = {});

} // namespace PlatformExport
