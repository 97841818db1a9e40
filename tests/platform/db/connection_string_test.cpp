#include "platform/db/connection_string.h"
#include "platform/db/errors.h"
#include "platform/db/select_query.h"
#include "platform/file_names.h"

#include <gtest/gtest.h>

using kst::RunTimeError;
using namespace kst::db;

TEST(ConnectionString, TakesPathAndPasswordEvenWhenThePathHoldsSeparators) {
    struct Case {
        QString text;
        QString path;
        QString password;
    } cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/Device1.kst; JET OLEDB:Database "
         "password = tovrasiL",
         "/p/Device1.kst", "tovrasiL"},
        // A path may hold ";" and "=" (and even the key of the data source).
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a;b=c/Data Source=x.kst; JET "
         "OLEDB:Database password = pw",
         "/a;b=c/Data Source=x.kst", "pw"},
        // Keys in any case, other blanks.
        {"provider=x;DATA SOURCE = /q/r.kst;jet oledb:database password=5813046", "/q/r.kst",
         "5813046"},
        // No password given.
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/q/r.kst", "/q/r.kst", ""},
        // A password with "=" and ";" in it is taken whole.
        {"Data Source=/x; JET OLEDB:Database password = a=b;c", "/x", "a=b;c"},
    };
    for (const auto& c : cases) {
        const ConnectionInfo info = ConnectionInfo::parse(c.text);
        EXPECT_EQ(info.dataSource, c.path) << c.text.toStdString();
        EXPECT_EQ(info.password, c.password) << c.text.toStdString();
    }
}

TEST(ConnectionString, BuildsTheStringThatParsesBack) {
    const ConnectionInfo info{"/dir with; odd=chars/Device 1.kst", "tovrasiL"};
    EXPECT_EQ(info.toString(), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/dir with; "
                               "odd=chars/Device 1.kst; JET OLEDB:Database password = tovrasiL");
    EXPECT_EQ(ConnectionInfo::parse(info.toString()), info);
    // A file name that is not UTF-8 keeps its bytes through the string.
    const ConnectionInfo latin{kst::fileNameFromBytes("/Ger\xe4te/\xff.kst"), "tovrasiL"};
    EXPECT_EQ(ConnectionInfo::parse(latin.toString()), latin);
}

TEST(ConnectionString, WithoutADataSourceIsRefused) {
    for (const char* text : {"", "Provider=Microsoft.Jet.OLEDB.4.0",
                             "Data Source=; JET "
                             "OLEDB:Database password = x"}) {
        try {
            ConnectionInfo::parse(text);
            ADD_FAILURE() << text;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::CannotOpen) << text;
        }
    }
}

TEST(SelectQuery, AcceptsTheFormsTheProfileCodeWrites) {
    struct Case {
        const char* sql;
        QString table;
        SelectQuery::Filter filter;
        qint64 first;
        qint64 last;
    } cases[] = {
        {"SELECT * FROM Settings", "Settings", SelectQuery::Filter::All, 0, 0},
        {"select * from [progButtons];", "progButtons", SelectQuery::Filter::All, 0, 0},
        {"SELECT * FROM progMacrosSeq WHERE ID BETWEEN 17 AND 24", "progMacrosSeq",
         SelectQuery::Filter::Between, 17, 24},
        {"SELECT * FROM progMacrosSeq WHERE ID = 9", "progMacrosSeq", SelectQuery::Filter::Equals,
         9, 9},
        // Concatenated without a blank after "=".
        {"SELECT * FROM progMacrosSubRoutines WHERE ID =33", "progMacrosSubRoutines",
         SelectQuery::Filter::Equals, 33, 33},
        // Macro 0 asks for rows -7..0.
        {"SELECT * FROM progMacrosSeq WHERE ID BETWEEN -7 AND 0", "progMacrosSeq",
         SelectQuery::Filter::Between, -7, 0},
    };
    for (const auto& c : cases) {
        const SelectQuery q = SelectQuery::parse(c.sql);
        EXPECT_EQ(q.table, c.table) << c.sql;
        EXPECT_EQ(q.filter, c.filter) << c.sql;
        EXPECT_EQ(q.first, c.first) << c.sql;
        EXPECT_EQ(q.last, c.last) << c.sql;
    }
}

TEST(SelectQuery, RefusesEverythingElse) {
    for (const char* sql :
         {"", "SELECT ID FROM Settings", "DELETE FROM Settings",
          "SELECT * FROM Settings; DROP TABLE Settings",
          "SELECT * FROM Settings WHERE ID = 1 OR 1=1", "SELECT * FROM Settings WHERE ID BETWEEN 1",
          "SELECT * FROM 'x'", "SELECT * FROM Settings WHERE ID = 99999999999999999999"}) {
        try {
            SelectQuery::parse(sql);
            ADD_FAILURE() << sql;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::SyntaxError) << sql;
        }
    }
}
