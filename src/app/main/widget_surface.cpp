#include "app/main/widget_surface.h"

#include "app/main/controls.h"

#include <array>

namespace kst {

namespace {

// A control's geometry in pixels, in the order of Prop; a control that is no line has
// its end points at 0.
using Geometry = std::array<int, 8>;

Geometry geometryOf(const QWidget& widget) {
    const auto* line = qobject_cast<const LineControl*>(&widget);
    if (!line)
        return {widget.x(), widget.y(), widget.width(), widget.height(), 0, 0, 0, 0};
    return {widget.x(), widget.y(), widget.width(), widget.height(),
            line->x1(), line->x2(), line->y1(),     line->y2()};
}

} // namespace

QWidget* WidgetSurface::find(const QString& control) const {
    QWidget* widget = controls_.value(control);
    Q_ASSERT_X(widget, "WidgetSurface", qPrintable(control));
    return widget;
}

int WidgetSurface::read(const QString& control, Prop prop) const {
    const QWidget* widget = find(control);
    return widget ? toTwips(geometryOf(*widget)[static_cast<size_t>(prop)]) : 0;
}

void WidgetSurface::write(const QString& control, Prop prop, int twips) {
    QWidget* widget = find(control);
    if (!widget)
        return;
    Geometry geometry = geometryOf(*widget);
    geometry[static_cast<size_t>(prop)] = toPixels(twips);
    const auto [left, top, width, height, x1, x2, y1, y2] = geometry;
    if (prop < Prop::X1)
        widget->setGeometry(left, top, width, height);
    else if (auto* line = qobject_cast<LineControl*>(widget))
        line->setPoints(x1, y1, x2, y2);
}

} // namespace kst
