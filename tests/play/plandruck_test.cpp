// Printed plans: the bracket sheet at the five print sizes, how it is cut into pages, group sheets, and
// the printout itself read back from its PDF.
#include "output/plandruck.h"
#include "play/plan_fixture.h"
#include "support/pdfwords.h"

#include <QFile>
#include <QTemporaryDir>

using namespace plantest;
using plandruck::Blatt;
using plandruck::Schnitte;

namespace {

QString teilnehmer(int i) {
    return QStringLiteral("Teilnehmer%1").arg(i + 1);
}

PlanDaten bracketOf(int system, int entries) {
    return pureBracket(system, entries, teilnehmer);
}

void beenden(PlanDaten& d, int snr, const QString& ergebnis) {
    for (SpielplanRow& m : d.matches)
        if (m.spielnummer == snr) {
            m.beendet = true;
            m.ergebnis = ergebnis;
        }
}

Blatt sheet(const PlanDaten& d, int size) {
    return plandruck::koBogen(phasenplan(d, 1, plandruck::kDruckZoom), d.matches, size,
                              QStringLiteral("Stadtmeisterschaft"),
                              QStringLiteral("Spielplan für Herren (Einzel)"));
}

QSize pagesOf(const Blatt& b, QPageLayout::Orientation format) {
    const Schnitte s = plandruck::schneiden(b, plandruck::a4(format));
    return QSize(s.quer(), s.hoch());
}

const PdfWord* word(const QList<PdfWord>& words, const QString& text) {
    for (const PdfWord& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

// --- The sheet and its pages ------------------------------------------------------------------------

TEST(PlanDruckBogen, EightEntriesAtSizeZeroMakeASheetOf900By700OnOnePage) {
    const PlanDaten d = bracketOf(PhasePlan::EinfachesKO, 8);
    const Blatt b = sheet(d, 0);
    EXPECT_EQ(b.size, QSize(900, 700));
    EXPECT_EQ(pagesOf(b, QPageLayout::Portrait), QSize(1, 1));
    const QStringList labels =
        plandruck::groessenTexte(phasenplan(d, 1, plandruck::kDruckZoom), d.matches, QPageLayout::Portrait,
                                 QStringLiteral("Stadtmeisterschaft"), QString());
    ASSERT_EQ(labels.size(), 5);
    EXPECT_EQ(labels[0], QStringLiteral("Größe 0 (1x1) DIN A4 Seiten"));
}

struct SheetCase {
    int entries;
    int size;
    QSize sheet;
    QSize portrait; // pages across and down
    QSize landscape;
};
void PrintTo(const SheetCase& c, std::ostream* os) {
    *os << c.entries << " entries at size " << c.size;
}

class PlanDruckGroessen : public ::testing::TestWithParam<SheetCase> {};

TEST_P(PlanDruckGroessen, TheSheetGrowsWithThePrintSizeAndIsCutIntoAsManyPagesAsItNeeds) {
    const SheetCase& c = GetParam();
    const PlanDaten d = bracketOf(PhasePlan::EinfachesKO, c.entries);
    const Blatt b = sheet(d, c.size);
    // round width × (q + 2) + left margin; (S / 2) × row pitch × 3 + top margin + row pitch
    EXPECT_EQ(b.size, c.sheet);
    // A page never ends inside a name, so a sheet may need more pages than its extent alone, never fewer.
    for (const auto& [pages, format] :
         {std::pair{c.portrait, QPageLayout::Portrait}, std::pair{c.landscape, QPageLayout::Landscape}}) {
        const QSize a4 = plandruck::a4(format);
        EXPECT_GE(pages.width(), (c.sheet.width() + a4.width() - 1) / a4.width());
        EXPECT_GE(pages.height(), (c.sheet.height() + a4.height() - 1) / a4.height());
    }
    EXPECT_EQ(pagesOf(b, QPageLayout::Portrait), c.portrait);
    EXPECT_EQ(pagesOf(b, QPageLayout::Landscape), c.landscape);
    const QStringList hoch = plandruck::groessenTexte(phasenplan(d, 1, plandruck::kDruckZoom), d.matches,
                                                      QPageLayout::Portrait, QString(), QString());
    EXPECT_EQ(hoch.value(c.size), QStringLiteral("Größe %1 (%2x%3) DIN A4 Seiten")
                                      .arg(c.size)
                                      .arg(c.portrait.width())
                                      .arg(c.portrait.height()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlanDruckGroessen,
                         ::testing::Values(
                             // one first-round match: q = 0, two round widths
                             SheetCase{2, 0, {500, 340}, {1, 1}, {1, 1}},
                             SheetCase{64, 0, {1500, 4060}, {1, 2}, {1, 2}},
                             SheetCase{64, 1, {2200, 6090}, {2, 3}, {1, 3}},
                             SheetCase{64, 2, {2900, 8120}, {2, 3}, {1, 4}},
                             // the names of all columns leave few places to cut a 210 mm page: one page
                             // more down than 12180 / 2100
                             SheetCase{64, 3, {4300, 12180}, {3, 5}, {2, 7}},
                             // two rounds of 80 mm and a name of the third do not fit 297 mm across
                             SheetCase{64, 4, {5700, 16240}, {3, 6}, {3, 9}}));

struct TilingCase {
    int system, entries, size;
};
void PrintTo(const TilingCase& c, std::ostream* os) {
    *os << (c.system == 1 ? "single " : "double ") << c.entries << " at size " << c.size;
}
class PlanDruckSeiten : public ::testing::TestWithParam<TilingCase> {};

TEST_P(PlanDruckSeiten, PagesOfABracketLineUpWhenLaidSideBySideAndCutNoText) {
    const PlanDaten d = bracketOf(GetParam().system, GetParam().entries);
    const Blatt b = sheet(d, GetParam().size);
    const Schnitte s = plandruck::schneiden(b, plandruck::a4(QPageLayout::Portrait));
    const QVector<Blatt> pages = plandruck::kacheln(b, s);
    ASSERT_EQ(pages.size(), s.quer() * s.hoch());
    ASSERT_GT(s.quer(), 1);
    ASSERT_GT(s.hoch(), 1);
    const auto page = [&](int i, int j) -> const Blatt& { return pages[j * s.quer() + i]; };

    int across = 0, down = 0;
    for (int j = 0; j < s.hoch(); ++j)
        for (int i = 0; i < s.quer(); ++i) {
            const Blatt& p = page(i, j);
            EXPECT_LE(p.size.width(), 2100);
            EXPECT_LE(p.size.height(), 2970);
            // A text may reach beyond the page's piece of the sheet, never beyond the paper.
            for (const plandruck::Text& t : p.texte) {
                EXPECT_GE(t.box.left(), 0) << str(t.text);
                EXPECT_GE(t.box.top(), 0) << str(t.text);
                EXPECT_LE(t.box.left() + t.box.width(), 2100) << str(t.text) << " cut at the right edge";
                EXPECT_LE(t.box.top() + t.box.height(), 2970) << str(t.text) << " cut at the bottom";
            }
            for (const plandruck::Linie& l : p.linien) {
                const bool horizontal = l.a.y() == l.b.y();
                const int right = std::max(l.a.x(), l.b.x()), bottom = std::max(l.a.y(), l.b.y());
                if (horizontal && right == p.size.width() && i + 1 < s.quer()) {
                    ++across;
                    const QVector<plandruck::Linie>& next = page(i + 1, j).linien;
                    EXPECT_TRUE(std::any_of(next.begin(), next.end(),
                                            [&](const plandruck::Linie& n) {
                                                return n.a.y() == l.a.y() && n.b.y() == l.a.y() &&
                                                       std::min(n.a.x(), n.b.x()) == 0;
                                            }))
                        << "the line at y " << l.a.y() << " of page " << i << "," << j << " stops";
                }
                if (!horizontal && l.a.x() == l.b.x() && bottom == p.size.height() && j + 1 < s.hoch()) {
                    ++down;
                    const QVector<plandruck::Linie>& next = page(i, j + 1).linien;
                    EXPECT_TRUE(std::any_of(next.begin(), next.end(),
                                            [&](const plandruck::Linie& n) {
                                                return n.a.x() == l.a.x() && n.b.x() == l.a.x() &&
                                                       std::min(n.a.y(), n.b.y()) == 0;
                                            }))
                        << "the line at x " << l.a.x() << " of page " << i << "," << j << " stops";
                }
            }
        }
    EXPECT_GT(across, 0) << "no line crosses a page edge: the case shows nothing";
    EXPECT_GT(down, 0);

    // Laid side by side, the pieces give back every line of the sheet at its full length, and every text
    // once.
    qint64 sheetLength = 0, pieceLength = 0;
    for (const plandruck::Linie& l : b.linien)
        sheetLength += std::abs(l.b.x() - l.a.x()) + std::abs(l.b.y() - l.a.y());
    int texts = 0;
    for (const Blatt& p : pages) {
        for (const plandruck::Linie& l : p.linien)
            pieceLength += std::abs(l.b.x() - l.a.x()) + std::abs(l.b.y() - l.a.y());
        texts += int(p.texte.size());
    }
    EXPECT_EQ(pieceLength, sheetLength);
    EXPECT_EQ(texts, b.texte.size());
}

// The names of a double bracket's many columns leave no gap to cut between across a whole page.
INSTANTIATE_TEST_SUITE_P(Brackets, PlanDruckSeiten,
                         ::testing::Values(TilingCase{PhasePlan::EinfachesKO, 64, 4},
                                           TilingCase{PhasePlan::DoppeltesKO, 32, 3},
                                           TilingCase{PhasePlan::DoppeltesKO, 128, 1}));

TEST(PlanDruckKopf, AHeadingAcrossACutMovesOntoOnePage) {
    const PlanDaten d = bracketOf(PhasePlan::EinfachesKO, 64);
    const QString lang = QStringLiteral("Offene Kreismeisterschaften der Jugend und Senioren im Tischtennis");
    const Blatt b =
        plandruck::koBogen(phasenplan(d, 1, plandruck::kDruckZoom), d.matches, 3, lang, QString());
    const Schnitte s = plandruck::schneiden(b, plandruck::a4(QPageLayout::Portrait));
    int found = 0;
    for (const Blatt& p : plandruck::kacheln(b, s))
        for (const plandruck::Text& t : p.texte)
            if (t.text == lang) {
                ++found;
                EXPECT_GE(t.box.left(), 0);
                EXPECT_LE(t.box.left() + t.box.width(), p.size.width());
            }
    EXPECT_EQ(found, 1);
}

// --- Group sheets ------------------------------------------------------------------------------------

class PlanDruckGruppen : public PlanTest {};

TEST_P(PlanDruckGruppen, WholeGroupBlocksFillAPageAndTheNextGroupStartsANewOne) {
    settings({0, -1, -1}, {16, 0, 0}, {4, 0, 0});
    DrawPlan plan;
    plan.phases[0] = entryGroups(16, 4);
    write(plan);
    const PlanDaten d = load();
    const PlanLayout l = phasenplan(d, 1, plandruck::kDruckZoom);
    ASSERT_EQ(l.bloecke.size(), 16);
    const QVector<Blatt> pages = plandruck::gruppenSeiten(
        l, d.matches, 4, QSize(2100, 2970), QStringLiteral("Stadtmeisterschaft"), QStringLiteral("Plan"));
    // Eight blocks of four places to a page, the headings on each.
    ASSERT_EQ(pages.size(), 2);
    QStringList titles;
    for (const Blatt& p : pages) {
        int heads = 0;
        for (const plandruck::Text& t : p.texte) {
            EXPECT_GE(t.box.top(), 0);
            EXPECT_LE(t.box.top() + t.box.height(), p.size.height()) << str(t.text);
            EXPECT_LE(t.box.left() + t.box.width(), p.size.width()) << str(t.text);
            if (t.text.startsWith(QStringLiteral("Gruppe "))) titles << t.text;
            if (t.text == u"Stadtmeisterschaft") ++heads;
        }
        EXPECT_EQ(heads, 1);
        for (const plandruck::Linie& line : p.linien)
            EXPECT_LE(std::max(line.a.y(), line.b.y()), p.size.height());
    }
    EXPECT_EQ(titles.size(), 16);
    EXPECT_EQ(titles.value(8), QStringLiteral("Gruppe I")) << "the second page starts with the ninth group";
}

TEST(PlanDruckGruppenFaktor, TheScaleFollowsThePaperAndThePlacesAndNeverRunsOffThePage) {
    struct Case {
        int breite, teilnehmer, layoutbreite;
        double faktor;
    } cases[] = {
        {2100, 4, 745, 1.5 * 1.7},
        {1900, 4, 745, 1.5 * 1.0},
        // six places: 1.5 × 1.6 would need 2016 + 200 of the 2100
        {2100, 6, 840, 1900.0 / 840},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(plandruck::gruppenFaktor(c.breite, c.teilnehmer, c.layoutbreite), c.faktor, 1e-9)
            << c.breite << " " << c.teilnehmer;
}

// --- The printout --------------------------------------------------------------------------------------

TEST(PlanDruckPdf, NamesResultsAndHeadingsStandWhereTheSheetPutsThem) {
    PlanDaten d = bracketOf(PhasePlan::EinfachesKO, 8);
    beenden(d, 1, QStringLiteral("3:1"));
    beenden(d, 2, QStringLiteral("0:0"));
    ScriptedInteraction ui;
    Interaction::DruckWahl wahl;
    wahl.groesse = 2;
    ui.druckWahlen << wahl;
    ASSERT_TRUE(plandruck::drucken(ui, d, 1, QStringLiteral("Stadtmeisterschaft"),
                                   QStringLiteral("Spielplan für Herren (Einzel)"), QString()));
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(ui.printModes.value(0), Interaction::PrintMode::Dialog);
    EXPECT_EQ(ui.lastPrintPages, 1);
    const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
    ASSERT_FALSE(words.isEmpty());

    // Size 2: left margin 100, round width 400, row pitch 80, top margin 360, names 36 high and lifted 50.
    const PdfWord* name = word(words, QStringLiteral("Stadtmeisterschaft"));
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR((name->xMin + name->xMax) / 2, 170.0 / 2, 1.0) << "centred on the sheet's 1700";
    EXPECT_NEAR(name->yMin, 5.0, 1.0);
    const PdfWord* first = word(words, teilnehmer(0));
    const PdfWord* second = word(words, teilnehmer(1));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NEAR(first->xMin, 10.0 + 3 * 40.0 / 180, 0.5);
    EXPECT_NEAR(first->yMin, 31.0, 0.8) << "5 mm above the line at 36 mm";
    EXPECT_NEAR(first->yMax, 36.0 - 0.5, 1.0) << "standing above its line";
    EXPECT_NEAR(second->yMin - first->yMin, 8.0, 0.2) << "one row pitch further down";
    // The result right of the box (which ends at 50 mm), centred between its two lines (36 and 44 mm).
    const PdfWord* result = word(words, QStringLiteral("3:1"));
    ASSERT_NE(result, nullptr);
    EXPECT_GT(result->xMin, 50.0);
    EXPECT_LT(result->xMin, 51.5);
    EXPECT_NEAR((result->yMin + result->yMax) / 2, 40.0, 0.8);
    EXPECT_EQ(word(words, QStringLiteral("0:0")), nullptr) << "a 0:0 result is never printed";
    EXPECT_NE(word(words, QStringLiteral("Halbfinale")), nullptr);
}

TEST(PlanDruckPdf, EveryNameOfABracketOverSeveralPagesIsPrintedOnceAndWhole) {
    struct Case {
        int system, entries, size;
    } cases[] = {{PhasePlan::EinfachesKO, 64, 4}, {PhasePlan::DoppeltesKO, 32, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        const PlanDaten d = bracketOf(c.system, c.entries);
        ScriptedInteraction ui;
        Interaction::DruckWahl wahl;
        wahl.groesse = c.size;
        ui.druckWahlen << wahl;
        ASSERT_TRUE(
            plandruck::drucken(ui, d, 1, QStringLiteral("Stadtmeisterschaft"), QStringLiteral("Plan"), {}));
        EXPECT_GT(ui.lastPrintPages, 1);
        const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
        for (int i = 0; i < c.entries; ++i) {
            const QList<PdfWord> w = pdfWordsNamed(words, teilnehmer(i));
            ASSERT_EQ(w.size(), 1) << str(teilnehmer(i));
            EXPECT_GE(w[0].xMin, 0.0);
            EXPECT_GE(w[0].yMin, -0.1);
            EXPECT_LE(w[0].xMax, 210.0);
            EXPECT_LE(w[0].yMax, 297.0);
        }
    }
}

TEST_P(PlanDruckGruppen, AGroupSheetShowsAResultInTheRowOfSideOneAndReversedInTheMirroredCell) {
    settings({0, -1, -1}, {2, 0, 0}, {4, 0, 0});
    DrawPlan plan;
    plan.phases[0] = entryGroups(2, 4);
    write(plan);
    PlanDaten d = load();
    const SpielplanRow* m = nullptr;
    for (const SpielplanRow& r : d.matches)
        if (r.gruppe == 0 && !r.spieler1.isEmpty() && !r.spieler2.isEmpty()) m = &r;
    ASSERT_NE(m, nullptr);
    int p1 = -1, p2 = -1;
    for (const GruppenRow& g : d.gruppen) {
        if (g.bez == m->spieler1) p1 = g.pos;
        if (g.bez == m->spieler2) p2 = g.pos;
    }
    ASSERT_NE(p1, p2);
    finishMatch(m->spielnummer, QStringLiteral("3:1"));
    d = load();

    ui.clear();
    ASSERT_TRUE(
        plandruck::drucken(ui, d, 1, QStringLiteral("Stadtmeisterschaft"), QStringLiteral("Plan"), {}));
    EXPECT_FALSE(ui.druckwahlMitGroessen) << "group sheets have no print sizes";
    const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
    EXPECT_EQ(pdfWordsNamed(words, QStringLiteral("Gruppe")).size(), 2);
    const PdfWord* won = word(words, QStringLiteral("3:1"));
    const PdfWord* lost = word(words, QStringLiteral("1:3"));
    ASSERT_NE(won, nullptr);
    ASSERT_NE(lost, nullptr);
    // The first member's number in the cross table (left of the standings) marks the row of each side.
    const auto rowOf = [&](int pos) {
        const QString nr = nameOf(101 + pos).section(u' ', 1);
        double best = 1e9, y = -1;
        for (const PdfWord& w : pdfWordsNamed(words, nr))
            if (w.xMin < best) {
                best = w.xMin;
                y = (w.yMin + w.yMax) / 2;
            }
        return y;
    };
    EXPECT_NEAR((won->yMin + won->yMax) / 2, rowOf(p1), 1.0);
    EXPECT_NEAR((lost->yMin + lost->yMax) / 2, rowOf(p2), 1.0);
    const double cell = 30 * plandruck::gruppenFaktor(2100, 4, 745) / 10;
    EXPECT_NEAR((won->xMin + won->xMax) / 2 - (lost->xMin + lost->xMax) / 2, (p2 - p1) * cell, 1.0);
}

VELMORA_INSTANTIATE_DB_TEST(PlanDruckGruppen);

// --- Choices and failures ----------------------------------------------------------------------------

TEST(PlanDruckAblauf, CancellingEitherDialogPrintsNothing) {
    const PlanDaten d = bracketOf(PhasePlan::EinfachesKO, 8);
    ScriptedInteraction ui;
    ui.druckWahlen << std::nullopt;
    EXPECT_FALSE(plandruck::drucken(ui, d, 1, QStringLiteral("T"), QStringLiteral("Plan"), {}));
    EXPECT_TRUE(ui.printTitles.isEmpty());
    ui.printAnswers << false;
    EXPECT_FALSE(plandruck::drucken(ui, d, 1, QStringLiteral("T"), QStringLiteral("Plan"), {}));
    EXPECT_EQ(ui.printTitles.size(), 1);
    EXPECT_TRUE(ui.lastPrintPdf.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(PlanDruckAblauf, TheSizeDialogOffersEverySizeInBothFormatsAndThePreviewAndPdfAreReached) {
    const PlanDaten d = bracketOf(PhasePlan::EinfachesKO, 64);
    QTemporaryDir dir;
    ScriptedInteraction ui;
    Interaction::DruckWahl vorschau;
    vorschau.ziel = Interaction::DruckWahl::Ziel::Vorschau;
    Interaction::DruckWahl pdf;
    pdf.groesse = 1;
    pdf.format = QPageLayout::Landscape;
    pdf.ziel = Interaction::DruckWahl::Ziel::Pdf;
    ui.druckWahlen << vorschau << pdf;
    ASSERT_TRUE(plandruck::drucken(ui, d, 1, QStringLiteral("T"), QStringLiteral("Plan"), dir.path()));
    EXPECT_EQ(ui.printModes.value(0), Interaction::PrintMode::Preview);
    EXPECT_EQ(ui.groessenHoch.value(1), QStringLiteral("Größe 1 (2x3) DIN A4 Seiten"));
    EXPECT_EQ(ui.groessenQuer.value(1), QStringLiteral("Größe 1 (1x3) DIN A4 Seiten"));

    ui.chooseFile(dir.filePath(QStringLiteral("plan")));
    ASSERT_TRUE(plandruck::drucken(ui, d, 1, QStringLiteral("T"), QStringLiteral("Plan"), dir.path()));
    EXPECT_EQ(ui.presetPaths.value(0), dir.filePath(QStringLiteral("Plan Phase 1.pdf")));
    const QString file = dir.filePath(QStringLiteral("plan.pdf"));
    ASSERT_TRUE(QFile::exists(file));
    const QList<PdfWord> words = pdfWords(file);
    ASSERT_EQ(pdfWordsNamed(words, teilnehmer(0)).size(), 1);
    // Three landscape pages: 297 mm wide.
    EXPECT_EQ(words.last().page, 3);
    EXPECT_GT(std::max_element(words.begin(), words.end(),
                               [](const PdfWord& a, const PdfWord& b) { return a.xMax < b.xMax; })
                  ->xMax,
              210.0);
}

TEST(PlanDruckAblauf, ADoubleBracketWithoutItsBlockInTheDataFileIsNotPrinted) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ko_system.txt"));
    {
        QFile in(shippedFile("ko_system.txt"));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray all = in.readAll();
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        // Only the block of four.
        out.write(all.left(all.indexOf("8:")));
    }
    PlanDaten d = bracketOf(PhasePlan::DoppeltesKO, 8);
    d.koSystemPath = file;
    ScriptedInteraction ui;
    EXPECT_FALSE(plandruck::drucken(ui, d, 1, QStringLiteral("T"), QStringLiteral("Plan"), {}));
    EXPECT_EQ(ui.druckwahlGezeigt, 0);
    EXPECT_TRUE(ui.printTitles.isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
}

} // namespace
