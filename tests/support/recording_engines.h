#pragma once

#include "traffic/receive_dispatch.h"
#include "traffic/received_event.h"

#include <QStringList>

namespace kst::test {

// Engines in a state the test sets, that only write down what they were offered:
// "AutoRespond(text)" or "EvaluateSubRoutine(text)" for a block, the event's code for a
// line event ("AutoRespond(#7)"), with " ring pending" while a ring is.
class RecordingEngines : public ReceiveEngines {
public:
    bool macroWaits() const override { return waits; }
    bool macroIdle() const override { return idle; }
    bool autoResponseOn() const override { return autoResponse; }
    void evaluateSubRoutine(const ReceivedEvent& received) override {
        note(QStringLiteral("EvaluateSubRoutine"), received);
    }
    void autoRespond(const ReceivedEvent& received) override {
        note(QStringLiteral("AutoRespond"), received);
        if (answer)
            answer();
    }

    bool waits = false;
    bool idle = true;
    bool autoResponse = true;
    QStringList calls;
    // Plays the far end when the rules are offered something.
    std::function<void()> answer;

private:
    void note(const QString& engine, const ReceivedEvent& received) {
        const QString what = received.isLineEvent()
                                 ? QStringLiteral("#%1").arg(static_cast<int>(received.event()))
                                 : received.text();
        calls << engine + u'(' + what + (received.ringPending() ? " ring pending" : "") + u')';
    }
};

} // namespace kst::test
