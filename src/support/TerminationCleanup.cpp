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
    for (const int signal : {SIGTERM, SIGINT}) {
        // One the starter set to be ignored (a background job's SIGINT, nohup) stays ignored:
        // a blocked signal would be queued for the waiting thread instead.
        struct sigaction action {};
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN)
            sigaddset(&quitSignals, signal);
    }
    if (sigisemptyset(&quitSignals) || ::pthread_sigmask(SIG_BLOCK, &quitSignals, nullptr) != 0)
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
        // No thread to wait for them: the signals keep their default action.
        ::pthread_sigmask(SIG_UNBLOCK, &quitSignals, nullptr);
    }
}
