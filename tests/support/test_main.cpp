#include "support/fakes.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with a QApplication, headless, so widgets and timers work. No
// test may wait for a person: boxes are answered, file dialogs cancelled and the end of
// the program only counted, unless a test scripts them itself.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kst::test::RecordingMessageBoxes unattendedBoxes;
    kst::test::ScriptedFileDialogs unattendedDialogs;
    kst::test::CountingEnder unattendedEnder;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
