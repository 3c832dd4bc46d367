#pragma once

#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryWriter.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class Prompter;
class TerminationSignal;
class ViewController;

// Keeps the editor's unsaved changes in its recovery file, so that a crash does not take them:
// a few seconds after the last change (and, while changes go on, at least every few seconds),
// the design, its profile path and its icon image with a copy of the image file are written,
// off the window's thread. Saving, letting the changes go and a normal end remove the file; a
// quit from outside keeps it. At start-up a file left by an editor that did not end cleanly is
// offered for restoring.
class CrashRecovery : public QObject {
    Q_OBJECT

public:
    // The quiet time after a change before it is written, and the longest a change waits.
    static constexpr int kQuietMs = 1500;
    static constexpr int kLongestWaitMs = 3000;
    // An icon image file larger than this is kept as its path only.
    static constexpr qint64 kLargestImageCopy = qint64(64) << 20;

    // In the user's state folder (RecoveryFolder::StandardPath()).
    CrashRecovery(ViewController& editor, Prompter& prompter);
    // A normal end: the changes were saved, let go or confirmed lost. Waits for a write still
    // running.
    ~CrashRecovery() override;

    // Asks whether to restore the newest design left by an editor that did not end cleanly;
    // Restore shows it as unsaved changes, Discard removes it.
    void OfferLeftOver();

    // Has the unsaved changes written now, if they are not written yet.
    void WriteNow();
    // Waits until every write and removal asked for is done, and takes in what the writes
    // reported.
    void FinishWrites();

    // A quit from outside (see TerminationSignal) asked no one about the unsaved changes: they
    // are written before the window goes and kept for the next start to offer.
    void KeepOnTermination(const TerminationSignal& signal);

private:
    void Changed();
    void Settled();
    void Written(const WriteResult& written);
    void KeepForNextStart();
    void CopyIconImage(const QString& path);
    void Restore(const RecoveryRecord& record);
    RecoveryRecord Current() const;

    ViewController& m_editor;
    Prompter& m_prompter;
    RecoveryFolder m_folder;
    RecoveryWriter m_writer{m_folder}; // after the folder, which it writes to until it ends
    QTimer m_quiet;
    QTimer m_longestWait;
    std::optional<RecoveryRecord> m_asked; // the record last asked to be written
    bool m_lastWriteFailed = false;
    QString m_copiedPath; // the icon image whose bytes are kept
    QByteArray m_copiedBytes;
    bool m_failureTold = false; // told since the last write that worked
    bool m_takingOver = false;  // the left-over restored goes once this editor's file holds it
    bool m_keptForNextStart = false;
};
