#pragma once

#include "browse/stamplist.h"
#include "browse/stamporder.h"
#include "db/value.h"
#include "record/stampentry.h"
#include "record/stampvalidator.h"

#include <QHash>
#include <QLocale>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace perlinex::db {
class Database;
class Query;
} // namespace perlinex::db

namespace perlinex::browse {

// The stamps that hold every word of a typed filter, as one condition in the program's dialect
// over table stamp: what the list's filter keeps, for what takes a condition (the statistics of
// a filter); empty for a blank filter.
QString filterCondition(db::Database& db, const QString& typed);

// How the caller runs the steps of a store: the window runs each under the common error
// handler and the store itself inside its lock-retry loop, both of which live above this
// library. By default a step runs as it is and a store error is thrown.
struct StoreSteps {
    using Step = std::function<void(const std::function<void()>&)>;
    Step step;   // beginning the row and setting each field
    Step commit; // the store itself (or the delete)
    // Around the commit, with the stamp's number: the picture waits beside it until stored.
    std::function<void(std::int64_t id)> prepare;
    std::function<void(std::int64_t id, bool stored)> complete;
    // Stored with the row, in the same transaction, with the stamp's number: all of it or
    // none (a shared collection's picture).
    std::function<void(std::int64_t id)> alongside;
    // An edited stamp that another desk stored since it was shown: true stores this one over
    // theirs, false drops this edit and shows theirs. Unset, the store error is thrown.
    std::function<bool()> storeOverTheirs;
    // An edited stamp that another desk deleted since it was shown: the user is told; the edit
    // is dropped and the list read again.
    std::function<void()> deletedElsewhere;
};

// What a store did: refused with the check's reason, or stored (or not, when the store failed
// and the caller's error handling carried on).
struct StoreOutcome {
    std::optional<record::Refusal> refusal;
    bool stored = false;
    std::int64_t id = 0;
    // Not stored because another desk deleted the stamp: the browser shows another one.
    bool goneElsewhere = false;
    // Not stored because another desk stored the stamp meanwhile and the user kept theirs.
    bool keptTheirs = false;
};

// The browsing model of the collection: the order, the filter, the list of stamps, the
// current stamp and the mode, the moves, and storing, cancelling and deleting. The record form
// and the collection list are its views; they follow its signals.
class StampBrowser : public QObject {
    Q_OBJECT
public:
    enum class Mode {
        Empty,    // no stamp to show: the collection (or the filter's list) is empty
        Browsing, // a stamp is shown as stored
        Editing,  // the shown stamp is being changed
        Adding,   // a new stamp is being typed
    };
    // What follows a store of an added stamp: it is shown ("Update"), or the next one is typed
    // ("Add Another").
    enum class AfterStore { Show, AddAnother };

    explicit StampBrowser(const regional::Regional& regional, QObject* parent = nullptr);
    ~StampBrowser() override;

    // Opens on a collection in the order and with the filter it has, its first stamp current.
    void open(db::Database& db, bool readOnly);
    // Lets go of the collection (before it closes): nothing is current.
    void close();
    bool isOpen() const { return db_ != nullptr; }
    db::Database* database() const { return db_; }
    bool isReadOnly() const { return readOnly_; }

    Mode mode() const { return mode_; }
    bool isChanging() const { return mode_ == Mode::Editing || mode_ == Mode::Adding; }

    const StampOrder& order() const { return order_; }
    // A Sort menu order shows the first stamp, as the record editor always has.
    void setSortKey(SortKey key);
    // A column's order, from a click on its heading (the same column again reverses it): the
    // current stamp stays current in its new place.
    void sortByColumn(int column);
    void setOrder(const StampOrder& order, bool keepCurrent);

    const QString& filter() const { return filter_; }
    // Narrows the list to the stamps that hold every typed word. The current stamp stays when it
    // is still listed, else the first listed becomes current.
    void setFilter(const QString& text);

    // Shows only the stamps that meet a condition (the program's dialect over table stamp), as
    // the statistics ask for a bar's stamps; the description says which they are. An empty
    // condition shows every stamp again. The typed filter narrows them further.
    void setCondition(const QString& condition, const QString& description);
    const QString& conditionDescription() const { return conditionDescription_; }
    // The typed filter and the condition as one condition in the program's dialect, for the
    // statistics of the listed stamps; empty when the list is not narrowed.
    QString listCondition() const;

    std::int64_t rowCount() const { return list_.size(); }
    std::int64_t totalCount() const { return list_.total(); }
    bool isFiltered() const { return list_.isNarrowed(); }
    std::int64_t idAt(std::int64_t row) const { return list_.at(row); }
    std::int64_t rowOf(std::int64_t id) const { return list_.rowOf(id); }
    // The current stamp's row, or -1 when none is listed.
    std::int64_t currentRow() const;
    std::optional<std::int64_t> currentId() const { return current_; }

    // Where the user is, for the status bar: "Stamp 12 of 4,310 (filtered from 100,000)" or
    // "Stamp 12 of 100,000", numbers as the locale writes them; empty for an empty collection.
    QString position(const QLocale& locale) const;

    // The current stamp as the record form shows it; blank when none is shown.
    const record::StampEntry& shown() const { return shown_; }
    // A stored field of the current stamp; null when none is current.
    db::Value field(const QString& name) const;

    // The moves; each makes the stamp it lands on current. Previous at the first stamp and next
    // at the last stay and signal boundaryReached. None moves while a stamp is changed.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    bool moveToRow(std::int64_t row);
    bool moveToStamp(std::int64_t id);

    // Starts changing the shown stamp; false when there is none or nothing may be changed.
    bool beginEdit();
    // Starts a new stamp; the one shown before is shown again if it is cancelled.
    bool beginAdd();
    // Checks and stores the typed record (through the validator's checks and changes). A stored
    // stamp takes its place in the order at once and stays listed, even where the filter would
    // leave it out, until the filter changes.
    StoreOutcome store(const record::StampEntry& typed, AfterStore after = AfterStore::Show,
                       const StoreSteps& steps = {});
    // Drops the change: an edited stamp is shown again as stored; an added one gives way to
    // the stamp shown before "Add New" (or the last one stored with "Add Another"), or to the
    // empty state.
    void cancel();
    // Deletes the current stamp; the next one (or the new last one) becomes current.
    bool removeCurrent(const StoreSteps& steps = {});

    // Reads the list and the current stamp again, keeping the place (after the code tables or
    // a repair changed what the store holds).
    void refresh();

signals:
    // Another stamp (or none) is current, or the current one was read again.
    void currentChanged();
    void modeChanged();
    // The list holds other stamps or another order: its views read it again.
    void listChanged();
    // Previous at the first stamp or next at the last: the window beeps.
    void boundaryReached();

private:
    void setMode(Mode mode);
    std::optional<std::int64_t> firstListed() const;
    void narrowList();
    void makeCurrent(std::optional<std::int64_t> id);
    void showInPlaceOf(std::int64_t gone);
    void readCurrent();
    void reread(std::optional<std::int64_t> keep);
    void storeRow(const record::StampEntry& typed, const StoreSteps& steps, StoreOutcome& out);

    record::StampValidator validator_;
    db::Database* db_ = nullptr;
    bool readOnly_ = false;
    std::unique_ptr<db::Query> rowQuery_;
    QString versionColumn_; // the stamp's row version where the store keeps one
    StampOrder order_;
    QString filter_;
    QString condition_;
    QString conditionDescription_;
    StampList list_;
    Mode mode_ = Mode::Empty;
    std::optional<std::int64_t> current_;
    std::optional<std::int64_t> beforeAdd_;
    QHash<QString, db::Value> row_; // the current stamp as stored, by lower-case field name
    record::StampEntry shown_;
};

} // namespace perlinex::browse
