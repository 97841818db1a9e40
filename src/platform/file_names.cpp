#include "file_names.h"

#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kst {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // a byte b that is not UTF-8 becomes U+DC00 + b

// The length of the valid UTF-8 sequence at `i`, or 0 when the byte there starts none.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
qsizetype utf8SequenceAt(const QByteArray& bytes, qsizetype i) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || surrogate || code > 0x10FFFF ? 0 : length;
}

// Valid UTF-8 as text; a byte order mark is a character of the name like any other, not
// a mark to drop (QString::fromUtf8 drops one at the start of what it is given).
QString fromValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool isEscapedByte(QChar c) {
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

QString systemReason() {
    return qt_error_string(errno);
}

// The sentence for a name where something other than a file stands.
QString notAFileReason(const QString& path, mode_t mode) {
    QString what;
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        what = QStringLiteral("a folder");
    else if (S_ISFIFO(mode))
        what = QStringLiteral("a named pipe (FIFO)");
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        what = QStringLiteral("a device");
    else if (S_ISSOCK(mode))
        what = QStringLiteral("a socket");
    else
        return QString("'%1' is not a file.").arg(path);
    return QString("'%1' is %2, not a file.").arg(path, what);
}

} // namespace

QString fileNameFromBytes(const QByteArray& bytes) {
    QString name;
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = utf8SequenceAt(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        name += fromValidUtf8(QByteArrayView(bytes).sliced(runStart, i - runStart));
        name += QChar(kEscapeBase + static_cast<unsigned char>(bytes[i]));
        runStart = ++i;
    }
    return name + fromValidUtf8(QByteArrayView(bytes).sliced(runStart));
}

QByteArray fileNameBytes(const QString& name) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // An escaped byte stands alone: a low surrogate after a high one is half of a pair.
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (!isEscapedByte(name[i]) || paired)
            continue;
        bytes += name.mid(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(name[i].unicode() - kEscapeBase);
        runStart = i + 1;
    }
    return bytes + name.mid(runStart).toUtf8();
}

PathKind pathKind(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(fileNameBytes(path).constData(), &info) != 0)
        return PathKind::Missing;
    if (S_ISREG(info.st_mode))
        return PathKind::File;
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}

bool isDanglingLink(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(fileNameBytes(path).constData(), &info) == 0 &&
           S_ISLNK(info.st_mode) && pathKind(path) == PathKind::Missing;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return !a.isEmpty() && !b.isEmpty() && ::stat(fileNameBytes(a).constData(), &first) == 0 &&
           ::stat(fileNameBytes(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString notAFileReason(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(fileNameBytes(path).constData(), &info) != 0)
        return QString();
    return notAFileReason(path, info.st_mode);
}

ReadableFile::ReadableFile(const QString& path) : path_(path) {
    const QByteArray name = fileNameBytes(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(name.constData(), &info) != 0) {
        if (path.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            fail(Problem::Missing, QString("Could not find file '%1'.").arg(path));
        else
            fail(Problem::CannotOpen,
                 QString("The file '%1' cannot be opened: %2").arg(path, systemReason()));
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        fail(Problem::NotAFile, notAFileReason(path, info.st_mode));
        return;
    }
    // O_NONBLOCK: a pipe put in the file's place meanwhile opens at once instead of
    // waiting for a writer; O_NOCTTY: a terminal put there does not become ours.
    fd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        fail(errno == ENOENT ? Problem::Missing : Problem::CannotOpen,
             QString("The file '%1' cannot be opened: %2").arg(path, systemReason()));
        return;
    }
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const mode_t mode = info.st_mode;
        ::close(fd_);
        fd_ = -1;
        fail(Problem::NotAFile, notAFileReason(path, mode));
        return;
    }
    // A file's reads do not wait on other programs; the descriptor reads as any other.
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

ReadableFile::~ReadableFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

void ReadableFile::fail(Problem problem, const QString& reason) {
    problem_ = problem;
    reason_ = reason;
}

std::optional<QByteArray> ReadableFile::read(qint64 size) {
    if (fd_ < 0)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd_, bytes.data() + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            fail(Problem::CannotOpen,
                 QString("The file '%1' cannot be read: %2").arg(path_, systemReason()));
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

std::unique_ptr<QFile> ReadableFile::take() {
    if (fd_ < 0)
        return nullptr;
    auto file = std::make_unique<QFile>(path_);
    if (!file->open(fd_, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        fail(Problem::CannotOpen,
             QString("The file '%1' cannot be opened: %2").arg(path_, file->errorString()));
        return nullptr;
    }
    fd_ = -1;
    return file;
}

bool createNewFile(const QString& path, QString& error) {
    const int fd =
        ::open(fileNameBytes(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = systemReason();
        return false;
    }
    ::close(fd);
    return true;
}

bool removeFile(const QString& path) {
    return ::unlink(fileNameBytes(path).constData()) == 0;
}

bool replaceFile(const QString& from, const QString& to, QString& error) {
    const QByteArray target = fileNameBytes(to);
    // A rename does not ask the file it replaces: one this user may not write stays, as
    // every write into it is refused.
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS)) {
        error = QStringLiteral("it is read-only");
        return false;
    }
    if (::rename(fileNameBytes(from).constData(), target.constData()) == 0)
        return true;
    error = systemReason();
    return false;
}

bool renameFile(const QString& from, const QString& to, QString& error) {
    const QByteArray source = fileNameBytes(from);
    const QByteArray target = fileNameBytes(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    // File systems that cannot refuse to replace: the check and the rename are separate.
    if (errno == EINVAL || errno == ENOSYS) {
        struct stat info {};
        if (::lstat(target.constData(), &info) == 0) {
            errno = EEXIST;
        } else if (::rename(source.constData(), target.constData()) == 0) {
            return true;
        }
    }
    error = systemReason();
    return false;
}

} // namespace kst
