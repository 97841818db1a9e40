#pragma once

#include <QStringList>
#include <functional>

namespace kst::test {

// Runs `part`, a piece of a test whose checks hold only for an ordinary user (the
// system grants root every permission). Run by an ordinary user, it runs here. Run as
// root, it runs in a child process that first becomes the user `nobody`; the files and
// folders in `reach` (with everything in them) are handed to that user beforehand, so
// the child can use them as their owner. The child's failures are reported as they
// happen and fail the test.
void asOrdinaryUser(const QStringList& reach, const std::function<void()>& part);

} // namespace kst::test
