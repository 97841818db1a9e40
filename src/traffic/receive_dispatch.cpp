#include "receive_dispatch.h"

namespace kst {

bool anyEngineHears(const ReceiveEngines& engines) {
    return engines.macroWaits() || (engines.macroIdle() && engines.autoResponseOn());
}

void dispatchReceived(ReceiveEngines& engines, const ReceivedEvent& received) {
    if (engines.macroWaits())
        engines.evaluateSubRoutine(received);
    else if (engines.macroIdle() && engines.autoResponseOn())
        engines.autoRespond(received);
}

} // namespace kst
