#pragma once

#include "browse/stamporder.h"
#include "record/stampvalidator.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

namespace perlinex::db {
class Database;
class Query;
} // namespace perlinex::db

namespace perlinex::browse {

class StampBrowser;

// The collection list over the store: one row a stamp of the browser's list, the columns of
// the field table's list. Rows are read by number when a view asks for them and only a few
// hundred are kept, so a list of a million stamps costs its numbers alone.
class StampListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StampListModel(StampBrowser& browser, const regional::Regional& regional,
                   QObject* parent = nullptr);
    ~StampListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A column's order, up or down, as a click on its heading asks.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The texts of a row as the list shows them.
    QStringList rowTexts(int row) const;
    // The headings of the columns.
    QStringList headings() const;

    // What a ticked flag shows.
    static QString mark();

    // A column of the stamps' pictures after the fields' columns, its images given by the
    // window (pictures are Qt Gui's, above this library); -1 while there is none.
    using PictureSource = std::function<QVariant(std::int64_t id)>;
    void setPictureSource(PictureSource source, int size);
    int pictureColumn() const { return pictures_ ? int(listColumns().size()) : -1; }
    // A stamp's picture is ready: its row is painted again.
    void pictureReady(std::int64_t id);

private:
    void reset();
    const QStringList& cells(int row) const;

    StampBrowser& browser_;
    record::StampValidator validator_;
    std::unique_ptr<db::Query> query_;
    db::Database* queryDb_ = nullptr;               // the collection query_ reads
    mutable QHash<std::int64_t, QStringList> rows_; // by stamp number, a few hundred at most
    PictureSource pictures_;
    int pictureSize_ = 0;
};

} // namespace perlinex::browse
