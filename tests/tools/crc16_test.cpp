#include "tools/crc16.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace kst;

namespace {

struct CrcVector {
    QByteArray bytes;
    const char* crc;
};

// Published CRC-16/MODBUS check values and well-known Modbus RTU frames, whose last two
// bytes are the CRC, low-order byte first.
TEST(Crc16, KnownVectorsOfEveryLength) {
    const CrcVector vectors[] = {
        {QByteArray(), "FFFF"},
        {QByteArray("A"), "707F"},
        {QByteArray("\xFF", 1), "00FF"},
        {QByteArray("123456789"), "4B37"},
        {QByteArray::fromHex("010300000001"), "0A84"},
        {QByteArray::fromHex("01030000000A"), "CDC5"},
        {QByteArray::fromHex("1103006B0003"), "8776"},
    };
    for (const CrcVector& v : vectors)
        EXPECT_EQ(CalcCRC(v.bytes), v.crc) << v.bytes.toHex().toStdString();
}

TEST(Crc16, AFrameWithItsCrcAppendedLowByteFirstChecksToZero) {
    QByteArray frame = QByteArray::fromHex("1103006B0003");
    const quint16 crc = Crc16Modbus(frame);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    EXPECT_EQ(Crc16Modbus(frame), 0);
}

TEST(Crc16, ShiftBringsInZeroAtTheTop) {
    // From FFFF, one zero byte: a signed shift would keep the top bit set.
    EXPECT_EQ(CrcUpdateByte(0xFFFF, 0x00), 0x40BF);
    EXPECT_EQ(CrcUpdateByte(0x0000, 0x00), 0x0000);
}

} // namespace
