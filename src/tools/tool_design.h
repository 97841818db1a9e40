#pragma once

#include "platform/twips.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

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

} // namespace kst
