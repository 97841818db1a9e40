#pragma once

#include <QString>

namespace kst {

// Work files that the program holds while it uses them, so that another instance can
// tell a file in use from one that an instance killed part-way left behind. A hold is
// an advisory lock of the system on the open file: it ends when the file is closed or
// the process ends, however it ends, and it is apart from the locks the database engine
// takes on the same file.

// Holds the file open at `fd`, named `path`. False when another holds it, or when the
// name no longer leads to this file: another instance took it for left behind and
// removed it between its creation and this hold.
bool holdOpenFile(int fd, const QString& path);

// Removes the plain file at `path` when nobody holds it. It is held while it goes, so no
// one can take it up meanwhile. False when it stays: held, not a plain file (a link, a
// folder), or out of reach.
bool removeUnlessHeld(const QString& path);

} // namespace kst
