#pragma once

#include "form_layout.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace kst {

// The layout routines' view of a window: each control is found by its object name among
// the window's descendants, and its geometry is read and written in twips.
class WidgetSurface : public TwipsSurface {
public:
    explicit WidgetSurface(QWidget* root) : root_(root) {}

protected:
    int read(const QString& control, Prop prop) const override;
    void write(const QString& control, Prop prop, int twips) override;

private:
    QWidget* find(const QString& control) const;

    QWidget* root_;
    mutable QHash<QString, QPointer<QWidget>> cache_;
};

} // namespace kst
