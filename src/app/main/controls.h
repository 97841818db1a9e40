#pragma once

#include <QColor>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QComboBox;
class QTabBar;

namespace kst {

// Colours are stored as the program has always written them: &HBBGGRR, or a system
// colour with the high bit set (&H80000000 scroll bar, &H80000007 menu text,
// &H80000012 button text).
namespace syscolor {
constexpr quint32 ScrollBar = 0x80000000u;
constexpr quint32 MenuText = 0x80000007u;
constexpr quint32 ButtonText = 0x80000012u;
} // namespace syscolor
QColor toQColor(quint32 storedColor);

// A straight line drawn on its container between (X1, Y1) and (X2, Y2), in pixels of
// the container. It takes no mouse input.
class LineControl : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent = nullptr);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setPoints(int x1, int y1, int x2, int y2);
    void setX1(int v) { setPoints(v, y1_, x2_, y2_); }
    void setY1(int v) { setPoints(x1_, v, x2_, y2_); }
    void setX2(int v) { setPoints(x1_, y1_, v, y2_); }
    void setY2(int v) { setPoints(x1_, y1_, x2_, v); }

    quint32 borderColor() const { return borderColor_; }
    void setBorderColor(quint32 storedColor);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    quint32 borderColor_ = syscolor::MenuText;
};

// A picture that can be clicked (the LEDs). Copying another image's picture keeps the
// same pixmap, so a test can tell which picture an image shows. A disabled image takes
// no click but shows its picture as it is: an LED keeps its colour.
class ImageControl : public QLabel {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);
    const QPixmap& picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// Gives a list box of the design a narrow drop-down arrow and thin margins, so the
// texts the design was drawn for ("10000 ms") fit the width it has.
void useCompactArrow(QComboBox* list);

// A tab control whose pages cover the whole control, tab row included, so the controls
// of a page are placed in the coordinates of the tab control itself.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    QWidget* addPage(const QString& caption);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    QTabBar* tabs_;
    QList<QWidget*> pages_;
};

} // namespace kst
