#pragma once

namespace kst {

class ReceivedEvent;

// The engines that answer what the primary port receives in Debugging / Simulating
// mode, as the receive path reaches them: the sub-routine a running macro waits on and
// the auto-response rules.
class ReceiveEngines {
public:
    virtual ~ReceiveEngines() = default;
    // A running macro's step waits on a sub-routine.
    virtual bool macroWaits() const = 0;
    // No macro run is under way (a paused one counts as none).
    virtual bool macroIdle() const = 0;
    virtual bool autoResponseOn() const = 0;
    virtual void evaluateSubRoutine(const ReceivedEvent& received) = 0;
    virtual void autoRespond(const ReceivedEvent& received) = 0;
};

// Whether a block or line event received now reaches an engine: most blocks reach none,
// and need not be put in the form the engines compare.
bool anyEngineHears(const ReceiveEngines& engines);

// Offers a block or a line event to exactly one engine: the sub-routine a running macro
// waits on, else (no macro run) the auto-response rules when they are on.
void dispatchReceived(ReceiveEngines& engines, const ReceivedEvent& received);

} // namespace kst
