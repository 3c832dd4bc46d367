#include "imageio/ImageSandbox.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

// Everything the decoders (Qt's image plugins, OpenJPEG, librsvg with cairo, pango and
// fontconfig) and their threads call. Opening is only for reading: fontconfig's cache and
// the plugins are read, never written.
constexpr int kAllowed[] = {
    SCMP_SYS(read),
    SCMP_SYS(write),
    SCMP_SYS(readv),
    SCMP_SYS(writev),
    SCMP_SYS(pread64),
    SCMP_SYS(close),
    SCMP_SYS(fstat),
    SCMP_SYS(newfstatat),
    SCMP_SYS(statx),
    SCMP_SYS(stat),
    SCMP_SYS(lstat),
    SCMP_SYS(lseek),
    SCMP_SYS(statfs),
    SCMP_SYS(fstatfs),
    SCMP_SYS(getdents64),
    SCMP_SYS(readlink),
    SCMP_SYS(readlinkat),
    SCMP_SYS(access),
    SCMP_SYS(faccessat),
    SCMP_SYS(faccessat2),
    SCMP_SYS(fcntl),
    SCMP_SYS(getcwd),
    SCMP_SYS(mmap),
    SCMP_SYS(munmap),
    SCMP_SYS(mremap),
    SCMP_SYS(mprotect),
    SCMP_SYS(madvise),
    SCMP_SYS(brk),
    SCMP_SYS(futex),
    SCMP_SYS(set_robust_list),
    SCMP_SYS(get_robust_list),
    SCMP_SYS(rseq),
    SCMP_SYS(set_tid_address),
    SCMP_SYS(rt_sigaction),
    SCMP_SYS(rt_sigprocmask),
    SCMP_SYS(rt_sigreturn),
    SCMP_SYS(sigaltstack),
    SCMP_SYS(getrandom),
    SCMP_SYS(exit),
    SCMP_SYS(exit_group),
    SCMP_SYS(getpid),
    SCMP_SYS(gettid),
    SCMP_SYS(getppid),
    SCMP_SYS(getuid),
    SCMP_SYS(geteuid),
    SCMP_SYS(getgid),
    SCMP_SYS(getegid),
    SCMP_SYS(getresuid),
    SCMP_SYS(getresgid),
    SCMP_SYS(sched_getaffinity),
    SCMP_SYS(sched_yield),
    SCMP_SYS(clock_gettime),
    SCMP_SYS(clock_getres),
    SCMP_SYS(gettimeofday),
    SCMP_SYS(clock_nanosleep),
    SCMP_SYS(nanosleep),
    SCMP_SYS(poll),
    SCMP_SYS(ppoll),
    SCMP_SYS(eventfd2),
    SCMP_SYS(pipe2),
    SCMP_SYS(getrusage),
    SCMP_SYS(getrlimit),
    SCMP_SYS(uname),
    SCMP_SYS(sysinfo),
    SCMP_SYS(membarrier),
    SCMP_SYS(tgkill),
    SCMP_SYS(prctl),
    SCMP_SYS(restart_syscall),
    SCMP_SYS(dup),
    SCMP_SYS(dup3),
    SCMP_SYS(umask),
};

// Whether the filter could be set; a kernel without seccomp is not a failure.
bool FilterSystemCalls() {
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (!filter)
        return false;
    bool added = true;
    for (const int call : kAllowed)
        added = added && seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 0) == 0;
    // Files open for reading only; creating or writing one fails as any other call does.
    // O_TMPFILE carries O_DIRECTORY, which reading a folder sets too.
    constexpr scmp_datum_t kWriting =
        O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND | (O_TMPFILE & ~O_DIRECTORY);
    added = added &&
            seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(openat), 1,
                             SCMP_A2(SCMP_CMP_MASKED_EQ, kWriting, 0)) == 0 &&
            seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(open), 1,
                             SCMP_A1(SCMP_CMP_MASKED_EQ, kWriting, 0)) == 0;
    // Its own limits only: each request gets its share of processor time.
    added = added && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1,
                                      SCMP_A0(SCMP_CMP_EQ, 0, 0)) == 0;
    // Threads, but no new process.
    added = added && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                                      SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD)) == 0;
    // The C library falls back to clone, whose flags the filter can read.
    added = added && seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
    added = added && seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(socket), 0) == 0;
    const bool loaded = added && seccomp_load(filter) == 0;
    seccomp_release(filter);
    return loaded;
}

bool Limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    return setrlimit(resource, &limit) == 0;
}

// A helper's whole life may use this much processor time; each request its own share of it.
constexpr rlim_t kLifetimeProcessorSeconds = 3600;

} // namespace

bool ImageSandbox::Enter() {
    // Ends with its parent, which is the only one that reads its answers.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // A write past the file size limit fails rather than ending the helper.
    signal(SIGXFSZ, SIG_IGN);
    if ((kMemoryLimited && !Limit(RLIMIT_DATA, rlim_t(kMemoryBytes), rlim_t(kMemoryBytes))) ||
        !Limit(RLIMIT_FSIZE, 0, 0) || !Limit(RLIMIT_NOFILE, kOpenFiles, kOpenFiles) ||
        !Limit(RLIMIT_CORE, 0, 0) || !Limit(RLIMIT_CPU, 1, kLifetimeProcessorSeconds))
        return false;
    // Without a filter the helper still runs, as it does on a kernel without seccomp; the
    // resource limits and the parent's deadline hold either way.
    FilterSystemCalls();
    return true;
}

void ImageSandbox::AllowProcessorSeconds(int seconds) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const rlim_t used = rlim_t(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec);
    Limit(RLIMIT_CPU, std::min(used + rlim_t(seconds) + 1, kLifetimeProcessorSeconds),
          kLifetimeProcessorSeconds);
}
