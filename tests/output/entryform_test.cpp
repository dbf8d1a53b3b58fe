#include "entries/import_formular.h"
#include "entries/import_zip.h"
#include "output/entryform.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class Anmeldeformular : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        db().exec(
            QStringLiteral("INSERT INTO Turnierdaten (TID,turniername,zusatz) VALUES (1,'Stadtmeisterschaft',"
                           "'für Jugend & Senioren')"));
        state.tid = 1;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
    }
    void addClass(int kid, int system, const QString& name, int tid = 1) {
        db().exec(
            QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung) VALUES (:k,:t,:s,:n)"),
            {{":k", kid}, {":t", tid}, {":s", system}, {":n", name}});
    }
    // The texts of the document's runs, in order.
    static QStringList texte(const QByteArray& xml) {
        QStringList out;
        static const QRegularExpression t(QStringLiteral("<w:t[^>]*>([^<]*)</w:t>"));
        auto it = t.globalMatch(QString::fromUtf8(xml));
        while (it.hasNext()) {
            const QString s = it.next().captured(1).trimmed();
            if (!s.isEmpty()) out << s;
        }
        return out;
    }

    AppState state;
    ScriptedInteraction ui;
    QTemporaryDir dir;
};

// Every field in order, each named and inside a bookmark of its name; the class columns follow the
// class names and the drop-down carries their ids in that order.
TEST_P(Anmeldeformular, FieldsAreNamedByRowAndColumnAndCarryTheClassIds) {
    addClass(8, 3, QStringLiteral("Mannschaft"));
    addClass(3, 0, QStringLiteral("Herren A"));
    addClass(5, 1, QStringLiteral("Herren Doppel"));
    addClass(6, 0, QStringLiteral("Fremd"), 2);
    const entryform::Daten d = entryform::lesen(db(), 1);
    const QByteArray xml = entryform::documentXml(d);
    const QList<Formularfeld> felder = importformular::felder(xml, QStringLiteral("x.docx"));

    QStringList erwartet{"verein", "ansprechpartner", "telefon"};
    for (int n = 1; n <= 17; ++n) {
        erwartet << QStringLiteral("nname%1").arg(n) << QStringLiteral("vname%1").arg(n)
                 << QStringLiteral("sklasse%1").arg(n);
        for (int k = 1; k <= 3; ++k)
            erwartet << QStringLiteral("klasse%1_%2").arg(n).arg(k);
    }
    erwartet << "anzahl";
    QStringList namen;
    for (const Formularfeld& f : felder) {
        namen << f.name;
        EXPECT_TRUE(f.lesezeichen.contains(f.name)) << f.name.toStdString();
        const bool kasten = f.name.startsWith(u"klasse");
        EXPECT_EQ(f.art, f.name == u"anzahl" ? Formularfeld::Art::Auswahl
                         : kasten            ? Formularfeld::Art::Kontrollkaestchen
                                             : Formularfeld::Art::Text);
        EXPECT_FALSE(f.angekreuzt);
        EXPECT_EQ(f.ergebnis, "");
    }
    EXPECT_EQ(namen, erwartet);
    EXPECT_EQ(felder.last().eintraege, (QStringList{"3", "5", "8"}));

    const QStringList t = texte(xml);
    for (const char* s : {"Meldeformular", "für", "Stadtmeisterschaft", "für Jugend &amp; Senioren",
                          "Verein:", "Ansprechpartner:", "Telefon:", "Spieler / Spielerinnen", "Nachname",
                          "Vorname", "Spielklasse", "Klassen", "Herren A (Einzel)", "Herren Doppel (Doppel)",
                          "Mannschaft (Team)", "(laut Mannschaftsaufstellung)"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(s))) << s;
    // A4 landscape with the margins in twentieths of a point; the title in Times New Roman.
    EXPECT_TRUE(xml.contains("<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>"));
    EXPECT_TRUE(xml.contains("<w:pgMar w:top=\"1417\" w:right=\"1417\" w:bottom=\"1417\" w:left=\"1134\" "
                             "w:header=\"720\" w:footer=\"720\""));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Times New Roman\"/>.*Meldeformular"))
                    .match(QString::fromUtf8(xml))
                    .hasMatch());
    EXPECT_TRUE(xml.contains("<w:tblStyle w:val=\"Tabellengitternetz\"/>"));
}

TEST_P(Anmeldeformular, TournamentWithoutClassesHasOnlyTheNameColumns) {
    const QByteArray xml = entryform::documentXml(entryform::lesen(db(), 1));
    const QList<Formularfeld> felder = importformular::felder(xml, QStringLiteral("x.docx"));
    ASSERT_EQ(felder.size(), 3 + 17 * 3 + 1);
    EXPECT_EQ(felder.last().name, "anzahl");
    EXPECT_TRUE(felder.last().eintraege.isEmpty());
    EXPECT_FALSE(texte(xml).contains(QStringLiteral("Klassen")));
    // And it reads back as an empty form of this tournament.
    const Formular f = importformular::auswerten(felder, QStringLiteral("x.docx"));
    EXPECT_TRUE(f.kids.isEmpty());
    EXPECT_TRUE(f.zeilen.isEmpty());
}

TEST_P(Anmeldeformular, GeneratingAsksForTheFileAndReplacesItWhole) {
    addClass(3, 0, QStringLiteral("Herren A"));
    // Without a tournament nothing is asked.
    AppState ohne;
    entryform::erzeugen(ohne, db(), ui, dir.path());
    EXPECT_EQ(ui.texts(), QStringList{"Legen Sie erst ein Turnier an"});
    EXPECT_TRUE(ui.fileCaptions.isEmpty());

    // Cancelled: nothing written, nothing said.
    ui.clear();
    ui.chooseFile(QString());
    entryform::erzeugen(state, db(), ui, dir.path());
    EXPECT_TRUE(ui.texts().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // An old file of that name is replaced; the extension is added when the name has none.
    const QString path = dir.filePath(QStringLiteral("meldung.docx"));
    QFile alt(path);
    ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
    alt.write("alt");
    alt.close();
    ui.clear();
    ui.chooseFile(dir.filePath(QStringLiteral("meldung")));
    entryform::erzeugen(state, db(), ui, dir.path());
    EXPECT_EQ(ui.texts(), QStringList{"Anmeldeformular wurde erfolgreich generiert"});
    EXPECT_EQ(ui.fileFilters.last(), "Anmeldeformular (Word) (*.docx)");
    const Formular f = importformular::lesen(path);
    EXPECT_EQ(f.kids, QList<int>{3});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"meldung.docx"});
    // The package carries what word processors need to open it.
    const importdatei::ZipPaket zip(importdatei::lesen(path), path);
    for (const char* teil : {"[Content_Types].xml", "_rels/.rels", "word/_rels/document.xml.rels",
                             "word/styles.xml", "word/settings.xml"})
        EXPECT_TRUE(zip.enthaelt(QString::fromLatin1(teil))) << teil;

    // A folder that does not exist: the error, and no file anywhere.
    ui.clear();
    ui.chooseFile(dir.filePath(QStringLiteral("fehlt/meldung.docx")));
    entryform::erzeugen(state, db(), ui, dir.path());
    EXPECT_EQ(ui.texts(), QStringList{"Anmeldeformular konnte nicht erzeugt werden"});
    EXPECT_EQ(ui.messages.last().icon, Interaction::Icon::Error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"meldung.docx"});
}

VELMORA_INSTANTIATE_DB_TEST(Anmeldeformular);

} // namespace
