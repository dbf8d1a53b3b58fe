#include "output/entryform.h"

#include "common/classkind.h"
#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <stdexcept>
#include <zip.h>

namespace entryform {

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// Page: A4 landscape in twentieths of a point; margins 2.5 cm top, bottom and right, 2 cm left,
// header and footer 1.27 cm from the edge.
constexpr int kSeitenbreite = 16838;
constexpr int kSeitenhoehe = 11906;
constexpr int kRandOben = 1417;
constexpr int kRandUnten = 1417;
constexpr int kRandLinks = 1134;
constexpr int kRandRechts = 1417;
constexpr int kKopfFuss = 720;
constexpr int kNutzbreite = kSeitenbreite - kRandLinks - kRandRechts;

// Five en spaces: the empty result word processors give a new text field, so there is room to click.
const QString kLeeresFeld = QString(5, QChar(0x2002));

const QString kTitelSchrift = QStringLiteral("Times New Roman");

struct Schrift {
    QString name;
    int halbpunkte = 0; // 0: the document's default size
    bool fett = false;
};

class Writer {
public:
    explicit Writer(QXmlStreamWriter& x) : x_(x) {}

    void el(const QString& name) { x_.writeEmptyElement(W, name); }
    void el(const QString& name, const QString& val) {
        x_.writeEmptyElement(W, name);
        x_.writeAttribute(W, QStringLiteral("val"), val);
    }
    void start(const QString& name) { x_.writeStartElement(W, name); }
    void end() { x_.writeEndElement(); }
    void attr(const QString& name, const QString& value) { x_.writeAttribute(W, name, value); }
    void attr(const QString& name, int value) { x_.writeAttribute(W, name, QString::number(value)); }

    void runProperties(const Schrift& s) {
        if (s.name.isEmpty() && !s.halbpunkte && !s.fett) return;
        start(QStringLiteral("rPr"));
        if (!s.name.isEmpty()) {
            el(QStringLiteral("rFonts"));
            for (const char* a : {"ascii", "hAnsi", "cs"})
                attr(QString::fromLatin1(a), s.name);
        }
        if (s.fett) el(QStringLiteral("b"));
        if (s.halbpunkte) {
            el(QStringLiteral("sz"), QString::number(s.halbpunkte));
            el(QStringLiteral("szCs"), QString::number(s.halbpunkte));
        }
        end();
    }

    void run(const QString& text, const Schrift& s = {}) {
        start(QStringLiteral("r"));
        runProperties(s);
        const QStringList lines = text.split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0) el(QStringLiteral("br"));
            start(QStringLiteral("t"));
            x_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            x_.writeCharacters(lines[i]);
            end();
        }
        end();
    }

    void paragraph(const QString& text, const Schrift& s = {}, bool mitte = false) {
        start(QStringLiteral("p"));
        if (mitte) {
            start(QStringLiteral("pPr"));
            el(QStringLiteral("jc"), QStringLiteral("center"));
            end();
        }
        if (!text.isEmpty()) run(text, s);
        end();
    }

    // Word processors name a form field by the bookmark around it; some keep only the bookmark when
    // they save, so both carry the name.
    void bookmarkStart(const QString& name) {
        el(QStringLiteral("bookmarkStart"));
        attr(QStringLiteral("id"), bookmark_);
        attr(QStringLiteral("name"), name);
    }
    void bookmarkEnd() {
        el(QStringLiteral("bookmarkEnd"));
        attr(QStringLiteral("id"), bookmark_++);
    }

    void fldChar(const QString& type) {
        start(QStringLiteral("r"));
        el(QStringLiteral("fldChar"));
        attr(QStringLiteral("fldCharType"), type);
        end();
    }
    void beginField(const QString& name) {
        start(QStringLiteral("r"));
        start(QStringLiteral("fldChar"));
        attr(QStringLiteral("fldCharType"), QStringLiteral("begin"));
        start(QStringLiteral("ffData"));
        el(QStringLiteral("name"), name);
        el(QStringLiteral("enabled"));
        el(QStringLiteral("calcOnExit"), QStringLiteral("0"));
    }
    void instruction(const QString& text) {
        end(); // ffData
        end(); // fldChar
        end(); // r
        start(QStringLiteral("r"));
        start(QStringLiteral("instrText"));
        x_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x_.writeCharacters(text);
        end();
        end();
    }

    void textField(const QString& name) {
        bookmarkStart(name);
        beginField(name);
        el(QStringLiteral("textInput"));
        instruction(QStringLiteral(" FORMTEXT "));
        fldChar(QStringLiteral("separate"));
        start(QStringLiteral("r"));
        start(QStringLiteral("rPr"));
        el(QStringLiteral("noProof"));
        end();
        start(QStringLiteral("t"));
        x_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x_.writeCharacters(kLeeresFeld);
        end();
        end();
        fldChar(QStringLiteral("end"));
        bookmarkEnd();
    }

    void checkBox(const QString& name) {
        bookmarkStart(name);
        beginField(name);
        start(QStringLiteral("checkBox"));
        el(QStringLiteral("sizeAuto"));
        el(QStringLiteral("default"), QStringLiteral("0"));
        end();
        instruction(QStringLiteral(" FORMCHECKBOX "));
        fldChar(QStringLiteral("end"));
        bookmarkEnd();
    }

    void dropDown(const QString& name, const QStringList& entries) {
        bookmarkStart(name);
        beginField(name);
        start(QStringLiteral("ddList"));
        for (const QString& e : entries)
            el(QStringLiteral("listEntry"), e);
        end();
        instruction(QStringLiteral(" FORMDROPDOWN "));
        fldChar(QStringLiteral("end"));
        bookmarkEnd();
    }

    void tableStart(const QList<int>& widths) {
        start(QStringLiteral("tbl"));
        start(QStringLiteral("tblPr"));
        el(QStringLiteral("tblStyle"), QStringLiteral("Tabellengitternetz"));
        el(QStringLiteral("tblW"));
        attr(QStringLiteral("w"), 0);
        attr(QStringLiteral("type"), QStringLiteral("auto"));
        el(QStringLiteral("tblLayout"));
        attr(QStringLiteral("type"), QStringLiteral("fixed"));
        el(QStringLiteral("tblLook"), QStringLiteral("04A0"));
        end();
        start(QStringLiteral("tblGrid"));
        for (int w : widths) {
            el(QStringLiteral("gridCol"));
            attr(QStringLiteral("w"), w);
        }
        end();
    }

    // Header rows repeat on every page; player rows are high enough to be filled in by hand as well.
    void rowStart(bool kopf = false, int mindesthoehe = 0) {
        start(QStringLiteral("tr"));
        if (kopf || mindesthoehe) {
            start(QStringLiteral("trPr"));
            if (mindesthoehe) {
                el(QStringLiteral("trHeight"));
                attr(QStringLiteral("val"), mindesthoehe);
                attr(QStringLiteral("hRule"), QStringLiteral("atLeast"));
            }
            if (kopf) el(QStringLiteral("tblHeader"));
            end();
        }
    }

    // A cell; vMerge "restart" / "continue" or empty, span > 1 merges grid columns.
    void cellStart(int width, int span = 1, const QString& vMerge = {}) {
        start(QStringLiteral("tc"));
        start(QStringLiteral("tcPr"));
        el(QStringLiteral("tcW"));
        attr(QStringLiteral("w"), width);
        attr(QStringLiteral("type"), QStringLiteral("dxa"));
        if (span > 1) el(QStringLiteral("gridSpan"), QString::number(span));
        if (vMerge == QLatin1String("restart"))
            el(QStringLiteral("vMerge"), vMerge);
        else if (!vMerge.isEmpty())
            el(QStringLiteral("vMerge"));
        end();
    }
    void textCell(int width, const QString& text, bool fett = false, int span = 1,
                  const QString& vMerge = {}) {
        cellStart(width, span, vMerge);
        paragraph(text, Schrift{{}, 0, fett});
        end();
    }

private:
    QXmlStreamWriter& x_;
    int bookmark_ = 0;
};

void writeDocument(QXmlStreamWriter& x, const Daten& d) {
    Writer w(x);
    x.setAutoFormatting(false);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeNamespace(W, QStringLiteral("w"));
    w.start(QStringLiteral("document"));
    w.start(QStringLiteral("body"));

    w.paragraph(QStringLiteral("Meldeformular"), {kTitelSchrift, 40, true}, true);
    w.paragraph(QStringLiteral("für"), {kTitelSchrift, 28, false}, true);
    w.paragraph(d.turniername, {kTitelSchrift, 32, true}, true);
    w.paragraph(d.zusatz, {kTitelSchrift, 28, false}, true);
    w.paragraph({});

    // The contact fields, each in a small grid table; the empty paragraphs keep the tables apart.
    const QPair<QString, QString> kontakt[] = {{QStringLiteral("Verein:"), vereinFeld()},
                                               {QStringLiteral("Ansprechpartner:"), ansprechpartnerFeld()},
                                               {QStringLiteral("Telefon:"), telefonFeld()}};
    for (const auto& [label, feld] : kontakt) {
        w.tableStart({2600, 6000});
        w.rowStart();
        w.textCell(2600, label, true);
        w.cellStart(6000);
        w.start(QStringLiteral("p"));
        w.textField(feld);
        w.end();
        w.end();
        w.end(); // tr
        w.end(); // tbl
        w.paragraph({});
    }

    w.paragraph(QStringLiteral("Spieler / Spielerinnen"), {{}, 24, true});
    w.paragraph({});

    const int k = d.klassen.size();
    QList<int> widths;
    if (k == 0) {
        widths = {5000, 5000, kNutzbreite - 10000};
    } else {
        widths = {2800, 2800, 1600};
        const int rest = kNutzbreite - 7200;
        for (int i = 0; i < k; ++i)
            widths << std::max(400, rest / k);
    }
    int klassenBreite = 0;
    for (int i = 3; i < widths.size(); ++i)
        klassenBreite += widths[i];

    w.tableStart(widths);
    const QString namen[] = {QStringLiteral("Nachname"), QStringLiteral("Vorname"),
                             QStringLiteral("Spielklasse")};
    w.rowStart(true);
    for (int i = 0; i < 3; ++i)
        w.textCell(widths[i], namen[i], true, 1, k ? QStringLiteral("restart") : QString());
    if (k) w.textCell(klassenBreite, QStringLiteral("Klassen"), true, k);
    w.end();
    if (k) {
        w.rowStart(true);
        for (int i = 0; i < 3; ++i)
            w.textCell(widths[i], {}, false, 1, QStringLiteral("continue"));
        for (int c = 0; c < k; ++c) {
            const Klasse& kl = d.klassen[c];
            QString text = kl.kbezeichnung + classkind::suffix(kl.system);
            if (kl.system == 3) text += QStringLiteral("\n(laut Mannschaftsaufstellung)");
            w.textCell(widths[3 + c], text, true);
        }
        w.end();
    }
    for (int n = 1; n <= kSpielerZeilen; ++n) {
        w.rowStart(false, 340);
        const QString felder[] = {nachnameFeld(n), vornameFeld(n), spielklasseFeld(n)};
        for (int i = 0; i < 3; ++i) {
            w.cellStart(widths[i]);
            w.start(QStringLiteral("p"));
            w.textField(felder[i]);
            w.end();
            w.end();
        }
        for (int c = 1; c <= k; ++c) {
            w.cellStart(widths[2 + c]);
            w.start(QStringLiteral("p"));
            w.start(QStringLiteral("pPr"));
            w.el(QStringLiteral("jc"), QStringLiteral("center"));
            w.end();
            w.checkBox(klassenFeld(n, c));
            w.end();
            w.end();
        }
        w.end();
    }
    w.end(); // tbl

    // The class ids in column order: the import maps column k back to its class through them.
    QStringList kids;
    for (const Klasse& kl : d.klassen)
        kids << QString::number(kl.kid);
    w.paragraph({});
    w.start(QStringLiteral("p"));
    w.run(QStringLiteral("Klassennummern: "), {{}, 16, false});
    w.dropDown(anzahlFeld(), kids);
    w.end();

    w.start(QStringLiteral("sectPr"));
    w.el(QStringLiteral("pgSz"));
    w.attr(QStringLiteral("w"), kSeitenbreite);
    w.attr(QStringLiteral("h"), kSeitenhoehe);
    w.attr(QStringLiteral("orient"), QStringLiteral("landscape"));
    w.el(QStringLiteral("pgMar"));
    w.attr(QStringLiteral("top"), kRandOben);
    w.attr(QStringLiteral("right"), kRandRechts);
    w.attr(QStringLiteral("bottom"), kRandUnten);
    w.attr(QStringLiteral("left"), kRandLinks);
    w.attr(QStringLiteral("header"), kKopfFuss);
    w.attr(QStringLiteral("footer"), kKopfFuss);
    w.attr(QStringLiteral("gutter"), 0);
    w.end();

    w.end(); // body
    w.end(); // document
    x.writeEndDocument();
}

QByteArray stylesXml() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:docDefaults><w:rPrDefault><w:rPr>"
        "<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:eastAsia=\"Arial\" w:cs=\"Arial\"/>"
        "<w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/><w:lang w:val=\"de-DE\"/>"
        "</w:rPr></w:rPrDefault>"
        "<w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
        "</w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Standard\"><w:name w:val=\"Normal\"/>"
        "<w:qFormat/></w:style>"
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"NormaleTabelle\"><w:name w:val=\"Normal "
        "Table\"/>"
        "<w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar>"
        "<w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
        "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
        "</w:tblCellMar></w:tblPr></w:style>"
        "<w:style w:type=\"table\" w:styleId=\"Tabellengitternetz\"><w:name w:val=\"Tabellengitternetz\"/>"
        "<w:basedOn w:val=\"NormaleTabelle\"/><w:tblPr><w:tblBorders>"
        "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
        "</w:tblBorders></w:tblPr></w:style>"
        "</w:styles>");
}

QByteArray settingsXml() {
    // Protected for filling in forms: the club can type into the fields and nowhere else.
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<w:settings xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:documentProtection w:edit=\"forms\" w:enforcement=\"1\"/>"
        "<w:defaultTabStop w:val=\"708\"/>"
        "<w:characterSpacingControl w:val=\"doNotCompress\"/>"
        "</w:settings>");
}

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
    "<Override PartName=\"/word/settings.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/>"
    "</Types>";

const char kPackageRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/>"
    "</Relationships>";

const char kDocumentRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings\" "
    "Target=\"settings.xml\"/>"
    "</Relationships>";

// Frees what libzip handed out, whichever way the function is left.
struct ZipSourceGuard {
    zip_source_t* src = nullptr;
    ~ZipSourceGuard() {
        if (src) zip_source_free(src);
    }
};

} // namespace

Daten lesen(Tdb_procedures& db, int tid) {
    Daten d;
    const Row t = db.selectOne(QStringLiteral("SELECT turniername,zusatz FROM Turnierdaten WHERE TID=:ID"),
                               {{":ID", tid}});
    d.turniername = t.text(u"turniername");
    d.zusatz = t.text(u"zusatz");
    const Rows rows =
        db.select(QStringLiteral("SELECT KID,system,kbezeichnung FROM Turnierklassen WHERE TID=:ID ORDER BY "
                                 "kbezeichnung,KID"),
                  {{":ID", tid}});
    for (const Row& r : rows)
        d.klassen.append({r.integer(u"KID"), r.integer(u"system"), r.text(u"kbezeichnung")});
    return d;
}

QByteArray documentXml(const Daten& daten) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter x(&buffer);
    writeDocument(x, daten);
    return out;
}

QByteArray zipArchive(const QList<QPair<QString, QByteArray>>& files) {
    zip_error_t error;
    zip_error_init(&error);
    ZipSourceGuard guard;
    guard.src = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!guard.src) throw std::runtime_error(zip_error_strerror(&error));
    // The archive is written into this source; keep it alive after zip_close for reading it back.
    zip_source_keep(guard.src);
    zip_t* za = zip_open_from_source(guard.src, ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!za) {
        const std::string message = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw std::runtime_error(message);
    }
    for (const auto& [name, data] : files) {
        zip_source_t* part = zip_source_buffer(za, data.constData(), zip_uint64_t(data.size()), 0);
        if (!part || zip_file_add(za, name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
            if (part) zip_source_free(part);
            const std::string message = zip_strerror(za);
            zip_discard(za);
            throw std::runtime_error(message);
        }
    }
    if (zip_close(za) < 0) {
        const std::string message = zip_strerror(za);
        zip_discard(za);
        throw std::runtime_error(message);
    }

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(guard.src, &st) < 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(guard.src) < 0)
        throw std::runtime_error("zip archive not readable");
    QByteArray out(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t n = zip_source_read(guard.src, out.data(), st.size);
    zip_source_close(guard.src);
    if (n != zip_int64_t(st.size)) throw std::runtime_error("zip archive not readable");
    return out;
}

QByteArray docx(const Daten& daten) {
    return paket(documentXml(daten));
}

QByteArray paket(const QByteArray& document) {
    return zipArchive({{QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
                       {QStringLiteral("_rels/.rels"), QByteArray(kPackageRels)},
                       {QStringLiteral("word/document.xml"), document},
                       {QStringLiteral("word/_rels/document.xml.rels"), QByteArray(kDocumentRels)},
                       {QStringLiteral("word/styles.xml"), stylesXml()},
                       {QStringLiteral("word/settings.xml"), settingsXml()}});
}

void erzeugen(const AppState& state, Tdb_procedures& db, Interaction& interaction,
              const QString& programDir) {
    if (!state.tournamentOpen()) {
        interaction.warning(QStringLiteral("Legen Sie erst ein Turnier an"));
        return;
    }
    QString path = interaction.saveFile(QStringLiteral("Anmeldeformular speichern"), programDir,
                                        QStringLiteral("Anmeldeformular (Word) (*.docx)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive)) path += QStringLiteral(".docx");

    bool ok = false;
    try {
        interaction.progress(0, 100);
        const Daten daten = lesen(db, state.tid);
        interaction.progress(30, 100);
        const QByteArray bytes = docx(daten);
        interaction.progress(80, 100);
        // Written beside the target and renamed at the end: an existing file is replaced only by a
        // complete document.
        QSaveFile file(path);
        ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    } catch (const DbError&) {
        ok = false;
    } catch (const std::exception&) {
        ok = false;
    }
    interaction.progress(0, 0);
    if (!ok) {
        interaction.error(QStringLiteral("Anmeldeformular konnte nicht erzeugt werden"));
        return;
    }
    interaction.plain(QStringLiteral("Anmeldeformular wurde erfolgreich generiert"));
}

} // namespace entryform
