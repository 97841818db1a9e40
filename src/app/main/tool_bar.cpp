#include "app/main/tool_bar.h"

#include "app/main/pictures.h"

#include <QAction>

namespace kst {

QString toolButtonKey(ToolButton button) {
    switch (button) {
    case ToolButton::Save:
        return QStringLiteral("Save");
    case ToolButton::Help:
        return QStringLiteral("Help");
    case ToolButton::Connect:
        return QStringLiteral("Connect");
    case ToolButton::AutoRespOnOff:
        return QStringLiteral("AutoRespOnOff");
    case ToolButton::MacrosPlay:
        return QStringLiteral("macrosPlay");
    case ToolButton::MacrosPause:
        return QStringLiteral("macrosPause");
    case ToolButton::MacrosStop:
        return QStringLiteral("macrosStop");
    case ToolButton::MacrosContinue:
        return QStringLiteral("macrosContinue");
    }
    return QString();
}

KeyedToolBar::KeyedToolBar(QWidget* parent) : QToolBar(parent), slots_(ButtonCount + 1) {
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void KeyedToolBar::addKeyedButton(ToolButton button, int image, const QString& toolTip) {
    const int index = static_cast<int>(button);
    const QString key = toolButtonKey(button);
    QAction* action = addAction(pictures::toolbarImage(image), toolTip);
    action->setObjectName(QStringLiteral("Toolbar1_") + key);
    action->setToolTip(toolTip);
    connect(action, &QAction::triggered, this, [this, key] { emit buttonClick(key); });
    slots_[index] = Slot{key, action, image};
}

void KeyedToolBar::addSeparatorAt(int index) {
    Q_ASSERT(index >= 1 && index <= ButtonCount);
    slots_[index] = Slot{QString(), addSeparator(), 0};
}

void KeyedToolBar::addPlaceholders(int first, int last, QWidget* widget) {
    for (int index = first; index <= last; ++index)
        slots_[index] = Slot{};
    if (widget)
        addWidget(widget);
}

QAction* KeyedToolBar::button(int index) const {
    if (index < 1 || index > ButtonCount || slots_[index].key.isEmpty())
        return nullptr;
    return slots_[index].action;
}

QAction* KeyedToolBar::button(const QString& key) const {
    const Slot* slot = slotFor(key);
    return slot ? slot->action : nullptr;
}

QString KeyedToolBar::buttonKey(int index) const {
    return index >= 1 && index <= ButtonCount ? slots_[index].key : QString();
}

int KeyedToolBar::buttonImage(const QString& key) const {
    const Slot* slot = slotFor(key);
    return slot ? slot->image : 0;
}

void KeyedToolBar::setButtonImage(const QString& key, int image, const QString& toolTip) {
    Slot* slot = slotFor(key);
    if (!slot)
        return;
    slot->image = image;
    slot->action->setIcon(pictures::toolbarImage(image));
    slot->action->setToolTip(toolTip);
    slot->action->setText(toolTip);
}

void KeyedToolBar::setButtonEnabled(int index, bool enabled) {
    if (QAction* action = button(index))
        action->setEnabled(enabled);
}

KeyedToolBar::Slot* KeyedToolBar::slotFor(const QString& key) {
    if (key.isEmpty())
        return nullptr;
    for (Slot& slot : slots_) {
        if (slot.key == key)
            return &slot;
    }
    return nullptr;
}

const KeyedToolBar::Slot* KeyedToolBar::slotFor(const QString& key) const {
    return const_cast<KeyedToolBar*>(this)->slotFor(key);
}

} // namespace kst
