#pragma once

#include "platform/db/schema.h"
#include "storage/progress_display.h"
#include "support/fakes.h"

#include <QStringList>
#include <functional>
#include <map>

namespace kst::test {

// Records what profile creation does to its progress bar: "max 100", "show", "50", "hide".
class RecordingProgress : public ProgressDisplay {
public:
    void setMaximum(int maximum) override { events << QString("max %1").arg(maximum); }
    void setValue(float value) override { events << QString::number(value); }
    void setVisible(bool visible) override { events << (visible ? "show" : "hide"); }
    QStringList events;
};

// Builds a support database for a test: the six template tables and the preferences
// table as the program defines them, each filled with rows whose every field holds a
// value that tells its row and ordinal apart. Definitions and rows can be changed
// before `build`.
class SupportBuilder {
public:
    using ValueOf = std::function<db::Value(const db::ColumnDef& column, int row, int ordinal)>;

    SupportBuilder();
    db::TableDef& table(const QString& name);
    void drop(const QString& name);
    void setRows(const QString& name, int count, ValueOf valueOf = distinctValue);
    void build(const QString& path, const QString& password) const;

    // Row r (1-based), ordinal k: "r.k" for texts, r * 100 + k for numbers, an
    // alternating flag for Yes/No.
    static db::Value distinctValue(const db::ColumnDef& column, int row, int ordinal);

private:
    struct Rows {
        int count = 0;
        ValueOf valueOf;
    };
    std::vector<db::TableDef> tables_;
    std::map<QString, Rows> rows_;
};

} // namespace kst::test
