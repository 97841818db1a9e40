#pragma once

#include "notation/styled_run.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace kst {

// The runs as a rich-text (RTF) document that word processors read with its colours,
// styles and sizes. Every character survives: the markup's own characters are escaped,
// and anything beyond ASCII (control characters included) is written as an escape.
QByteArray WriteRtf(const std::vector<StyledRun>& runs, const QString& fontName);

// The text and styles of a rich-text document, written here or by another program.
// Groups it does not know are skipped, and so are the N bytes of data after "\binN";
// "\uN" and "\'hh" escapes are decoded. Nothing when the bytes are no RTF document.
std::optional<std::vector<StyledRun>> ReadRtf(const QByteArray& rtf);

// Whether the bytes are an RTF document (they begin with "{\rtf", blanks aside).
bool IsRtf(const QByteArray& bytes);

} // namespace kst
