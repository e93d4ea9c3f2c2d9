#pragma once

#include "browse/stampbrowser.h"
#include "support/collection_fixture.h"

#include <QLocale>
#include <memory>

// A collection with a browser open on it, and the texts the tests compare.
class BrowserTest : public CollectionTest {
protected:
    const perlinex::regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<perlinex::browse::StampBrowser> browser;
    int beeps = 0;

    void open(bool readOnly = false) {
        browser = std::make_unique<perlinex::browse::StampBrowser>(regional);
        QObject::connect(browser.get(), &perlinex::browse::StampBrowser::boundaryReached,
                         [this] { ++beeps; });
        browser->open(*db, readOnly);
    }
    void TearDown() override {
        if (browser)
            browser->close();
        CollectionTest::TearDown();
    }

    // The description of the current stamp as the record form shows it.
    QString shown() const { return browser->shown().text(QStringLiteral("descr")); }
    // The descriptions of the listed stamps, in the list's order.
    QStringList listed() const {
        QStringList out;
        for (std::int64_t row = 0; row < browser->rowCount(); ++row)
            out << db->scalar(QStringLiteral("select descr from stamp where stampid = %1")
                                  .arg(browser->idAt(row)))
                       .toText();
        return out;
    }
    perlinex::record::StampEntry typed(const QString& descr) const {
        perlinex::record::StampEntry e = browser->shown();
        e.setText(QStringLiteral("descr"), descr);
        return e;
    }
};
