#include "output/ui/texportform.h"

#include "entries/import_tabelle.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr int kTid = 1;

class Exportform : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername) VALUES (1,'Stadtmeisterschaft')"));
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung) VALUES (10,1,0,'Herren A')"));
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID,SID,nachname,vorname,verein,land) "
                                 "VALUES (1,101,'Meier','Anna','TTC','DE')"));
        db().exec(QStringLiteral("INSERT INTO Schiri (TID,SCHIRIID,snname,svname,sverein) VALUES (1,300,'Roth','Ida','SV')"));
        state.tid = kTid;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
        form = std::make_unique<TExportform>(state, db(), ui, dir.path());
    }
    void TearDown() override {
        form.reset();
        DbTest::TearDown();
    }
    QListWidget* liste(const char* name) { return form->findChild<QListWidget*>(QString::fromLatin1(name)); }
    static QStringList texte(QListWidget* l) {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }

    AppState state;
    ScriptedInteraction ui;
    QTemporaryDir dir;
    std::unique_ptr<TExportform> form;
};

// Opened for a use, the dialog takes its caption, offers the data sets with the first selected and the
// columns of that set; Enter (or dragging) moves a caption between the lists, and the export follows
// the chosen order.
TEST_P(Exportform, ChoosesDataSetAndColumnsAndExportsInTheChosenOrder) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Export"));
    form->oeffnen(QStringLiteral("Excel-Export"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Excel-Export"));
    QListWidget* daten = liste("daten");
    QListWidget* vorhanden = liste("vorhanden");
    QListWidget* gewaehlt = liste("gewaehlt");
    ASSERT_TRUE(daten && vorhanden && gewaehlt);
    EXPECT_EQ(daten->currentRow(), 0);
    EXPECT_EQ(daten->currentItem()->text(), QStringLiteral("Schiedsrichterliste (Herren A (Einzel))"));
    EXPECT_EQ(texte(vorhanden), (QStringList{"angemeldet", "Bezirksverband", "Spielklasse", "Kreisverband", "Land"}));
    EXPECT_EQ(texte(gewaehlt), (QStringList{"Vorname", "Nachname", "Verein", "Geburtsdatum"}));

    daten->setCurrentRow(int(texte(daten).indexOf(QStringLiteral("Spielerliste (komplett)"))));
    EXPECT_EQ(texte(vorhanden), (QStringList{"angemeldet", "bezahlt", "Bezirksverband", "Kreisverband", "Land",
                                             "Landesverband", "Spielklasse", "zubezahlen"}));
    // Land to the chosen list, then Vorname, Verein, Geburtsdatum and Rückenummer back.
    vorhanden->setCurrentRow(4);
    QTest::keyClick(vorhanden, Qt::Key_Return);
    for (const char* weg : {"Vorname", "Verein", "Geburtsdatum", "Rückenummer"}) {
        gewaehlt->setCurrentRow(int(texte(gewaehlt).indexOf(QString::fromUtf8(weg))));
        QTest::keyClick(gewaehlt, Qt::Key_Return);
    }
    EXPECT_EQ(texte(gewaehlt), (QStringList{"Nachname", "Land"}));
    EXPECT_TRUE(texte(vorhanden).contains(QStringLiteral("Vorname")));

    const QString path = dir.filePath(QStringLiteral("spieler.xlsx"));
    ui.chooseFile(path).answer(false); // written; not opened
    form->findChild<QPushButton*>(QStringLiteral("exportieren"))->click();
    ASSERT_TRUE(QFile::exists(path)) << ui.texts().join('|').toStdString();
    EXPECT_EQ(ui.questions, QStringList{"Die Datei wurde gespeichert. Soll sie jetzt geöffnet werden?"});
    const Tabelle t = importtabelle::lesen(path);
    ASSERT_EQ(t.zeilen.size(), 3);
    EXPECT_EQ(t.zeilen[1], (QStringList{"Nachname", "Land"}));
    EXPECT_EQ(t.zeilen[2], (QStringList{"Meier", "DE"}));
}

TEST_P(Exportform, HtmlUseOffersTheWholeTournamentAndWritesTheSite) {
    form->oeffnen(QStringLiteral("HTML-Export"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("HTML-Export"));
    EXPECT_EQ(texte(liste("daten")), QStringList{"Turnier (komplett)"});
    EXPECT_TRUE(form->auswahl().vorhanden().isEmpty());
    ui.chooseFile(dir.filePath(QStringLiteral("Stadt.htm")));
    form->findChild<QPushButton*>(QStringLiteral("exportieren"))->click();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Stadt.htm.html"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("spielerdaten.html"))));
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_P(Exportform, PdfUseWritesTheChosenList) {
    form->oeffnen(QStringLiteral("PDF-Export"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("PDF-Export"));
    const QString path = dir.filePath(QStringLiteral("schiri.pdf"));
    ui.chooseFile(path);
    form->findChild<QPushButton*>(QStringLiteral("exportieren"))->click();
    EXPECT_TRUE(QFile::exists(path)) << ui.texts().join('|').toStdString();
    EXPECT_EQ(ui.fileFilters, QStringList{"PDF (*.pdf)"});
}

VELMORA_INSTANTIATE_DB_TEST(Exportform);

} // namespace
