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

std::optional<QByteArray> readFileStart(const QString& path, qint64 size, QString& error) {
    const int fd = ::open(fileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemReason();
        return std::nullopt;
    }
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = systemReason();
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    bytes.truncate(done);
    return bytes;
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
    if (::rename(fileNameBytes(from).constData(), fileNameBytes(to).constData()) == 0)
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
