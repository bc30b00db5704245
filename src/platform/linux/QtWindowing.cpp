#include "QtWindowing.h"

#include "DesktopActivation.h"
#include "platform/Failure.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace nc {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
int signalWriteEnd = -1;

itimerval signalAnswerTime{};

/// Sets the alarm whose default action ends the program (zero: none).
void setAlarm(const itimerval& time) {
    ::setitimer(ITIMER_REAL, &time, nullptr); // a bare system call, safe in a signal handler
}

void onSignal(int) {
    // Only what is safe in a signal handler: one byte, handled later on the event loop, and an
    // alarm whose default action ends the program if that does not happen in time. alarm()
    // counts whole seconds, and the program's own exit must fit in the same second.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    setAlarm(signalAnswerTime);
}

} // namespace

QtWindowing::QtWindowing(DesktopActivation* activation, unsigned answerMs)
    : m_activation(activation) {
    signalAnswerTime.it_value = {time_t(answerMs / 1000), suseconds_t(answerMs % 1000 * 1000)};
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0)
        return; // without the pair a signal ends the program the system's way
    signalWriteEnd = ends[0];
    m_signals = std::make_unique<QSocketNotifier>(ends[1], QSocketNotifier::Read);
    QObject::connect(m_signals.get(), &QSocketNotifier::activated, m_signals.get(), [this] {
        setAlarm({}); // answered in time: the program ends its own way, clipboard handed over
        char bytes[16];
        while (::read(int(m_signals->socket()), bytes, sizeof bytes) > 0) {
        }
        if (m_close)
            m_close();
        End();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndSignals)
        sigaction(signal, &action, nullptr);
}

QtWindowing::~QtWindowing() {
    if (!m_signals)
        return;
    setAlarm({});
    for (int signal : kEndSignals)
        std::signal(signal, SIG_DFL);
    ::close(signalWriteEnd);
    ::close(int(int(m_signals->socket())));
    signalWriteEnd = -1;
}

void QtWindowing::ShowModal(QDialog& form) {
    form.exec();
    if (m_ended)
        throw ProgramEnding();
}

void QtWindowing::End() {
    m_ended = true;
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    // Every event loop ends, modal ones included. Outside the event loop (during start-up)
    // main() sees HasEnded() and does not enter it.
    QCoreApplication::exit(0);
}

void QtWindowing::BringToFront(QWidget& window, const QVariantMap& platformData) {
    if (m_activation)
        return m_activation->BringForward(window, platformData);
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
}

void QtWindowing::OnEndRequest(std::function<void()> close) {
    m_close = std::move(close);
}

} // namespace nc
