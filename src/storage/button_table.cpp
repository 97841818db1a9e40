#include "button_table.h"

#include "columns/prog_buttons_columns.h"
#include "platform/db/recordset.h"
#include "storage/field_values.h"

namespace kst {

namespace {

const QString Query = QStringLiteral("SELECT * FROM ProgButtons");

} // namespace

ButtonTable ReadButtonTable(const QString& settingsConnStr) {
    namespace C = ProgButtonsColumn;
    ButtonTable table;
    db::Recordset rs;
    rs.open(Query, settingsConnStr);
    rs.moveFirst();
    table.notation = rs.value(C::hexformat).isNull() || rs.value(C::hexformat).toText() != "0";
    for (size_t i = 0; i < table.rows.size(); ++i) {
        ButtonRow& row = table.rows[i];
        const QString button = QStringLiteral("button %1").arg(i + 1);
        row.caption = rs.value(C::keyCaption).toText();
        row.command = rs.value(C::keyCodes).toText();
        row.controlCodes = rs.value(C::strASCIICtrl).toText();
        row.delay = rs.value(C::keyDelay).toText();
        row.repeat = rs.value(C::keyRepeat).toText();
        row.interval = rs.value(C::keyInterval).toText();
        row.chain = listPosition(rs, C::chain, 33, button);
        row.signal = listPosition(rs, C::signals_, 10, button);
        rs.moveNext();
    }
    rs.close();
    return table;
}

void WriteButtonTable(const QString& settingsConnStr, const ButtonTable& table) {
    namespace C = ProgButtonsColumn;
    db::Recordset rs;
    rs.open(Query, settingsConnStr);
    rs.beginTrans();
    rs.moveFirst();
    rs.setValue(C::hexformat, db::Value(static_cast<qint64>(table.notation)));
    for (const ButtonRow& row : table.rows) {
        rs.setValue(C::keyCaption, db::Value(row.caption));
        rs.setValue(C::keyCodes, db::Value(row.command));
        rs.setValue(C::strASCIICtrl, db::Value(row.controlCodes));
        rs.setValue(C::keyDelay, storedNumber(row.delay));
        rs.setValue(C::keyRepeat, storedNumber(row.repeat));
        rs.setValue(C::keyInterval, storedNumber(row.interval));
        rs.setValue(C::chain, db::Value(static_cast<qint64>(row.chain)));
        rs.setValue(C::signals_, db::Value(static_cast<qint64>(row.signal)));
        rs.moveNext();
    }
    rs.commitTrans();
    rs.close();
}

std::optional<Refusal> ButtonTable::checkField(int row, ButtonField field, const QString& text,
                                               int notation) {
    const auto at = static_cast<int>(field);
    switch (field) {
    case ButtonField::Command:
    case ButtonField::ControlCodes:
        // The list of the notation shown: the command in Hex, the control codes in ASCII.
        if ((field == ButtonField::Command) != (notation == 0))
            return std::nullopt;
        return hexListRefusal(row, at, text,
                              QStringLiteral("Invalid data: Hex code exceeds 2 digits, or no "
                                             "command code in between two (,) sign!"));
    case ButtonField::Delay:
    case ButtonField::Interval:
        return waitRefusal(row, at, text, field == ButtonField::Delay);
    default:
        return std::nullopt;
    }
}

std::optional<Refusal> ButtonTable::firstBadList() const {
    const ButtonField list = notation == 0 ? ButtonField::Command : ButtonField::ControlCodes;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ButtonRow& r = rows[static_cast<size_t>(i)];
        if (auto refusal =
                checkField(i, list, notation == 0 ? r.command : r.controlCodes, notation))
            return refusal;
    }
    return std::nullopt;
}

std::optional<Refusal> ButtonTable::validate() const {
    if (auto refusal = firstBadList())
        return refusal;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const QString& caption = rows[static_cast<size_t>(i)].caption;
        if (!caption.isEmpty() && caption.size() <= CaptionLength)
            continue;
        return Refusal{
            i, static_cast<int>(ButtonField::Caption),
            caption.isEmpty()
                ? QStringLiteral("Please enter at least 1 characters for Button%1's caption")
                      .arg(i + 1)
                : QStringLiteral("Please enter maximum 3 characters for Button%1's caption")
                      .arg(i + 1)};
    }
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ButtonRow& r = rows[static_cast<size_t>(i)];
        for (const auto& [field, text] :
             {std::pair{ButtonField::Delay, r.delay}, std::pair{ButtonField::Interval, r.interval}})
            if (auto refusal = checkField(i, field, text, notation))
                return refusal;
    }
    return std::nullopt;
}

ButtonTable DefaultButtonTable() {
    ButtonTable table;
    for (int i = 0; i < 32; ++i) {
        ButtonRow& row = table.rows[static_cast<size_t>(i)];
        row.caption = QString::number(i + 1);
        row.command = QString::number(i + 32, 16).toUpper() + u',';
        row.delay = row.repeat = row.interval = QStringLiteral("0");
    }
    return table;
}

} // namespace kst
