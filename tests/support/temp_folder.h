#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
};
