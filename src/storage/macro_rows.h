#pragma once

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

} // namespace kst
