#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace kst {

// Writes `bytes` as the whole content of the file at `path`: beside the old file first,
// put in its place only when complete, so a full disk or a crash never leaves half a
// file where a whole one was. A failure raises a RunTimeError that names the file and
// what stands in the way (a missing folder, a folder where the file should be, no
// permission, the disk).
void WriteWholeFile(const QString& path, const QByteArray& bytes);

// The same for content written a piece at a time (a large log): the file takes the
// place of the old one at commit(); a writer dropped before that leaves the old one.
// Each step raises the RunTimeError WriteWholeFile raises.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    void write(QByteArrayView bytes);
    void commit();

private:
    [[noreturn]] void raiseFailure(const QString& reason);

    QString path_;
    QSaveFile file_;
};

// The call that puts a file's bytes on the disk before the file takes the old one's place
// (fsync by default), so that a test can stand in a disk that refuses them. Returns the call
// it replaces; nullptr puts fsync back.
using DiskSync = int (*)(int fd);
DiskSync setDiskSync(DiskSync sync);

} // namespace kst
