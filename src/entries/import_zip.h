#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

class QXmlStreamReader;

// A file the import refuses. The message is German, names the file and can be shown as it stands.
class ImportFehler : public std::runtime_error {
public:
    explicit ImportFehler(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

namespace importdatei {

// Larger files and archive members are refused before they are read whole: a packed file of a few
// kilobytes can unpack to gigabytes.
constexpr qint64 kMaxDateigroesse = 64 * 1024 * 1024;
constexpr qint64 kMaxEntpackt = 64 * 1024 * 1024;

// The file's bytes; refuses a missing, unreadable or too large file.
QByteArray lesen(const QString& path);

// "„name.xlsx“": how messages name the file.
QString dateiname(const QString& path);

// The members of a zip package (.docx, .xlsx), read from memory. Every member is unpacked with a limit,
// whatever size the archive claims for it.
class ZipPaket {
public:
    // Refuses data that is no zip archive ("beschädigt") with a message naming path.
    ZipPaket(const QByteArray& data, const QString& path, qint64 limit = kMaxEntpackt);
    ~ZipPaket();
    ZipPaket(const ZipPaket&) = delete;
    ZipPaket& operator=(const ZipPaket&) = delete;

    bool enthaelt(const QString& member) const;
    // The unpacked member; refuses a missing member, a damaged one and one larger than the limit.
    QByteArray member(const QString& member) const;

private:
    struct Impl;
    Impl* d_;
    QString path_;
    qint64 limit_;
};

// Reads the next token and refuses a document type declaration or an entity reference (external
// entities and entity expansion are ways to attack a reader), and any XML error, naming path.
// False at the end of the document.
bool naechstes(QXmlStreamReader& xml, const QString& path);

} // namespace importdatei
