#pragma once

#include <QObject>

class QSocketNotifier;

namespace Dovrin::Shell {

// Turns SIGTERM, SIGINT and SIGHUP into an ordinary quit, so that a session logout or `kill` still runs the
// quit sequence and saves what is pending. A signal handler may only write to a pipe; the event loop reads
// it.
class TerminationSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(TerminationSignals)

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace Dovrin::Shell
