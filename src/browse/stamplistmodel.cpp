#include "browse/stamplistmodel.h"

#include "browse/stampbrowser.h"
#include "browse/stamporder.h"
#include "db/database.h"

#include <QSize>

namespace perlinex::browse {

namespace {

// Rows kept at most; a screen shows a few dozen.
constexpr int kKeptRows = 512;

bool alignedRight(const db::StampField& f) {
    switch (f.kind) {
    case db::FieldKind::Money:
    case db::FieldKind::Integer16:
    case db::FieldKind::Integer32:
        return true;
    default:
        return false;
    }
}

} // namespace

StampListModel::StampListModel(StampBrowser& browser, const regional::Regional& regional,
                               QObject* parent)
    : QAbstractTableModel(parent), browser_(browser), validator_(regional) {
    connect(&browser_, &StampBrowser::listChanged, this, &StampListModel::reset);
    reset();
}

StampListModel::~StampListModel() = default;

QString StampListModel::mark() {
    return QStringLiteral("\u2713");
}

void StampListModel::reset() {
    beginResetModel();
    rows_.clear();
    if (browser_.database() != queryDb_) {
        query_.reset();
        queryDb_ = browser_.database();
        if (queryDb_)
            query_ = queryDb_->query(listRowQuery());
    }
    endResetModel();
}

int StampListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(browser_.rowCount());
}

int StampListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(listColumns().size()) + (pictures_ ? 1 : 0);
}

void StampListModel::setPictureSource(PictureSource source, int size) {
    beginResetModel();
    pictures_ = std::move(source);
    pictureSize_ = size;
    endResetModel();
}

void StampListModel::pictureReady(std::int64_t id) {
    const std::int64_t row = browser_.rowOf(id);
    if (row >= 0 && pictures_)
        emit dataChanged(index(int(row), pictureColumn()), index(int(row), pictureColumn()),
                         {Qt::DecorationRole});
}

const QStringList& StampListModel::cells(int row) const {
    const std::int64_t id = browser_.idAt(row);
    const auto it = rows_.constFind(id);
    if (it != rows_.constEnd())
        return *it;
    if (rows_.size() >= kKeptRows)
        rows_.clear();
    QStringList texts;
    query_->run({db::Value(id)});
    if (query_->next()) {
        const std::vector<ListColumn>& columns = listColumns();
        for (int c = 0; c < int(columns.size()); ++c) {
            const db::StampField& f = *columns[std::size_t(c)].field;
            const db::Value v = query_->value(c);
            if (f.kind == db::FieldKind::Boolean)
                texts << (v.toBool() ? mark() : QString());
            else
                texts << validator_.showValue(f, v);
        }
    }
    query_->finish();
    return *rows_.insert(id, texts);
}

QStringList StampListModel::rowTexts(int row) const {
    return cells(row);
}

QVariant StampListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !query_ || index.row() >= rowCount())
        return {};
    if (index.column() == pictureColumn()) {
        if (role == Qt::DecorationRole)
            return pictures_(browser_.idAt(index.row()));
        if (role == Qt::SizeHintRole)
            return QSize(pictureSize_, pictureSize_);
        return {};
    }
    const db::StampField& f = *listColumns().at(std::size_t(index.column())).field;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cells(index.row()).value(index.column());
    case Qt::TextAlignmentRole:
        if (f.kind == db::FieldKind::Boolean)
            return int(Qt::AlignCenter);
        return int((alignedRight(f) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QStringList StampListModel::headings() const {
    QStringList out;
    for (const ListColumn& c : listColumns())
        out << db::fieldText(c.field->caption);
    return out;
}

QVariant StampListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == pictureColumn())
        return tr("Picture");
    return db::fieldText(listColumns().at(std::size_t(section)).field->caption);
}

void StampListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= int(listColumns().size()))
        return;
    browser_.setOrder(StampOrder::ofColumn(column, order == Qt::DescendingOrder), true);
}

} // namespace perlinex::browse
