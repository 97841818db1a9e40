#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// A piece of text in one style, as the log holds it. Colours are 0x00BBGGRR; a line
// ends with "\n" inside the text.
struct StyledRun {
    QString text;
    quint32 color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int pointSize = 8;

    bool sameStyle(const StyledRun& other) const {
        return color == other.color && bold == other.bold && italic == other.italic &&
               underline == other.underline && pointSize == other.pointSize;
    }
    bool operator==(const StyledRun&) const = default;
};

} // namespace kst
