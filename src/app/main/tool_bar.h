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

// The main toolbar: 32 numbered buttons, found by their key. A keyed button shows a
// picture of the toolbar image list, and that picture number is state the handlers read
// (the Connect button acts on what it shows). Separators and placeholders have no key;
// the placeholders make room for the widgets placed on the toolbar.
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
    QString buttonKey(int index) const;

    QAction* button(ToolButton button) const { return this->button(static_cast<int>(button)); }

    int buttonImage(const QString& key) const;
    void setButtonImage(const QString& key, int image, const QString& toolTip);
    void setButtonImage(ToolButton button, int image, const QString& toolTip) {
        setButtonImage(toolButtonKey(button), image, toolTip);
    }
    void setButtonEnabled(int index, bool enabled);
    void setButtonEnabled(ToolButton button, bool enabled) {
        setButtonEnabled(static_cast<int>(button), enabled);
    }

signals:
    // A click on an enabled keyed button.
    void buttonClick(const QString& key);

private:
    struct Slot {
        QString key;
        QAction* action = nullptr;
        int image = 0;
    };
    Slot* slotFor(const QString& key);
    const Slot* slotFor(const QString& key) const;

    QList<Slot> slots_;
};

} // namespace kst
