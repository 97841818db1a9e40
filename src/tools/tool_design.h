#pragma once

#include "platform/twips.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QFocusEvent;
class QLineEdit;
class QRadioButton;
class QTreeWidget;

// What the calculator's two places and the tool windows build alike: controls placed in
// twips under their object names, and the option arrays of notations and operators.
namespace kst {

// The object name of element `index` of a control array: "name(index)".
QString elementName(const QString& array, int index);

// Names the widget and places it in twips relative to its container.
template <class W>
W* placed(W* widget, const QString& name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    return widget;
}

// The first `count` notation options "Dec", "Hex", "Oct", "Bin", "ASCII" in one row of a
// frame, at `top`; the index is the NotationCode.
template <std::size_t Count>
std::array<QRadioButton*, Count> makeNotationOptions(QWidget* frame, const QString& array, int top,
                                                     int height);

// The calculator's operator options in their three rows of a frame; the index is the
// CalcOperator, so element 8 stays empty.
std::array<QRadioButton*, 11> makeOperatorOptions(QWidget* frame, const QString& array);

// A read-only chart of codes in report view: one row per code, narrow number columns
// and a wide last one.
void setUpChart(QTreeWidget* chart, const QStringList& columns);

// The face the windows were drawn for: 8 points, semi-condensed, so the captions stay
// inside their controls where the system's sans face is wider.
void useDesignFont(QWidget* window);

// The focus colour of an input field: yellow while it has the focus, white otherwise.
void highlightField(QWidget* field, bool on);

// Selects the whole text of a field that has just taken the focus, once the click that
// gave it the focus has placed the caret (a mouse press would otherwise drop the selection).
void selectAllOnFocus(QLineEdit* field);

// Whether a field that lost the focus has been left. A popup or another window (a message
// box, the main window) takes the focus only for a while: the field keeps it within its
// own window, and checking it then would stack a box on the box.
bool fieldLeft(const QFocusEvent& event);

} // namespace kst
