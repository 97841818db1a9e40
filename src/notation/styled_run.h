#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// How a run of the log looks. Colours are 0x00BBGGRR.
struct RunStyle {
    quint32 color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int pointSize = 8;

    bool operator==(const RunStyle&) const = default;
};

// A piece of text in one style, as the log holds it; a line ends with "\n" inside the
// text.
struct StyledRun {
    QString text;
    RunStyle style;

    bool operator==(const StyledRun&) const = default;
};

} // namespace kst
