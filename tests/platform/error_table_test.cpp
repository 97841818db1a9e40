#include "platform/runtime_error.h"
#include "platform/serial/comm_codes.h"

#include <gtest/gtest.h>

using namespace kst;

TEST(ErrorTable, EveryLayerDescribesItsNumbersFromTheOneTable) {
    EXPECT_EQ(RunTimeError(err::TypeMismatch).description(), "Type mismatch");
    EXPECT_EQ(RunTimeError(err::PortAlreadyOpen).description(), "Port already open");
    EXPECT_EQ(RunTimeError(err::InvalidPassword).description(), "Not a valid password.");
    EXPECT_EQ(comm::commError(err::HardwareNotAvailable, "/dev/ttyUSB0").description(),
              "The hardware is not available (/dev/ttyUSB0)");
    EXPECT_EQ(describeError(12345), "Application-defined or object-defined error");
    // The numbers users know from the same situations.
    EXPECT_EQ(err::CannotOpen, static_cast<int>(0x80004005u));
    EXPECT_EQ(err::InvalidPassword, static_cast<int>(0x80040E4Du));
}
