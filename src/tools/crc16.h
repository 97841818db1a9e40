#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace kst {

// The CRC-16 that Modbus RTU frames carry (CRC-16/MODBUS): register preset to FFFF,
// polynomial 8005 applied in its reflected form A001, bytes taken least significant bit
// first, no final XOR. Worked bit by bit: the calculator runs it over a few bytes.

// Folds one byte into the register.
quint16 CrcUpdateByte(quint16 crc, quint8 dataByte);

// The register after every byte of data, in order.
quint16 Crc16Modbus(QByteArrayView data);

// The CRC as 4 upper-case hexadecimal digits, high-order byte first ("4B37" for the
// ASCII text "123456789"). A Modbus frame carries the low-order byte first.
QString CalcCRC(QByteArrayView data);

} // namespace kst
