#pragma once

#include <QByteArray>
#include <QString>

namespace kst {

// Writes `bytes` as the whole content of the file at `path`: beside the old file first,
// put in its place only when complete, so a full disk or a crash never leaves half a
// file where a whole one was. A failure raises a RunTimeError that names the file and
// what stands in the way (a missing folder, a folder where the file should be, no
// permission, the disk).
void WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace kst
