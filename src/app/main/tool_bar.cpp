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
    const QString key = toolButtonKey(button);
    QAction* action = addAction(pictures::toolbarImage(image), toolTip);
    action->setObjectName(QStringLiteral("Toolbar1_") + key);
    action->setToolTip(toolTip);
    connect(action, &QAction::triggered, this, [this, button] { emit buttonClick(button); });
    slots_[static_cast<int>(button)] = Slot{key, action, image};
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
    for (const Slot& slot : slots_) {
        if (!key.isEmpty() && slot.key == key)
            return slot.action;
    }
    return nullptr;
}

QString KeyedToolBar::buttonKey(int index) const {
    return index >= 1 && index <= ButtonCount ? slots_[index].key : QString();
}

int KeyedToolBar::buttonImage(ToolButton button) const {
    return slots_[static_cast<int>(button)].image;
}

void KeyedToolBar::setButtonImage(ToolButton button, int image, const QString& toolTip) {
    Slot& slot = slots_[static_cast<int>(button)];
    if (!slot.action)
        return;
    slot.image = image;
    slot.action->setIcon(pictures::toolbarImage(image));
    slot.action->setToolTip(toolTip);
    slot.action->setText(toolTip);
}

void KeyedToolBar::setButtonEnabled(ToolButton button, bool enabled) {
    if (QAction* action = this->button(button))
        action->setEnabled(enabled);
}

} // namespace kst
