#include "file_hold.h"

#include "file_names.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kst {

bool holdOpenFile(int fd, const QString& path) {
    // Whole-file locks of this kind belong to the open file, not to the process: closing
    // another descriptor of the file (the database engine's) leaves them in place.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(fileNameBytes(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool removeUnlessHeld(const QString& path) {
    const QByteArray name = fileNameBytes(path);
    // Not through a link, and without waiting on anything that is not a plain file.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool removed = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                         holdOpenFile(fd, path) && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

} // namespace kst
