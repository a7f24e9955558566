#pragma once

#include <QObject>
#include <array>

class QSocketNotifier;

namespace ui {

// SIGTERM (a logout), SIGHUP (a closed terminal) and SIGINT (Ctrl-C) as
// events of the window's event loop: the handler only writes the signal's
// number into a pipe, and received() is emitted from the loop, where the
// window can save what a normal quit saves. A signal the starter chose to
// ignore (nohup) stays ignored. One per process.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

private:
    std::array<int, 2> m_pipe{-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace ui
