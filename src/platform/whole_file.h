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

} // namespace kst
