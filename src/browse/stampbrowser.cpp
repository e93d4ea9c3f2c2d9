#include "browse/stampbrowser.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/search.h"

#include "util/translation.h"

#include <QCoreApplication>
#include <algorithm>

namespace perlinex::browse {

namespace {

void run(const StoreSteps::Step& step, const std::function<void()>& fn) {
    if (step)
        step(fn);
    else
        fn();
}

} // namespace

StampBrowser::StampBrowser(const regional::Regional& regional, QObject* parent)
    : QObject(parent), validator_(regional), shown_(record::StampEntry::blank()) {}

StampBrowser::~StampBrowser() = default;

void StampBrowser::open(db::Database& db, bool readOnly) {
    close();
    db_ = &db;
    readOnly_ = readOnly;
    // A store that keeps row versions says which one the stamp shown is: an edit is stored
    // only over that one.
    versionColumn_ = db.rowVersionColumn(QStringLiteral("stamp")).toLower();
    rowQuery_ = db.query(
        QStringLiteral("SELECT *%1 FROM stamp WHERE stampid = ?")
            .arg(versionColumn_.isEmpty() ? QString() : QStringLiteral(", ") + versionColumn_));
    list_.read(db, order_);
    list_.narrow(db, db::filterWords(filter_), condition_);
    emit listChanged();
    makeCurrent(firstListed());
}

void StampBrowser::close() {
    const bool wasOpen = db_ != nullptr;
    rowQuery_.reset();
    db_ = nullptr;
    list_.clear();
    current_.reset();
    beforeAdd_.reset();
    row_.clear();
    shown_ = record::StampEntry::blank();
    setMode(Mode::Empty);
    if (wasOpen) {
        emit listChanged();
        emit currentChanged();
    }
}

std::optional<std::int64_t> StampBrowser::firstListed() const {
    return rowCount() > 0 ? std::optional(idAt(0)) : std::nullopt;
}

void StampBrowser::setMode(Mode mode) {
    if (mode_ == mode)
        return;
    mode_ = mode;
    emit modeChanged();
}

std::int64_t StampBrowser::currentRow() const {
    return current_ ? list_.rowOf(*current_) : -1;
}

QString StampBrowser::position(const QLocale& locale) const {
    const QString total = locale.toString(qlonglong(totalCount()));
    if (totalCount() == 0)
        return QString();
    if (mode_ == Mode::Adding)
        return totalCount() == 1 ? translate("StampBrowser", "New stamp (1 stamp)")
                                 : translate("StampBrowser", "New stamp (%1 stamps)").arg(total);
    if (rowCount() == 0)
        return translate("StampBrowser", "No stamp of %1 matches the filter").arg(total);
    QString text = translate("StampBrowser", "Stamp %1 of %2")
                       .arg(locale.toString(qlonglong(std::max<std::int64_t>(currentRow(), 0) + 1)),
                            locale.toString(qlonglong(rowCount())));
    if (isFiltered())
        text += QLatin1Char(' ') + translate("StampBrowser", "(filtered from %1)").arg(total);
    return text;
}

db::Value StampBrowser::field(const QString& name) const {
    return row_.value(name.toLower());
}

void StampBrowser::readCurrent() {
    row_.clear();
    shown_ = record::StampEntry::blank();
    if (!current_ || !rowQuery_)
        return;
    rowQuery_->run({db::Value(*current_)});
    const bool found = rowQuery_->next();
    if (found)
        for (int i = 0; i < rowQuery_->columnCount(); ++i)
            row_.insert(rowQuery_->columnName(i).toLower(), rowQuery_->value(i));
    rowQuery_->finish();
    if (!found)
        throw db::DbError(db::err::RecordDeleted, tr("Record is deleted."));
    shown_ = validator_.show([this](const char* f) { return field(QLatin1String(f)); });
}

void StampBrowser::makeCurrent(std::optional<std::int64_t> id) {
    current_ = id;
    try {
        readCurrent();
    } catch (const db::DbError& e) {
        if (e.number() != db::err::RecordDeleted || !id || !db_)
            throw;
        showInPlaceOf(*id);
    }
    setMode(current_ ? Mode::Browsing : Mode::Empty);
    emit currentChanged();
}

// Another desk deleted the listed stamp about to be shown before this desk heard of it: the
// list is read again and the stamp now at its place shown.
void StampBrowser::showInPlaceOf(std::int64_t gone) {
    const std::int64_t row = std::max<std::int64_t>(list_.rowOf(gone), 0);
    list_.read(*db_, order_);
    emit listChanged();
    current_ = rowCount() == 0 ? std::nullopt : std::optional(idAt(std::min(row, rowCount() - 1)));
    readCurrent();
}

// ---------------------------------------------------------------------------------------
// Order and filter

void StampBrowser::setSortKey(SortKey key) {
    setOrder(StampOrder::of(key), false);
}

void StampBrowser::sortByColumn(int column) {
    setOrder(order_.clicked(column), true);
}

void StampBrowser::setOrder(const StampOrder& order, bool keepCurrent) {
    if (isChanging() || order.column >= int(listColumns().size()))
        return;
    order_ = order;
    if (!db_)
        return;
    list_.read(*db_, order_);
    emit listChanged();
    if (keepCurrent && currentRow() >= 0)
        emit currentChanged();
    else
        makeCurrent(firstListed());
}

void StampBrowser::setFilter(const QString& text) {
    if (isChanging())
        return;
    filter_ = text;
    narrowList();
}

void StampBrowser::narrowList() {
    if (!db_)
        return;
    list_.narrow(*db_, db::filterWords(filter_), condition_);
    emit listChanged();
    if (currentRow() >= 0)
        emit currentChanged();
    else
        makeCurrent(firstListed());
}

void StampBrowser::setCondition(const QString& condition, const QString& description) {
    if (isChanging())
        return;
    condition_ = condition.trimmed();
    conditionDescription_ = condition_.isEmpty() ? QString() : description;
    narrowList();
}

QString filterCondition(db::Database& db, const QString& typed) {
    return db::searchConditionText(db, db::filterWords(typed));
}

QString StampBrowser::listCondition() const {
    if (!db_)
        return QString();
    QStringList parts;
    const QString words = filterCondition(*db_, filter_);
    if (!words.isEmpty())
        parts << words;
    if (!condition_.isEmpty())
        parts << QStringLiteral("(%1)").arg(condition_);
    return parts.join(QLatin1String(" AND "));
}

// ---------------------------------------------------------------------------------------
// Moves

void StampBrowser::moveFirst() {
    if (!isChanging() && rowCount() > 0)
        makeCurrent(idAt(0));
}

void StampBrowser::moveLast() {
    if (!isChanging() && rowCount() > 0)
        makeCurrent(idAt(rowCount() - 1));
}

void StampBrowser::moveNext() {
    if (isChanging() || rowCount() == 0)
        return;
    const std::int64_t row = currentRow();
    if (row >= rowCount() - 1) {
        emit boundaryReached();
        makeCurrent(idAt(rowCount() - 1));
        return;
    }
    makeCurrent(idAt(row + 1));
}

void StampBrowser::movePrevious() {
    if (isChanging() || rowCount() == 0)
        return;
    const std::int64_t row = currentRow();
    if (row <= 0) {
        emit boundaryReached();
        makeCurrent(idAt(0));
        return;
    }
    makeCurrent(idAt(row - 1));
}

bool StampBrowser::moveToRow(std::int64_t row) {
    if (isChanging() || row < 0 || row >= rowCount())
        return false;
    makeCurrent(idAt(row));
    return true;
}

bool StampBrowser::moveToStamp(std::int64_t id) {
    const std::int64_t row = list_.rowOf(id);
    return row >= 0 && moveToRow(row);
}

// ---------------------------------------------------------------------------------------
// Editing, adding, storing, cancelling, deleting

bool StampBrowser::beginEdit() {
    if (readOnly_ || mode_ != Mode::Browsing)
        return false;
    setMode(Mode::Editing);
    return true;
}

bool StampBrowser::beginAdd() {
    if (readOnly_ || !db_ || isChanging())
        return false;
    beforeAdd_ = current_;
    shown_ = record::StampEntry::blank();
    setMode(Mode::Adding);
    emit currentChanged();
    return true;
}

void StampBrowser::storeRow(const record::StampEntry& typed, const StoreSteps& steps,
                            StoreOutcome& out) {
    const bool adding = mode_ == Mode::Adding;
    // A set of the one row it changes; a new row is begun in a set of none.
    auto rs = db_->openRecordSet(
        QStringLiteral("Select * from stamp where stampid = %1").arg(adding ? -1 : *current_));
    std::int64_t& id = out.id;
    bool begun = false;
    // Another desk may have deleted the stamp since it was shown: its row is not there.
    const auto goneElsewhere = [&] {
        steps.deletedElsewhere();
        out.goneElsewhere = true;
    };
    if (!adding && rs->eof() && steps.deletedElsewhere) {
        goneElsewhere();
        return;
    }
    run(steps.step, [&] {
        if (adding)
            rs->addNew();
        else
            rs->edit();
        if (!adding && row_.contains(versionColumn_))
            rs->expectVersion(row_.value(versionColumn_).toInteger());
        id = rs->field(QStringLiteral("stampid")).toInteger();
        begun = true;
    });
    if (!begun)
        return;
    // A new row gets every field; an edited one only what the user changed.
    for (const record::Change& c : validator_.changes(typed, adding ? nullptr : &shown_))
        run(steps.step, [&] { rs->setField(QLatin1String(c.field->name), c.value); });
    if (steps.prepare)
        steps.prepare(id);
    const auto write = [&](bool overTheirs) {
        const auto rowAndWhatGoesWithIt = [&] {
            if (overTheirs)
                rs->updateOver();
            else
                rs->update();
            if (steps.alongside)
                steps.alongside(id);
        };
        if (steps.alongside)
            db_->transaction(rowAndWhatGoesWithIt);
        else
            rowAndWhatGoesWithIt();
    };
    run(steps.commit, [&] {
        try {
            write(false);
        } catch (const db::DbError& e) {
            if (e.number() == db::err::ChangedElsewhere && steps.storeOverTheirs) {
                if (!steps.storeOverTheirs()) {
                    out.keptTheirs = true;
                    return;
                }
                write(true);
            } else if (e.number() == db::err::RecordDeleted && steps.deletedElsewhere && !adding) {
                goneElsewhere();
                return;
            } else {
                throw;
            }
        }
        out.stored = true;
    });
    if (steps.complete)
        steps.complete(id, out.stored);
}

StoreOutcome StampBrowser::store(const record::StampEntry& typed, AfterStore after,
                                 const StoreSteps& steps) {
    StoreOutcome out;
    if (!isChanging() || !db_)
        return out;
    const bool adding = mode_ == Mode::Adding;
    if ((out.refusal = validator_.validate(typed, adding ? nullptr : &shown_)))
        return out;
    storeRow(typed, steps, out);
    if (out.keptTheirs) {
        // Their version shows in the list as in the record.
        list_.read(*db_, order_);
        emit listChanged();
    }
    if (out.goneElsewhere)
        makeCurrent(current_); // its row is gone: the stamp now at its place is shown
    if (!out.stored)
        return out;
    // The stored stamp takes its place in the order at once, and stays listed.
    list_.keep(out.id);
    list_.read(*db_, order_);
    emit listChanged();
    if (adding && after == AfterStore::AddAnother) {
        beforeAdd_ = current_ = out.id;
        row_.clear();
        shown_ = record::StampEntry::blank();
        emit currentChanged();
        return out;
    }
    beforeAdd_.reset();
    makeCurrent(out.id);
    return out;
}

void StampBrowser::cancel() {
    if (mode_ == Mode::Editing) {
        // The record as stored, where the user was.
        makeCurrent(current_);
        return;
    }
    if (mode_ != Mode::Adding)
        return;
    std::optional<std::int64_t> back = beforeAdd_;
    beforeAdd_.reset();
    if (back && list_.rowOf(*back) < 0)
        back = firstListed();
    makeCurrent(back);
}

bool StampBrowser::removeCurrent(const StoreSteps& steps) {
    if (readOnly_ || mode_ != Mode::Browsing || !current_)
        return false;
    const std::int64_t id = *current_;
    const std::int64_t row = std::max<std::int64_t>(currentRow(), 0);
    bool removed = false;
    run(steps.commit, [&] {
        db_->execute(QStringLiteral("DELETE FROM stamp WHERE stampid = %1").arg(id));
        removed = true;
    });
    if (!removed)
        return false;
    list_.remove(id);
    emit listChanged();
    if (rowCount() == 0)
        makeCurrent(std::nullopt);
    else
        makeCurrent(idAt(std::min(row, rowCount() - 1)));
    return true;
}

void StampBrowser::refresh() {
    if (!db_)
        return;
    list_.read(*db_, order_);
    emit listChanged();
    if (isChanging())
        return;
    if (currentRow() >= 0)
        makeCurrent(current_);
    else
        makeCurrent(firstListed());
}

} // namespace perlinex::browse
