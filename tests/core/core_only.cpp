// Runs the store, the regional settings, the text helpers and the browsing model with its list
// with a Qt Core application alone. That nothing below the user interface links Qt Gui or Widgets
// is checked when the build is configured (cmake/LayerGuard.cmake).
#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "regional/regional.h"
#include "util/textfields.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto db = perlinex::db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")));
    auto rs = db->openRecordSet(QStringLiteral("Select * from country order by Coudesc"));
    const perlinex::regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    db->execute(QStringLiteral("insert into stamp (descr, catnum, catsort) values ('Penny Black', "
                               "'SG 1', '')"));
    perlinex::browse::StampBrowser browser(us);
    browser.setFilter(QStringLiteral("PENNY"));
    browser.open(*db, false);
    const perlinex::browse::StampListModel list(browser, us);
    const bool browsed =
        list.rowCount() == 1 && list.rowTexts(0).value(1) == QStringLiteral("SG 1");
    browser.close();
    const bool ok =
        browsed && rs->recordCount() > 0 &&
        perlinex::CountFields(QStringLiteral("a;b"), QLatin1Char(';')) == 2 &&
        us.formatCurrency(perlinex::Currency::fromRaw(15000)) == QStringLiteral("$1.50");
    std::puts(ok ? "1 passed, 0 failed" : "0 passed, 1 failed");
    return ok ? 0 : 1;
}
