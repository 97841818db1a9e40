#pragma once

#include "platform/runtime_error.h"
#include "storage/profile_readers.h"

#include <QChar>
#include <QString>

namespace kst {

// Where the rows of a macro stand in the steps' and the sub-routines' tables: step or
// sub-routine `index` (0-7) of macro `macro` (1-8) is the row with ID (macro-1)*8+index+1.
inline int MacroRowId(int macro, int index) {
    return (macro - 1) * 8 + index + 1;
}
// The query of the rows of macros `first` to `last` in `table`.
inline QString MacroRangeQuery(const QString& table, int first, int last) {
    return QStringLiteral("SELECT * FROM %1 WHERE ID BETWEEN %2 AND %3")
        .arg(table)
        .arg(MacroRowId(first, 0))
        .arg(MacroRowId(last, 7));
}
// The query of the 8 rows of a macro in `table`.
inline QString MacroRowsQuery(const QString& table, int macro) {
    return MacroRangeQuery(table, macro, macro);
}
// The query of one row of a macro.
inline QString MacroRowQuery(const QString& table, int macro, int index) {
    return QStringLiteral("SELECT * FROM %1 WHERE ID = %2")
        .arg(table)
        .arg(MacroRowId(macro, index));
}
// The letter that names row `index` within its macro in the default names: A .. H.
inline QChar MacroRowLetter(int index) {
    return QChar(u'A' + index);
}

// The two tables of a macro's rows.
enum class MacroPart { Step, SubRoutine };

inline QString MacroTable(MacroPart part) {
    return part == MacroPart::Step ? QStringLiteral("progMacrosSeq")
                                   : QStringLiteral("progMacrosSubRoutines");
}

// A row of a macro whose values cannot be read: the failure, with the step or sub-routine
// (`index`, 0-7) of macro `macro` (1-8) it stopped at.
class UnreadableMacroRow : public RunTimeError {
public:
    UnreadableMacroRow(const RunTimeError& failure, MacroPart part, int macro, int index)
        : RunTimeError(failure.number(), failure.description()), part(part), macro(macro),
          index(index) {}

    MacroPart part;
    int macro;
    int index;
};

// Whether a row failed for a value stored in it (of another kind than its column's,
// outside its list, empty where a value must be, beyond its range), which storing the row
// anew mends; not for a file out of reach or a row that is missing.
inline bool IsStoredValueFault(const RunTimeError& failure) {
    switch (failure.number()) {
    case err::TypeMismatch:
    case err::InvalidPropertyValue:
    case err::InvalidUseOfNull:
    case err::Overflow:
        return true;
    default:
        return false;
    }
}

// Reads the 8 rows of macro `macro` in the table of `part` (`index` < 0), or its row
// `index`, in order with read(row, index); a row that cannot be read raises
// UnreadableMacroRow naming it.
template <class Read>
void ReadMacroRows(const QString& connStr, MacroPart part, int macro, int index, Read read) {
    const QString table = MacroTable(part);
    const bool all = index < 0;
    ReadRows(all ? MacroRowsQuery(table, macro) : MacroRowQuery(table, macro, index), connStr,
             all ? 8 : 1, [&](const db::Recordset& rs, int k) {
                 const int at = all ? k : index;
                 try {
                     read(rs, at);
                 } catch (const UnreadableMacroRow&) {
                     throw;
                 } catch (const RunTimeError& e) {
                     throw UnreadableMacroRow(e, part, macro, at);
                 }
             });
}

} // namespace kst
