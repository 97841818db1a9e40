#include "pty_pair.h"

#include "platform/serial/com_port_map.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace kst::test {

PtyPair::PtyPair() {
    int slave = -1;
    char name[128] = {};
    if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        master_ = -1;
        return;
    }
    // The port opens the slave by its path; the test keeps only the master.
    ::close(slave);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
}

void PtyPair::closeMaster() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

bool PtyPair::write(const QByteArray& bytes, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fd{master_, POLLOUT, 0};
        if (deadline.hasExpired() || poll(&fd, 1, int(deadline.remainingTime())) < 0)
            return false;
    }
    return true;
}

QByteArray PtyPair::read(qsizetype size, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QByteArray result;
    char buffer[4096];
    while (result.size() < size && !deadline.hasExpired()) {
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, int(deadline.remainingTime())) <= 0)
            continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0)
            result.append(buffer, n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
    }
    return result;
}

bool linkPort(const QString& programDir, int port, const QString& target) {
    const kst::comm::ComPortMap map(programDir);
    QDir().mkpath(map.portsDir());
    return QFile::link(target, map.linkPath(port));
}

} // namespace kst::test
