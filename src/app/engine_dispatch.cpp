#include "engine_dispatch.h"

#include "session.h"

namespace kst {

void ProgramEngines::AutoRespond(const QString&, bool) {}

void ProgramEngines::EvaluateSubRoutine(int, const QString&, bool) {}

void EngineDispatch::block(const QString& rxData) {
    offer(rxData, false);
}

void EngineDispatch::signal() {
    offer(QString(), true);
}

void EngineDispatch::offer(const QString& rxData, bool isSignalEvent) {
    const MainState& state = session_.state();
    dispatchReceived(
        *engines_,
        {state.MacroState, state.MacroWaiting, state.ArmedSubRoutine, session_.shared().AutoRespOn},
        rxData, isSignalEvent);
}

} // namespace kst
