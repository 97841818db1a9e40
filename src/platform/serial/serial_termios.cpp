#include "serial_termios.h"

#include <QStringList>
#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <linux/major.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

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

int dataBitsOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

bool speedClose(speed_t requested, speed_t actual) {
    const long long difference = std::llabs(static_cast<long long>(actual) - requested);
    return actual != 0 &&
           difference * 100 <= static_cast<long long>(requested) * BaudTolerancePercent;
}

QString parityName(tcflag_t cflag) {
    if (!(cflag & PARENB))
        return "no parity";
    if (cflag & CMSPAR)
        return cflag & PARODD ? "mark parity" : "space parity";
    return cflag & PARODD ? "odd parity" : "even parity";
}

QString handshakeName(const termios2& t) {
    QStringList parts;
    if (t.c_cflag & CRTSCTS)
        parts << "RTS/CTS";
    if (t.c_iflag & IXON)
        parts << "XON/XOFF out";
    if (t.c_iflag & IXOFF)
        parts << "XON/XOFF in";
    return parts.isEmpty() ? "no handshaking" : parts.join(" + ");
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

QString termiosMismatch(const termios2& requested, const termios2& actual, bool framing) {
    const tcflag_t rc = requested.c_cflag;
    const tcflag_t ac = actual.c_cflag;
    if (!speedClose(requested.c_ospeed, actual.c_ospeed))
        return QString("the device sends at %1 baud instead of %2")
            .arg(actual.c_ospeed)
            .arg(requested.c_ospeed);
    if (!speedClose(requested.c_ispeed, actual.c_ispeed))
        return QString("the device receives at %1 baud instead of %2")
            .arg(actual.c_ispeed)
            .arg(requested.c_ispeed);
    if (framing) {
        if ((rc & CSIZE) != (ac & CSIZE))
            return QString("the device runs with %1 data bits instead of %2")
                .arg(dataBitsOf(ac))
                .arg(dataBitsOf(rc));
        const tcflag_t parityBits = (rc & PARENB) ? PARENB | PARODD | CMSPAR : PARENB;
        if ((rc & parityBits) != (ac & parityBits))
            return QString("the device runs with %1 instead of %2")
                .arg(parityName(ac), parityName(rc));
    }
    if ((rc & CSTOPB) != (ac & CSTOPB))
        return QString("the device runs with %1").arg(ac & CSTOPB ? "2 stop bits" : "1 stop bit");
    if ((rc & CRTSCTS) != (ac & CRTSCTS) ||
        (requested.c_iflag & (IXON | IXOFF)) != (actual.c_iflag & (IXON | IXOFF)))
        return QString("the device runs with %1 instead of %2")
            .arg(handshakeName(actual), handshakeName(requested));
    return {};
}

bool framesCharacters(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return true;
    const unsigned int deviceMajor = major(st.st_rdev);
    const bool unix98Slave = deviceMajor >= UNIX98_PTY_SLAVE_MAJOR &&
                             deviceMajor < UNIX98_PTY_SLAVE_MAJOR + UNIX98_PTY_MAJOR_COUNT;
    return !unix98Slave && deviceMajor != PTY_SLAVE_MAJOR;
}

TermiosOutcome applyTermios(int fd, const LineSettings& s, bool framing) {
    termios2 before{};
    if (ioctl(fd, TCGETS2, &before) != 0)
        return {errno, {}};
    termios2 requested = before;
    fillTermios(requested, s);
    if (ioctl(fd, TCSETS2, &requested) != 0)
        return {errno, {}};
    termios2 actual{};
    TermiosOutcome outcome;
    if (ioctl(fd, TCGETS2, &actual) != 0)
        outcome.error = errno;
    else
        outcome.mismatch = termiosMismatch(requested, actual, framing);
    if (!outcome.ok())
        ioctl(fd, TCSETS2, &before);
    return outcome;
}

bool releaseHandshake(int fd) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON);
    return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace kst::comm
