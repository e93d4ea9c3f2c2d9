#pragma once

#include "reports/printdocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// A for-sale report's table: six columns, the price right-aligned.
inline const perlinex::reports::TableFormat kForSale =
    perlinex::reports::TableFormat::parse(u"2880|1440|1440|720|720|>1400;");
inline const QString kForSaleHeading = QStringLiteral("Description|Cat #|Country|Face|Year|Price;");

inline QStringList forSaleRow(int i) {
    return {QStringLiteral("Stamp %1").arg(i, 6, 10, QLatin1Char('0')),
            QStringLiteral("SG %1").arg(i),
            QStringLiteral("Sweden"),
            QStringLiteral("$0.10"),
            QStringLiteral("1920"),
            QStringLiteral("$%1.50").arg(i % 100)};
}

inline void addForSaleRows(perlinex::reports::PrintDocument& doc, int first, int count) {
    for (int i = first; i < first + count; ++i)
        doc.addRow(kForSale, forSaleRow(i));
}

// The page objects of a PDF file (its "/Type /Page" dictionaries, not "/Type /Pages").
inline int pdfPageCount(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}
