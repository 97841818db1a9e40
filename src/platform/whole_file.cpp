#include "whole_file.h"

#include "file_names.h"
#include "runtime_error.h"

#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

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
    if (file_.write(bytes.data(), bytes.size()) != bytes.size())
        raiseFailure();
}

void WholeFileWriter::commit() {
    if (!file_.commit())
        raiseFailure();
}

void WholeFileWriter::raiseFailure() {
    throw RunTimeError(
        err::PathFileAccessError,
        describeError(err::PathFileAccessError) +
            QString(": '%1' could not be written: %2.").arg(path_, file_.errorString()));
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    WholeFileWriter file(path);
    file.write(bytes);
    file.commit();
}

} // namespace kst
