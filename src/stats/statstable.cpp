#include "stats/statstable.h"

#include "db/textcompare.h"
#include "exchange/csvtext.h"
#include "regional/regional.h"
#include "util/translation.h"

#include <algorithm>
#include <stdexcept>

namespace perlinex::stats {

namespace {

// Larger first; a sum too large to add up is the largest.
bool larger(const MoneySum& a, const MoneySum& b) {
    if (a.tooLarge != b.tooLarge)
        return a.tooLarge;
    return a.amount > b.amount;
}

QString entryLabel(const Group& g) {
    return g.label.trimmed().isEmpty() ? translate("Statistics", "(no description)") : g.label;
}

QString orderedLabel(Breakdown breakdown, const Group& g) {
    if (g.unclassified)
        return translate("Statistics", "Unknown");
    return breakdown == Breakdown::Decade ? translate("Statistics", "%1s").arg(g.key)
                                          : QString::number(g.key);
}

std::vector<ShownGroup> codeTableRows(Breakdown breakdown, const std::vector<Group>& groups,
                                      Measure measure, const QStringList& base,
                                      db::StoreKind store) {
    std::vector<const Group*> entries;
    const Group* unclassified = nullptr;
    for (const Group& g : groups) {
        if (g.unclassified)
            unclassified = &g;
        else
            entries.push_back(&g);
    }
    std::sort(entries.begin(), entries.end(), [measure](const Group* a, const Group* b) {
        if (measure == Measure::Count && a->figures.stamps != b->figures.stamps)
            return a->figures.stamps > b->figures.stamps;
        if (measure == Measure::Value && !(a->figures.value == b->figures.value))
            return larger(a->figures.value, b->figures.value);
        if (const int c = db::compareText(a->label, b->label))
            return c < 0;
        return a->key < b->key;
    });
    std::vector<ShownGroup> rows;
    const std::size_t own = std::min(entries.size(), std::size_t(LargestShown));
    for (std::size_t i = 0; i < own; ++i)
        rows.push_back({entryLabel(*entries[i]), entries[i]->figures,
                        allOf(base + QStringList{groupCondition(breakdown, *entries[i], store)}),
                        entries[i]->key});
    if (entries.size() > own) {
        const std::vector<const Group*> rest(entries.begin() + qsizetype(own), entries.end());
        ShownGroup other{translate("Statistics", "Other"),
                         {},
                         allOf(base + QStringList{groupsCondition(breakdown, rest, store)}),
                         std::nullopt};
        for (const Group* g : rest)
            other.figures.add(g->figures);
        rows.push_back(other);
    }
    if (unclassified)
        rows.push_back({translate("Statistics", "Unclassified"), unclassified->figures,
                        allOf(base + QStringList{groupCondition(breakdown, *unclassified, store)}),
                        std::nullopt});
    return rows;
}

QString plainMoney(Currency amount) {
    QString text = amount.toPlainText(); // four decimals
    while (text.endsWith(QLatin1Char('0')) && text.indexOf(QLatin1Char('.')) < text.size() - 3)
        text.chop(1);
    return text;
}

} // namespace

std::vector<ShownGroup> shownGroups(Breakdown breakdown, const std::vector<Group>& groups,
                                    Measure measure, const StampFilter& filter,
                                    db::StoreKind store) {
    const QStringList base{filter.condition, partCondition(Part::Collection)};
    if (codeTableOf(breakdown))
        return codeTableRows(breakdown, groups, measure, base, store);
    std::vector<ShownGroup> rows;
    for (const Group& g : groups)
        rows.push_back({orderedLabel(breakdown, g), g.figures,
                        allOf(base + QStringList{groupCondition(breakdown, g, store)}),
                        g.unclassified ? std::nullopt : std::optional<std::int64_t>(g.key)});
    return rows;
}

ShownGroup totalOf(const std::vector<ShownGroup>& rows, const QString& condition) {
    ShownGroup total{translate("Statistics", "Total"), {}, condition, std::nullopt};
    for (const ShownGroup& r : rows)
        total.figures.add(r.figures);
    return total;
}

std::array<ShownPart, 4> shownParts(const Glance& glance, const StampFilter& filter) {
    const auto part = [&](Part p, const QString& label, const Figures& f) {
        return ShownPart{p, label, &f, allOf({filter.condition, partCondition(p)})};
    };
    return {part(Part::Collection, translate("Statistics", "Collection"), glance.collection),
            part(Part::WantList, translate("Statistics", "Want list"), glance.wantList),
            part(Part::ForSale, translate("Statistics", "For sale"), glance.forSale),
            part(Part::Sold, translate("Statistics", "Sold"), glance.sold)};
}

QString countText(std::int64_t count, const regional::Regional* regional) {
    return regional ? regional->locale().toString(qlonglong(count)) : QString::number(count);
}

QString moneyText(const MoneySum& sum, const regional::Regional* regional) {
    if (sum.tooLarge)
        return regional::tooLargeForMoney();
    return regional ? regional->formatCurrency(sum.amount) : plainMoney(sum.amount);
}

FigureTable glanceTable(const Glance& glance, const StampFilter& filter,
                        const regional::Regional* regional) {
    const auto count = [&](std::int64_t n) { return countText(n, regional); };
    const auto money = [&](const MoneySum& s) { return moneyText(s, regional); };
    // As the value and sales reports take it: worth minus cost.
    const auto difference = [](const MoneySum& worth, const MoneySum& cost) {
        MoneySum d = worth;
        try {
            d.add(MoneySum{-cost.amount, cost.tooLarge});
        } catch (const std::overflow_error&) {
            d.tooLarge = true;
        }
        return d;
    };
    const std::array<ShownPart, 4> parts = shownParts(glance, filter);
    FigureTable t{
        {translate("Statistics", "Figure"), translate("Statistics", "Value")}, {}, {}, {}};
    const auto add = [&](const ShownPart& part, const char* figure, const QString& value) {
        t.rows.push_back({translate("Statistics", figure), value});
        t.conditions.push_back(part.condition);
        t.descriptions.push_back(part.label);
    };
    const Figures& c = glance.collection;
    add(parts[0], QT_TRANSLATE_NOOP("Statistics", "Stamps in the collection"), count(c.stamps));
    add(parts[0], QT_TRANSLATE_NOOP("Statistics", "Quantity in the collection"), count(c.quantity));
    add(parts[0], QT_TRANSLATE_NOOP("Statistics", "Total paid"), money(c.paid));
    add(parts[0], QT_TRANSLATE_NOOP("Statistics", "Catalogue value"), money(c.value));
    add(parts[0], QT_TRANSLATE_NOOP("Statistics", "Value minus cost"),
        money(difference(c.value, c.paid)));
    const Figures& w = glance.wantList;
    add(parts[1], QT_TRANSLATE_NOOP("Statistics", "Stamps on the want list"), count(w.stamps));
    add(parts[1], QT_TRANSLATE_NOOP("Statistics", "Quantity on the want list"), count(w.quantity));
    add(parts[1], QT_TRANSLATE_NOOP("Statistics", "Will pay for the want list"), money(w.willPay));
    const Figures& f = glance.forSale;
    add(parts[2], QT_TRANSLATE_NOOP("Statistics", "Stamps for sale"), count(f.stamps));
    add(parts[2], QT_TRANSLATE_NOOP("Statistics", "Quantity for sale"), count(f.quantity));
    add(parts[2], QT_TRANSLATE_NOOP("Statistics", "Asked for the stamps for sale"), money(f.asked));
    const Figures& s = glance.sold;
    add(parts[3], QT_TRANSLATE_NOOP("Statistics", "Stamps sold"), count(s.stamps));
    add(parts[3], QT_TRANSLATE_NOOP("Statistics", "Quantity sold"), count(s.quantity));
    add(parts[3], QT_TRANSLATE_NOOP("Statistics", "Paid for the stamps sold"), money(s.paid));
    add(parts[3], QT_TRANSLATE_NOOP("Statistics", "Total sales"), money(s.asked));
    add(parts[3], QT_TRANSLATE_NOOP("Statistics", "Sale price minus cost"),
        money(difference(s.asked, s.paid)));
    return t;
}

FigureTable breakdownTable(Breakdown breakdown, const std::vector<ShownGroup>& rows,
                           const StampFilter& filter, const regional::Regional* regional) {
    const bool years = breakdown == Breakdown::PurchaseYear;
    FigureTable t;
    t.headings << breakdownHeading(breakdown) << translate("Statistics", "Stamps")
               << translate("Statistics", "Quantity");
    if (years)
        t.headings << translate("Statistics", "Price paid");
    t.headings << translate("Statistics", "Catalogue value");
    const auto add = [&](const ShownGroup& r) {
        QStringList cells{r.label, countText(r.figures.stamps, regional),
                          countText(r.figures.quantity, regional)};
        if (years)
            cells << moneyText(r.figures.paid, regional);
        cells << moneyText(r.figures.value, regional);
        t.rows.push_back(cells);
        t.conditions.push_back(r.condition);
        t.descriptions.push_back(
            translate("Statistics", "%1: %2").arg(breakdownHeading(breakdown), r.label));
    };
    for (const ShownGroup& r : rows)
        add(r);
    add(totalOf(rows, allOf({filter.condition, partCondition(Part::Collection)})));
    return t;
}

QString breakdownHeading(Breakdown breakdown) {
    switch (breakdown) {
    case Breakdown::Country:
        return translate("Statistics", "Country");
    case Breakdown::Topic:
        return translate("Statistics", "Topic");
    case Breakdown::Condition:
        return translate("Statistics", "Condition");
    case Breakdown::Type:
        return translate("Statistics", "Type");
    case Breakdown::Decade:
        return translate("Statistics", "Decade of issue");
    case Breakdown::PurchaseYear:
        return translate("Statistics", "Year of purchase");
    }
    return QString();
}

QString breakdownOption(Breakdown breakdown) {
    switch (breakdown) {
    case Breakdown::Country:
        return QStringLiteral("country");
    case Breakdown::Topic:
        return QStringLiteral("topic");
    case Breakdown::Condition:
        return QStringLiteral("condition");
    case Breakdown::Type:
        return QStringLiteral("type");
    case Breakdown::Decade:
        return QStringLiteral("decade");
    case Breakdown::PurchaseYear:
        return QStringLiteral("purchased");
    }
    return QString();
}

QByteArray csvText(const FigureTable& table) {
    QByteArray out;
    const auto record = [&](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += ',';
            exchange::appendCsvValue(out, cells[i].toUtf8());
        }
        exchange::endCsvRecord(out);
    };
    record(table.headings);
    for (const QStringList& row : table.rows)
        record(row);
    return out;
}

QByteArray tabText(const FigureTable& table) {
    QByteArray out;
    const auto line = [&](QStringList cells) {
        // A tab or a line break inside a name would split its row: it becomes a space.
        for (QString& c : cells)
            for (QChar& ch : c)
                if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                    ch = QLatin1Char(' ');
        out += cells.join(QLatin1Char('\t')).toUtf8() + '\n';
    };
    line(table.headings);
    for (const QStringList& row : table.rows)
        line(row);
    return out;
}

} // namespace perlinex::stats
