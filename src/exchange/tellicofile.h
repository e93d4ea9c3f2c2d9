#pragma once

#include "exchange/importsource.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

struct zip;

// A collection kept by Tellico: a ".tc" file, a zip archive that holds the collection as
// "tellico.xml" and its pictures under "images/". Its entries become a table with a column per
// field, headed by the field's title as Tellico's own CSV export heads it, so that both are
// matched to stamp fields alike; a field that can hold several values (the years) has them
// joined by "; " as that export joins them.
namespace perlinex::exchange {

class TellicoCollection : public PictureSource {
public:
    // Reads the file (a zip archive, or the XML alone). Throws ImportError when it is not a
    // Tellico collection or holds anything but stamps (the message names what it holds), and
    // durable::FileError when it cannot be read.
    explicit TellicoCollection(const QString& path);
    ~TellicoCollection() override;
    TellicoCollection(const TellicoCollection&) = delete;
    TellicoCollection& operator=(const TellicoCollection&) = delete;

    const QString& title() const { return title_; }
    // One row per entry, its line the line of the entry in the XML.
    const SourceTable& table() const { return table_; }

    // The pictures in the archive, by the name the picture column gives ("images/ID").
    bool has(const QString& name) const override;
    QByteArray read(const QString& name, QString* why) const override;

private:
    void readXml(const QByteArray& xml);

    QString path_;
    struct ZipCloser {
        void operator()(zip* archive) const;
    };
    std::unique_ptr<zip, ZipCloser> archive_;
    QString title_;
    SourceTable table_;
    QHash<QString, QByteArray> embedded_; // pictures kept in the XML itself, by name
};

} // namespace perlinex::exchange
