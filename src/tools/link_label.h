#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace kst {

// Makes a label a hyperlink: while the mouse is over it the label takes the hover colour
// (and, when asked, underline and bold) and the hand cursor, while a button is down on it
// the pressed colour, and a left click on it opens LinkPath with the desktop's opener.
// A link that cannot be opened is told to the user. The object follows the label's own
// mouse events; the window only creates it and sets its properties. Colours are written
// as the program stores them, &HBBGGRR, and are black until set.
class LinkLabel : public QObject {
    Q_OBJECT
public:
    explicit LinkLabel(QLabel* label);

    QLabel* linkLabel() const { return label_; }
    const QString& linkPath() const { return linkPath_; }
    void setLinkPath(const QString& path) { linkPath_ = path; }
    // Each takes effect at the next change of state.
    void setNormalColor(quint32 color) { normalColor_ = color; }
    void setHoverColor(quint32 color) { hoverColor_ = color; }
    void setPressedColor(quint32 color) { pressedColor_ = color; }
    void setHoverUnderline(bool on) { hoverUnderline_ = on; }
    void setHoverBold(bool on) { hoverBold_ = on; }

    bool isHover() const { return hover_; }
    bool isPressed() const { return pressed_; }

signals:
    void MouseOverLink();
    void MouseOffLink();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetLinkState(bool hover, bool pressed);
    void OpenLink(const QString& path);
    bool inside(QEvent* event) const;

    QLabel* label_;
    QString linkPath_;
    quint32 normalColor_ = 0;
    quint32 hoverColor_ = 0;
    quint32 pressedColor_ = 0;
    bool hoverUnderline_ = false;
    bool hoverBold_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    // The press was the second of a double click, whose first click opened the link.
    bool secondPress_ = false;
};

} // namespace kst
