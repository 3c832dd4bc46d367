#include "app/window/CrashRecovery.h"

#include "app/base/FailureMessage.h"
#include "app/inspector/CustomTextField.h"
#include "app/window/ProfileCommands.h"
#include "app/window/TerminationSignal.h"
#include "app/window/ViewController.h"
#include "export/Prompter.h"
#include "support/OrdinaryFile.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

const QString kQuestion =
    QStringLiteral("Sigilon did not close properly. Restore the unsaved design from %1?");
enum { kRestore, kDiscard };

// The same design and image, whenever written. The image's bytes are the very array kept since
// the image was loaded: comparing them would read up to 64 MB at every change.
bool SameContents(const RecoveryRecord& a, const RecoveryRecord& b) {
    return a.profilePath == b.profilePath && a.imagePath == b.imagePath &&
           a.profileText == b.profileText && a.imageBytes.size() == b.imageBytes.size() &&
           a.imageBytes.constData() == b.imageBytes.constData();
}

} // namespace

CrashRecovery::CrashRecovery(ViewController& editor, Prompter& prompter)
    : QObject(&editor), m_editor(editor), m_prompter(prompter) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    m_longestWait.setSingleShot(true);
    m_longestWait.setInterval(kLongestWaitMs);
    connect(&m_quiet, &QTimer::timeout, this, &CrashRecovery::WriteNow);
    connect(&m_longestWait, &QTimer::timeout, this, &CrashRecovery::WriteNow);
    connect(&m_writer, &RecoveryWriter::written, this, &CrashRecovery::Written);
    connect(&editor.profiles(), &ProfileCommands::modified, this, &CrashRecovery::Changed);
    connect(&editor.profiles(), &ProfileCommands::changesSettled, this, &CrashRecovery::Settled);
    // Undo and redo change the design without a new marker; each ends in a preview.
    connect(&editor, &ViewController::previewFinished, this, &CrashRecovery::Changed);
    connect(editor.controls().textFieldIconImage, &QLineEdit::textChanged, this,
            [this](const QString& path) {
                CopyIconImage(path);
                Changed();
            });
}

CrashRecovery::~CrashRecovery() {
    if (m_keptForNextStart)
        return;
    m_writer.Remove();
    if (m_takingOver)
        m_folder.DiscardTaken();
}

void CrashRecovery::KeepOnTermination(const TerminationSignal& signal) {
    connect(&signal, &TerminationSignal::received, this, &CrashRecovery::KeepForNextStart);
}

void CrashRecovery::KeepForNextStart() {
    m_keptForNextStart = true;
    // A value typed but not yet taken is part of the design, as the question to quit takes it.
    m_editor.CommitFieldBeingEdited();
    WriteNow();
    FinishWrites();
}

void CrashRecovery::FinishWrites() {
    m_writer.Finish();
    // Their reports are waiting in this thread's queue.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void CrashRecovery::CopyIconImage(const QString& path) {
    m_copiedPath = path;
    m_copiedBytes.clear();
    // Taken when the image is loaded, before the file can move or change.
    if (!path.isEmpty() && !ReadOrdinaryFile(path, kLargestImageCopy, m_copiedBytes))
        m_copiedBytes.clear();
}

void CrashRecovery::Changed() {
    if (!m_editor.profiles().HasUnsavedChanges())
        return;
    m_quiet.start();
    if (!m_longestWait.isActive())
        m_longestWait.start();
}

void CrashRecovery::Settled() {
    m_quiet.stop();
    m_longestWait.stop();
    if (m_asked)
        m_writer.Remove();
    m_asked.reset();
    // The restored design was saved or let go.
    if (m_takingOver) {
        m_takingOver = false;
        m_folder.DiscardTaken();
    }
}

RecoveryRecord CrashRecovery::Current() const {
    RecoveryRecord record;
    record.profilePath = m_editor.currentProfilePath();
    record.imagePath = m_copiedPath;
    record.imageBytes = m_copiedBytes;
    record.profileText = m_editor.MakeProfileText();
    return record;
}

void CrashRecovery::WriteNow() {
    m_quiet.stop();
    m_longestWait.stop();
    if (!m_editor.profiles().HasUnsavedChanges())
        return;
    RecoveryRecord record = Current();
    if (m_asked && !m_lastWriteFailed && SameContents(record, *m_asked))
        return;
    record.savedAt = QDateTime::currentDateTimeUtc();
    m_asked = record;
    m_writer.Write(std::move(record));
}

void CrashRecovery::Written(const WriteResult& written) {
    m_lastWriteFailed = !written;
    if (m_takingOver) {
        m_takingOver = false;
        // Kept by this editor now; or, when it could not be, left for a later start.
        if (written)
            m_folder.DiscardTaken();
        else
            m_folder.ReleaseTaken();
    }
    if (written) {
        m_failureTold = false;
        return;
    }
    // Editing goes on; the user hears of it once, not at every change, and not as the window
    // goes.
    if (m_failureTold || m_keptForNextStart)
        return;
    m_failureTold = true;
    m_prompter.Alert(FailureMessage::Compose(
        QStringLiteral("The unsaved changes cannot be kept for recovery after a crash. Editing "
                       "goes on; saving the design keeps it."),
        m_folder.folder(), written.failure));
}

void CrashRecovery::OfferLeftOver() {
    const std::optional<RecoveryRecord> left = m_folder.TakeLeftOver();
    if (!left)
        return;
    const QString when =
        QLocale::system().toString(left->savedAt.toLocalTime(), QLocale::ShortFormat);
    switch (m_prompter.Ask(kQuestion.arg(when),
                           {QStringLiteral("Restore"), QStringLiteral("Discard")})) {
    case kRestore:
        Restore(*left);
        break;
    case kDiscard:
        m_folder.DiscardTaken();
        break;
    default:
        // Not answered: offered again at the next start.
        m_folder.ReleaseTaken();
    }
}

void CrashRecovery::Restore(const RecoveryRecord& record) {
    if (!record.imageBytes.isEmpty())
        m_editor.LoadIconImage(record.imageBytes, record.imagePath);
    else if (!record.imagePath.isEmpty())
        m_editor.LoadIconImage(record.imagePath);
    // The copy is what was shown, whatever the file at the path holds now.
    if (m_copiedPath == record.imagePath && !record.imageBytes.isEmpty())
        m_copiedBytes = record.imageBytes;
    m_editor.ApplyProfileText(record.profileText, false);
    m_editor.profiles().TakeRecovered(record.profilePath);
    // This editor's own file takes the design over before the old one goes, so a crash in
    // between loses nothing.
    m_takingOver = true;
    WriteNow();
    if (!m_asked) {
        m_takingOver = false;
        m_folder.ReleaseTaken();
    }
}
