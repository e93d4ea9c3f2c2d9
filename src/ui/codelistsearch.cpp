#include "ui/codelistsearch.h"

#include "db/textcompare.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace perlinex {

namespace {

// A key that types a character: the start, or the next letter, of a search.
bool typesCharacter(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return !key->text().isEmpty() && key->text().at(0).isPrint();
}

} // namespace

CodeListSearch* CodeListSearch::attach(QComboBox* box) {
    return new CodeListSearch(box);
}

CodeListSearch::CodeListSearch(QComboBox* box)
    : QObject(box), box_(box), popup_(new QFrame(box, Qt::Popup)), typed_(new QLineEdit(popup_)),
      found_(new QListWidget(popup_)), none_(new QLabel(popup_)) {
    popup_->setObjectName(QStringLiteral("codeListSearch"));
    popup_->setFrameShape(QFrame::StyledPanel);
    typed_->setObjectName(QStringLiteral("txtSearch"));
    found_->setObjectName(QStringLiteral("lstMatches"));
    found_->setFocusPolicy(Qt::NoFocus);
    found_->setSelectionMode(QAbstractItemView::SingleSelection);
    none_->setObjectName(QStringLiteral("lblNoMatch"));
    none_->setText(tr("No entry starts with or contains what is typed."));
    none_->setWordWrap(true);
    auto* layout = new QVBoxLayout(popup_);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(typed_);
    layout->addWidget(found_);
    layout->addWidget(none_);

    box_->installEventFilter(this);
    box_->view()->installEventFilter(this);
    typed_->installEventFilter(this);
    connect(typed_, &QLineEdit::textChanged, this, &CodeListSearch::refill);
    connect(found_, &QListWidget::itemClicked, this, [this] { take(0); });
}

QList<int> CodeListSearch::matches(const QStringList& entries, const QString& typed) {
    const QString wanted = db::accentFreeKey(typed);
    QList<int> starting;
    QList<int> containing;
    for (int row = 0; row < entries.size(); ++row) {
        const QString entry = db::accentFreeKey(entries[row]);
        if (entry.startsWith(wanted))
            starting << row;
        else if (entry.contains(wanted))
            containing << row;
    }
    return starting + containing;
}

bool CodeListSearch::isOpen() const {
    return popup_->isVisible();
}

bool CodeListSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == typed_)
        return searchKey(key);
    if (!typesCharacter(key))
        return QObject::eventFilter(watched, event);
    // Typing into the closed box, or into its own list, starts a search instead of jumping to
    // the first entry with that letter.
    if (watched == box_->view())
        box_->hidePopup();
    open(key->text());
    return true;
}

void CodeListSearch::open(const QString& typed) {
    typed_->setText(typed);
    refill();
    place();
    popup_->show();
    typed_->setFocus(Qt::PopupFocusReason);
    typed_->end(false);
}

void CodeListSearch::refill() {
    QStringList entries;
    for (int i = 0; i < box_->count(); ++i)
        entries << box_->itemText(i);
    found_->clear();
    for (const int row : matches(entries, typed_->text())) {
        auto* item = new QListWidgetItem(entries[row], found_);
        item->setData(Qt::UserRole, row);
    }
    found_->setCurrentRow(found_->count() > 0 ? 0 : -1);
    found_->setVisible(found_->count() > 0);
    none_->setVisible(found_->count() == 0);
    if (popup_->isVisible())
        place();
}

// Under the box, as wide as the box, as tall as its own list would be; above the box when
// the screen has no room below.
void CodeListSearch::place() {
    const int rows = std::clamp(int(found_->count()), 1, std::max(1, box_->maxVisibleItems()));
    const int rowHeight = std::max(found_->sizeHintForRow(0), box_->fontMetrics().height());
    found_->setFixedHeight(rows * rowHeight + 2 * found_->frameWidth());
    popup_->setFixedWidth(std::max(box_->width(), popup_->minimumSizeHint().width()));
    popup_->adjustSize();
    QPoint at = box_->mapToGlobal(QPoint(0, box_->height()));
    if (const QScreen* screen = box_->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + popup_->height() > area.bottom() + 1)
            at.setY(box_->mapToGlobal(QPoint(0, 0)).y() - popup_->height());
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - popup_->width())));
    }
    popup_->move(at);
}

bool CodeListSearch::searchKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QApplication::sendEvent(found_, key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        take(0);
        return true;
    case Qt::Key_Tab:
        take(1);
        return true;
    case Qt::Key_Backtab:
        take(-1);
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

// Takes the highlighted entry; moveFocus 1 or -1 then moves on as Tab or Shift+Tab would.
void CodeListSearch::take(int moveFocus) {
    const QListWidgetItem* item = found_->currentItem();
    if (!item)
        return; // nothing to take: the search stays open to be corrected
    const int row = item->data(Qt::UserRole).toInt();
    close();
    box_->setCurrentIndex(row);
    emit box_->activated(row);
    emit box_->textActivated(box_->itemText(row));
    if (moveFocus != 0) {
        QKeyEvent tab(QEvent::KeyPress, moveFocus > 0 ? Qt::Key_Tab : Qt::Key_Backtab,
                      moveFocus > 0 ? Qt::NoModifier : Qt::ShiftModifier);
        QApplication::sendEvent(box_, &tab);
    }
}

void CodeListSearch::close() {
    popup_->hide();
    box_->setFocus(Qt::PopupFocusReason);
}

} // namespace perlinex
