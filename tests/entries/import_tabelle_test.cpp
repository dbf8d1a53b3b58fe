#include "entries/import_fixture.h"
#include "entries/import_tabelle.h"

#include <QDate>
#include <QVariant>
#include <xlsxwriter.h>

namespace {

using Zeilen = QList<QVariantList>;

enum class Format { Xlsx, XlsxInline, CsvUtf8Komma, CsvLatin1Semikolon, CsvUtf8BomTab };

// Writes a sheet as a spreadsheet program would: .xlsx through libxlsxwriter (shared strings, or inline
// strings in its constant-memory mode), .csv in the given encoding and separator.
void schreiben(const QString& path, Format format, const Zeilen& zeilen) {
    if (format == Format::Xlsx || format == Format::XlsxInline) {
        lxw_workbook_options opt{};
        opt.constant_memory = format == Format::XlsxInline ? LXW_TRUE : LXW_FALSE;
        lxw_workbook* wb = workbook_new_opt(path.toUtf8().constData(), &opt);
        lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
        lxw_format* datum = workbook_add_format(wb);
        format_set_num_format(datum, "dd.mm.yyyy");
        for (int r = 0; r < zeilen.size(); ++r)
            for (int c = 0; c < zeilen[r].size(); ++c) {
                const QVariant& v = zeilen[r][c];
                if (v.typeId() == QMetaType::QDate) {
                    const QDate d = v.toDate();
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                    worksheet_write_datetime(ws, lxw_row_t(r), lxw_col_t(c), &dt, datum);
                } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int) {
                    worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v.toDouble(), nullptr);
                } else if (!v.toString().isEmpty()) {
                    worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), v.toString().toUtf8().constData(),
                                           nullptr);
                }
            }
        ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
        return;
    }
    const QChar sep = format == Format::CsvLatin1Semikolon ? u';'
                      : format == Format::CsvUtf8BomTab    ? u'\t'
                                                           : u',';
    QString text;
    for (const QVariantList& z : zeilen) {
        QStringList felder;
        for (const QVariant& v : z) {
            QString s = v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd.MM.yyyy"))
                                                       : v.toString();
            // Quoted where the separator or a quote is inside, as spreadsheet programs do.
            if (s.contains(sep) || s.contains(u'"'))
                s = u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
            felder << s;
        }
        text += felder.join(sep) + QStringLiteral("\r\n");
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (format == Format::CsvLatin1Semikolon)
        f.write(text.toLatin1());
    else if (format == Format::CsvUtf8BomTab)
        f.write("\xEF\xBB\xBF" + text.toUtf8());
    else
        f.write(text.toUtf8());
}

struct Fall {
    const char* name;
    Format format;
    const char* endung;
};

class ImportTabelle : public ImportFixture {};

const Fall kFormate[] = {{"xlsx", Format::Xlsx, "xlsx"},
                         {"xlsx_inline", Format::XlsxInline, "xlsx"},
                         {"csv_utf8_komma", Format::CsvUtf8Komma, "csv"},
                         {"csv_latin1_semikolon", Format::CsvLatin1Semikolon, "csv"},
                         {"csv_bom_tab", Format::CsvUtf8BomTab, "csv"}};

// The same sheet in every format: a header row in either order of the name columns, or no header and
// the order dragged by hand. First names must come from the column the order names.
TEST_P(ImportTabelle, NamesComeFromTheColumnsTheOrderNames) {
    for (const Fall& fall : kFormate) {
        for (int variante = 0; variante < 3; ++variante) {
            SCOPED_TRACE(std::string(fall.name) + " variant " + std::to_string(variante));
            db().exec(QStringLiteral("DELETE FROM Spielerdaten"));
            ui.clear();
            Zeilen z;
            if (variante == 0) z << QVariantList{"Vorname", "Nachname", "Verein", "Geburtstag"};
            if (variante == 1) z << QVariantList{"Nachname", "Vorname", "Verein", "Geburtstag"};
            const bool vornameZuerst = variante != 1;
            auto zeile = [&](const char* vn, const char* nn, const char* verein, const QVariant& geb) {
                z << (vornameZuerst ? QVariantList{QString::fromUtf8(vn), QString::fromUtf8(nn),
                                                   QString::fromUtf8(verein), geb}
                                    : QVariantList{QString::fromUtf8(nn), QString::fromUtf8(vn),
                                                   QString::fromUtf8(verein), geb});
            };
            zeile("Jürgen", "Müller", "TSV Göppingen; Abt. Tischtennis", QDate(2001, 3, 12));
            zeile("Ännchen", "Weiß", "", QString());
            zeile("", "Ohnevorname", "TTC", QString());
            zeile("Björn", "Zöllner", "SV \"Blau\"", QStringLiteral("kein Datum"));
            const QString path = dir.filePath(
                QStringLiteral("spieler_%1_%2.%3").arg(fall.name).arg(variante).arg(fall.endung));
            schreiben(path, fall.format, z);

            ASSERT_TRUE(quelle->oeffnen(path)) << ui.texts().join(u'|').toStdString();
            EXPECT_EQ(quelle->art(), Quellart::Tabelle);
            EXPECT_EQ(quelle->tabelle().spalten, 4);
            EXPECT_EQ(quelle->kopfzeile(), variante != 2);
            if (variante == 2) {
                EXPECT_TRUE(quelle->reihenfolge().isEmpty());
                for (const char* f : {"Vorname", "Nachname", "Verein", "Geburtstag", "Vorname"})
                    quelle->anReihenfolge(QString::fromLatin1(f));
            }
            EXPECT_EQ(quelle->reihenfolge(),
                      vornameZuerst ? QStringList({"Vorname", "Nachname", "Verein", "Geburtstag"})
                                    : QStringList({"Nachname", "Vorname", "Verein", "Geburtstag"}));
            importAll();
            EXPECT_EQ(spieler(),
                      (QStringList{"Müller, Jürgen (TSV Göppingen; Abt. Tischtennis)",
                                   "Weiß, Ännchen (ohne Verein)", "Zöllner, Björn (SV \"Blau\")"}));
            const Rows r =
                db().select(QStringLiteral("SELECT geb,mann,frau,spklasse FROM Spielerdaten ORDER BY SID"));
            ASSERT_EQ(r.size(), 3);
            EXPECT_EQ(r[0].date(u"geb"), QDate(2001, 3, 12));
            EXPECT_TRUE(r[2].isNull(u"geb")); // "kein Datum" is no date
            EXPECT_TRUE(r[0].boolean(u"mann"));
            EXPECT_FALSE(r[0].boolean(u"frau"));
            EXPECT_EQ(r[0].text(u"spklasse"), "");
        }
    }
}

TEST_P(ImportTabelle, OrderThatCannotBeReadIsRefusedAndTheDialogStays) {
    const QString path = dir.filePath(QStringLiteral("liste.xlsx"));
    schreiben(path, Format::Xlsx, {{"Müller", "Jürgen"}, {"Weiß", "Anna"}});
    ASSERT_TRUE(quelle->oeffnen(path));
    const QList<int> vorher = zeilen();
    const QString mindestens =
        QStringLiteral("Sie müssen mindestens die Felder Nachname und Vorname ausgewählt haben");

    quelle->anReihenfolge(QStringLiteral("Nachname"));
    EXPECT_FALSE(quelle->kandidaten());
    quelle->anReihenfolge(QStringLiteral("Vorname"));
    quelle->anReihenfolge(QStringLiteral("Verein"));
    EXPECT_FALSE(quelle->kandidaten());
    quelle->ausReihenfolge(QStringLiteral("Verein"));
    const auto k = quelle->kandidaten();
    ASSERT_TRUE(k);
    EXPECT_EQ(k->size(), 2);
    EXPECT_EQ(ui.texts(),
              (QStringList{mindestens, QStringLiteral("Sie können nicht mehr Spalten als im "
                                                      "Excelformular vorhanden sind auswählen ")}));
    EXPECT_EQ(ui.messages[0].button, Interaction::Button::Ok);
    EXPECT_EQ(zeilen(), vorher);

    // A sheet of one column cannot hold both names.
    const QString eine = dir.filePath(QStringLiteral("eine.csv"));
    schreiben(eine, Format::CsvUtf8Komma, {{"Müller"}, {"Weiß"}});
    ASSERT_TRUE(quelle->oeffnen(eine));
    quelle->anReihenfolge(QStringLiteral("Nachname"));
    quelle->anReihenfolge(QStringLiteral("Vorname"));
    ui.clear();
    EXPECT_FALSE(quelle->kandidaten());
    EXPECT_EQ(ui.texts(), QStringList{mindestens});
}

TEST_P(ImportTabelle, BrokenSpreadsheetsAreRefusedWithTheFileNamed) {
    // A workbook whose first sheet is empty; the data on the second sheet are not taken.
    const QString leer = dir.filePath(QStringLiteral("leer.xlsx"));
    {
        lxw_workbook* wb = workbook_new(leer.toUtf8().constData());
        workbook_add_worksheet(wb, "Leer");
        lxw_worksheet* zwei = workbook_add_worksheet(wb, "Spieler");
        worksheet_write_string(zwei, 0, 0, "Müller", nullptr);
        worksheet_write_string(zwei, 0, 1, "Jürgen", nullptr);
        ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
    }
    const QString gut = dir.filePath(QStringLiteral("gut.xlsx"));
    schreiben(gut, Format::Xlsx, {{"Müller", "Jürgen"}});
    QByteArray halb = importdatei::lesen(gut);
    halb.truncate(halb.size() / 2);
    QByteArray bombe = entryform::zipArchive(
        {{QStringLiteral("xl/workbook.xml"), QByteArray(importdatei::kMaxEntpackt + 10, ' ')}});
    QByteArray doctype = entryform::zipArchive(
        {{QStringLiteral("xl/workbook.xml"),
          "<?xml version=\"1.0\"?><!DOCTYPE lol [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
          "<workbook>&b;</workbook>"}});
    struct Fall {
        QString path;
        const char* meldung;
    } faelle[] = {
        {leer, "ist leer"},
        {file(QStringLiteral("halb.xlsx"), halb), "ist beschädigt"},
        {file(QStringLiteral("bombe.xlsx"), bombe), "ist zu groß"},
        {file(QStringLiteral("doctype.xlsx"), doctype), "Dokumenttyp-Deklaration"},
        {file(QStringLiteral("alt.xls"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)),
         "alten Excel-Format"},
        {file(QStringLiteral("leer.csv"), QByteArray("\r\n ; \r\n")), "leer"},
    };
    addPlayer(50, QStringLiteral("Alt"), QStringLiteral("Anna"));
    const QList<int> vorher = zeilen();
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.path.toStdString());
        ui.clear();
        EXPECT_FALSE(quelle->oeffnen(f.path));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_TRUE(ui.messages[0].text.contains(importdatei::dateiname(f.path)))
            << ui.messages[0].text.toStdString();
        EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8(f.meldung)))
            << ui.messages[0].text.toStdString();
        EXPECT_TRUE(quelle->tabelle().zeilen.isEmpty());
        EXPECT_EQ(zeilen(), vorher);
    }
}

// Players already in the tournament, and a second line of the same player, are shown and never imported
// twice.
TEST_P(ImportTabelle, DuplicatesAreShownAndSkipped) {
    addPlayer(50, QStringLiteral("Müller"), QStringLiteral("Jürgen"));
    const QString path = dir.filePath(QStringLiteral("doppelt.csv"));
    schreiben(path, Format::CsvUtf8Komma,
              {{"Nachname", "Vorname", "Verein"},
               {"Müller", "Jürgen", "TTC Nord"},
               {"Neu", "Nina", "TTC Süd"},
               {"Neu", "Nina", "TTC Süd"},
               {"müller", "jürgen", "TTC Nord"}});
    ASSERT_TRUE(quelle->oeffnen(path));
    const auto k = quelle->kandidaten();
    ASSERT_TRUE(k);
    liste->setKandidaten(*k);
    liste->hinzufuegen();
    // The second "Neu, Nina" stays among the candidates: its text is in the import list already.
    ASSERT_EQ(liste->kandidaten().size(), 1);
    EXPECT_EQ(liste->kandidaten()[0].text(), "Neu, Nina");
    const Spielerimport::Ergebnis e = liste->importieren();
    EXPECT_EQ(e.importiert, 2);
    ASSERT_EQ(e.vorhanden.size(), 1);
    EXPECT_EQ(spieler(),
              (QStringList{"Müller, Jürgen (TTC Nord)", "Neu, Nina (TTC Süd)", "müller, jürgen (TTC Nord)"}));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Müller, Jürgen (TTC Nord)")));
    EXPECT_EQ(ui.messages[1].text, "Der Import wurde abgeschlossen.");
    EXPECT_TRUE(liste->kandidaten().isEmpty());
    EXPECT_TRUE(liste->importliste().isEmpty());

    // The same list once more: everybody is there already.
    ASSERT_TRUE(quelle->oeffnen(path));
    ui.clear();
    importAll();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS c FROM Spielerdaten")), 3);
}

TEST_P(ImportTabelle, MovingToTheImportListAndBackRestoresTheCandidates) {
    QList<Importitem> items;
    for (const char* n : {"A", "B", "C", "D"}) {
        Importitem i;
        i.nachname = QString::fromLatin1(n);
        i.vorname = QStringLiteral("x");
        items << i;
    }
    liste->setKandidaten(items);
    liste->auswahl1 = {1, 3};
    liste->hinzufuegen();
    auto texte = [](const QList<Importitem>& l) {
        QStringList t;
        for (const auto& i : l)
            t << i.nachname;
        return t;
    };
    EXPECT_EQ(texte(liste->kandidaten()), (QStringList{"A", "C"}));
    EXPECT_EQ(texte(liste->importliste()), (QStringList{"B", "D"}));
    EXPECT_TRUE(liste->auswahl1.isEmpty());
    liste->auswahl2 = {0, 1};
    liste->entfernen();
    EXPECT_EQ(texte(liste->kandidaten()), (QStringList{"A", "C", "B", "D"}));
    EXPECT_TRUE(liste->importliste().isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(ImportTabelle);

} // namespace
