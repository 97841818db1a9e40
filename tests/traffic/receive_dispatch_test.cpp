#include "support/recording_engines.h"
#include "traffic/receive_dispatch.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kst;

using kst::test::RecordingEngines;

TEST(DispatchReceived, AWaitingMacroTakesTheBlockBeforeAutoResponse) {
    RecordingEngines engines;
    dispatchReceived(engines, {1, true, 5, true}, "41,", false);
    dispatchReceived(engines, {1, true, 2, false}, "", true);
    EXPECT_EQ(engines.calls,
              QStringList({"EvaluateSubRoutine(5,41,,0)", "EvaluateSubRoutine(2,,1)"}));
}

TEST(DispatchReceived, WithNoMacroRunningTheRulesAnswerWhenSwitchedOn) {
    RecordingEngines engines;
    dispatchReceived(engines, {0, false, 0, true}, "OK", false);
    dispatchReceived(engines, {0, true, 0, true}, "", true);
    dispatchReceived(engines, {0, false, 0, false}, "OK", false);
    EXPECT_EQ(engines.calls, QStringList({"AutoRespond(OK,0)", "AutoRespond(,1)"}));
}

TEST(DispatchReceived, AMacroThatRunsWithoutWaitingOrIsBeingStoppedHearsNothing) {
    RecordingEngines engines;
    dispatchReceived(engines, {1, false, 0, true}, "41,", false);
    dispatchReceived(engines, {2, true, 0, true}, "41,", false);
    dispatchReceived(engines, {3, true, 0, true}, "", true);
    EXPECT_TRUE(engines.calls.isEmpty());
}
