#include "app/main/form_layout.h"

#include <array>

namespace kst {

namespace {

const QString F = QStringLiteral("frMonitoring");

struct LedPlace {
    const char* control;
    int offset;
};

// The LED row from left to right; the offsets are from the monitoring frame's left edge.
constexpr std::array<LedPlace, 18> LedRow = {{{"lblRX", 0},
                                              {"imgRX", 285},
                                              {"lblTX", 570},
                                              {"imgTX", 855},
                                              {"lblDSR", 1140},
                                              {"imgDSR", 1560},
                                              {"lblCTS", 1800},
                                              {"imgCTS", 2220},
                                              {"lblCD", 2450},
                                              {"imgCD", 2870},
                                              {"lblRI", 3125},
                                              {"imgRI", 3410},
                                              {"lblDTR", 3780},
                                              {"imgDTR", 4170},
                                              {"lblRTS", 4410},
                                              {"imgRTS", 4830},
                                              {"lblBRK", 5130},
                                              {"imgBRK", 5490}}};
constexpr int Line3Offset = 3725;
constexpr int DescriptionOffset = 6735;

// Label then image of every LED, in the order the resize sets their tops.
constexpr std::array<const char*, 18> LedTopOrder = {
    "lblRX",  "imgRX",  "lblTX",  "imgTX", "lblDTR", "imgDTR", "lblDSR", "imgDSR", "lblRTS",
    "imgRTS", "lblCTS", "imgCTS", "lblCD", "imgCD",  "lblRI",  "imgRI",  "lblBRK", "imgBRK"};

int bottomOf(const TwipsSurface& form, const QString& control) {
    return form.get(control, Prop::Top) + form.get(control, Prop::Height);
}

} // namespace

void TwipsSurface::set(const QString& control, Prop prop, int twips) {
    if ((prop == Prop::Width || prop == Prop::Height) && twips < 0)
        return;
    write(control, prop, twips);
}

bool isCompactScreen(QSize screenPixels) {
    return screenPixels.height() < 700 || screenPixels.width() < 950;
}

void resizePanes(TwipsSurface& form, int H, int S) {
    form.set("SSTab1", Prop::Height, H - S - form.get("SSTab1", Prop::Top) - 100);
    form.set("ListView1", Prop::Height, form.get("SSTab1", Prop::Height) - 550);
    form.set("RichTextBox1", Prop::Height, form.get("ListView1", Prop::Height) - 500);
    form.set("cmdSaveNotes", Prop::Top, bottomOf(form, "RichTextBox1") + 100);
    form.set("cmdClearNotes", Prop::Top, form.get("cmdSaveNotes", Prop::Top));
    form.set(F, Prop::Height, H - S - form.get(F, Prop::Top) - 400);
    form.set("responseBox", Prop::Height, H - S - form.get("responseBox", Prop::Top) - 1100);
    for (const char* control : LedTopOrder)
        form.set(control, Prop::Top, bottomOf(form, F) + 60);
    form.set("ProgressBar1", Prop::Top, form.get("imgBRK", Prop::Top));
    form.set("Line3", Prop::Y1, bottomOf(form, F) + 60);
    form.set("Line3", Prop::Y2, bottomOf(form, F) + 260);
    form.set("lblDescription", Prop::Top, bottomOf(form, F) + 60);
}

void placeLedRow(TwipsSurface& form, int L) {
    for (const LedPlace& led : LedRow)
        form.set(led.control, Prop::Left, L + led.offset);
    form.set("Line3", Prop::X1, L + Line3Offset);
    form.set("Line3", Prop::X2, L + Line3Offset);
    form.set("ProgressBar1", Prop::Left, form.get("imgBRK", Prop::Left) + 450);
    form.set("lblDescription", Prop::Left, L + DescriptionOffset);
}

void placeLogControls(TwipsSurface& form, bool hidden, int H, int S) {
    const int T = form.get("frSend", Prop::Top);
    const int B = bottomOf(form, "frSend");
    if (hidden) {
        form.set("Frame2", Prop::Top, T);
        form.set("Label2", Prop::Top, T + 60);
        form.set("lblSearchResult", Prop::Top, T + 60);
        form.set("Text2", Prop::Top, T + 60);
        form.set("cmdSearch", Prop::Top, T + 30);
        form.set("Check1", Prop::Top, form.get("Label2", Prop::Top) + 450);
        form.set("Check2", Prop::Top, form.get("Check1", Prop::Top));
        form.set("Check3", Prop::Top, form.get("Check1", Prop::Top));
        form.set("CbTimer", Prop::Top, form.get("Text2", Prop::Top) + 410);
        form.set("Clear", Prop::Top, form.get("cmdSearch", Prop::Top) + 410);
        form.set("responseBox", Prop::Top, form.get("Frame2", Prop::Top) + 840);
    } else {
        form.set("Frame2", Prop::Top, B + 180);
        form.set("responseBox", Prop::Top, B + 1000);
        form.set("Label2", Prop::Top, B + 150);
        form.set("lblSearchResult", Prop::Top, form.get("Label2", Prop::Top));
        form.set("Text2", Prop::Top, B + 150);
        form.set("cmdSearch", Prop::Top, B + 150);
        form.set("Check1", Prop::Top, B + 600);
        form.set("Check2", Prop::Top, form.get("Check1", Prop::Top));
        form.set("Check3", Prop::Top, form.get("Check1", Prop::Top));
        form.set("CbTimer", Prop::Top, B + 600);
        form.set("Clear", Prop::Top, B + 600);
    }
    form.set("responseBox", Prop::Height, H - S - form.get("responseBox", Prop::Top) - 1100);
}

void compactPanes(TwipsSurface& form, int H, int S) {
    form.set(F, Prop::Left, form.get("SSTab1", Prop::Left));
    form.set(F, Prop::Height, H - S - form.get(F, Prop::Top) - 200);
    form.set("responseBox", Prop::Height, H - S - form.get("responseBox", Prop::Top) - 1100);
}

int monitoringLeftBesidePane(const TwipsSurface& form) {
    return form.get("SSTab1", Prop::Left) + form.get("SSTab1", Prop::Width) + 150;
}

int windowWidthForMonitoring(const TwipsSurface& form) {
    return form.get(F, Prop::Left) + form.get(F, Prop::Width) + 200;
}

} // namespace kst
