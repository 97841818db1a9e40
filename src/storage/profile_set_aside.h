#pragma once

#include <QString>

namespace kst {

// Moves a damaged profile out of the way without deleting it: the file is renamed
// beside itself to "<name> (damaged).kst", or "(damaged 2)" and so on when that name
// is taken, and keeps its bytes. Returns the new path; raises err::PermissionDenied,
// naming the file and the cause, when it cannot be renamed.
QString SetProfileAside(const QString& path);

} // namespace kst
