#pragma once

#include <QDate>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages for Qt values.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QDate& d, std::ostream* os) {
    *os << d.toString(Qt::ISODate).toStdString();
}

// Waits, handling events, until the condition holds (five seconds at most). QTRY_VERIFY waits
// the same way, but its failure goes to QtTest, which gtest never hears of: the test would
// end early and pass.
#define EXPECT_SOON(condition)                                                                     \
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << #condition
#define ASSERT_SOON(condition)                                                                     \
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << #condition
