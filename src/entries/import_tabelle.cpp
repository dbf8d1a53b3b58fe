#include "entries/import_tabelle.h"

#include "entries/import_zip.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <cmath>

namespace importtabelle {

namespace {

using importdatei::naechstes;

const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
// More columns than this hold no player data; cells beyond are not kept.
constexpr int kMaxSpalten = 256;

QString leer(const QString& path) {
    return QStringLiteral("Die erste Tabelle der Datei %1 ist leer.").arg(importdatei::dateiname(path));
}

// Sparse cells as read, rows and columns from 0.
using Zellen = QMap<int, QMap<int, QString>>;

Tabelle dicht(const Zellen& zellen, const QString& path) {
    Tabelle t;
    for (auto r = zellen.cbegin(); r != zellen.cend(); ++r) {
        bool belegt = false;
        for (const QString& v : r.value())
            if (!v.trimmed().isEmpty()) belegt = true;
        if (!belegt) continue;
        const int breite = r.value().lastKey() + 1;
        QStringList zeile;
        zeile.reserve(breite);
        for (int c = 0; c < breite; ++c)
            zeile << r.value().value(c);
        t.spalten = std::max(t.spalten, breite);
        t.zeilen << zeile;
    }
    if (t.zeilen.isEmpty()) throw ImportFehler(leer(path));
    for (QStringList& z : t.zeilen)
        while (z.size() < t.spalten)
            z << QString();
    return t;
}

// Column of a cell reference ("C7" is 2); -1 when the reference has no letters.
int spalteVon(QStringView ref) {
    int col = 0;
    int n = 0;
    for (QChar ch : ref) {
        const char16_t c = ch.toUpper().unicode();
        if (c < u'A' || c > u'Z') break;
        col = col * 26 + (c - u'A' + 1);
        ++n;
        if (col > 20000) return -1;
    }
    return n ? col - 1 : -1;
}

bool istDatumsformat(int id, const QString& code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty()) return false;
    // Quoted text, escaped characters and [colour]/[locale] sections say nothing about the kind.
    static const QRegularExpression raus(QStringLiteral("\"[^\"]*\"|\\\\.|\\[[^\\]]*\\]"));
    const QString c = QString(code).remove(raus).toLower();
    return c.contains(u'y') || c.contains(u'd');
}

QStringList sharedStrings(const QByteArray& data, const QString& path) {
    QStringList out;
    QXmlStreamReader xml(data);
    QString text;
    bool inSi = false, inT = false;
    int rph = 0;
    while (naechstes(xml, path)) {
        if (xml.isStartElement()) {
            if (xml.name() == u"si") {
                inSi = true;
                text.clear();
            } else if (xml.name() == u"t") {
                inT = true;
            } else if (xml.name() == u"rPh") {
                ++rph;
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == u"si") {
                inSi = false;
                out << text;
            } else if (xml.name() == u"t") {
                inT = false;
            } else if (xml.name() == u"rPh") {
                --rph;
            }
        } else if (xml.isCharacters() && inSi && inT && rph == 0) {
            text += xml.text();
        }
    }
    return out;
}

struct Stile {
    QList<bool> datum; // per cellXfs index
};

Stile stile(const QByteArray& data, const QString& path) {
    Stile s;
    QHash<int, QString> formate;
    QList<int> xfs;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (naechstes(xml, path)) {
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == u"numFmt")
                formate.insert(a.value(QLatin1String("numFmtId")).toInt(),
                               a.value(QLatin1String("formatCode")).toString());
            else if (xml.name() == u"cellXfs")
                inCellXfs = true;
            else if (xml.name() == u"xf" && inCellXfs)
                xfs << a.value(QLatin1String("numFmtId")).toInt();
        } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }
    for (int id : xfs)
        s.datum << istDatumsformat(id, formate.value(id));
    return s;
}

QString zahlText(const QString& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok) return v;
    if (std::floor(d) == d && std::fabs(d) < 1e15) return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

QString datumText(const QString& v, bool date1904) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || d < 1 || d > 2958465) return zahlText(v);
    const qint64 tage = qint64(std::floor(d));
    QDate datum;
    if (date1904)
        datum = QDate(1904, 1, 1).addDays(tage);
    else
        // Day 60 is the 29 February 1900 that never was; days before it count from 31 December 1899.
        datum = (tage < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30)).addDays(tage);
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

Tabelle xlsx(const QByteArray& data, const QString& path) {
    const importdatei::ZipPaket zip(data, path);
    if (!zip.enthaelt(QStringLiteral("xl/workbook.xml")))
        throw ImportFehler(QStringLiteral("Die Datei %1 ist keine Excel-Arbeitsmappe (.xlsx).")
                               .arg(importdatei::dateiname(path)));

    // The first sheet of the workbook and where its part is.
    QString relId;
    bool date1904 = false;
    {
        QXmlStreamReader xml(zip.member(QStringLiteral("xl/workbook.xml")));
        while (naechstes(xml, path)) {
            if (!xml.isStartElement()) continue;
            if (xml.name() == u"workbookPr") {
                const QXmlStreamAttributes a = xml.attributes();
                const QStringView v = a.value(QLatin1String("date1904"));
                date1904 = v == u"1" || v == u"true";
            } else if (xml.name() == u"sheet" && relId.isEmpty()) {
                relId = xml.attributes().value(kRelNs, QLatin1String("id")).toString();
            }
        }
    }
    QString sheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
    if (!relId.isEmpty() && zip.enthaelt(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
        QXmlStreamReader xml(zip.member(QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (naechstes(xml, path)) {
            if (!xml.isStartElement() || xml.name() != u"Relationship") continue;
            if (xml.attributes().value(QLatin1String("Id")) != relId) continue;
            const QString target = xml.attributes().value(QLatin1String("Target")).toString();
            sheetPart =
                target.startsWith(u'/') ? target.mid(1) : QDir::cleanPath(QStringLiteral("xl/") + target);
        }
    }
    if (!zip.enthaelt(sheetPart)) throw ImportFehler(leer(path));

    const QStringList strings = zip.enthaelt(QStringLiteral("xl/sharedStrings.xml"))
                                    ? sharedStrings(zip.member(QStringLiteral("xl/sharedStrings.xml")), path)
                                    : QStringList();
    const Stile st = zip.enthaelt(QStringLiteral("xl/styles.xml"))
                         ? stile(zip.member(QStringLiteral("xl/styles.xml")), path)
                         : Stile();

    Zellen zellen;
    QXmlStreamReader xml(zip.member(sheetPart));
    int zeile = -1, spalte = -1, naechsteSpalte = 0, stil = 0, rph = 0;
    QString typ, wert;
    bool inV = false, inIs = false, inT = false;
    while (naechstes(xml, path)) {
        if (xml.isStartElement()) {
            const QStringView n = xml.name();
            const auto a = xml.attributes();
            if (n == u"row") {
                const int r = a.value(QLatin1String("r")).toInt();
                zeile = r > 0 ? r - 1 : zeile + 1;
                naechsteSpalte = 0;
            } else if (n == u"c") {
                const int c = spalteVon(a.value(QLatin1String("r")));
                spalte = c >= 0 ? c : naechsteSpalte;
                typ = a.value(QLatin1String("t")).toString();
                stil = a.value(QLatin1String("s")).toInt();
                wert.clear();
            } else if (n == u"v") {
                inV = true;
            } else if (n == u"is") {
                inIs = true;
            } else if (n == u"t") {
                inT = true;
            } else if (n == u"rPh") {
                ++rph;
            }
        } else if (xml.isEndElement()) {
            const QStringView n = xml.name();
            if (n == u"v") {
                inV = false;
            } else if (n == u"is") {
                inIs = false;
            } else if (n == u"t") {
                inT = false;
            } else if (n == u"rPh") {
                --rph;
            } else if (n == u"c") {
                naechsteSpalte = spalte + 1;
                if (zeile < 0 || spalte < 0 || spalte >= kMaxSpalten) continue;
                QString text;
                if (typ == u"s") {
                    bool ok = false;
                    const int i = wert.trimmed().toInt(&ok);
                    if (ok && i >= 0 && i < strings.size()) text = strings[i];
                } else if (typ == u"inlineStr" || typ == u"str" || typ == u"e") {
                    text = wert;
                } else if (typ == u"b") {
                    text = wert.trimmed() == u"1" ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
                } else if (!wert.isEmpty()) {
                    const bool datum = stil >= 0 && stil < st.datum.size() && st.datum[stil];
                    text = datum ? datumText(wert.trimmed(), date1904) : zahlText(wert.trimmed());
                }
                if (!text.isEmpty()) zellen[zeile][spalte] = text;
            }
        } else if (xml.isCharacters()) {
            if (inV || (inIs && inT && rph == 0)) wert += xml.text();
        }
    }
    return dicht(zellen, path);
}

QString csvText(const QByteArray& data) {
    if (data.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(data.mid(3));
    if (data.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringConverter::Utf16LE);
        return d(data.mid(2));
    }
    if (data.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringConverter::Utf16BE);
        return d(data.mid(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(data);
    if (!utf8.hasError()) return text;
    // Not UTF-8: the Windows code page German spreadsheets save in, Latin-1 with its 0x80-0x9F block.
    static const char16_t cp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out;
    out.reserve(data.size());
    for (char c : data) {
        const uchar u = uchar(c);
        out += (u >= 0x80 && u < 0xA0) ? QChar(cp1252[u - 0x80]) : QChar(u);
    }
    return out;
}

QChar trennzeichen(const QString& text) {
    QString erste;
    for (const QString& line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty()) {
            erste = line;
            break;
        }
    }
    int semikolon = 0, komma = 0, tab = 0;
    bool quoted = false;
    for (QChar c : erste) {
        if (c == u'"') quoted = !quoted;
        if (quoted) continue;
        if (c == u';') ++semikolon;
        if (c == u',') ++komma;
        if (c == u'\t') ++tab;
    }
    if (semikolon >= komma && semikolon >= tab && semikolon > 0) return u';';
    if (tab >= komma && tab > 0) return u'\t';
    if (komma > 0) return u',';
    return u';';
}

Tabelle csv(const QByteArray& data, const QString& path) {
    const QString text = csvText(data);
    const QChar sep = trennzeichen(text);
    Zellen zellen;
    int zeile = 0, spalte = 0;
    QString feld;
    bool quoted = false;
    auto ablegen = [&] {
        if (spalte < kMaxSpalten && !feld.isEmpty()) zellen[zeile][spalte] = feld;
        feld.clear();
        ++spalte;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    feld += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                feld += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == sep) {
            ablegen();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            ablegen();
            ++zeile;
            spalte = 0;
        } else {
            feld += c;
        }
    }
    ablegen();
    for (auto& r : zellen)
        for (QString& v : r)
            v = v.trimmed();
    if (zellen.isEmpty())
        throw ImportFehler(
            QStringLiteral("Die Datei %1 enthält keine Daten.").arg(importdatei::dateiname(path)));
    return dicht(zellen, path);
}

Tabelle lesen(const QString& path) {
    const QByteArray data = importdatei::lesen(path);
    if (data.startsWith("PK\x03\x04") || path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return xlsx(data, path);
    if (data.startsWith("\xD0\xCF\x11\xE0"))
        throw ImportFehler(
            QStringLiteral("Die Datei %1 ist im alten Excel-Format gespeichert; bitte speichern "
                           "Sie sie als Excel-Arbeitsmappe (.xlsx) oder als CSV-Datei.")
                .arg(importdatei::dateiname(path)));
    return csv(data, path);
}

} // namespace importtabelle
