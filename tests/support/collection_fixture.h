#pragma once

#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "support/temp_folder.h"

#include <QDate>
#include <memory>

// A test with a fresh collection in its own folder, and a quick way to add stamps.
class CollectionTest : public TempFolderTest {
protected:
    std::unique_ptr<perlinex::db::Database> db;
    QString dbPath;

    void SetUp() override {
        TempFolderTest::SetUp();
        dbPath = path(QStringLiteral("stamp.mdb"));
        db = perlinex::db::createCollection(dbPath);
    }
    void TearDown() override {
        if (db)
            db->close();
    }

    // Adds a stamp through a dynaset, as the editor does; returns its counter.
    std::int64_t addStamp(const QString& descr, const QString& catnum = QString(),
                          const std::vector<std::pair<QString, perlinex::db::Value>>& more = {}) {
        auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
        rs->addNew();
        const std::int64_t id = rs->field(QStringLiteral("stampid")).toInteger();
        rs->setField(QStringLiteral("descr"), perlinex::db::Value(descr));
        rs->setField(QStringLiteral("catnum"), perlinex::db::Value(catnum));
        rs->setField(QStringLiteral("catsort"),
                     perlinex::db::Value(perlinex::db::CatSortKey(catnum)));
        for (const auto& [name, value] : more)
            rs->setField(name, value);
        rs->update();
        return id;
    }

    // The given column of every row of a query, as text.
    QStringList column(const QString& sql, const QString& field,
                       perlinex::db::RecordSetKind kind = perlinex::db::RecordSetKind::Snapshot) {
        auto rs = db->openRecordSet(sql, kind);
        QStringList out;
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(field).toText();
        return out;
    }

    std::int64_t codeId(const QString& table, const QString& idField, const QString& descField,
                        const QString& desc) {
        return db
            ->scalar(QStringLiteral("select %1 from %2 where %3 = '%4'")
                         .arg(idField, table, descField, desc))
            .toInteger();
    }
};
