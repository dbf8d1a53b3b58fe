#include "output/listen.h"

#include "draw/fertigstellen.h"
#include "entries/import_tabelle.h"
#include "entries/import_zip.h"
#include "output/htmlexport.h"
#include "output/pdflisten.h"
#include "output/xlsxexport.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr int kTid = 1;
constexpr int kEinzel = 10;
constexpr int kTeam = 11;
constexpr int kDamen = 12;

// --- Reading a PDF back ---------------------------------------------------------------------------------

struct Wort {
    QString text;
    double x, top, hoehe; // points from the page's top-left corner
    int seite;
};
struct Pdf {
    QList<Wort> woerter;
    QList<QSizeF> seiten;
    const Wort* finde(const QString& text) const {
        for (const Wort& w : woerter)
            if (w.text == text) return &w;
        return nullptr;
    }
};

Pdf lesePdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    Pdf out;
    static const QRegularExpression re(QStringLiteral(
        "<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"|<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
        "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            out.seiten << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
            continue;
        }
        const double top = m.captured(4).toDouble();
        out.woerter << Wort{m.captured(6), m.captured(3).toDouble(), top, m.captured(5).toDouble() - top,
                            int(out.seiten.size())};
    }
    return out;
}

class ListenExport : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(dir.isValid());
        db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername) VALUES (:t,'Stadtmeisterschaft')"),
                  {{":t", kTid}});
        state.tid = kTid;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
        klasse(kEinzel, 0, QStringLiteral("Herren A"));
        klasse(kTeam, 3, QStringLiteral("Liga"));
    }
    void klasse(int kid, int system, const QString& name) {
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung) VALUES (:k,:t,:s,:n)"),
                  {{":k", kid}, {":t", kTid}, {":s", system}, {":n", name}});
    }
    void spieler(int sid, const QString& nachname, const QString& vorname, int kid, bool angemeldet = true) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID,SID,nachname,vorname,verein,geb,angemeldet) "
                                 "VALUES (:t,:s,:n,:v,'TTC',:g,:a)"),
                  {{":t", kTid}, {":s", sid}, {":n", nachname}, {":v", vorname}, {":g", QDate(2001, 3, 4)},
                   {":a", angemeldet}});
        db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier (TID,KID,SID) VALUES (:t,:k,:s)"),
                  {{":t", kTid}, {":k", kid}, {":s", sid}});
    }
    void gruppe(int kid, const QList<QPair<int, QString>>& eintraege) {
        DrawPlan plan;
        plan.kid = kid;
        plan.tid = kTid;
        plan.phases[0].system = PhasePlan::Gruppenphase;
        QVector<PlanSlot> linien;
        for (const auto& [sid, text] : eintraege)
            linien << PlanSlot{sid, text};
        plan.phases[0].groups << linien;
        const QString files = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
        Fertigstellen f(db(), ui, Datendateien{files + "system.txt", files + "ko_system.txt"});
        ASSERT_TRUE(f.fertigstellen(plan).geschrieben);
    }
    listen::Datensatz datensatz(const QString& text) {
        for (const listen::Datensatz& d : listen::datensaetze(db(), kTid))
            if (d.text == text) return d;
        ADD_FAILURE() << "no data set " << text.toStdString();
        return {};
    }

    AppState state;
    ScriptedInteraction ui;
    QTemporaryDir dir;
};

// The data sets in sorted order; team lists only for team classes, group tables only where standings exist.
TEST_P(ListenExport, OffersTheDataSetsOfTheTournamentSorted) {
    db().exec(QStringLiteral("INSERT INTO Tabellen (KID,GID,pos,SID,bez) VALUES (:k,0,0,1,'x')"), {{":k", kEinzel}});
    QStringList texte;
    for (const listen::Datensatz& d : listen::datensaetze(db(), kTid))
        texte << d.text + QStringLiteral("/%1").arg(d.kid);
    EXPECT_EQ(texte, (QStringList{
                         "Gruppen/Tabellen (Herren A (Einzel))/10",
                         "Schiedsrichterliste (Herren A (Einzel))/10",
                         "Schiedsrichterliste (Liga (Team))/11",
                         "Schiedsrichterliste (komplett)/0",
                         "Spielerliste (Herren A (Einzel))/10",
                         "Spielerliste (Liga (Team))/11",
                         "Spielerliste (komplett)/0",
                         "Spielplan (Herren A (Einzel))/10",
                         "Spielplan (Liga (Team))/11",
                         "Spielplan (komplett)/0",
                         "Teamliste (Liga (Team))/11",
                         "Teamliste (komplett)/0",
                     }));
    EXPECT_EQ(listen::vorgewaehlt(listen::Art::Spieler),
              (QStringList{"Vorname", "Nachname", "Verein", "Geburtsdatum", "Rückenummer"}));
}

// Sheet name, title, header and rows as a spreadsheet program reads them; the values the same on both
// engines (booleans, dates), team places as player names.
TEST_P(ListenExport, SpreadsheetHoldsSheetNameTitleHeaderAndRows) {
    spieler(101, QStringLiteral("Zander"), QStringLiteral("Bert"), kEinzel, false);
    spieler(102, QStringLiteral("Meier & Söhne"), QStringLiteral("<Anna>"), kEinzel);
    spieler(103, QStringLiteral("Fremd"), QStringLiteral("Fritz"), kTeam);
    const QString path = dir.filePath(QStringLiteral("liste"));
    ui.chooseFile(path);
    const QString geschrieben = xlsxexport::exportieren(state, db(), ui, dir.path(), datensatz("Spielerliste (Herren A (Einzel))"),
                                                        {"Nachname", "Vorname", "Geburtsdatum", "angemeldet"});
    ASSERT_EQ(geschrieben, path + ".xlsx") << ui.texts().join('|').toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());

    const QByteArray bytes = importdatei::lesen(geschrieben);
    importdatei::ZipPaket paket(bytes, geschrieben);
    EXPECT_TRUE(paket.member(QStringLiteral("xl/workbook.xml")).contains("<sheet name=\"Herren A\""));
    const Tabelle t = importtabelle::xlsx(bytes, geschrieben);
    ASSERT_EQ(t.zeilen.size(), 4);
    EXPECT_EQ(t.zeilen[0].value(0), QStringLiteral("Spielerliste für Herren A"));
    EXPECT_EQ(t.zeilen[1], (QStringList{"Nachname", "Vorname", "Geburtsdatum", "angemeldet"}));
    EXPECT_EQ(t.zeilen[2], (QStringList{"Meier & Söhne", "<Anna>", "04.03.2001", "ja"}));
    EXPECT_EQ(t.zeilen[3], (QStringList{"Zander", "Bert", "04.03.2001", "nein"}));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1); // no temporary file left

    db().exec(QStringLiteral("INSERT INTO Teams (TID,KID,MID,teamname,s1,s2) VALUES (:t,:k,200,'Liga I',103,102)"),
              {{":t", kTid}, {":k", kTeam}});
    const listen::Liste team = listen::liste(db(), kTid, state.turniername, datensatz("Teamliste (komplett)"),
                                             {"Teamname", "Spieler 1", "Spieler 2", "Spieler 3"});
    EXPECT_EQ(team.blattname, QStringLiteral("Teamliste"));
    EXPECT_EQ(team.titel, QStringLiteral("Teamliste für Stadtmeisterschaft"));
    EXPECT_EQ(team.zeilen, (QList<QStringList>{{"Liga I", "Fremd, Fritz", "Meier & Söhne, <Anna>", ""}}));
}

TEST_P(ListenExport, SpreadsheetConvertedByLibreOfficeGivesTheSameCells) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    // Writer alone cannot read a workbook; Calc's library lies beside the program.
    if (!QFile::exists(QFileInfo(QFileInfo(soffice).canonicalFilePath()).dir().filePath(QStringLiteral("libsclo.so"))))
        GTEST_SKIP() << "LibreOffice Calc is not installed";
    spieler(101, QStringLiteral("Zander"), QStringLiteral("Bert"), kEinzel);
    spieler(102, QStringLiteral("Meier; Söhne"), QStringLiteral("Anna"), kEinzel);
    const listen::Liste l = listen::liste(db(), kTid, state.turniername, datensatz("Spielerliste (komplett)"),
                                          {"Nachname", "Vorname", "Verein"});
    const QString in = dir.filePath(QStringLiteral("liste.xlsx"));
    xlsxexport::schreiben(in, l);
    const QString out = dir.filePath(QStringLiteral("lo"));
    QDir().mkpath(out);
    QTemporaryDir profil;
    QProcess p;
    p.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profil.path()).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76"), QStringLiteral("--outdir"), out, in});
    ASSERT_TRUE(p.waitForFinished(240000)) << "LibreOffice did not finish";
    const QString csv = out + QStringLiteral("/liste.csv");
    ASSERT_TRUE(QFile::exists(csv)) << p.readAllStandardError().toStdString();
    const Tabelle t = importtabelle::csv(importdatei::lesen(csv), csv);
    ASSERT_EQ(t.zeilen.size(), 4);
    EXPECT_EQ(t.zeilen[0].value(0), QStringLiteral("Spielerliste für Stadtmeisterschaft"));
    EXPECT_EQ(t.zeilen[1], (QStringList{"Nachname", "Vorname", "Verein"}));
    EXPECT_EQ(t.zeilen[2], (QStringList{"Meier; Söhne", "Anna", "TTC"}));
    EXPECT_EQ(t.zeilen[3], (QStringList{"Zander", "Bert", "TTC"}));
}

// A folder that cannot be written: the German message names the file and nothing is left behind.
TEST_P(ListenExport, UnwritableTargetIsReportedByFileName) {
    QFile blocker(dir.filePath("belegt"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString xlsx = dir.filePath("belegt/liste.xlsx");
    const QString pdf = dir.filePath("belegt/liste.pdf");
    ui.chooseFile(xlsx).chooseFile(pdf);
    EXPECT_TRUE(xlsxexport::exportieren(state, db(), ui, dir.path(), datensatz("Spielerliste (komplett)"), {"Nachname"})
                    .isEmpty());
    EXPECT_TRUE(pdflisten::exportieren(state, db(), ui, dir.path(), datensatz("Spielerliste (komplett)"), {"Nachname"})
                    .isEmpty());
    EXPECT_EQ(ui.texts(), (QStringList{exportdatei::nichtGeschrieben(xlsx), exportdatei::nichtGeschrieben(pdf)}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"belegt"});
}

// A finished export has the permissions of any new file of the user, not the owner-only ones of the
// temporary file it was written as, so a copy on a stick or a shared folder stays readable.
TEST_P(ListenExport, FinishedFilesHaveTheUsersNormalPermissions) {
    QFile gewoehnlich(dir.filePath("gewoehnlich.txt"));
    ASSERT_TRUE(gewoehnlich.open(QIODevice::WriteOnly));
    gewoehnlich.close();
    const QFileDevice::Permissions normal = QFileInfo(gewoehnlich.fileName()).permissions();
    const QString xlsx = dir.filePath("liste.xlsx");
    const QString pdf = dir.filePath("liste.pdf");
    const listen::Liste l = listen::liste(db(), kTid, state.turniername, datensatz("Spielerliste (komplett)"), {"Nachname"});
    xlsxexport::schreiben(xlsx, l);
    pdflisten::schreiben(pdf, l, state.turniername);
    EXPECT_EQ(QFileInfo(xlsx).permissions(), normal);
    EXPECT_EQ(QFileInfo(pdf).permissions(), normal);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"gewoehnlich.txt", "liste.pdf", "liste.xlsx"}));
}

// Font size and column width follow the number of chosen columns.
struct MassFall {
    int spalten, schrift, breite;
};
class PdfMasse : public ::testing::TestWithParam<MassFall> {};
TEST_P(PdfMasse, FontAndColumnWidthFollowTheColumnCount) {
    const pdflisten::Masse m = pdflisten::masse(GetParam().spalten);
    EXPECT_EQ(m.schrift, GetParam().schrift);
    EXPECT_EQ(m.spaltenbreite, GetParam().breite);
}
INSTANTIATE_TEST_SUITE_P(Spalten, PdfMasse,
                         ::testing::Values(MassFall{1, 14, 100}, MassFall{5, 14, 100}, MassFall{6, 11, 83},
                                           MassFall{8, 8, 62}, MassFall{13, 5, 38}));

// The printed list: header and rows where the rules put them, with one and with eight columns, and the
// rows going on at the top of the next page once a row would start below 750.
TEST_P(ListenExport, PdfListPutsEveryTextAtItsPlaceAndBreaksThePageAfter750) {
    db().begin();
    for (int i = 1; i <= 60; ++i)
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID,SID,nachname,vorname,verein) VALUES (:t,:s,:n,'V','C')"),
                  {{":t", kTid}, {":s", 100 + i}, {":n", QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0'))}});
    db().commit();
    const listen::Datensatz d = datensatz("Spielerliste (komplett)");
    struct Fall {
        QStringList spalten;
        int schrift, breite, proSeite;
    };
    const QList<Fall> faelle{
        {{"Nachname"}, 14, 100, 34},
        {{"Vorname", "Verein", "Geburtsdatum", "Rückenummer", "Land", "Spielklasse", "Kreisverband", "Nachname"}, 8, 62, 50},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.spalten.size());
        const QString pdf = dir.filePath(QStringLiteral("liste%1.pdf").arg(f.spalten.size()));
        pdflisten::schreiben(pdf, listen::liste(db(), kTid, state.turniername, d, f.spalten), state.turniername);
        const Pdf gelesen = lesePdf(pdf);
        ASSERT_EQ(gelesen.seiten.size(), 2);
        EXPECT_NEAR(gelesen.seiten[0].width(), 595.3, 1.0); // portrait A4

        const Wort* titel = gelesen.finde(QStringLiteral("Stadtmeisterschaft"));
        ASSERT_TRUE(titel);
        EXPECT_NEAR(titel->top, 32 + 20, 4);
        const Wort* kopf = gelesen.finde(QStringLiteral("Nachname"));
        ASSERT_TRUE(kopf);
        const int spalte = int(f.spalten.size()) - 1;
        EXPECT_NEAR(kopf->x, 32 + spalte * f.breite, 1.0);
        EXPECT_NEAR(kopf->top, 32 + 100, 3.0);
        EXPECT_NEAR(kopf->hoehe, f.schrift * 1.15, f.schrift * 0.15); // the font's ascent and descent
        const int schritt = f.schrift + 5;
        const Wort* erste = gelesen.finde(QStringLiteral("N01"));
        const Wort* letzte = gelesen.finde(QStringLiteral("N%1").arg(f.proSeite, 2, 10, QLatin1Char('0')));
        const Wort* weiter = gelesen.finde(QStringLiteral("N%1").arg(f.proSeite + 1, 2, 10, QLatin1Char('0')));
        ASSERT_TRUE(erste && letzte && weiter);
        EXPECT_NEAR(erste->top, 32 + 100 + schritt, 3.0);
        EXPECT_EQ(letzte->seite, 1);
        EXPECT_NEAR(letzte->top, 32 + 100 + f.proSeite * schritt, 3.0);
        EXPECT_LE(100 + f.proSeite * schritt, 750);
        EXPECT_GT(100 + (f.proSeite + 1) * schritt, 750);
        EXPECT_EQ(weiter->seite, 2);
        EXPECT_NEAR(weiter->top, 32 + 20, 3.0);
        EXPECT_NEAR(weiter->x, 32 + spalte * f.breite, 1.0);
    }
}

// The match plan: landscape, a page for each class, the player columns twice as wide, group labels.
TEST_P(ListenExport, PdfMatchPlanHasAPagePerClassAndGroupLabels) {
    klasse(kDamen, 0, QStringLiteral("Damen"));
    for (int i = 0; i < 3; ++i) {
        spieler(101 + i, QStringLiteral("Herr%1").arg(i), QStringLiteral("X"), kEinzel);
        spieler(201 + i, QStringLiteral("Dame%1").arg(i), QStringLiteral("Y"), kDamen);
    }
    gruppe(kEinzel, {{101, "Herr0"}, {102, "Herr1"}, {103, "Herr2"}});
    gruppe(kDamen, {{201, "Dame0"}, {202, "Dame1"}, {203, "Dame2"}});
    const QStringList spalten{"Spielnummer", "Spieler 1", "Spieler 2", "Ergebnis", "Gruppe"};
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    pdflisten::schreiben(pdf, listen::liste(db(), kTid, state.turniername, datensatz("Spielplan (komplett)"), spalten),
                         state.turniername);
    const Pdf gelesen = lesePdf(pdf);
    ASSERT_EQ(gelesen.seiten.size(), 2);
    EXPECT_GT(gelesen.seiten[0].width(), gelesen.seiten[0].height());
    const Wort* herr = gelesen.finde(QStringLiteral("Herr1"));
    const Wort* dame = gelesen.finde(QStringLiteral("Dame1"));
    ASSERT_TRUE(herr && dame);
    EXPECT_EQ(herr->seite, 1);
    EXPECT_EQ(dame->seite, 2);
    int gruppenLabels = 0;
    for (const Wort& w : gelesen.woerter)
        gruppenLabels += w.text == u"A";
    EXPECT_EQ(gruppenLabels, 2); // "Gruppe A" once on each page
    // Five columns, two of them double: 7 units of min(734 / 7, 100) = 100 points.
    const Wort* spieler2 = nullptr;
    for (const Wort& w : gelesen.woerter)
        if (w.text == u"Spieler" && w.seite == 1 && w.x > 33 + 250) spieler2 = &w;
    ASSERT_TRUE(spieler2);
    EXPECT_NEAR(spieler2->x, 33 + 300, 1.0);
    const Wort* ergebnis = gelesen.finde(QStringLiteral("Ergebnis"));
    ASSERT_TRUE(ergebnis);
    EXPECT_NEAR(ergebnis->x, 33 + 500, 1.0);
}

// Group tables: one block per group, each with its title and the header.
TEST_P(ListenExport, PdfGroupTablesHaveOneBlockPerGroup) {
    for (int g = 0; g < 2; ++g)
        for (int p = 0; p < 3; ++p)
            db().exec(QStringLiteral("INSERT INTO Tabellen (KID,GID,pos,SID,bez,spielanzahl) VALUES (:k,:g,:p,:s,:b,2)"),
                      {{":k", kEinzel}, {":g", g}, {":p", p}, {":s", 100 + 10 * g + p},
                       {":b", QStringLiteral("S%1%2").arg(g).arg(p)}});
    const QString pdf = dir.filePath(QStringLiteral("tabellen.pdf"));
    pdflisten::schreiben(pdf,
                         listen::liste(db(), kTid, state.turniername, datensatz("Gruppen/Tabellen (Herren A (Einzel))"),
                                       {"Spielername", "Position"}),
                         state.turniername);
    const Pdf gelesen = lesePdf(pdf);
    const Wort* a = nullptr;
    const Wort* b = nullptr;
    QList<double> koepfe;
    for (const Wort& w : gelesen.woerter) {
        if (w.text == u"A") a = &w;
        if (w.text == u"B") b = &w;
        if (w.text == u"Spielername") koepfe << w.top;
    }
    ASSERT_TRUE(a && b);
    ASSERT_EQ(koepfe.size(), 2);
    const Wort* s02 = gelesen.finde(QStringLiteral("S02"));
    const Wort* s10 = gelesen.finde(QStringLiteral("S10"));
    ASSERT_TRUE(s02 && s10);
    EXPECT_LT(a->top, koepfe[0]);
    EXPECT_LT(koepfe[0], s02->top);
    EXPECT_LT(s02->top, b->top);
    EXPECT_LT(b->top, koepfe[1]);
    EXPECT_LT(koepfe[1], s10->top);
}

VELMORA_INSTANTIATE_DB_TEST(ListenExport);

TEST(Blattname, KeepsWhatASpreadsheetAcceptsAsSheetName) {
    EXPECT_EQ(listen::blattname(QStringLiteral("Herren A")), QStringLiteral("Herren A"));
    EXPECT_EQ(listen::blattname(QStringLiteral("A/B: [x]*?\\")), QStringLiteral("A_B_ _x____"));
    EXPECT_EQ(listen::blattname(QString(40, QLatin1Char('x'))).size(), 31);
    EXPECT_EQ(listen::blattname(QStringLiteral("''")), QStringLiteral("Liste"));
}

} // namespace
