#pragma once

#include "db/database.h"
#include "db/dberror.h"
#include "db/pg/pgstore.h"
#include "support/server_fixture.h"
#include "support/store_errors.h"
#include "support/wait.h" // readable QString values in failures

#include <QString>
#include <QUuid>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Several desks on one collection of the PostgreSQL server PERLINEX_PG_TEST names (scripts/test
// starts a private one): each test makes a collection of its own and drops it again.
namespace desks {

namespace db = perlinex::db;

class SharedCollectionTest : public ::testing::Test {
protected:
public:
    // A desk of its own: a connection of its own to the server.
    std::unique_ptr<db::Database> desk() const {
        return db::openServerDatabase(serverUnderTest(), collection);
    }

protected:
    QString collection;

    void SetUp() override {
        SKIP_WITHOUT_SERVER();
        collection = QStringLiteral("desks_") + QUuid::createUuid().toString(QUuid::Id128);
        db::createServerCollection(serverUnderTest(), collection, false);
    }
    void TearDown() override {
        if (!collection.isEmpty())
            db::dropServerCollection(serverUnderTest(), collection);
    }
};

} // namespace desks
