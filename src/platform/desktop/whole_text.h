#pragma once

class QLabel;
class QString;

namespace kst {

// Shows `text` in a label whose room was laid out for a shorter one (a count that grew to
// millions): the label's font shrinks, from its container's, until the text fits whole,
// lines wrapped at spaces; a text that fits keeps the container's font.
void showTextWhole(QLabel* label, const QString& text);

} // namespace kst
