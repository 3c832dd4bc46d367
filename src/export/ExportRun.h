#pragma once

#include "export/AtomicFileWrite.h"
#include "export/ExportOptions.h"
#include "export/OutputSize.h"
#include "export/Prompter.h"
#include "export/RatingCheck.h"

#include <QImage>
#include <QList>
#include <QString>
#include <functional>

// One export: a folder chosen by the user, one file per output size scaled from the one
// rendering, every clash with an existing file settled by a question, and one summary alert.
// The run never renders; it is handed the latest rendering at canvas size.
//
// Files are replaced atomically: an existing file stays in place until its replacement is
// complete, and stays untouched when encoding or writing fails. Anything at an output path
// counts as existing, a symbolic link too (even one pointing nowhere); replacing it writes a
// regular file in the link's place and never touches what the link points to. A pipe or a
// device is written to, and a folder or another item that is not a file is never replaced:
// that file fails (see WriteOutputFile).
class ExportRun {
public:
    // The overwrite decision carried from file to file; every run starts with AskNext.
    enum OverwriteMode : int { AskNext = 0, Yes = 1, YesToAll = 2, No = 3, NoToAll = 4 };

    enum class Outcome { Cancelled, InvalidFolder, Saved, Failed };
    enum class FileAction { Written, Kept, Failed };

    struct FileResult {
        QString path;
        FileAction action;
        QString failure; // why, for a file that failed
    };

    struct SaveIconResult {
        WriteResult result; // a file passed over counts as a success
        int overwriteMode;
    };

    ExportRun(Prompter& prompter, ExportOptions options);

    // Told about every output file as soon as it is settled.
    void SetFileObserver(std::function<void(const FileResult&)> observer);

    // The whole run: folder chooser, every file, summary alert, then the rating check (when
    // one is given) after a fully successful run.
    Outcome SaveIcons(const QImage& rendering, const QList<OutputSize>& sizes,
                      RatingCheck* ratingCheck);

    // Writes one file per size into `folder`, in order, and returns the run result: true
    // when every file was written or passed over by an answer.
    bool SaveAll(const QImage& rendering, const QString& folder, const QList<OutputSize>& sizes);

    // The pattern with every "[Size]" replaced by `sizeText` ("[Size]" is appended when the
    // pattern lacks it, an empty pattern is "Icon[Size]"), a dot and the format's extension.
    QString GetFileName(const QString& sizeText) const;

    // 0 when nothing at all is at `path`; otherwise the user's answer, Yes to NoToAll.
    int AskOverwrite(const QString& path);

    // Writes the encoded file to `path` or passes over it as `overwriteMode` and the answers
    // decide. A file passed over counts as a success; empty contents are an encoding failure.
    SaveIconResult SaveIcon(const QByteArray& encoded, const QString& path, int formatIndex,
                            int overwriteMode);

private:
    Prompter& m_prompter;
    ExportOptions m_options;
    std::function<void(const FileResult&)> m_observer;
};
