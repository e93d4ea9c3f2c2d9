#include "exchange/columnmap.h"
#include "util/translation.h"

#include <optional>

namespace perlinex::exchange {

namespace {

using Kind = ColumnRole::Kind;

// Headers are compared in lower case without spaces, underscores, dots and hyphens, so that
// "Issue Year", "issue_year" and "IssueYear" are one name.
QString normalised(const QString& header) {
    QString out;
    for (QChar c : header.trimmed())
        if (!c.isSpace() && c != QLatin1Char('_') && c != QLatin1Char('.') && c != QLatin1Char('-'))
            out += c.toLower();
    return out;
}

// Names other programs give the fields, besides the field table's own names and captions.
struct Synonym {
    const char* name;  // normalised
    const char* field; // the field it fills; "picture" and "skip" for those roles
    int rank;          // 0 best; a column of a worse rank gives way to one of a better
};

// clang-format off
constexpr Synonym kSynonyms[] = {
    {"description", "descr", 1},      {"title", "descr", 2},
    {"catalognumber", "catnum", 1},   {"cataloguenumber", "catnum", 1}, {"catalogno", "catnum", 1},
    {"catno", "catnum", 1},           {"cat#", "catnum", 1},            {"scott#", "catnum", 1},
    {"scott", "catnum", 1},           {"sg", "catnum", 1},              {"michel", "catnum", 1},
    {"yvert", "catnum", 1},
    {"denomination", "face", 1},      {"facevalue", "face", 1},
    {"issueyear", "Year", 1},
    {"cancelled", "used", 1},         {"canceled", "used", 1},
    {"wanted", "wantlist", 1},
    {"qty", "quantity", 1},
    {"colour", "Color", 1},
    {"grade", "ConID", 1},
    {"theme", "topID", 1},
    {"gummed", "gumID", 1},
    {"cancellation", "CanID", 1},     {"postmark", "CanID", 1},
    {"perforation", "perfID", 1},
    {"issuedate", "issued", 1},       {"dateofissue", "issued", 1},
    {"purchasedate", "purchased", 1}, {"dateofpurchase", "purchased", 1},
    {"purchaseprice", "pricepaid", 1}, {"cost", "pricepaid", 1},       {"paid", "pricepaid", 1},
    {"value", "catvalue", 1},         {"catalogvalue", "catvalue", 1},  {"cataloguevalue", "catvalue", 1},
    {"sellingprice", "priceask", 1},  {"askingprice", "priceask", 1},
    {"comments", "notes", 1},         {"comment", "notes", 1},          {"remarks", "notes", 1},
    {"picture", "picture", 0},        {"image", "picture", 1},          {"photo", "picture", 1},
    {"scan", "picture", 1},
    // Numbers and times other programs keep for their own records, and our computed fields.
    {"id", "skip", 1},                {"stampid", "skip", 0},           {"catsort", "skip", 0},
    {"datecreated", "skip", 1},       {"datemodified", "skip", 1},
    {"totalpaid", "skip", 0},         {"totalval", "skip", 0},          {"totalvalue", "skip", 0},
    {"totalsales", "skip", 0},
};
// clang-format on

struct Target {
    ColumnRole role;
    int rank = 0;
};

ColumnRole fieldRole(const db::StampField& f) {
    return {Kind::Field, &f, false};
}

// A field the user can fill: not the counter, nor a value computed from others.
bool fillable(const db::StampField& f) {
    return f.kind != db::FieldKind::Counter && f.rule != db::EntryRule::Derived &&
           f.rule != db::EntryRule::Total;
}

std::optional<Target> targetOf(const QString& header) {
    const QString name = normalised(header);
    if (name.isEmpty())
        return std::nullopt;
    for (const db::StampField& f : db::stampFields()) {
        if (!fillable(f))
            continue;
        // The caption as the window shows it too: a spreadsheet made in the user's language
        // heads its columns with the labels the user sees.
        if (name == normalised(QLatin1String(f.name)) ||
            (f.caption && (name == normalised(QLatin1String(f.caption)) ||
                           name == normalised(db::fieldText(f.caption)))))
            return Target{fieldRole(f), 0};
    }
    for (const db::CodeTable& t : db::codeTables())
        if (name == normalised(QLatin1String(t.table)))
            return Target{fieldRole(db::referenceField(t)), 0};
    for (const Synonym& s : kSynonyms) {
        if (name != QLatin1String(s.name))
            continue;
        const QLatin1String field(s.field);
        if (field == QLatin1String("picture"))
            return Target{{Kind::Picture, nullptr, false}, s.rank};
        if (field == QLatin1String("skip"))
            return Target{{Kind::Skip, nullptr, false}, s.rank};
        return Target{fieldRole(*db::stampField(field)), s.rank};
    }
    return std::nullopt;
}

bool sameTarget(const ColumnRole& a, const ColumnRole& b) {
    return a.kind == b.kind && a.field == b.field;
}

// A target only one column can have: a field, but the notes, which take every column that
// names them; and the picture.
bool single(const ColumnRole& role) {
    return role.kind == Kind::Picture ||
           (role.kind == Kind::Field && QLatin1String(role.field->name) != QLatin1String("notes"));
}

} // namespace

QString roleName(const ColumnRole& role) {
    switch (role.kind) {
    case Kind::Field:
        if (role.field->kind == db::FieldKind::CodeRef)
            return QLatin1String(db::codeTable(role.field->codeTable)->table);
        return QLatin1String(role.field->name);
    case Kind::Picture:
        return QStringLiteral("picture");
    case Kind::Notes:
        return QStringLiteral("notes");
    case Kind::Skip:
        return QStringLiteral("skip");
    }
    return QString();
}

ColumnMap ColumnMap::match(const QStringList& headers) {
    ColumnMap map;
    map.headers_ = headers;
    map.roles_.resize(std::size_t(headers.size()));
    std::vector<int> ranks(std::size_t(headers.size()), 0);
    for (int i = 0; i < int(headers.size()); ++i) {
        const auto target = targetOf(headers[i]);
        if (!target)
            continue;
        map.roles_[std::size_t(i)] = target->role;
        ranks[std::size_t(i)] = target->rank;
    }
    // A field (or the picture) belongs to the best-ranked column that names it, the first of
    // equals; the others fall back to it or keep their values in the notes. The notes take
    // every column that names them.
    for (int i = 0; i < int(headers.size()); ++i) {
        ColumnRole& role = map.roles_[std::size_t(i)];
        if (!single(role))
            continue;
        for (int j = 0; j < int(headers.size()); ++j) {
            if (j == i || !sameTarget(map.roles_[std::size_t(j)], role))
                continue;
            const int rj = ranks[std::size_t(j)], ri = ranks[std::size_t(i)];
            if (rj < ri || (rj == ri && j < i)) {
                if (role.kind == Kind::Field && ri == 2)
                    role.fallback = true; // a title beside a description
                else
                    role = ColumnRole{};
                break;
            }
        }
    }
    return map;
}

int ColumnMap::columnOf(const db::StampField& field) const {
    for (int i = 0; i < columnCount(); ++i)
        if (roles_[std::size_t(i)].kind == Kind::Field && roles_[std::size_t(i)].field == &field &&
            !roles_[std::size_t(i)].fallback)
            return i;
    return -1;
}

bool ColumnMap::assign(const QString& column, const QString& target, QString* why) {
    int index = -1;
    for (int i = 0; i < columnCount() && index < 0; ++i)
        if (headers_[i].trimmed().compare(column.trimmed(), Qt::CaseInsensitive) == 0)
            index = i;
    bool isNumber = false;
    const int number = column.toInt(&isNumber);
    if (index < 0 && isNumber && number >= 1 && number <= columnCount())
        index = number - 1;
    if (index < 0) {
        *why = translate("ColumnMap", "the file has no column %1").arg(column);
        return false;
    }
    ColumnRole role;
    const QString name = normalised(target);
    if (name == QLatin1String("notes")) {
        role = fieldRole(*db::stampField(QStringLiteral("notes")));
    } else if (name == QLatin1String("skip")) {
        role.kind = Kind::Skip;
    } else if (const auto t = targetOf(target); t && t->role.kind != Kind::Skip) {
        role = t->role;
    } else {
        *why = translate("ColumnMap", "there is no stamp field called %1").arg(target);
        return false;
    }
    setRole(index, role);
    return true;
}

void ColumnMap::setRole(int column, const ColumnRole& role) {
    ColumnRole plain = role;
    plain.fallback = false;
    if (single(plain))
        for (ColumnRole& other : roles_)
            if (sameTarget(other, plain))
                other = ColumnRole{};
    roles_[std::size_t(column)] = plain;
}

std::vector<ColumnRole> ColumnMap::targets() {
    std::vector<ColumnRole> out{{Kind::Notes, nullptr, false},
                                {Kind::Skip, nullptr, false},
                                {Kind::Picture, nullptr, false}};
    for (const db::StampField& f : db::stampFields())
        if (fillable(f))
            out.push_back(fieldRole(f));
    return out;
}

} // namespace perlinex::exchange
