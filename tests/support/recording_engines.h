#pragma once

#include "traffic/receive_dispatch.h"

#include <QStringList>

namespace kst::test {

// Engines that only write down how they were called: "AutoRespond(data,isSignal)" and
// "EvaluateSubRoutine(index,data,isSignal)", the flags as 0 or 1.
class RecordingEngines : public ReceiveEngines {
public:
    void AutoRespond(const QString& RxData, bool IsSignalEvent) override {
        calls << QStringLiteral("AutoRespond(%1,%2)").arg(RxData).arg(int(IsSignalEvent));
    }
    void EvaluateSubRoutine(int MacroIndex, const QString& RxData, bool IsSignalEvent) override {
        calls << QStringLiteral("EvaluateSubRoutine(%1,%2,%3)")
                     .arg(MacroIndex)
                     .arg(RxData)
                     .arg(int(IsSignalEvent));
    }
    QStringList calls;
};

} // namespace kst::test
