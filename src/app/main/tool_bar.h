#pragma once

#include <QList>
#include <QString>
#include <QToolBar>

class QAction;

namespace kst {

// The keyed buttons of the main toolbar, by their number.
enum class ToolButton : int {
    Save = 1,
    Help = 2,
    Connect = 4,
    AutoRespOnOff = 24,
    MacrosPlay = 29,
    MacrosPause = 30,
    MacrosStop = 31,
    MacrosContinue = 32,
};
// The key that names the button ("macrosPlay").
QString toolButtonKey(ToolButton button);

// The main toolbar: 32 numbered buttons. A keyed button shows a picture of the toolbar
// image list, and that picture number is state the handlers read (the Connect button acts
// on what it shows). Separators and placeholders have no key; the placeholders make room
// for the widgets placed on the toolbar.
class KeyedToolBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int ButtonCount = 32;

    explicit KeyedToolBar(QWidget* parent = nullptr);

    void addKeyedButton(ToolButton button, int image, const QString& toolTip);
    void addSeparatorAt(int index);
    // Placeholders first..last hold the given widget (or nothing).
    void addPlaceholders(int first, int last, QWidget* widget);

    // The button with this number (1..32) or key; nullptr for a separator, a placeholder
    // or an unknown key.
    QAction* button(int index) const;
    QAction* button(const QString& key) const;
    QAction* button(ToolButton button) const { return this->button(static_cast<int>(button)); }
    QString buttonKey(int index) const;

    int buttonImage(ToolButton button) const;
    void setButtonImage(ToolButton button, int image, const QString& toolTip);
    void setButtonEnabled(ToolButton button, bool enabled);

signals:
    // A click on an enabled keyed button.
    void buttonClick(ToolButton button);

private:
    struct Slot {
        QString key;
        QAction* action = nullptr;
        int image = 0;
    };
    QList<Slot> slots_;
};

} // namespace kst
