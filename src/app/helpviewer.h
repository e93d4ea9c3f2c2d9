#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace perlinex {

class Program;

// Page names the program asks for through Program::showHelpPage.
inline const QString HelpContentsPage = QStringLiteral("index.html");
inline const QString HelpUsingPage = QStringLiteral("usinghelp.html");
// Not a page: opens the viewer with the focus in its keyword search.
inline const QString HelpSearchPage = QStringLiteral("search:");

// The page of a help context number (the numbers the code table windows use), or an empty
// text for a number that has none.
QString helpPageOfContext(int context);

// The help window: the pages compiled in under ":/help/", a contents button, back and
// forward, and a keyword search over every page. Each show... call brings the window forward.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    void showContents();
    // A page by its name ("find.html", "find.html#operators"); an unknown name shows the
    // contents.
    void showPage(const QString& name);
    // Unknown context numbers show the contents.
    void showContext(int context);
    // Puts the focus in the search field, its text selected.
    void showSearch();
    void showUsingHelp();

    // The name of the page shown ("index.html").
    QString currentPage() const;
    // The names of the pages whose text holds every word of the query, without regard to
    // case, ordered by title.
    QStringList search(const QString& query) const;

private:
    struct Page {
        QString name;
        QString title;
        QString text; // plain text, folded to lower case
    };

    void present();
    void fillResults(const QString& query);
    void openResult(int row);

    std::vector<Page> pages_;
    QTextBrowser* browser_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QListWidget* results_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
};

// Points program.showHelpContext and program.showHelpPage at one viewer shared by the
// program: made on first use, brought forward on every call, deleted with the hooks.
// showHelpPage also takes HelpSearchPage.
void installHelp(Program& program);

} // namespace perlinex
