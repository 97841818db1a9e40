#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace kst {

// The end of the desktop session (TERM at a logout or shutdown), of the terminal that
// started the program (HUP) or Ctrl+C there (INT): each becomes a call of `ending` on the
// thread that made this object, so the program closes as its window's close box closes
// it instead of ending at once. One at a time; the signals' former handling comes back
// when it goes.
class SessionEnd : public QObject {
public:
    explicit SessionEnd(std::function<void()> ending, QObject* parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void signalled();

    std::function<void()> ending_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kst
