#include "support/TerminationCleanup.h"

#include "support/OwnTemporaryFiles.h"

#include <csignal>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

void RemoveTemporariesOnTermination() {
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGTERM);
    sigaddset(&quitSignals, SIGINT);
    if (::pthread_sigmask(SIG_BLOCK, &quitSignals, nullptr) != 0)
        return;
    try {
        std::thread([quitSignals] {
            int received = 0;
            while (::sigwait(&quitSignals, &received) != 0) {
            }
            OwnTemporaryFiles::RemoveAllForExit();
            ::_exit(128 + received);
        }).detach();
    } catch (const std::system_error&) {
        // No thread to wait for them: the quitSignals keep their default action.
        ::pthread_sigmask(SIG_UNBLOCK, &quitSignals, nullptr);
    }
}
