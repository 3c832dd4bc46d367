#include "support/OwnTemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <unistd.h>

namespace OwnTemporaryFiles {

namespace {

struct Registry {
    std::mutex mutex;
    std::set<QByteArray> paths;
    bool ending = false;
};

// Never destroyed: a termination may arrive while static objects are being torn down.
Registry& TheRegistry() {
    static Registry* const registry = new Registry;
    return *registry;
}

std::atomic<void (*)()> g_createdHook{nullptr};

} // namespace

int Create(const QByteArray& path) {
    Registry& registry = TheRegistry();
    int fd = -1;
    {
        const std::lock_guard lock(registry.mutex);
        if (registry.ending) {
            errno = EINTR;
            return -1;
        }
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return -1;
        registry.paths.insert(path);
    }
    if (void (*hook)() = g_createdHook.load())
        hook();
    return fd;
}

void Release(const QByteArray& path) {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.paths.erase(path);
}

void RemoveAllForExit() {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.ending = true;
    for (const QByteArray& path : registry.paths)
        ::unlink(path.constData());
    registry.paths.clear();
}

void SetCreatedHookForTesting(void (*hook)()) {
    g_createdHook = hook;
}

} // namespace OwnTemporaryFiles
