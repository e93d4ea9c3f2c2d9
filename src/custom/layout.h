#pragma once

#include "custom/fieldcatalogue.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <vector>

// A custom report's layout: which fields, in which order, with which criteria, widths, sorting,
// title and target. The designer edits one, layout files hold one, the generator reads one.
namespace perlinex::custom {

enum class Target { Screen = 1, TextFile = 2, WebTable = 3 };
enum class Orientation { Portrait = 0, Landscape = 1 };
// Positions of the page-number list.
enum class PageNumbers { AtBottom = 0, InHeader = 1, None = 2 };
enum class WidthUnit { Inches = 0, Centimetres = 1 };

// Twips per width unit. A centimetre is the program's 561.6 twips (not 1440 / 2.54): layouts
// have always been laid out with it.
inline constexpr float TwipsPerInch = 1440.0f;
inline constexpr float TwipsPerCentimetre = 561.6f;
inline float twipsPerUnit(WidthUnit unit) {
    return unit == WidthUnit::Inches ? TwipsPerInch : TwipsPerCentimetre;
}

// The settings of one field, kept by identifier whether or not the field is in the report.
struct FieldSettings {
    bool critTrue = false;  // yes/no: only records where the field is true
    bool critFalse = false; // yes/no: only records where it is false
    QString startsWith;     // text: only values beginning with this (any case)
    QDateTime rangeFrom;    // date or time: the first one; invalid for none
    QDateTime rangeTo;      // date or time: the last one; invalid for none
    QString lessThan;       // number: upper bound as typed
    QString greaterThan;    // number: lower bound as typed
    float colWidth = 1;     // in the layout's unit
    bool hideField = false; // in the query (its criteria apply) but no column
    bool showTotal = false; // number: a total under the column
    bool isCurrency = false;

    friend bool operator==(const FieldSettings&, const FieldSettings&) = default;
};

struct Layout {
    QString useWith = QStringLiteral("stamp");
    QString title = QStringLiteral("Perlinex Report");
    Target target = Target::Screen;
    Orientation orientation = Orientation::Portrait;
    bool showDate = true;
    PageNumbers pageNumbers = PageNumbers::AtBottom;
    WidthUnit unit = WidthUnit::Inches;
    // Positions in the sort lists (the catalogue's caption order); -1 for none.
    std::array<int, 2> sort{-1, -1};
    // The report's fields, by identifier, in report order.
    QList<int> fields;
    // Per identifier 0..maxSpecId (0 unused).
    std::vector<FieldSettings> settings;

    // The default layout over a catalogue: every field at its default width and money flag.
    static Layout defaults(const FieldCatalogue& catalogue, const QString& useWith);

    int maxSpecId() const { return int(settings.size()) - 1; }
    FieldSettings& setting(int specid) { return settings.at(std::size_t(specid)); }
    const FieldSettings& setting(int specid) const { return settings.at(std::size_t(specid)); }

    friend bool operator==(const Layout&, const Layout&) = default;
};

} // namespace perlinex::custom
