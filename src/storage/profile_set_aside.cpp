#include "profile_set_aside.h"

#include "platform/file_names.h"
#include "platform/runtime_error.h"

#include <QFileInfo>

namespace kst {

namespace {

// The first name beside `path` that nothing has: a file, a folder or a link.
QString freeNameBeside(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : '.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString mark = n == 1 ? QString(" (damaged)") : QString(" (damaged %1)").arg(n);
        const QString candidate = info.path() + '/' + info.completeBaseName() + mark + suffix;
        if (pathKind(candidate) == PathKind::Missing && !isDanglingLink(candidate))
            return candidate;
    }
}

} // namespace

QString SetProfileAside(const QString& path) {
    const QString aside = freeNameBeside(path);
    QString reason;
    if (!renameFile(path, aside, reason)) {
        throw RunTimeError(err::PermissionDenied,
                           QString("The damaged file '%1' cannot be renamed to '%2': %3.")
                               .arg(path, aside, reason));
    }
    return aside;
}

} // namespace kst
