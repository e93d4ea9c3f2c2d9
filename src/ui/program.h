#pragma once

#include "regional/regional.h"
#include "ui/errorhandler.h"
#include "util/durablefile.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QSettings;

namespace perlinex {

// The folder of the collection when none is named: the program's own under the user's data
// folder (~/.local/share/perlinex).
QString defaultCollectionFolder();

// The report target chosen in the Reports menu.
enum class ReportTarget { Preview = 1, TextFile = 2, HtmlTable = 3 };

// The program-wide state: one object, made by main() and handed to every window. Windows
// never reach each other's controls; they talk through this and by showing one another.
class Program : public ProgramState {
public:
    explicit Program(DialogService& dialogs, const QString& appFolder);

    regional::Regional regional;
    QString HelpFile;

    // Code-list reload flags, by code table number of the Maintain menu (1..9). A raised flag
    // makes the main window refill that list when it is next activated.
    bool reloadFlag(int maintTable) const;
    void setReloadFlag(int maintTable, bool raised);
    void raiseAllReloadFlags();
    // The number of the code table with that name ("country" is 3), or 0.
    static int maintTableOf(const QString& table);

    int MaintTable = 0;                            // the code table the code table window works on
    QString FindUseWith = QStringLiteral("stamp"); // the main table the find dialog searches

    // Dates: the user's short-date order ("mdy", "dmy", "ymd") and separator, and the date
    // the calendar dialog opens on and hands back.
    QString DateOrder = QStringLiteral("mdy");
    QString DateSep = QStringLiteral("/");

    // Reports.
    ReportTarget reportTarget = ReportTarget::Preview;
    bool ReportActive = false;
    // The preview table of the running report: its column format ("2880|>1400;") and its
    // heading row ("Description|Price;"), which the page-start handler repeats on every page.
    QString TableFormat;
    QString TableHeading;
    // The category report asked for: a code table number (3 country, 9 type, 4 format,
    // 8 topic).
    int ReportCategory = 0;
    QColor HeadingShade = QColor(0, 0, 0);
    QColor BodyShade = QColor(200, 200, 200);

    // Opens the help viewer on a page or a context number; installed by the program.
    std::function<void(int context)> showHelpContext;
    std::function<void(const QString& page)> showHelpPage;

    // What the windows keep between runs (their places, the last folders used): the user's
    // settings, or the file settingsFile names when it is set (tests set one of their own).
    QString settingsFile;
    std::unique_ptr<QSettings> settings() const;

    // Opens a shared collection from now on instead of a folder: Server names it, and AppFolder
    // becomes this desk's own folder for it under the user's cache folder.
    void takeShared(const QString& address);

    // The field catalogue of custom reports and Find: a shared collection's own, or the one in
    // AppFolder (made when it is missing; remade, when given, gets words for the user when it
    // had to be made again). Throws DbError.
    std::unique_ptr<db::Database> openFieldCatalogue(QString* remade = nullptr) const;

    QString imagesFolder() const;
    // The files of the collection that no file the user names may replace.
    durable::ProtectedFiles collectionFiles() const;

private:
    std::array<bool, 10> reload_{};
};

} // namespace perlinex
