#include "reports/pageoutput.h"
#include "reports/printdocument.h"
#include "reports_support.h"

#include "support/temp_folder.h"
#include "support/wait.h"

#include <QFile>

using namespace perlinex::reports;

namespace {

class PdfExport : public TempFolderTest {
protected:
    PrintDocument doc;
    void SetUp() override {
        TempFolderTest::SetUp();
        doc.setHeader(QStringLiteral("3/14/2024|Stamps For Sale|Page %d"));
        doc.startDoc();
        addForSaleRows(doc, 0, 400);
        doc.endDoc();
        doc.layoutAll();
        ASSERT_GT(doc.pageCount(), 3);
    }
    static QByteArray contents(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(PdfExport, WritesOnePdfPageForEveryPage) {
    const QString name = path(QStringLiteral("report.pdf"));
    std::vector<int> told;
    QString error;
    EXPECT_EQ(exportPdf(
                  doc, name, {},
                  [&](int done, int total) {
                      told.push_back(done);
                      EXPECT_EQ(total, doc.pageCount());
                      return true;
                  },
                  &error),
              OutputResult::Done)
        << error.toStdString();
    EXPECT_EQ(pdfPageCount(name), doc.pageCount());
    EXPECT_TRUE(contents(name).startsWith("%PDF"));
    ASSERT_EQ(told.size(), size_t(doc.pageCount()) + 1);
    EXPECT_EQ(told.back(), doc.pageCount());
}

TEST_F(PdfExport, CancelledOrFailedExportLeavesTheOldFileAlone) {
    const QString name = path(QStringLiteral("old.pdf"));
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    EXPECT_EQ(exportPdf(doc, name, {}, [](int done, int) { return done < 2; }),
              OutputResult::Cancelled);
    EXPECT_EQ(contents(name), QByteArray("old contents"));

    QString error;
    EXPECT_EQ(exportPdf(doc, path(QStringLiteral("missing/folder/x.pdf")), {}, {}, &error),
              OutputResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing/folder/x.pdf"))));
}
