#include "serial_termios.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace kst::comm {

namespace {

tcflag_t sizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

} // namespace

void fillTermios(termios2& t, const LineSettings& s) {
    const bool softwareFlow = s.handshake == Handshake::XonXoff || s.handshake == Handshake::Both;
    const bool hardwareFlow = s.handshake == Handshake::RtsCts || s.handshake == Handshake::Both;

    t.c_iflag = IGNBRK;
    if (s.parity != Parity::None)
        t.c_iflag |= INPCK;
    if (softwareFlow)
        t.c_iflag |= IXON | IXOFF;
    t.c_oflag = 0;
    t.c_lflag = 0;

    t.c_cflag = CREAD | CLOCAL | HUPCL | sizeFlag(s.dataBits);
    switch (s.parity) {
    case Parity::None:
        break;
    case Parity::Even:
        t.c_cflag |= PARENB;
        break;
    case Parity::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case Parity::Mark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case Parity::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (s.stopBits != StopBits::One)
        t.c_cflag |= CSTOPB;
    if (hardwareFlow)
        t.c_cflag |= CRTSCTS;
    // Any rate, standard or not, as a number in both directions.
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(s.baud);
    t.c_ospeed = static_cast<speed_t>(s.baud);

    for (cc_t& c : t.c_cc)
        c = 0;
    t.c_cc[VMIN] = 1; // with O_NONBLOCK: "no data" is EAGAIN, and 0 bytes means hang-up
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = 0x11;
    t.c_cc[VSTOP] = 0x13;
}

int applyTermios(int fd, const LineSettings& s) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    fillTermios(t, s);
    if (ioctl(fd, TCSETS2, &t) != 0)
        return errno;
    return 0;
}

} // namespace kst::comm
