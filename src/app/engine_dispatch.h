#pragma once

#include "traffic/receive_dispatch.h"

#include <QString>

namespace kst {

class Session;

// The program's engines as the receive path reaches them. The auto-response engine and
// the macro runner fill these in; until then nothing answers.
class ProgramEngines : public ReceiveEngines {
public:
    void AutoRespond(const QString& RxData, bool IsSignalEvent) override;
    void EvaluateSubRoutine(int MacroIndex, const QString& RxData, bool IsSignalEvent) override;
};

// Offers received blocks and line events to the engine that the session's state names.
class EngineDispatch {
public:
    explicit EngineDispatch(Session& session) : session_(session) {}

    // Tests put recording engines in; nullptr restores the program's.
    void setEngines(ReceiveEngines* engines) { engines_ = engines ? engines : &program_; }

    // A block, in the form of LastRxData.
    void block(const QString& rxData);
    // A line event, whose code is in LastSignalCode.
    void signal();

private:
    void offer(const QString& rxData, bool isSignalEvent);

    Session& session_;
    ProgramEngines program_;
    ReceiveEngines* engines_ = &program_;
};

} // namespace kst
