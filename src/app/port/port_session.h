#pragma once

namespace kst {

// What follows the port's sessions: told when a session has started (the ports open,
// the time origin taken) and before it ends (the ports still open, their unread bytes
// still there).
class PortSessionObserver {
public:
    virtual ~PortSessionObserver() = default;
    virtual void portOpened() = 0;
    virtual void portClosing() = 0;
};

} // namespace kst
