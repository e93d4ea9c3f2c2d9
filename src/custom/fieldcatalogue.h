#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace perlinex::db {
class Database;
}

// The reportable fields of the field catalogue (rptspec.mdb, table RptSpec), copied out of the
// catalogue once so that layouts, the designer and the report generator work on plain values.
namespace perlinex::custom {

// The kind of a field's values: which criteria it offers and how its cells are written.
enum class DataType { Text = 1, Number = 2, Date = 3, YesNo = 4, Time = 5 };

struct SpecRow {
    int specid = 0;
    QString desc;      // caption in the lists and column heading
    QString useWith;   // the main table(s) the row is offered for
    QString fieldname; // SQL expression of the field
    QString fileName;  // the table that holds it
    QString linkfield; // join column, or "main;joined"
    int datatype = 0;  // a DataType; other values are read as text without criteria
    float defaultWidth = 1;
    bool isCurrency = false;
    bool isMemo = false;

    bool is(DataType t) const { return datatype == int(t); }
};

// The rows offered for one main table, in caption order, as the designer's lists show them.
class FieldCatalogue {
public:
    FieldCatalogue() = default;

    // Reads every row of RptSpec; throws db::DbError when the catalogue cannot be read. A row
    // whose names are not those of the collection's tables and fields is left out, and said
    // in refusedRows().
    static FieldCatalogue read(db::Database& catalogue);
    // From rows in hand (tests, and the catalogue's shipped data).
    static FieldCatalogue fromRows(QList<SpecRow> rows);

    // The rows offered for mainTable: those whose usewith contains it, without regard to case.
    FieldCatalogue offeredFor(const QString& mainTable) const;

    // The main table named exactly (apart from case) by some row's usewith, as the catalogue
    // spells it; nullopt when no row names it.
    std::optional<QString> mainTableNamed(const QString& name) const;

    const QList<SpecRow>& rows() const { return rows_; }
    qsizetype size() const { return rows_.size(); }
    bool isEmpty() const { return rows_.isEmpty(); }
    // The highest identifier among the rows; 0 when there are none.
    int maxSpecId() const { return maxSpecId_; }
    // The row with that identifier, or nullptr.
    const SpecRow* find(int specid) const;
    // Its position in caption order, or -1.
    int positionOf(int specid) const;
    // Why rows of the catalogue read were left out, one message per row that names it.
    const QStringList& refusedRows() const { return refused_; }

private:
    explicit FieldCatalogue(QList<SpecRow> rows);
    QList<SpecRow> rows_;
    QStringList refused_;
    int maxSpecId_ = 0;
};

} // namespace perlinex::custom
