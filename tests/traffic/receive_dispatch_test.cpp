#include "support/recording_engines.h"
#include "traffic/receive_dispatch.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kst;

using kst::test::RecordingEngines;

namespace {

class NoLines : public LineLevelsReader {
public:
    LineLevels levelsNow() const override { return {}; }
};

} // namespace

// Who hears a block, by the state of the run and the switch: a waiting macro before the
// rules, the rules only with no run (a paused one is none) and while on.
TEST(DispatchReceived, ExactlyOneEngineOrNoneHearsEachEvent) {
    const struct {
        bool waits, idle, autoResponse;
        const char* heard;
    } cases[] = {
        {true, false, true, "EvaluateSubRoutine(41,)"},
        {true, false, false, "EvaluateSubRoutine(41,)"},
        {false, true, true, "AutoRespond(41,)"},
        {false, true, false, ""},
        {false, false, true, ""}, // running without waiting, or being stopped
    };
    const NoLines lines;
    for (const auto& c : cases) {
        RecordingEngines engines;
        engines.waits = c.waits;
        engines.idle = c.idle;
        engines.autoResponse = c.autoResponse;
        // The receive path asks first, and turns a block into text only for a listener.
        EXPECT_EQ(anyEngineHears(engines), *c.heard != '\0');
        dispatchReceived(engines, ReceivedEvent::block("41,", false, lines));
        EXPECT_EQ(engines.calls.join('|'), c.heard) << c.waits << c.idle << c.autoResponse;
    }
}
