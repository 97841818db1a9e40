#pragma once

#include "app/main/form_layout.h"

#include <QHash>
#include <QWidget>

namespace kst {

// The layout routines' view of a window: the controls the window registered under
// their object names, their geometry read and written in twips.
class WidgetSurface : public TwipsSurface {
public:
    void add(const QString& control, QWidget* widget) { controls_.insert(control, widget); }

protected:
    int read(const QString& control, Prop prop) const override;
    void write(const QString& control, Prop prop, int twips) override;

private:
    QWidget* find(const QString& control) const;

    QHash<QString, QWidget*> controls_;
};

} // namespace kst
