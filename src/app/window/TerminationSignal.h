#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean end of the main loop (exit status 0), as a quit from
// outside the editor: no question is asked, as for a logout, and what cannot be asked about is
// kept (see CrashRecovery::KeepOnTermination).
class TerminationSignal : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    // False when the signal could not be caught; the default action (ending the process)
    // then stays in place.
    bool isInstalled() const { return m_notifier != nullptr; }
    // Whether a quit from outside has arrived. One that comes before the main loop runs (while
    // the question at start is open) ends only the loop then running: the editor checks this
    // before it starts the main loop, which would otherwise never hear of it.
    bool hasArrived() const { return m_arrived; }

signals:
    // A quit from outside arrived; the main loop ends as soon as the receivers return.
    void received();

private:
    static void Restore();

    QSocketNotifier* m_notifier = nullptr;
    bool m_arrived = false;
};
