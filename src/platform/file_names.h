#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>
#include <optional>

namespace kst {

// File names as the system keeps them: bytes. They are UTF-8 on this system, but a name
// made under another encoding, or copied from elsewhere, need not be. Qt turns such
// bytes into U+FFFD and so loses the file. These keep each byte that is not part of
// UTF-8 text as a code point of its own (U+DC80 to U+DCFF, which no UTF-8 text holds),
// so a name read from kst.ini or from the system reaches the system again byte for byte.
// For UTF-8 names they are QFile::encodeName and QFile::decodeName.
QString fileNameFromBytes(const QByteArray& bytes);
QByteArray fileNameBytes(const QString& name);

// The file operations that take such names. Each follows links, as opening does.
enum class PathKind { Missing, File, Folder, Other };
PathKind pathKind(const QString& path);
// Whether the path is a link whose target does not exist.
bool isDanglingLink(const QString& path);

// Whether two names stand for the same file (the same device and file number, through
// links and other names of it). False when either names nothing.
bool sameFile(const QString& a, const QString& b);

// What stands at a name that is not a file, as a sentence that names it ("'x' is a named
// pipe (FIFO), not a file."); empty when a file does, through links too, or nothing does.
QString notAFileReason(const QString& path);

// A file opened for reading by a name the user chose, or one the program keeps. Only a
// file is opened, directly or through links: a folder, a named pipe, a device or a socket
// is refused. Refused without waiting: a named pipe that no program writes to would hold
// open() until one did, and the window with it. So the name is looked at first, opened
// without blocking, and what was opened is looked at again: a file swapped for a pipe in
// between is refused as well. The file is closed when the object goes.
class ReadableFile {
public:
    enum class Problem { None, Missing, NotAFile, CannotOpen };

    explicit ReadableFile(const QString& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    Problem problem() const { return problem_; }
    // Why the file was not opened or could not be read, in a sentence that names it.
    const QString& reason() const { return reason_; }

    // Up to `size` bytes from where the file stands; nothing, with the reason, when it
    // cannot be read.
    std::optional<QByteArray> read(qint64 size);
    // Hands the open file over as a QFile that closes it; null, with the reason, when
    // there is none to hand over.
    std::unique_ptr<QFile> take();

private:
    void fail(Problem problem, const QString& reason);

    QString path_;
    int fd_ = -1;
    Problem problem_ = Problem::None;
    QString reason_;
};
// Creates an empty file that did not exist; false, and the reason, otherwise.
bool createNewFile(const QString& path, QString& error);
bool removeFile(const QString& path);
// Renames without replacing: false, and the reason, when `to` exists or the rename fails.
bool renameFile(const QString& from, const QString& to, QString& error);
// Renames over `to` in one step, so there is no moment without a whole `to`. A `to` this
// user may not write is not replaced: false, with the reason "it is read-only".
bool replaceFile(const QString& from, const QString& to, QString& error);

} // namespace kst
