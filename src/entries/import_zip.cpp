#include "entries/import_zip.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <zip.h>

namespace importdatei {

namespace {

QString beschaedigt(const QString& path) {
    return QStringLiteral("Die Datei %1 ist beschädigt und kann nicht gelesen werden.").arg(dateiname(path));
}

QString zuGross(const QString& path, qint64 limit) {
    return QStringLiteral("Die Datei %1 ist zu groß: entpackt wäre sie größer als %2 MB.")
        .arg(dateiname(path))
        .arg(limit / (1024 * 1024));
}

} // namespace

QString dateiname(const QString& path) {
    return QStringLiteral("„%1“").arg(QFileInfo(path).fileName());
}

QByteArray lesen(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportFehler(QStringLiteral("Die Datei %1 kann nicht geöffnet werden.").arg(dateiname(path)));
    if (file.size() > kMaxDateigroesse) throw ImportFehler(zuGross(path, kMaxDateigroesse));
    // Read with the limit too: the size of a pipe or a growing file says nothing.
    QByteArray data = file.read(kMaxDateigroesse + 1);
    if (data.size() > kMaxDateigroesse) throw ImportFehler(zuGross(path, kMaxDateigroesse));
    if (file.error() != QFileDevice::NoError)
        throw ImportFehler(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(dateiname(path)));
    return data;
}

struct ZipPaket::Impl {
    QByteArray data; // libzip reads from this buffer; it must outlive the archive
    zip_t* za = nullptr;
};

ZipPaket::ZipPaket(const QByteArray& data, const QString& path, qint64 limit)
    : d_(new Impl), path_(path), limit_(limit) {
    d_->data = data;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src =
        zip_source_buffer_create(d_->data.constData(), zip_uint64_t(d_->data.size()), 0, &error);
    if (src) {
        d_->za = zip_open_from_source(src, ZIP_RDONLY, &error);
        if (!d_->za) zip_source_free(src);
    }
    zip_error_fini(&error);
    if (!d_->za) {
        delete d_;
        throw ImportFehler(beschaedigt(path));
    }
}

ZipPaket::~ZipPaket() {
    zip_discard(d_->za);
    delete d_;
}

bool ZipPaket::enthaelt(const QString& member) const {
    return zip_name_locate(d_->za, member.toUtf8().constData(), 0) >= 0;
}

QByteArray ZipPaket::member(const QString& member) const {
    const zip_int64_t index = zip_name_locate(d_->za, member.toUtf8().constData(), 0);
    if (index < 0) throw ImportFehler(beschaedigt(path_));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(d_->za, zip_uint64_t(index), 0, &st) < 0) throw ImportFehler(beschaedigt(path_));
    // The stated size is checked first and the bytes are counted as they come: the header may lie.
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(limit_))
        throw ImportFehler(zuGross(path_, limit_));
    zip_file_t* f = zip_fopen_index(d_->za, zip_uint64_t(index), 0);
    if (!f) throw ImportFehler(beschaedigt(path_));
    QByteArray out;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(f, buffer, sizeof buffer);
        if (n < 0) {
            zip_fclose(f);
            throw ImportFehler(beschaedigt(path_));
        }
        if (n == 0) break;
        if (out.size() + n > limit_) {
            zip_fclose(f);
            throw ImportFehler(zuGross(path_, limit_));
        }
        out.append(buffer, qsizetype(n));
    }
    // A wrong checksum shows at the close.
    if (zip_fclose(f) != 0) throw ImportFehler(beschaedigt(path_));
    return out;
}

bool naechstes(QXmlStreamReader& xml, const QString& path) {
    const QXmlStreamReader::TokenType t = xml.readNext();
    if (t == QXmlStreamReader::DTD || t == QXmlStreamReader::EntityReference)
        throw ImportFehler(QStringLiteral("Die Datei %1 enthält eine Dokumenttyp-Deklaration oder eine "
                                          "Entität und wird aus Sicherheitsgründen nicht gelesen.")
                               .arg(dateiname(path)));
    if (t == QXmlStreamReader::Invalid)
        throw ImportFehler(
            QStringLiteral("Die Datei %1 ist beschädigt: %2").arg(dateiname(path), xml.errorString()));
    return t != QXmlStreamReader::EndDocument;
}

} // namespace importdatei
