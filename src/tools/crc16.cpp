#include "crc16.h"

namespace kst {

namespace {

constexpr quint16 ReflectedPolynomial = 0xA001;

} // namespace

quint16 CrcUpdateByte(quint16 crc, quint8 dataByte) {
    crc ^= dataByte;
    for (int bit = 0; bit < 8; ++bit) {
        // The register is unsigned: the shift brings in a 0 at the top.
        const bool carry = (crc & 1u) != 0;
        crc = static_cast<quint16>(crc >> 1);
        if (carry)
            crc ^= ReflectedPolynomial;
    }
    return crc;
}

quint16 Crc16Modbus(QByteArrayView data) {
    quint16 crc = 0xFFFF;
    for (char byte : data)
        crc = CrcUpdateByte(crc, static_cast<quint8>(byte));
    return crc;
}

QString CalcCRC(QByteArrayView data) {
    return QString::number(Crc16Modbus(data), 16).toUpper().rightJustified(4, u'0');
}

} // namespace kst
