// The umpire slip: its texts at the page's scale, the slip of a single match printed from the match
// dialog and read back from the PDF, one page per rubber of a team match, the three destinations and
// the printer error.
#include "results/schirizettel.h"

#include "betrieb_fixture.h"
#include "output/pdfprint.h"
#include "output/printsurface.h"
#include "support/pdfwords.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>

namespace {

using namespace betriebtest;
using schirizettel::Anker;
using schirizettel::Text;
using schirizettel::Zettel;

std::string dump(const QList<PdfWord>& words) {
    QStringList out;
    for (const PdfWord& w : words)
        out << QStringLiteral("%1@%2,%3p%4")
                   .arg(w.text)
                   .arg(w.xMin, 0, 'f', 1)
                   .arg(w.yMin, 0, 'f', 1)
                   .arg(w.page);
    return str(out.join(u' '));
}

// The words of one printed line of `page`: those whose top lies within half a millimetre of y, left to
// right.
QList<PdfWord> zeileBei(const QList<PdfWord>& words, double y, int page = 1) {
    QList<PdfWord> out;
    for (const PdfWord& w : words)
        if (w.page == page && std::abs(w.yMin - y) < 0.5) out << w;
    std::sort(out.begin(), out.end(), [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    return out;
}
// The line that holds the first word `first` of `page`, from that word on.
QList<PdfWord> zeile(const QList<PdfWord>& words, const QString& first, int page = 1) {
    for (const PdfWord& w : words)
        if (w.text == first && w.page == page) {
            QList<PdfWord> out = zeileBei(words, w.yMin, page);
            while (!out.isEmpty() && out.first().xMin < w.xMin - 0.01)
                out.removeFirst();
            return out;
        }
    return {};
}
QString text(const QList<PdfWord>& line) {
    QStringList t;
    for (const PdfWord& w : line)
        t << w.text;
    return t.join(u' ');
}
QString zeilentext(const QList<PdfWord>& words, const QString& first, int page = 1) {
    return text(zeile(words, first, page));
}
double mitte(const QList<PdfWord>& line) {
    return line.isEmpty() ? -1 : (line.first().xMin + line.last().xMax) / 2;
}
int anzahl(const QList<PdfWord>& words, const QString& text, int page = 1) {
    return int(std::count_if(words.begin(), words.end(),
                             [&](const PdfWord& w) { return w.text == text && w.page == page; }));
}

const Text* finde(const QVector<Text>& texte, const QString& anfang) {
    for (const Text& t : texte)
        if (t.text.startsWith(anfang)) return &t;
    return nullptr;
}

// --- The texts at the page's scale --------------------------------------------------------------------

struct MassstabFall {
    double breite;
    double k;
};
class Massstab : public ::testing::TestWithParam<MassstabFall> {};

TEST_P(Massstab, ThePaperWidthChoosesTheScaleAndNoWidthIsLeftWithout) {
    EXPECT_DOUBLE_EQ(schirizettel::massstab(GetParam().breite), GetParam().k) << GetParam().breite;
}

INSTANTIATE_TEST_SUITE_P(Breiten, Massstab,
                         ::testing::Values(MassstabFall{2100.2, 1.5}, MassstabFall{2159, 1.5},
                                           MassstabFall{2000.5, 1.5}, MassstabFall{2000, 1.0},
                                           MassstabFall{1820, 1.0}, MassstabFall{1700, 1.0},
                                           MassstabFall{1699.9, 0.75}, MassstabFall{1480, 0.75}));

struct SatzFall {
    int g;
    double k;
    QList<int> saetze; // distances of the set lines
    int endergebnis;
    int sieger;
};
class SlipTexte : public ::testing::TestWithParam<SatzFall> {};

TEST_P(SlipTexte, SetLinesFollowTheWinningSetsAtThePagesScale) {
    const SatzFall& f = GetParam();
    Zettel z;
    z.gewinnsaetze = f.g;
    z.spielnummer = 12;
    const QVector<Text> texte = schirizettel::texte(z, f.k);
    QList<int> saetze;
    for (const Text& t : texte)
        if (t.text.startsWith(u"Satz ")) {
            EXPECT_EQ(t.text, QStringLiteral("Satz %1: _________").arg(saetze.size() + 1));
            EXPECT_EQ(t.hoehe, qRound(55 * f.k));
            saetze << t.abstand;
        }
    EXPECT_EQ(saetze, f.saetze);
    const Text* erg = finde(texte, QStringLiteral("Endergebnis: "));
    const Text* sieger = finde(texte, QStringLiteral("Sieger: "));
    ASSERT_TRUE(erg && sieger);
    EXPECT_EQ(erg->abstand, f.endergebnis);
    EXPECT_EQ(sieger->abstand, f.sieger);
    EXPECT_EQ(erg->text, QStringLiteral("Endergebnis: _________"));
    EXPECT_EQ(sieger->text, QStringLiteral("Sieger: ___________________"));
    // The winner's blank starts where the longer result line would.
    EXPECT_EQ(sieger->mass, QStringLiteral("Endergebnis: ___________________"));
}

INSTANTIATE_TEST_SUITE_P(
    Gewinnsaetze, SlipTexte,
    ::testing::Values(SatzFall{2, 1.5, {750, 930, 1110}, 1320, 1500},
                      SatzFall{3, 1.5, {750, 930, 1110, 1290, 1470}, 1680, 1860},
                      // 380 · 0.75 and 120 · 0.75 are rounded each on their own.
                      SatzFall{3, 0.75, {375, 465, 555, 645, 735}, 840, 930},
                      SatzFall{5, 1.0, {500, 620, 740, 860, 980, 1100, 1220, 1340, 1460}, 1600, 1720}),
    [](const auto& info) { return "G" + std::to_string(info.param.g) + "_" + std::to_string(info.index); });

TEST(SlipTexte, OnA4TheTitleIs75HighAndTheFirstSetLine750BelowTheTop) {
    Zettel z;
    z.spielnummer = 4;
    z.kopf1 = QStringLiteral("Spieler 1");
    z.kopf2 = QStringLiteral("Spieler 2");
    z.verein1 = QStringLiteral("TTC Nord");
    const QVector<Text> texte = schirizettel::texte(z, schirizettel::massstab(2100));
    ASSERT_FALSE(texte.isEmpty());
    EXPECT_EQ(texte[0].text, QStringLiteral("Schiedsrichterzettel"));
    EXPECT_EQ(texte[0].hoehe, 75);
    EXPECT_TRUE(texte[0].fett);
    EXPECT_EQ(texte[0].abstand, 8);
    const Text* satz1 = finde(texte, QStringLiteral("Satz 1:"));
    ASSERT_NE(satz1, nullptr);
    EXPECT_EQ(satz1->abstand, 750);
    const Text* spieler = finde(texte, QStringLiteral("Spieler 2"));
    ASSERT_NE(spieler, nullptr);
    EXPECT_EQ(spieler->anker, Anker::Rechts);
    EXPECT_TRUE(spieler->fett && spieler->kursiv);
    EXPECT_EQ(spieler->hoehe, 83);
    // The club is centred as it is printed, brackets and all; a side without a club gets no brackets.
    const Text* verein = finde(texte, QStringLiteral("("));
    ASSERT_NE(verein, nullptr);
    EXPECT_EQ(verein->text, QStringLiteral("(TTC Nord)"));
    EXPECT_EQ(verein->mass, verein->text);
    EXPECT_EQ(verein->anker, Anker::Links);
    EXPECT_EQ(
        std::count_if(texte.begin(), texte.end(), [](const Text& t) { return t.text.startsWith(u'('); }), 1);
}

// --- A single match, printed from the match dialog -------------------------------------------------

class Einzelzettel : public BetriebTest {
protected:
    void spieler(int sid, const QString& verein) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein) VALUES "
                                 "(1,:s,'Spieler',:v2,:v)"),
                  {{":s", sid}, {":v2", QString::number(sid)}, {":v", verein}});
    }
    // A group of four with three winning sets, match 1 (Spieler 101 against 104) called to table "2"
    // with an umpire.
    void aufgerufen(int saetze = 3) {
        gruppeMitFinale(saetze);
        schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
        for (int sid = 101; sid <= 104; ++sid)
            spieler(sid, sid == 102 ? QString() : QStringLiteral("TTC %1").arg(sid));
        oeffnen();
        ASSERT_TRUE(sb->turniergo([](int) { return false; }));
        ASSERT_TRUE(aufrufen(1, QStringLiteral("2"), QStringLiteral("Huber, Eva")).geschlossen);
        ui.clear();
    }
    QList<PdfWord> drucken(int snr) {
        dialog->spielaufgerufen(snr);
        EXPECT_TRUE(dialog->druckenEnabled) << "the called page prints the slip too";
        dialog->drucken();
        EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
        EXPECT_EQ(ui.printTitles.value(ui.printTitles.size() - 1), QStringLiteral("Schiedsrichterzettel"));
        EXPECT_EQ(ui.printModes.value(ui.printModes.size() - 1), Interaction::PrintMode::Dialog);
        return pdfWords(ui.lastPrintPdf);
    }
};

TEST_P(Einzelzettel, TheSlipShowsTheCalledMatchAtItsPlacesOnA4) {
    aufgerufen();
    const SpielplanRow m = spiel(1);
    const QList<PdfWord> words = drucken(1);
    EXPECT_EQ(ui.lastPrintPages, 1);

    // A4 is 210 mm wide: scale 1.5, everything centred on the paper's middle or the middle of a half.
    const QList<PdfWord> titel = zeile(words, QStringLiteral("Schiedsrichterzettel"));
    ASSERT_EQ(titel.size(), 1) << dump(words);
    EXPECT_NEAR(mitte(titel), 105.0, 0.5);
    EXPECT_NEAR(titel[0].yMin, (50 + 8) / 10.0, 0.5);
    EXPECT_EQ(zeilentext(words, QStringLiteral("Spielnummer:")), QStringLiteral("Spielnummer: 1"));
    EXPECT_EQ(zeilentext(words, QStringLiteral("Schiedsrichter:")),
              QStringLiteral("Schiedsrichter: Huber, Eva"));
    EXPECT_EQ(zeilentext(words, QStringLiteral("An")), QStringLiteral("An Tisch: 2"));
    for (const auto& [first, y] :
         {std::pair{"Spielnummer:", 50 + 105}, {"Schiedsrichter:", 50 + 180}, {"An", 50 + 255}}) {
        const QList<PdfWord> z = zeile(words, QString::fromLatin1(first));
        ASSERT_FALSE(z.isEmpty()) << first;
        EXPECT_NEAR(mitte(z), 105.0, 0.5) << first;
        EXPECT_NEAR(z[0].yMin, y / 10.0, 0.5) << first;
    }

    // Headings, names and clubs on the two halves.
    const QList<PdfWord> heads = zeile(words, QStringLiteral("Spieler"));
    ASSERT_EQ(heads.size(), 4) << dump(words);
    EXPECT_NEAR((heads[0].xMin + heads[1].xMax) / 2, 52.5, 0.5);
    EXPECT_NEAR((heads[2].xMin + heads[3].xMax) / 2, 157.5, 0.5);
    EXPECT_NEAR(heads[0].yMin, (50 + 360) / 10.0, 0.5);
    EXPECT_EQ(heads[1].text + heads[3].text, QStringLiteral("12"));
    const QStringList a = m.spieler1.split(u' '), b = m.spieler2.split(u' ');
    QList<PdfWord> namen;
    for (const PdfWord& w : words)
        if (std::abs(w.yMin - (50 + 450) / 10.0) < 0.5) namen << w;
    std::sort(namen.begin(), namen.end(), [](const PdfWord& x, const PdfWord& y) { return x.xMin < y.xMin; });
    ASSERT_EQ(namen.size(), a.size() + b.size()) << dump(words);
    EXPECT_EQ(namen[0].text + u' ' + namen[1].text, m.spieler1);
    EXPECT_NEAR((namen[0].xMin + namen[1].xMax) / 2, 52.5, 0.5);
    EXPECT_NEAR((namen[2].xMin + namen[3].xMax) / 2, 157.5, 0.5);
    const QList<PdfWord> verein1 = zeile(words, QStringLiteral("(TTC"));
    ASSERT_EQ(verein1.size(), 4) << "both sides have a club: " << dump(words);
    EXPECT_EQ(verein1[1].text, QStringLiteral("%1)").arg(m.SID1));
    EXPECT_NEAR((verein1[0].xMin + verein1[1].xMax) / 2, 52.5, 0.5) << "centred brackets and all";
    EXPECT_NEAR(verein1[0].yMin, (50 + 525) / 10.0, 0.5);

    // Five set lines from 750 below the slip's top, 180 apart; result and winner below, never filled in.
    const QList<PdfWord> satz = [&] {
        QList<PdfWord> out;
        for (const PdfWord& w : words)
            if (w.text == u"Satz") out << w;
        return out;
    }();
    ASSERT_EQ(satz.size(), 5) << dump(words);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(satz[i].yMin, (50 + 750 + 180 * i) / 10.0, 0.5) << i;
        const QList<PdfWord> z = zeileBei(words, satz[i].yMin);
        EXPECT_EQ(text(z), QStringLiteral("Satz %1: _________").arg(i + 1));
        EXPECT_NEAR(mitte(z), 105.0, 0.5) << i;
    }
    const QList<PdfWord> erg = zeile(words, QStringLiteral("Endergebnis:"));
    const QList<PdfWord> sieger = zeile(words, QStringLiteral("Sieger:"));
    ASSERT_EQ(erg.size(), 2);
    ASSERT_EQ(sieger.size(), 2);
    EXPECT_NEAR(erg[0].yMin, (50 + 1680) / 10.0, 0.5);
    EXPECT_NEAR(sieger[0].yMin, (50 + 1860) / 10.0, 0.5);
    EXPECT_NEAR(mitte(erg), 105.0, 0.5);
    EXPECT_LT(sieger[0].xMin, erg[0].xMin - 10)
        << "the winner's line starts where the long result line would";
    const double mehr = (sieger[1].xMax - sieger[1].xMin) - (erg[1].xMax - erg[1].xMin);
    EXPECT_NEAR(sieger[0].xMin, erg[0].xMin - mehr / 2, 0.5);
    EXPECT_EQ(anzahl(words, QStringLiteral("0:0")), 0) << "a new match's 0:0 is no result";
}

TEST_P(Einzelzettel, TheTitleIsSetAt75TenthsOfAMillimetre) {
    aufgerufen();
    const QList<PdfWord> slip = drucken(1);
    // The same word at font heights 75 and 50, printed on their own: the slip's title is as tall as
    // the first.
    QTemporaryDir dir;
    const QString ref = dir.filePath(QStringLiteral("ref.pdf"));
    ASSERT_TRUE(printToPdf(ref, QPageLayout::Portrait, [](PrintSurface& s) {
        s.setFont(QStringLiteral("Times New Roman"), 75, true);
        s.textOut(100, -500, QStringLiteral("Schiedsrichterzettel"));
        s.setFont(QStringLiteral("Times New Roman"), 50, true);
        s.textOut(100, -1500, QStringLiteral("Schiedsrichterzettel"));
    }));
    const QList<PdfWord> refs = pdfWordsNamed(pdfWords(ref), QStringLiteral("Schiedsrichterzettel"));
    const QList<PdfWord> titel = pdfWordsNamed(slip, QStringLiteral("Schiedsrichterzettel"));
    ASSERT_EQ(refs.size(), 2);
    ASSERT_EQ(titel.size(), 1);
    EXPECT_NEAR(titel[0].yMax - titel[0].yMin, refs[0].yMax - refs[0].yMin, 0.05);
    EXPECT_NEAR(titel[0].xMax - titel[0].xMin, refs[0].xMax - refs[0].xMin, 0.1);
    EXPECT_GT(refs[0].yMax - refs[0].yMin, refs[1].yMax - refs[1].yMin + 2);
}

TEST_P(Einzelzettel, AFinishedMatchGetsABlankSlipAndAnUncalledOneAnEmptyTable) {
    aufgerufen();
    // Match 2 is neither called nor planned: no umpire, no table.
    const QList<PdfWord> offen = drucken(2);
    EXPECT_EQ(zeilentext(offen, QStringLiteral("An")), QStringLiteral("An Tisch:"));
    EXPECT_EQ(zeilentext(offen, QStringLiteral("Schiedsrichter:")), QStringLiteral("Schiedsrichter:"));
    EXPECT_EQ(anzahl(offen, QStringLiteral("0:0")), 0);

    ASSERT_TRUE(starten(1).geschlossen);
    ASSERT_TRUE(ergebnis(1, QStringLiteral("3:1"), {"5", "-7", "9", "3"}).geschlossen);
    ASSERT_TRUE(spiel(1).beendet);
    ui.clear();
    const QList<PdfWord> fertig = drucken(1);
    EXPECT_EQ(zeilentext(fertig, QStringLiteral("Endergebnis:")), QStringLiteral("Endergebnis: _________"));
    for (const char* t : {"3:1", "1:3", "0:0", "5", "-7"})
        EXPECT_EQ(anzahl(fertig, QString::fromLatin1(t)), 0) << t << " is for the umpire to write";
}

TEST_P(Einzelzettel, TwoWinningSetsGiveThreeSetLines) {
    aufgerufen(2);
    const QList<PdfWord> words = drucken(1);
    EXPECT_EQ(pdfWordsNamed(words, QStringLiteral("Satz")).size(), 3) << dump(words);
    const QList<PdfWord> erg = zeile(words, QStringLiteral("Endergebnis:"));
    ASSERT_FALSE(erg.isEmpty());
    EXPECT_NEAR(erg[0].yMin, (50 + 1320) / 10.0, 0.5);
    EXPECT_EQ(pdfWordsNamed(words, QStringLiteral("3:")).size(), 1);
    EXPECT_TRUE(pdfWordsNamed(words, QStringLiteral("4:")).isEmpty());
}

TEST_P(Einzelzettel, PreviewAndPdfFileShowTheSameSlip) {
    aufgerufen();
    dialog->spielaufgerufen(1);
    dialog->drucken(Druckziel::Vorschau);
    ASSERT_EQ(ui.printModes, QList<Interaction::PrintMode>{Interaction::PrintMode::Preview});
    const QList<PdfWord> vorschau = pdfWords(ui.lastPrintPdf);
    ASSERT_FALSE(vorschau.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zettel"));
    ui.chooseFile(path);
    dialog->drucken(Druckziel::Pdf);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(ui.printModes.size(), 1) << "a PDF needs no print dialog";
    EXPECT_EQ(ui.presetPaths.value(0), QStringLiteral("Schiedsrichterzettel Spiel 1.pdf"));
    EXPECT_EQ(ui.fileFilters.value(0), QStringLiteral("PDF (*.pdf)"));
    ASSERT_TRUE(QFile::exists(path + QStringLiteral(".pdf")));
    const QList<PdfWord> datei = pdfWords(path + QStringLiteral(".pdf"));
    ASSERT_EQ(datei.size(), vorschau.size());
    for (int i = 0; i < datei.size(); ++i) {
        EXPECT_EQ(datei[i].text, vorschau[i].text);
        EXPECT_NEAR(datei[i].yMin, vorschau[i].yMin, 0.01);
    }
}

VELMORA_INSTANTIATE_DB_TEST(Einzelzettel);

// --- A team match: one page per rubber ----------------------------------------------------------------

class Teamzettel : public DbTest {
protected:
    static constexpr int kKid = 40;
    static constexpr int kSnr = 6;

    // A team class with three winning sets and team match 6 between "TTC Nord" and "SV Süd" with n
    // rubbers, written in the order `reihenfolge` (rubber numbers) so the engine's order is no help.
    void anlegen(const QList<int>& reihenfolge) {
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, saetze) VALUES "
                                 "(:k, 1, 3, 'Herren Team', 3)"),
                  {{":k", kKid}});
        db().exec(
            QStringLiteral("INSERT INTO Spielplan (KID, TID, spielnummer, SID1, SID2, spieler1, spieler2, "
                           "ergebnis, an_platte, schiri) VALUES (:k, 1, :s, 7001, 7002, 'TTC Nord', "
                           "'SV Süd', '0:0', 'T1', 'Team, Schiri')"),
            {{":k", kKid}, {":s", kSnr}});
        for (int n : reihenfolge)
            db().exec(
                QStringLiteral("INSERT INTO Teamspiele (KID, TID, spielnummer, nummer, MID1, MID2, SID1, "
                               "SID2, spieler1, spieler2, sbez1, sbez2, schiri, an_platte, ergebnis) VALUES "
                               "(:k, 1, :s, :n, 7001, 7002, -1, -1, 'TTC Nord', 'SV Süd', :b1, :b2, :sch, "
                               ":t, '0:0')"),
                {{":k", kKid},
                 {":s", kSnr},
                 {":n", n},
                 {":b1", QStringLiteral("Heim%1, A.").arg(n)},
                 {":b2", QStringLiteral("Gast%1, B.").arg(n)},
                 {":sch", QStringLiteral("Schiri%1, C.").arg(n)},
                 {":t", n % 2 ? QVariant(QStringLiteral("T%1").arg(n)) : QVariant()}});
    }
    ScriptedInteraction ui;
};

TEST_P(Teamzettel, NineRubbersPrintNinePagesInRubberOrder) {
    anlegen({5, 1, 9, 3, 7, 2, 8, 4, 6});
    ASSERT_TRUE(schirizettel::drucken(ui, db(), kKid, kSnr));
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(ui.lastPrintPages, 9);
    const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
    ASSERT_FALSE(words.isEmpty());
    EXPECT_EQ(words.last().page, 9);
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(anzahl(words, QStringLiteral("Schiedsrichterzettel"), n), 1);
        EXPECT_EQ(zeilentext(words, QStringLiteral("Spielnummer:"), n), QStringLiteral("Spielnummer: 6"));
        EXPECT_EQ(zeilentext(words, QStringLiteral("Schiedsrichter:"), n),
                  QStringLiteral("Schiedsrichter: Schiri%1, C.").arg(n));
        EXPECT_EQ(zeilentext(words, QStringLiteral("An"), n),
                  n % 2 ? QStringLiteral("An Tisch: T%1").arg(n) : QStringLiteral("An Tisch:"));
        EXPECT_EQ(zeilentext(words, QStringLiteral("TTC"), n), QStringLiteral("TTC Nord SV Süd"));
        const QList<PdfWord> seiten = zeile(words, QStringLiteral("Heim%1,").arg(n), n);
        ASSERT_EQ(seiten.size(), 4) << dump(words);
        EXPECT_EQ(seiten[2].text, QStringLiteral("Gast%1,").arg(n));
        EXPECT_NEAR((seiten[0].xMin + seiten[1].xMax) / 2, 52.5, 0.5);
        EXPECT_NEAR((seiten[2].xMin + seiten[3].xMax) / 2, 157.5, 0.5);
        EXPECT_NEAR(seiten[0].yMin, (50 + 450) / 10.0, 0.5);
        // No headings, no clubs; the sets as on a single match's slip.
        EXPECT_EQ(anzahl(words, QStringLiteral("Spieler"), n), 0);
        EXPECT_EQ(anzahl(words, QStringLiteral("Satz"), n), 5);
        EXPECT_EQ(anzahl(words, QStringLiteral("0:0"), n), 0);
    }
    // The smaller header of a rubber's slip: 40 and 35 at scale 1.5.
    const QList<PdfWord> titel = pdfWordsNamed(words, QStringLiteral("Schiedsrichterzettel"));
    const QList<PdfWord> nr = pdfWordsNamed(words, QStringLiteral("Spielnummer:"));
    ASSERT_FALSE(titel.isEmpty() || nr.isEmpty());
    EXPECT_NEAR(titel[0].yMin, (50 + 8) / 10.0, 0.5);
    EXPECT_NEAR(nr[0].yMin, (50 + 105) / 10.0, 0.5);
    const QList<PdfWord> satz1 = zeile(words, QStringLiteral("Satz"));
    ASSERT_FALSE(satz1.isEmpty());
    EXPECT_NEAR(satz1[0].yMin, (50 + 750) / 10.0, 0.5);
}

TEST_P(Teamzettel, RubbersReadInRubberOrderWithTheTeamsAsHeadings) {
    anlegen({3, 1, 2});
    const QVector<Zettel> z = schirizettel::lesen(db(), kKid, kSnr);
    ASSERT_EQ(z.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(z[i].team);
        EXPECT_EQ(z[i].seite1, QStringLiteral("Heim%1, A.").arg(i + 1));
        EXPECT_EQ(z[i].kopf2, QStringLiteral("SV Süd"));
        EXPECT_TRUE(z[i].verein1.isEmpty() && z[i].verein2.isEmpty());
    }
    const QVector<Text> texte = schirizettel::texte(z[0], 1.5);
    EXPECT_EQ(texte[0].hoehe, 60);
    EXPECT_EQ(finde(texte, QStringLiteral("Spielnummer"))->hoehe, 53);
    EXPECT_EQ(finde(texte, QStringLiteral("TTC Nord"))->hoehe, 83);
}

TEST_P(Teamzettel, AMissingMatchOrUnreadableDataIsAPrinterErrorAndNothingIsPrinted) {
    anlegen({1, 2});
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr + 1));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Druckerfehler")});
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_EQ(ui.messages[0].button, Interaction::Button::Ok);
    EXPECT_TRUE(ui.printTitles.isEmpty()) << "no print dialog for nothing";

    ui.clear();
    db().exec(QStringLiteral("DROP TABLE Teamspiele"));
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Druckerfehler")});
    EXPECT_TRUE(ui.printTitles.isEmpty());
}

TEST_P(Teamzettel, APrinterThatCannotStartIsAPrinterError) {
    anlegen({1, 2});
    ui.printerFails = true;
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Druckerfehler")});
    EXPECT_EQ(ui.messages.value(0).button, Interaction::Button::Ok);
}

TEST_P(Teamzettel, CancellingTheDialogOrTheFileChoicePrintsNothing) {
    anlegen({1, 2});
    ui.printAnswers << false;
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr));
    EXPECT_EQ(ui.printTitles, QStringList{QStringLiteral("Schiedsrichterzettel")});
    EXPECT_TRUE(ui.lastPrintPdf.isEmpty());
    ui.chooseFile(QString());
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr, Druckziel::Pdf));
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
}

TEST_P(Teamzettel, APdfThatCannotBeWrittenIsNamed) {
    anlegen({1, 2});
    ui.chooseFile(QStringLiteral("/nonexistent-folder/zettel.pdf"));
    EXPECT_FALSE(schirizettel::drucken(ui, db(), kKid, kSnr, Druckziel::Pdf));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("/nonexistent-folder/zettel.pdf")))
        << str(ui.messages[0].text);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-folder/zettel.pdf")));
}

VELMORA_INSTANTIATE_DB_TEST(Teamzettel);

// --- Other paper and long names -------------------------------------------------------------------

// Draws the slips on paper of the given size straight through a PDF writer.
QList<PdfWord> aufPapier(const QPageSize& papier, const QVector<Zettel>& zettel) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageSize(papier);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        PrintSurface s(&writer);
        EXPECT_TRUE(s.begin());
        schirizettel::zeichnen(s, zettel);
        s.end();
    }
    return pdfWords(pdf);
}

Zettel einzel(const QString& a, const QString& b) {
    Zettel z;
    z.spielnummer = 3;
    z.kopf1 = QStringLiteral("Spieler 1");
    z.kopf2 = QStringLiteral("Spieler 2");
    z.seite1 = a;
    z.seite2 = b;
    return z;
}

TEST(Schirizettel, OnA5EverythingIsThreeQuartersAndCentredOnThatPaper) {
    const QList<PdfWord> words = aufPapier(QPageSize(QPageSize::A5), {einzel("Meier", "Schulz")});
    const QList<PdfWord> titel = zeile(words, QStringLiteral("Schiedsrichterzettel"));
    ASSERT_EQ(titel.size(), 1) << dump(words);
    EXPECT_NEAR(mitte(titel), 74.0, 0.5);
    EXPECT_NEAR(titel[0].yMin, (50 + 4) / 10.0, 0.5);
    const QList<PdfWord> satz = pdfWordsNamed(words, QStringLiteral("Satz"));
    ASSERT_EQ(satz.size(), 5);
    EXPECT_NEAR(satz[0].yMin, (50 + 375) / 10.0, 0.5);
    EXPECT_NEAR(satz[4].yMin, (50 + 735) / 10.0, 0.5);
    const QList<PdfWord> meier = pdfWordsNamed(words, QStringLiteral("Meier"));
    ASSERT_EQ(meier.size(), 1);
    EXPECT_NEAR((meier[0].xMin + meier[0].xMax) / 2, 37.0, 0.5);
}

TEST(Schirizettel, ALongPairNameIsSetSmallerAndStaysOnItsHalf) {
    const QString paar1 = QStringLiteral("Meier-Lüdenscheidt, Annabell / Schulze-Wittgenstein, Eva-Maria");
    const QString paar2 = QStringLiteral("Kurz, A. / Lang, B.");
    const QList<PdfWord> words = aufPapier(QPageSize(QPageSize::A4), {einzel(paar1, paar2)});
    // Both names share one line; each half holds its own.
    const QList<PdfWord> zeile = zeileBei(words, (50 + 450) / 10.0);
    QList<PdfWord> links, rechts;
    for (const PdfWord& w : zeile)
        (w.xMin < 105.0 ? links : rechts) << w;
    ASSERT_EQ(text(links), paar1) << dump(words);
    ASSERT_EQ(text(rechts), paar2) << dump(words);
    EXPECT_GE(links.first().xMin, 7.0);
    EXPECT_LE(links.last().xMax, 105.0 - 7.0);
    EXPECT_NEAR(mitte(links), 52.5, 0.5);
    // The short pair keeps its size; the long one lost some.
    EXPECT_NEAR(mitte(rechts), 157.5, 0.5);
    EXPECT_LT(links[0].yMax - links[0].yMin, rechts[0].yMax - rechts[0].yMin - 0.5);
    EXPECT_NEAR(links[0].yMin, rechts[0].yMin, 0.01) << "set smaller from the same top";
}

} // namespace
