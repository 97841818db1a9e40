#include "whole_file.h"

#include "file_names.h"
#include "runtime_error.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace kst {

namespace {

// Why a file cannot be written, naming it: the system's own reason ("Permission
// denied", "Is a directory") says nothing of which file or what stands in the way.
QString whyNotWritten(const QString& path, const QString& reason) {
    // A folder, a pipe or a device in the file's place: no file this program replaces.
    if (const QString notAFile = notAFileReason(path); !notAFile.isEmpty())
        return notAFile;
    const QString folder = QFileInfo(path).absolutePath();
    if (isDanglingLink(path)) {
        return QString("'%1' is a link to '%2', which cannot be made: %3.")
            .arg(path, QFileInfo(path).symLinkTarget(), reason);
    }
    if (!QFileInfo(folder).isWritable()) {
        return QString("the folder '%1' does not allow '%2' to be written.")
            .arg(folder, QFileInfo(path).fileName());
    }
    return QString("'%1' cannot be written: %2.").arg(path, reason);
}

[[noreturn]] void raiseWriteFailure(const QString& path, const QString& reason) {
    throw RunTimeError(err::PermissionDenied,
                       describeError(err::PermissionDenied) + ": " + whyNotWritten(path, reason));
}

DiskSync diskSync = ::fsync;

} // namespace

DiskSync setDiskSync(DiskSync sync) {
    return std::exchange(diskSync, sync ? sync : ::fsync);
}

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path), file_(path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (pathKind(folder) != PathKind::Folder) {
        throw RunTimeError(err::PathNotFound,
                           describeError(err::PathNotFound) +
                               QString(": the folder '%1' does not exist.").arg(folder));
    }
    // A named pipe, a device or a socket in the file's place is no file to replace.
    if (!notAFileReason(path).isEmpty() || !file_.open(QIODevice::WriteOnly))
        raiseWriteFailure(path, file_.errorString());
}

void WholeFileWriter::write(QByteArrayView bytes) {
    // Straight to the file, past the device's buffer: a byte the disk refuses is refused
    // here, with the system's reason, and never waits to be refused unseen at the commit.
    const int fd = static_cast<int>(file_.handle());
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            raiseFailure(written < 0 ? qt_error_string(errno) : QStringLiteral("nothing written"));
        next += written;
        left -= written;
    }
}

void WholeFileWriter::commit() {
    // On the disk before it takes the old file's place: a disk that accepts the bytes
    // only for its cache may still refuse them here.
    if (diskSync(static_cast<int>(file_.handle())) != 0 && errno != EINVAL && errno != EROFS)
        raiseFailure(qt_error_string(errno));
    if (!file_.commit())
        raiseFailure(file_.errorString());
}

void WholeFileWriter::raiseFailure(const QString& reason) {
    throw RunTimeError(err::PathFileAccessError,
                       describeError(err::PathFileAccessError) +
                           QString(": '%1' could not be written: %2.").arg(path_, reason));
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    WholeFileWriter file(path);
    file.write(bytes);
    file.commit();
}

} // namespace kst
