#include "app/main/widget_surface.h"

#include "app/main/controls.h"

namespace kst {

QWidget* WidgetSurface::find(const QString& control) const {
    QWidget* widget = controls_.value(control);
    Q_ASSERT_X(widget, "WidgetSurface", qPrintable(control));
    return widget;
}

int WidgetSurface::read(const QString& control, Prop prop) const {
    QWidget* widget = find(control);
    if (!widget)
        return 0;
    auto* line = qobject_cast<LineControl*>(widget);
    switch (prop) {
    case Prop::Left:
        return toTwips(widget->x());
    case Prop::Top:
        return toTwips(widget->y());
    case Prop::Width:
        return toTwips(widget->width());
    case Prop::Height:
        return toTwips(widget->height());
    case Prop::X1:
        return line ? toTwips(line->x1()) : 0;
    case Prop::X2:
        return line ? toTwips(line->x2()) : 0;
    case Prop::Y1:
        return line ? toTwips(line->y1()) : 0;
    case Prop::Y2:
        return line ? toTwips(line->y2()) : 0;
    }
    return 0;
}

void WidgetSurface::write(const QString& control, Prop prop, int twips) {
    QWidget* widget = find(control);
    if (!widget)
        return;
    const int pixels = toPixels(twips);
    auto* line = qobject_cast<LineControl*>(widget);
    switch (prop) {
    case Prop::Left:
        widget->move(pixels, widget->y());
        break;
    case Prop::Top:
        widget->move(widget->x(), pixels);
        break;
    case Prop::Width:
        widget->resize(pixels, widget->height());
        break;
    case Prop::Height:
        widget->resize(widget->width(), pixels);
        break;
    case Prop::X1:
        if (line)
            line->setX1(pixels);
        break;
    case Prop::X2:
        if (line)
            line->setX2(pixels);
        break;
    case Prop::Y1:
        if (line)
            line->setY1(pixels);
        break;
    case Prop::Y2:
        if (line)
            line->setY2(pixels);
        break;
    }
}

} // namespace kst
