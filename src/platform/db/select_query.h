#pragma once

#include <QString>
#include <QtGlobal>

namespace kst::db {

// The queries the profile code runs, and only those:
//   SELECT * FROM <table>
//   SELECT * FROM <table> WHERE <column> = <n>
//   SELECT * FROM <table> WHERE <column> BETWEEN <a> AND <b>
// Keywords in any case, blanks free, a table or column name plain or in [brackets],
// an optional final ";". Anything else raises err::SyntaxError.
struct SelectQuery {
    enum class Filter { All, Equals, Between };

    QString table;
    Filter filter = Filter::All;
    QString column;
    qint64 first = 0;
    qint64 last = 0;

    static SelectQuery parse(const QString& sql);
};

} // namespace kst::db
