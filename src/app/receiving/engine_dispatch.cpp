#include "app/receiving/engine_dispatch.h"

#include "app/main/session.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "traffic/rx_text.h"

namespace kst {

bool SessionEngines::macroWaits() const {
    return session_.macroRunner().waitsForEvent();
}

bool SessionEngines::macroIdle() const {
    return session_.macroRunner().idle();
}

bool SessionEngines::autoResponseOn() const {
    return session_.autoResponder().isOn();
}

void SessionEngines::evaluateSubRoutine(const ReceivedEvent& received) {
    session_.macroRunner().offer(received);
}

void SessionEngines::autoRespond(const ReceivedEvent& received) {
    session_.autoResponder().offer(received);
}

void EngineDispatch::block(const QByteArray& bytes) {
    if (!anyEngineHears(*engines_))
        return;
    const MainState& state = session_.state();
    dispatchReceived(*engines_, ReceivedEvent::block(RxMatchText(bytes, state.RxFormat),
                                                     state.RingPending, session_.primaryLines()));
}

void EngineDispatch::lineEvent(LineEvent event) {
    dispatchReceived(*engines_, ReceivedEvent::lineEvent(event, session_.state().RingPending,
                                                         session_.primaryLines()));
}

} // namespace kst
