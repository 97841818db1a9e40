#pragma once

#include "platform/services.h"

#include <QString>
#include <optional>

namespace kst {

// A message box that a check or a calculation asks for: the logic decides the words,
// the window shows it.
struct Notice {
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title = appTitle();

    void show() const { msgBox(text, icon, MsgButtons::Ok, title); }
    bool operator==(const Notice&) const = default;
};

// Shows the refusal of a check, if there is one; true when the check passed.
inline bool passes(const std::optional<Notice>& refusal) {
    if (refusal)
        refusal->show();
    return !refusal;
}

} // namespace kst
