#pragma once

#include <QByteArray>
#include <QString>

namespace kst::test {

// A pseudo-terminal: the test plays the far end on the master, a port opens the
// slave by its path. No <termios.h> here, so tests may include <asm/termbits.h>.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool valid() const { return master_ >= 0; }
    int master() const { return master_; }
    QString slavePath() const { return slavePath_; }

    // Writes every byte to the master; false on failure or after timeoutMs.
    bool write(const QByteArray& bytes, int timeoutMs = 5000);
    // What the master reads until it has size bytes or timeoutMs have passed.
    QByteArray read(qsizetype size, int timeoutMs = 5000);
    void closeMaster();

private:
    int master_ = -1;
    QString slavePath_;
};

// Points <programDir>/ports/COM<port> at target; false when the link cannot be made.
bool linkPort(const QString& programDir, int port, const QString& target);

} // namespace kst::test
