#include "whole_file.h"

#include "file_names.h"
#include "runtime_error.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kst {

namespace {

// Why a file cannot be written, naming it: the system's own reason ("Permission
// denied", "Is a directory") says nothing of which file or what stands in the way.
[[noreturn]] void raiseWriteFailure(const QString& path, const QString& reason) {
    const QString folder = QFileInfo(path).absolutePath();
    QString why;
    if (pathKind(path) == PathKind::Folder) {
        why = QString("'%1' is a folder, not a file.").arg(path);
    } else if (isDanglingLink(path)) {
        why = QString("'%1' is a link to '%2', which cannot be made: %3.")
                  .arg(path, QFileInfo(path).symLinkTarget(), reason);
    } else if (!QFileInfo(folder).isWritable()) {
        why = QString("the folder '%1' does not allow '%2' to be written.")
                  .arg(folder, QFileInfo(path).fileName());
    } else {
        why = QString("'%1' cannot be written: %2.").arg(path, reason);
    }
    throw RunTimeError(err::PermissionDenied, describeError(err::PermissionDenied) + ": " + why);
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path), file_(path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (pathKind(folder) != PathKind::Folder) {
        throw RunTimeError(err::PathNotFound,
                           describeError(err::PathNotFound) +
                               QString(": the folder '%1' does not exist.").arg(folder));
    }
    if (!file_.open(QIODevice::WriteOnly))
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
