#pragma once

#include "traffic/receive_dispatch.h"
#include "traffic/received_event.h"

#include <QByteArray>

namespace kst {

class Session;

// The session's engines as the receive path reaches them: its macro runner and its
// auto-response rules.
class SessionEngines : public ReceiveEngines {
public:
    explicit SessionEngines(Session& session) : session_(session) {}
    bool macroWaits() const override;
    bool macroIdle() const override;
    bool autoResponseOn() const override;
    void evaluateSubRoutine(const ReceivedEvent& received) override;
    void autoRespond(const ReceivedEvent& received) override;

private:
    Session& session_;
};

// Offers received blocks and line events of the primary port to the engines.
class EngineDispatch {
public:
    explicit EngineDispatch(Session& session) : session_(session), program_(session) {}

    // Tests put recording engines in; nullptr restores the session's.
    void setEngines(ReceiveEngines* engines) { engines_ = engines ? engines : &program_; }

    // A block as received. It is put in the form the engines compare (see
    // ReceivedEvent) only when one of them will hear it.
    void block(const QByteArray& bytes);
    void lineEvent(LineEvent event);

private:
    Session& session_;
    SessionEngines program_;
    ReceiveEngines* engines_ = &program_;
};

} // namespace kst
