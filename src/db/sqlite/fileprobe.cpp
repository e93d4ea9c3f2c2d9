#include "db/sqlite/fileprobe.h"
#include "util/translation.h"

#include <QFile>
#include <QFileInfo>

namespace perlinex::db {

namespace {

bool startsWith(const QByteArray& head, const char* magic) {
    return head.startsWith(QByteArray(magic));
}

bool looksLikeText(const QByteArray& head) {
    if (head.contains('\0'))
        return false;
    int control = 0;
    for (char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            ++control;
    }
    return control * 20 < head.size();
}

// The fields of an SQLite header after its 16-byte magic: a power-of-two page size and the
// fixed payload fractions 64, 32, 32. A header whose magic was changed still shows them.
bool hasSqliteHeaderFields(const QByteArray& head) {
    if (head.size() < 100)
        return false;
    const auto b = [&](int i) { return static_cast<unsigned char>(head[i]); };
    const int pageSize = (b(16) << 8) | b(17);
    const bool pow2 = pageSize == 1 || (pageSize >= 512 && (pageSize & (pageSize - 1)) == 0);
    return pow2 && b(21) == 64 && b(22) == 32 && b(23) == 32;
}

} // namespace

FileProbe probeFile(const QString& path) {
    QFileInfo info(path);
    if (!info.exists())
        return {FileKind::Missing, translate("FileProbe", "a missing file")};
    if (info.isDir())
        return {FileKind::Other, translate("FileProbe", "a folder")};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {FileKind::Other,
                translate("FileProbe", "a file that cannot be read (%1)").arg(f.errorString())};
    const QByteArray head = f.read(512);
    if (head.isEmpty())
        return {FileKind::Empty, translate("FileProbe", "an empty file")};
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return {FileKind::SQLite, translate("FileProbe", "an SQLite database")};
    if (head.size() >= 20 && head.mid(4, 15) == QByteArray("Standard Jet DB"))
        return {FileKind::OtherDatabase,
                QStringLiteral("a Microsoft Access (Jet) database from another program")};
    if (head.size() >= 20 && head.mid(4, 16) == QByteArray("Standard ACE DB\0", 16))
        return {FileKind::OtherDatabase, translate("FileProbe", "a Microsoft Access database")};
    if (hasSqliteHeaderFields(head))
        return {FileKind::DamagedSQLite, translate("FileProbe", "a damaged SQLite database")};
    if (startsWith(head, "%PDF"))
        return {FileKind::Other, translate("FileProbe", "a PDF document")};
    if (startsWith(head, "PK\x03\x04"))
        return {FileKind::Other, translate("FileProbe", "a ZIP archive or office document")};
    if (startsWith(head, "\x89PNG"))
        return {FileKind::Other, translate("FileProbe", "a PNG picture")};
    if (startsWith(head, "\xff\xd8\xff"))
        return {FileKind::Other, translate("FileProbe", "a JPEG picture")};
    if (startsWith(head, "GIF8"))
        return {FileKind::Other, translate("FileProbe", "a GIF picture")};
    if (startsWith(head, "BM"))
        return {FileKind::Other, translate("FileProbe", "a bitmap picture")};
    if (looksLikeText(head))
        return {FileKind::Other, translate("FileProbe", "a text file")};
    return {FileKind::Other, translate("FileProbe", "a file of an unknown kind")};
}

} // namespace perlinex::db
