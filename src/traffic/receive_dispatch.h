#pragma once

#include <QString>

namespace kst {

// The engines that answer what is received in Debugging / Simulating mode: the
// auto-response rules and the sub-routine a running macro waits on. `RxData` is a block
// in the form of LastRxData, empty for a line event (`IsSignalEvent`), whose code the
// engines read from LastSignalCode.
class ReceiveEngines {
public:
    virtual ~ReceiveEngines() = default;
    virtual void AutoRespond(const QString& RxData, bool IsSignalEvent) = 0;
    virtual void EvaluateSubRoutine(int MacroIndex, const QString& RxData, bool IsSignalEvent) = 0;
};

// What decides which engine hears a block or a line event.
struct DispatchState {
    int macroState = 0; // a MacroRunState: 0 idle, 1 running
    bool macroWaiting = false;
    int armedSubRoutine = 0;
    bool autoRespOn = false;
};

// Offers a block or a line event to exactly one engine: the sub-routine a running macro
// waits on, else (no macro running) the auto-response rules when they are on.
void dispatchReceived(ReceiveEngines& engines, const DispatchState& state, const QString& rxData,
                      bool isSignalEvent);

} // namespace kst
