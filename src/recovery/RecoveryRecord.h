#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// What the editor keeps of a design with unsaved changes, so that a crash does not take it:
// the design as profile text, where it came from and the icon image it shows.
struct RecoveryRecord {
    QDateTime savedAt;     // when it was written, to the millisecond
    QString profilePath;   // the profile the design belongs to; empty for one never saved
    QString imagePath;     // the icon image's file; empty without an icon image
    QByteArray imageBytes; // a copy of that file, since it may move; empty when not kept
    QString profileText;   // the design's values, exactly as a profile file holds them

    bool operator==(const RecoveryRecord&) const = default;
};

// A recovery file: a header of labelled lines (the names percent-encoded, so any name fits on
// its line) ending in an empty line, then the profile text as UTF-8, whose length the header
// gives. The image's bytes are not in it: they are kept in a file of their own beside it, named
// `imageCopy` (empty for none), written once for each image, so that a record written every few
// seconds stays small however large the image is. The profile text itself is never changed.
QByteArray RecoveryFileBytes(const RecoveryRecord& record, const QString& imageCopy);

// The record in a recovery file's bytes, its imageBytes left empty and `imageCopy` set to the
// name of the file that holds them (empty for none); nullopt for anything that is not exactly
// such a file holding a complete profile text.
std::optional<RecoveryRecord> ReadRecoveryFileBytes(const QByteArray& bytes, QString* imageCopy);
