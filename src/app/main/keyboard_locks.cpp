#include "app/main/keyboard_locks.h"

#include <QGuiApplication>

#ifdef KST_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace kst {

std::optional<KeyboardLocks> keyboardLocks() {
#ifdef KST_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->display()) {
        unsigned int state = 0;
        if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) == Success)
            return KeyboardLocks{(state & 0x01u) != 0, (state & 0x02u) != 0};
    }
#endif
    return std::nullopt;
}

} // namespace kst
