#include "reports/reporttargets.h"

#include "regional/regional.h"
#include "reports/printdocument.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QFile>
#include <QIODevice>
#include <QTextStream>

namespace perlinex::reports {

namespace {

bool needsCleaning(QStringView text) {
    for (const QChar c : text)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

const char* htmlEntity(QChar c) {
    switch (c.unicode()) {
    case u'<':
        return "&lt;";
    case u'>':
        return "&gt;";
    case u'&':
        return "&amp;";
    case u'"':
        return "&quot;";
    default:
        return nullptr;
    }
}

} // namespace

void writeFailed(const QIODevice& device, const QString& fileName) {
    if (const auto* file = dynamic_cast<const durable::OutputFile*>(&device);
        file && file->failed())
        file->fail();
    throw durable::FileError(
        durable::FileError::Kind::Other,
        translate("Reports", "Could not write '%1': %2.").arg(fileName, device.errorString()));
}

// Lines ----------------------------------------------------------------------------------

LineWriter::LineWriter(QIODevice& device, const QString& fileName)
    : device_(device), fileName_(fileName) {
    buffer_.reserve(WriteChunk + 4096);
}

void LineWriter::appendField(QStringView text) {
    if (!needsCleaning(text)) {
        buffer_.append(text);
        return;
    }
    for (const QChar c : text)
        buffer_.append(c == u'\t' || c == u'\r' || c == u'\n' ? QChar(u' ') : c);
}

void LineWriter::appendEscaped(QStringView text) {
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const char* entity = htmlEntity(text[i])) {
            buffer_.append(text.mid(from, i - from));
            buffer_.append(QLatin1StringView(entity));
            from = i + 1;
        }
    }
    buffer_.append(text.mid(from));
}

void LineWriter::endLine() {
    buffer_.append(QLatin1StringView("\r\n"));
    if (buffer_.size() >= WriteChunk)
        flush();
}

void LineWriter::line(QLatin1StringView text) {
    append(text);
    endLine();
}

void LineWriter::flush() {
    if (buffer_.isEmpty())
        return;
    const QByteArray bytes = buffer_.toUtf8();
    if (device_.write(bytes) != bytes.size())
        writeFailed(device_, fileName_);
    buffer_.truncate(0);
}

// Text -----------------------------------------------------------------------------------

TextReportWriter::TextReportWriter(QIODevice& device, const QString& fileName)
    : out_(device, fileName) {}

void TextReportWriter::cellsLine(std::span<const QString> cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out_.append(QChar(u'\t'));
        out_.appendField(cells[i]);
    }
    out_.endLine();
}

void TextReportWriter::row(std::span<const QString> cells) {
    cellsLine(cells);
}

void TextReportWriter::totals(const TotalsLine& line) {
    cellsLine(line.textCells);
}

void TextReportWriter::finish() {
    out_.flush();
}

// HTML -----------------------------------------------------------------------------------

namespace {

HtmlTableHead headOf(const ReportDefinition& definition) {
    HtmlTableHead head{reportText(definition.htmlTitle),
                       reportText(definition.htmlCaption),
                       htmlHeadings(definition),
                       {}};
    for (const ReportColumn& c : definition.columns)
        head.rightAligned << c.htmlRight;
    return head;
}

} // namespace

HtmlReportWriter::HtmlReportWriter(QIODevice& device, const QString& fileName,
                                   const ReportDefinition& definition)
    : HtmlReportWriter(device, fileName, headOf(definition)) {}

HtmlReportWriter::HtmlReportWriter(QIODevice& device, const QString& fileName,
                                   const HtmlTableHead& head)
    : out_(device, fileName), right_(head.rightAligned) {
    out_.line(QLatin1StringView("<html>"));
    out_.append(QLatin1StringView("<head><meta charset=\"utf-8\"><title>"));
    out_.appendEscaped(head.title);
    out_.line(QLatin1StringView("</title></head>"));
    out_.line(QLatin1StringView("<body>"));
    out_.line(QLatin1StringView("<table border=1>"));
    // The caption spans the whole table, however many columns the report has.
    out_.append(QStringLiteral("<tr><th colspan=%1>").arg(right_.size()));
    out_.appendEscaped(head.caption);
    out_.line(QLatin1StringView("</th></tr>"));
    const QStringList& headings = head.headings;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        if (i == 0)
            out_.append(QLatin1StringView("<tr>"));
        out_.append(QLatin1StringView("<th>"));
        out_.appendEscaped(headings[i]);
        out_.append(QLatin1StringView("</th>"));
        if (i + 1 == headings.size())
            out_.append(QLatin1StringView("</tr>"));
        out_.endLine();
    }
}

void HtmlReportWriter::row(std::span<const QString> cells) {
    out_.append(QLatin1StringView("<tr>"));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool right = qsizetype(i) < right_.size() && right_[qsizetype(i)];
        out_.append(right ? QLatin1StringView("<td align=right>") : QLatin1StringView("<td>"));
        out_.appendEscaped(cells[i]);
        out_.append(QLatin1StringView("</td>"));
    }
    out_.line(QLatin1StringView("</tr>"));
}

void HtmlReportWriter::totals(const TotalsLine& line) {
    out_.append(QLatin1StringView("<tr>"));
    for (const HtmlCell& cell : line.htmlCells) {
        out_.append(QLatin1StringView("<td"));
        if (cell.right)
            out_.append(QLatin1StringView(" align=right"));
        if (cell.colspan > 1)
            out_.append(QStringLiteral(" colspan=%1").arg(cell.colspan));
        out_.append(QChar(u'>'));
        if (cell.text.isEmpty())
            out_.append(QLatin1StringView("&nbsp;"));
        else
            out_.appendEscaped(cell.text);
        out_.append(QLatin1StringView("</td>"));
    }
    out_.line(QLatin1StringView("</tr>"));
}

void HtmlReportWriter::finish() {
    out_.line(QLatin1StringView("</table>"));
    out_.append(QLatin1StringView("<H6>List Produced by <A HREF=\""));
    out_.appendEscaped(QString::fromLatin1(HomePage));
    out_.line(QLatin1StringView("\">Perlinex</A></H6>"));
    out_.line(QLatin1StringView("</body>"));
    out_.line(QLatin1StringView("</html>"));
    out_.flush();
}

// Preview --------------------------------------------------------------------------------

PreviewReportWriter::PreviewReportWriter(PrintDocument& document,
                                         const ReportDefinition& definition)
    : document_(document),
      format_(TableFormat::parse(QString::fromLatin1(definition.tableFormat))) {}

PreviewReportWriter::PreviewReportWriter(PrintDocument& document, const TableFormat& format)
    : document_(document), format_(format) {}

void PreviewReportWriter::row(std::span<const QString> cells) {
    document_.addRow(format_, QStringList(cells.begin(), cells.end()));
}

void PreviewReportWriter::totals(const TotalsLine& line) {
    document_.addRow(TableFormat::parse(line.previewFormat), line.previewCells);
}

QString pageHeader(const ReportDefinition& definition, const regional::Regional& regional,
                   const QDate& today) {
    return regional.formatShortDate(today) + u'|' + reportText(definition.title) +
           translate("Reports", "|Page %d");
}

std::int64_t fillPreview(PrintDocument& document, ReportData& data,
                         const regional::Regional& regional, const QDate& today) {
    document.setPreview(true);
    // The preview's document is shared with the custom reports, which may have left it in
    // landscape with a footer.
    document.setOrientation(PrintDocument::Orientation::Portrait);
    document.startDoc();
    document.setFooter(QString());
    document.setHeader(pageHeader(data.definition(), regional, today));
    PreviewReportWriter writer(document, data.definition());
    const std::int64_t rows = data.writeTo(writer, regional);
    document.endDoc();
    return rows;
}

// Files ----------------------------------------------------------------------------------

TextStreamDevice::TextStreamDevice(QTextStream& stream) : stream_(stream) {
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 TextStreamDevice::writeData(const char* data, qint64 size) {
    stream_ << decoder_(QByteArrayView(data, size));
    return stream_.status() == QTextStream::Ok ? size : -1;
}

void writeFileWhole(const QString& fileName, const durable::ProtectedFiles& keep,
                    const std::function<void(QIODevice& file)>& write) {
    durable::replaceUserFile(fileName, keep, [&](const QString& temp) {
        durable::OutputFile file(temp, fileName);
        file.open();
        write(file);
        file.finish();
    });
}

std::int64_t writeReport(ReportData& data, FileTarget target, QIODevice& device,
                         const QString& name, const regional::Regional& regional) {
    std::int64_t rows = 0;
    if (target == FileTarget::Text) {
        TextReportWriter writer(device, name);
        rows = data.writeTo(writer, regional);
        writer.finish();
    } else {
        HtmlReportWriter writer(device, name, data.definition());
        rows = data.writeTo(writer, regional);
        writer.finish();
    }
    return rows;
}

std::int64_t writeReportFile(ReportData& data, FileTarget target, const QString& fileName,
                             const regional::Regional& regional,
                             const durable::ProtectedFiles& keep) {
    std::int64_t rows = 0;
    writeFileWhole(fileName, keep, [&](QIODevice& file) {
        rows = writeReport(data, target, file, fileName, regional);
    });
    return rows;
}

} // namespace perlinex::reports
