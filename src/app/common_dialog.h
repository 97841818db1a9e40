#pragma once

#include "platform/services.h"

#include <optional>

namespace kst {

// The main window's one file dialog, shared by every file command: each command sets
// the properties it needs; the others stay as the previous use left them, and the file
// and filter chosen are remembered for the next use.
class CommonDialog {
public:
    FileDialogRequest properties;

    std::optional<ChosenFile> showOpen() {
        return remember(Platform::fileDialogs().showOpen(properties));
    }
    std::optional<ChosenFile> showSave() {
        return remember(Platform::fileDialogs().showSave(properties));
    }

private:
    std::optional<ChosenFile> remember(std::optional<ChosenFile> chosen) {
        if (chosen) {
            properties.fileName = chosen->fileName;
            if (chosen->filterIndex > 0)
                properties.filterIndex = chosen->filterIndex;
        }
        return chosen;
    }
};

} // namespace kst
