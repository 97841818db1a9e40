#include "receive_dispatch.h"

namespace kst {

void dispatchReceived(ReceiveEngines& engines, const DispatchState& state, const QString& rxData,
                      bool isSignalEvent) {
    if (state.macroState == 1 && state.macroWaiting)
        engines.EvaluateSubRoutine(state.armedSubRoutine, rxData, isSignalEvent);
    else if (state.macroState == 0 && state.autoRespOn)
        engines.AutoRespond(rxData, isSignalEvent);
}

} // namespace kst
