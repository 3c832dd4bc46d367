#pragma once

#include "imageio/DocumentOrigin.h"
#include "imageio/HelperMessages.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>

// An image helper process (`sigilon-loader`, installed beside the executable) as its parent
// sees it: the bytes of an untrusted image go to it, premultiplied pixels or a refusal come
// back. A helper that crashes, is ended by one of its limits, answers what was not asked or
// misses the deadline is ended and reported as a refusal; the parent never allocates more
// than the pixels it accepts the answer's header for, and never waits past the deadline.
class ImageHelperProcess {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    struct Answer {
        HelperMessages::ReplyHeader header;
        QImage picture; // premultiplied ARGB32 of the header's size
    };

    // Whether an answer's header is one the parent asked for: its outcome and picture size.
    using Expected = std::function<bool(const HelperMessages::ReplyHeader&)>;

    // A helper that has said it is ready for its first request, or null when none starts
    // within kLongestStart. For a built-in document, one a built-in document left (see
    // KeepForBuiltIn) when there is one. With KeepOneReady, the one started ahead of time is
    // taken and another is started for the next request, so that a first look does not wait
    // for a process to start.
    static std::unique_ptr<ImageHelperProcess>
    Start(DocumentOrigin origin = DocumentOrigin::UserFile);

    // Keeps a helper that has served only built-in documents for the next one; ends it instead
    // when it can serve no more or two are kept already.
    static void KeepForBuiltIn(std::unique_ptr<ImageHelperProcess> helper);

    // What a helper may take to start: generous, as nothing untrusted has reached it yet and a
    // machine busy with other work may take seconds to start a process.
    static constexpr auto kLongestStart = std::chrono::seconds(20);

    // Whether a helper is kept started ahead of time: for the editor, where images are opened
    // one after another, not for a command that reads one.
    static void KeepOneReady(bool keep);

    // The helper executable: $SIGILON_LOADER when set (the tests' build tree), else
    // sigilon-loader beside the running executable.
    static QString ExecutablePath();

    ImageHelperProcess(const ImageHelperProcess&) = delete;
    ImageHelperProcess& operator=(const ImageHelperProcess&) = delete;
    // Ends the helper, whatever it is doing.
    ~ImageHelperProcess();

    // Sends one request and reads its answer before `deadline`; nullopt for a refusal, after
    // which the helper is ended and serves no more.
    std::optional<Answer> Exchange(HelperMessages::Request kind, const QByteArray& payload,
                                   Deadline deadline, const Expected& expected);

    pid_t processId() const { return m_process; }

private:
    ImageHelperProcess(pid_t process, int socket, QString executable);
    static std::unique_ptr<ImageHelperProcess> Spawn();
    bool Usable();
    // Whether the helper said kReady before the deadline; one that did not is ended.
    bool Greeted(Deadline deadline);
    void End();

    pid_t m_process;
    int m_socket;
    QString m_executable;
    pid_t m_parent; // a copy of the parent made by fork() must not share its helper
};
