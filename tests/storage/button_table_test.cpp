#include "storage/button_table.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

// One change to the reset table per case, and the first refusal it makes (or none).
TEST(ButtonTableValidate, TheFirstValueThatCannotBeStoredIsNamedWithItsBox) {
    const QString listMessage =
        "Invalid data: Hex code exceeds 2 digits, or no command code in between two (,) sign!";
    const struct {
        const char* what;
        std::function<void(ButtonTable&)> change;
        std::optional<Refusal> refusal;
    } cases[] = {
        {"the reset table", [](ButtonTable&) {}, std::nullopt},
        {"a Hex list with an empty item", [](ButtonTable& t) { t.rows[19].command = "1A,,"; },
         Refusal{19, int(ButtonField::Command), listMessage, MsgIcon::Exclamation, "Error:"}},
        {"a byte beyond FF", [](ButtonTable& t) { t.rows[0].command = "100,"; },
         Refusal{0, int(ButtonField::Command), listMessage, MsgIcon::Exclamation, "Error:"}},
        {"three digits of one byte", [](ButtonTable& t) { t.rows[0].command = "0FF,"; },
         std::nullopt},
        {"ASCII text is no list",
         [](ButtonTable& t) {
             t.notation = 1;
             t.rows[0].command = "1A,,";
         },
         std::nullopt},
        {"ASCII control codes are",
         [](ButtonTable& t) {
             t.notation = 1;
             t.rows[4].controlCodes = "D,,A,";
         },
         Refusal{4, int(ButtonField::ControlCodes), listMessage, MsgIcon::Exclamation, "Error:"}},
        {"Hex ignores hidden control codes",
         [](ButtonTable& t) { t.rows[4].controlCodes = "D,,A,"; }, std::nullopt},
        {"an empty caption", [](ButtonTable& t) { t.rows[0].caption = ""; },
         Refusal{0, int(ButtonField::Caption),
                 "Please enter at least 1 characters for Button1's caption"}},
        {"a caption of 3 characters", [](ButtonTable& t) { t.rows[31].caption = "ABC"; },
         std::nullopt},
        {"a long caption", [](ButtonTable& t) { t.rows[31].caption = "ABCD"; },
         Refusal{31, int(ButtonField::Caption),
                 "Please enter maximum 3 characters for Button32's caption"}},
        {"lists come before captions",
         [](ButtonTable& t) {
             t.rows[1].caption = "";
             t.rows[30].command = "G,";
         },
         Refusal{30, int(ButtonField::Command), listMessage, MsgIcon::Exclamation, "Error:"}},
        {"a delay of 65535", [](ButtonTable& t) { t.rows[0].delay = "65535"; }, std::nullopt},
        {"a delay of 65536", [](ButtonTable& t) { t.rows[0].delay = "65536"; },
         Refusal{0, int(ButtonField::Delay), "Maximum delay time is 65,535 ms, please try again!"}},
        {"an interval of 65536", [](ButtonTable& t) { t.rows[31].interval = "65536"; },
         Refusal{31, int(ButtonField::Interval),
                 "Maximum interval time is 65,535 ms, please try again!"}},
    };
    for (const auto& c : cases) {
        ButtonTable table = DefaultButtonTable();
        c.change(table);
        EXPECT_EQ(table.validate(), c.refusal) << c.what;
    }
}

} // namespace
