#include "ui/TerminationSignals.h"


#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ui {

namespace {

volatile std::sig_atomic_t gWriteEnd = -1;
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void noteSignal(int signal) {
    // Async-signal-safe: one write; a full pipe means a signal is pending already.
    const unsigned char number = static_cast<unsigned char>(signal);
    if (gWriteEnd >= 0)
        (void)!::write(gWriteEnd, &number, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(m_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    gWriteEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char number = 0;
        while (::read(m_pipe[0], &number, 1) == 1)
            emit received(number);
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == noteSignal)
            ::sigaction(signal, &action, nullptr);
    }
    gWriteEnd = -1;
    for (int end : m_pipe)
        if (end >= 0)
            ::close(end);
}


} // namespace ui
