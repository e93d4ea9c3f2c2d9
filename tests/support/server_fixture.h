#pragma once

#include "db/pg/pgstore.h"

#include <QString>
#include <QUuid>
#include <QtGlobal>
#include <gtest/gtest.h>

// Tests against a PostgreSQL server: the one PERLINEX_PG_TEST names (scripts/test starts a
// private one). Without it they skip and say why.
inline QString serverUnderTest() {
    return qEnvironmentVariable("PERLINEX_PG_TEST");
}

#define SKIP_WITHOUT_SERVER()                                                                      \
    if (serverUnderTest().isEmpty())                                                               \
    GTEST_SKIP() << "PERLINEX_PG_TEST names no PostgreSQL server to test against (scripts/test "   \
                    "starts one)"

// Each test its own collection: several test programs share the server.
inline QString freshCollectionName() {
    return QStringLiteral("test_") + QUuid::createUuid().toString(QUuid::Id128);
}
