#include "app/helpviewer.h"

#include "db/fields.h"
#include "ui/program.h"
#include "ui/slotguard.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace perlinex {

namespace {

const QString ResourceFolder = QStringLiteral(":/help/");
const QString UrlPrefix = QStringLiteral("qrc:/help/");

// "qrc:/help/find.html#x", ":/help/find.html" and "find.html" all name the page find.html.
QString pageName(QString name) {
    for (const QString& prefix : {UrlPrefix, ResourceFolder, QStringLiteral("/help/")})
        if (name.startsWith(prefix))
            return name.mid(prefix.size());
    return name;
}

} // namespace

QString helpPageOfContext(int context) {
    // The code table windows pass their table's context number with F1.
    for (const db::CodeTable& t : db::codeTables())
        if (t.helpTopic == context)
            return QString::fromLatin1(t.helpPage);
    return QString();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Perlinex Help"));
    // An open help window must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 640);

    auto* contents = new QPushButton(tr("&Contents"), this);
    contents->setObjectName(QStringLiteral("cmdContents"));
    back_ = new QPushButton(tr("&Back"), this);
    back_->setObjectName(QStringLiteral("cmdBack"));
    back_->setEnabled(false);
    forward_ = new QPushButton(tr("&Forward"), this);
    forward_->setObjectName(QStringLiteral("cmdForward"));
    forward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();

    auto* searchPane = new QWidget(this);
    auto* searchLabel = new QLabel(tr("&Search for words:"), searchPane);
    searchField_ = new QLineEdit(searchPane);
    searchField_->setObjectName(QStringLiteral("txtHelpSearch"));
    searchField_->setClearButtonEnabled(true);
    searchField_->setPlaceholderText(tr("Type one or more words"));
    searchLabel->setBuddy(searchField_);
    results_ = new QListWidget(searchPane);
    results_->setObjectName(QStringLiteral("lstHelpResults"));
    results_->setAccessibleName(tr("Pages found"));
    auto* searchLayout = new QVBoxLayout(searchPane);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(searchField_);
    searchLayout->addWidget(results_);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelpPage"));
    browser_->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(searchPane);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 670});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connectGuarded(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    auto* backKey = new QShortcut(QKeySequence::Back, this);
    connect(backKey, &QShortcut::activated, browser_, &QTextBrowser::backward);
    auto* forwardKey = new QShortcut(QKeySequence::Forward, this);
    connect(forwardKey, &QShortcut::activated, browser_, &QTextBrowser::forward);
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connectGuarded(findKey, &QShortcut::activated, this, &HelpViewer::showSearch);

    connectGuarded(searchField_, &QLineEdit::textChanged, this, &HelpViewer::fillResults);
    connectGuarded(searchField_, &QLineEdit::returnPressed, this, [this] {
        if (results_->count() > 0) {
            results_->setCurrentRow(0);
            openResult(0);
        }
    });
    connectGuarded(results_, &QListWidget::itemActivated, this,
                   [this](QListWidgetItem* item) { openResult(results_->row(item)); });
    connectGuarded(results_, &QListWidget::itemClicked, this,
                   [this](QListWidgetItem* item) { openResult(results_->row(item)); });

    // The search runs over the plain text of every page, read once.
    const QStringList names =
        QDir(ResourceFolder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(ResourceFolder + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(file.readAll()));
        Page page;
        page.name = name;
        page.title = doc.metaInformation(QTextDocument::DocumentTitle);
        if (page.title.isEmpty())
            page.title = name;
        page.text = (page.title + QLatin1Char('\n') + doc.toPlainText()).toCaseFolded();
        pages_.push_back(std::move(page));
    }

    browser_->setSource(QUrl(UrlPrefix + HelpContentsPage));
    browser_->clearHistory();
}

void HelpViewer::present() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpViewer::showContents() {
    showPage(HelpContentsPage);
}

void HelpViewer::showPage(const QString& name) {
    QString page = pageName(name);
    QString fragment;
    if (const qsizetype hash = page.indexOf(QLatin1Char('#')); hash >= 0) {
        fragment = page.mid(hash + 1);
        page.truncate(hash);
    }
    if (page.isEmpty() || !QFile::exists(ResourceFolder + page)) {
        page = HelpContentsPage;
        fragment.clear();
    }
    QUrl url(UrlPrefix + page);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    browser_->setSource(url);
    present();
}

void HelpViewer::showContext(int context) {
    const QString page = helpPageOfContext(context);
    showPage(page.isEmpty() ? HelpContentsPage : page);
}

void HelpViewer::showSearch() {
    present();
    searchField_->setFocus(Qt::ShortcutFocusReason);
    searchField_->selectAll();
}

void HelpViewer::showUsingHelp() {
    showPage(HelpUsingPage);
}

QString HelpViewer::currentPage() const {
    return pageName(browser_->source().path());
}

QStringList HelpViewer::search(const QString& query) const {
    const QStringList words = query.toCaseFolded().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<const Page*> found;
    if (!words.isEmpty())
        for (const Page& page : pages_)
            if (std::all_of(words.begin(), words.end(),
                            [&](const QString& w) { return page.text.contains(w); }))
                found.push_back(&page);
    std::sort(found.begin(), found.end(), [](const Page* a, const Page* b) {
        return QString::localeAwareCompare(a->title, b->title) < 0;
    });
    QStringList names;
    for (const Page* page : found)
        names << page->name;
    return names;
}

void HelpViewer::fillResults(const QString& query) {
    results_->clear();
    for (const QString& name : search(query.simplified())) {
        const auto page = std::find_if(pages_.begin(), pages_.end(),
                                       [&](const Page& p) { return p.name == name; });
        auto* item = new QListWidgetItem(page->title, results_);
        item->setData(Qt::UserRole, name);
    }
}

void HelpViewer::openResult(int row) {
    if (QListWidgetItem* item = results_->item(row))
        showPage(item->data(Qt::UserRole).toString());
}

void installHelp(Program& program) {
    // The hooks share one holder, so the viewer lives as long as the program's hooks do.
    auto holder = std::make_shared<std::unique_ptr<HelpViewer>>();
    auto viewer = [holder]() -> HelpViewer& {
        if (!*holder)
            *holder = std::make_unique<HelpViewer>();
        return **holder;
    };
    program.showHelpContext = [viewer](int context) { viewer().showContext(context); };
    program.showHelpPage = [viewer](const QString& page) {
        if (page == HelpSearchPage)
            viewer().showSearch();
        else
            viewer().showPage(page);
    };
}

} // namespace perlinex
