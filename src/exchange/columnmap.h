#pragma once

#include "db/fields.h"

#include <QString>
#include <QStringList>
#include <vector>

// Which stamp field each column of an imported table fills, matched by its header: our own
// export's names, the field table's names and captions, and the names other catalogues and
// spreadsheets use. The user can change any match.
namespace perlinex::exchange {

struct ColumnRole {
    enum class Kind {
        Field,   // fills a stamp field
        Picture, // names the stamp's picture
        Notes,   // no field of its own: "Header: value" is added to the notes
        Skip,    // not read (a number or date another program keeps for itself)
    };
    Kind kind = Kind::Notes;
    const db::StampField* field = nullptr; // Field only
    // Field only: the column fills its field only when the column that has it leaves it blank
    // (a title made from the description, beside a description of its own).
    bool fallback = false;
};

// The name of a column's target as the user writes it: a field's name ("descr"), a code
// table's name ("country"), "picture", "notes" or "skip".
QString roleName(const ColumnRole& role);

class ColumnMap {
public:
    static ColumnMap match(const QStringList& headers);

    const QStringList& headers() const { return headers_; }
    int columnCount() const { return int(headers_.size()); }
    const ColumnRole& role(int column) const { return roles_[std::size_t(column)]; }

    // Gives a column, by its header (without regard to case) or its number counted from 1, a
    // new target: a field by any name it is matched by, "picture", "notes" or "skip". A column
    // that had the field before keeps its values in the notes. False, with the reason, when
    // the column or the target is unknown.
    bool assign(const QString& column, const QString& target, QString* why);
    // The same for a column by its index, given any of targets(); a fallback becomes a plain
    // match.
    void setRole(int column, const ColumnRole& role);

    // Every target a column can be given, in the order a list offers them: the notes as
    // "Header: value", skip, the picture, then each field a user fills, in the editor's order.
    static std::vector<ColumnRole> targets();

    // The column that fills the field (not a fallback), or -1.
    int columnOf(const db::StampField& field) const;

private:
    QStringList headers_;
    std::vector<ColumnRole> roles_;
};

} // namespace perlinex::exchange
