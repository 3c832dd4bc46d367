#include "imageio/ImageHelperProcess.h"

#include "imageio/RasterDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace HelperMessages;

int MillisecondsLeft(ImageHelperProcess::Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return int(std::max<qint64>(0, left.count()));
}

// Waits until the socket can be read or written, or the deadline passes.
bool Ready(int socket, short events, ImageHelperProcess::Deadline deadline) {
    for (;;) {
        pollfd watched{socket, events, 0};
        const int ready = poll(&watched, 1, MillisecondsLeft(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

bool SendAll(int socket, const char* data, size_t length, ImageHelperProcess::Deadline deadline) {
    while (length > 0) {
        const ssize_t put = send(socket, data, length, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put > 0) {
            data += put;
            length -= size_t(put);
        } else if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!Ready(socket, POLLOUT, deadline)) {
            return false;
        }
    }
    return true;
}

bool ReceiveAll(int socket, char* data, size_t length, ImageHelperProcess::Deadline deadline) {
    while (length > 0) {
        const ssize_t got = recv(socket, data, length, MSG_DONTWAIT);
        if (got > 0) {
            data += got;
            length -= size_t(got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return false; // the helper ended or the socket failed
        } else if (!Ready(socket, POLLIN, deadline)) {
            return false;
        }
    }
    return true;
}

std::mutex& SpareLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

// The helper started ahead of time for the next request. Never destroyed: at exit it sees its
// socket close and ends.
std::unique_ptr<ImageHelperProcess>& Spare() {
    static auto* spare = new std::unique_ptr<ImageHelperProcess>;
    return *spare;
}

bool g_keepSpare = false; // guarded by SpareLock()

// Helpers left by documents of the application's own, for the next such document.
std::vector<std::unique_ptr<ImageHelperProcess>>& BuiltInHelpers() {
    static auto* kept = new std::vector<std::unique_ptr<ImageHelperProcess>>;
    return *kept;
}
constexpr size_t kBuiltInHelpersKept = 2;

} // namespace

QString ImageHelperProcess::ExecutablePath() {
    const QString chosen = qEnvironmentVariable("SIGILON_LOADER");
    if (!chosen.isEmpty())
        return chosen;
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath() +
           QStringLiteral("/sigilon-loader");
}

std::unique_ptr<ImageHelperProcess> ImageHelperProcess::Start(DocumentOrigin origin) {
    std::unique_ptr<ImageHelperProcess> helper;
    {
        const std::lock_guard lock(SpareLock());
        if (origin == DocumentOrigin::BuiltIn) {
            auto& kept = BuiltInHelpers();
            while (!kept.empty()) {
                helper = std::move(kept.back());
                kept.pop_back();
                // It said it was ready before its first document.
                if (helper->Usable())
                    return helper;
            }
        }
        helper = std::move(Spare());
        if (g_keepSpare)
            Spare() = Spawn();
    }
    if (!helper || !helper->Usable())
        helper = Spawn();
    // Waited for outside the lock: another thread's image need not wait for this one's start.
    if (!helper || !helper->Greeted(std::chrono::steady_clock::now() + kLongestStart))
        return nullptr;
    return helper;
}

void ImageHelperProcess::KeepForBuiltIn(std::unique_ptr<ImageHelperProcess> helper) {
    if (!helper || !helper->Usable())
        return;
    const std::lock_guard lock(SpareLock());
    if (BuiltInHelpers().size() < kBuiltInHelpersKept)
        BuiltInHelpers().push_back(std::move(helper));
}

void ImageHelperProcess::KeepOneReady(bool keep) {
    const std::lock_guard lock(SpareLock());
    g_keepSpare = keep;
    if (!keep)
        Spare().reset();
    else if (!Spare())
        Spare() = Spawn();
}

std::unique_ptr<ImageHelperProcess> ImageHelperProcess::Spawn() {
    const QString executable = ExecutablePath();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return nullptr;
    // The helper reads its requests from standard input and answers on standard output; what
    // the libraries print goes nowhere.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, every;
    sigemptyset(&none);
    sigfillset(&every);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &every);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    QByteArray path = QFile::encodeName(executable);
    char* arguments[] = {path.data(), nullptr};
    pid_t process = 0;
    const int spawned =
        posix_spawn(&process, path.constData(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        return nullptr;
    }
    return std::unique_ptr<ImageHelperProcess>(
        new ImageHelperProcess(process, ends[0], executable));
}

ImageHelperProcess::ImageHelperProcess(pid_t process, int socket, QString executable)
    : m_process(process), m_socket(socket), m_executable(std::move(executable)),
      m_parent(getpid()) {}

ImageHelperProcess::~ImageHelperProcess() {
    End();
}

bool ImageHelperProcess::Usable() {
    if (m_process <= 0 || m_parent != getpid() || m_executable != ExecutablePath())
        return false;
    if (waitpid(m_process, nullptr, WNOHANG) == 0)
        return true;
    m_process = 0; // reaped, or not ours
    return false;
}

bool ImageHelperProcess::Greeted(Deadline deadline) {
    quint32 word = 0;
    if (Usable() && ReceiveAll(m_socket, reinterpret_cast<char*>(&word), sizeof word, deadline) &&
        word == kReady)
        return true;
    End();
    return false;
}

void ImageHelperProcess::End() {
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
    if (m_process > 0 && m_parent == getpid()) {
        kill(m_process, SIGKILL);
        while (waitpid(m_process, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_process = 0;
}

std::optional<ImageHelperProcess::Answer> ImageHelperProcess::Exchange(Request kind,
                                                                       const QByteArray& payload,
                                                                       Deadline deadline,
                                                                       const Expected& expected) {
    if (!Usable())
        return std::nullopt;
    RequestHeader request;
    request.kind = kind;
    request.length = quint64(payload.size());
    Answer answer;
    ReplyHeader& header = answer.header;
    const bool answered =
        SendAll(m_socket, reinterpret_cast<const char*>(&request), sizeof request, deadline) &&
        SendAll(m_socket, payload.constData(), size_t(payload.size()), deadline) &&
        ReceiveAll(m_socket, reinterpret_cast<char*>(&header), sizeof header, deadline);
    // Only a picture of a size that was asked for is allocated.
    if (!answered || header.magic != kMagic || header.outcome == Outcome::Refused ||
        !RasterDecoder::WithinSizeLimits(QSize(header.width, header.height)) || !expected(header)) {
        End();
        return std::nullopt;
    }
    answer.picture = QImage(header.width, header.height, QImage::Format_ARGB32_Premultiplied);
    if (answer.picture.isNull() || answer.picture.bytesPerLine() != qsizetype(header.width) * 4 ||
        !ReceiveAll(m_socket, reinterpret_cast<char*>(answer.picture.bits()),
                    size_t(answer.picture.sizeInBytes()), deadline)) {
        End();
        return std::nullopt;
    }
    return answer;
}
