#include "app/window/TerminationSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler may only write to a descriptor; the main loop reads the other end.
int g_signalSockets[2] = {-1, -1};

// A quit from outside: a logout or kill, and Ctrl+C in the terminal that started the editor.
// Either way the window goes through its normal end, so exports finish or remove their
// temporary files instead of leaving them behind, and unsaved changes stay for the next start.
constexpr int kQuitSignals[] = {SIGTERM, SIGINT};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(g_signalSockets[1], &byte, 1);
        m_arrived = true;
        emit received();
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kQuitSignals)
        if (::sigaction(signal, &action, nullptr) != 0) {
            Restore();
            delete m_notifier;
            m_notifier = nullptr;
            return;
        }
}

TerminationSignal::~TerminationSignal() {
    if (m_notifier)
        Restore();
}

void TerminationSignal::Restore() {
    for (const int signal : kQuitSignals)
        std::signal(signal, SIG_DFL);
}
