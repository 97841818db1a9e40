#include "macro_reset.h"

#include "columns/prog_macros_seq_columns.h"
#include "platform/db/recordset.h"
#include "storage/macro_rows.h"
#include "storage/macro_step_table.h"
#include "storage/sub_routine_table.h"

namespace kst {

void ResetMacros(const QString& settingsConnStr, int first, int last) {
    db::Recordset rs;
    rs.open(MacroRangeQuery(MacroTable(MacroPart::SubRoutine), first, last), settingsConnStr);
    rs.beginTrans();
    // Each row is written in place: a table shorter than the range fails at its end.
    const auto writeRows = [&](const auto& storeDefault) {
        rs.moveFirst();
        for (int macro = first; macro <= last; ++macro) {
            for (int index = 0; index < 8; ++index) {
                storeDefault(macro, index);
                rs.moveNext();
            }
        }
    };
    writeRows([&](int m, int k) { StoreSubRoutine(rs, DefaultSubRoutineRow(m, k)); });
    rs.reopen(MacroRangeQuery(MacroTable(MacroPart::Step), first, last));
    writeRows([&](int m, int k) { StoreMacroStep(rs, DefaultMacroStepRow(m, k)); });
    rs.reopen(QStringLiteral("SELECT * FROM progMacrosSeq WHERE ID = 1"));
    rs.moveFirst();
    rs.setValue(ProgMacrosSeqColumn::hexFormat, db::Value(static_cast<qint64>(0)));
    rs.commitTrans();
    rs.close();
}

} // namespace kst
