#include "session_end.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kst {

namespace {

constexpr std::array<int, 3> EndingSignals = {SIGTERM, SIGHUP, SIGINT};

// A signal handler may do next to nothing: it writes a byte the event loop reads.
int wakeFds[2] = {-1, -1};
std::array<struct sigaction, EndingSignals.size()> formerActions{};

extern "C" void onEndingSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a byte that wakes the loop.
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> ending, QObject* parent)
    : QObject(parent), ending_(std::move(ending)) {
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::signalled);
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < EndingSignals.size(); ++i)
        ::sigaction(EndingSignals[i], &action, &formerActions[i]);
}

SessionEnd::~SessionEnd() {
    if (!notifier_)
        return;
    for (size_t i = 0; i < EndingSignals.size(); ++i)
        ::sigaction(EndingSignals[i], &formerActions[i], nullptr);
    delete notifier_;
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void SessionEnd::signalled() {
    char bytes[64];
    while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
    }
    // Every signal calls again: a closing already under way takes no second one.
    ending_();
}

} // namespace kst
