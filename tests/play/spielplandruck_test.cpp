// The match list's lines and its printout: what each line says, where the printout puts it, page breaks
// and the printer error.
#include "play/spielplandruck.h"

#include "output/printsurface.h"
#include "support/pdfwords.h"
#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

// What was printed, for the failure messages.
std::string dump(const QList<PdfWord>& words) {
    QStringList out;
    for (const PdfWord& w : words)
        out << QStringLiteral("%1@%2,%3p%4").arg(w.text).arg(w.xMin, 0, 'f', 1).arg(w.yMin, 0, 'f', 1).arg(w.page);
    return str(out.join(u' '));
}

SpielplanRow spiel(int nr, const QString& a, const QString& b, int gruppe = -1) {
    SpielplanRow m;
    m.KID = 5;
    m.spielnummer = nr;
    m.spieler1 = a;
    m.spieler2 = b;
    m.SID1 = a.isEmpty() ? -1 : 100 + nr;
    m.SID2 = b.isEmpty() ? -1 : 200 + nr;
    m.gruppe = gruppe;
    return m;
}

struct ZeilenCase {
    const char* id;
    std::function<void(SpielplanRow&)> setze;
    QString status;
    QString ergebnis;
};

class Spielplanzeilen : public ::testing::TestWithParam<ZeilenCase> {};

TEST_P(Spielplanzeilen, TheStatusColumnSaysHowFarTheMatchIs) {
    SpielplanRow m = spiel(3, QStringLiteral("Meier, Anna"), QStringLiteral("Schulz, Eva"));
    GetParam().setze(m);
    const QVector<SpielplanZeile> z = spielplanzeilen({m}, -1);
    ASSERT_EQ(z.size(), 1);
    EXPECT_EQ(z[0].status, GetParam().status);
    EXPECT_EQ(z[0].ergebnis, GetParam().ergebnis);
}

INSTANTIATE_TEST_SUITE_P(
    States, Spielplanzeilen,
    ::testing::Values(
        ZeilenCase{"open", [](SpielplanRow&) {}, QString(), QString()},
        ZeilenCase{"called", [](SpielplanRow& m) { m.in_planung = true; }, "Aufgerufen", QString()},
        ZeilenCase{"started", [](SpielplanRow& m) { m.begonnen = true; }, "Begonnen", QString()},
        ZeilenCase{"finished",
                   [](SpielplanRow& m) {
                       m.beendet = true;
                       m.ergebnis = QStringLiteral("3:1");
                   },
                   "Beendet", "3:1"},
        ZeilenCase{"side_open", [](SpielplanRow& m) { m.spieler2.clear(); }, "kein Spiel", QString()},
        ZeilenCase{"side_1_open", [](SpielplanRow& m) { m.spieler1.clear(); }, "kein Spiel", QString()}),
    [](const auto& info) { return std::string(info.param.id); });

TEST(Spielplanzeilen, PlanningShowsDayTimeTableAndUmpireAndAGroupListKeepsItsGroup) {
    SpielplanRow a = spiel(1, QStringLiteral("A"), QStringLiteral("B"), 2);
    a.geplanter_tag = QDate(2026, 12, 12);
    a.geplante_zeit = QDateTime(QDate(1899, 12, 30), QTime(9, 45, 10));
    a.geplanter_tisch = QStringLiteral("Tisch 4");
    a.schiri = QStringLiteral("Lang, Udo");
    SpielplanRow b = spiel(2, QStringLiteral("C"), QStringLiteral("D"), 3);
    b.schiri = QString(); // set but empty: nothing shown
    SpielplanRow ko = spiel(3, QStringLiteral("E"), QString());
    const QVector<SpielplanZeile> all = spielplanzeilen({a, b, ko}, -1);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].tag, QStringLiteral("12.12.2026"));
    EXPECT_EQ(all[0].zeit, QStringLiteral("09:45"));
    EXPECT_EQ(all[0].tisch, QStringLiteral("Tisch 4"));
    EXPECT_EQ(all[0].schiri, QStringLiteral("Lang, Udo"));
    EXPECT_EQ(all[0].gruppe, QStringLiteral("C"));
    EXPECT_TRUE(all[1].tag.isEmpty() && all[1].zeit.isEmpty() && all[1].tisch.isEmpty() && all[1].schiri.isEmpty());
    EXPECT_TRUE(all[2].gruppe.isEmpty()) << "a knock-out match has no group";
    EXPECT_EQ(all[2].status, QStringLiteral("kein Spiel"));

    const QVector<SpielplanZeile> group = spielplanzeilen({a, b, ko}, 3);
    ASSERT_EQ(group.size(), 1);
    EXPECT_EQ(group[0].spielnummer, 2);
}

// The printout in landscape A4 (printable height 210 mm: z = 2).
class SpielplanDruck : public ::testing::Test {
protected:
    QList<PdfWord> drucken(const QVector<SpielplanRow>& rows) {
        EXPECT_TRUE(spielplanlisteDrucken(ui, QStringLiteral("Stadtmeisterschaft"),
                                          QStringLiteral("Spielplan für Herren A (Einzel)"),
                                          spielplanzeilen(rows, -1)));
        EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
        return pdfWords(ui.lastPrintPdf);
    }
    static const PdfWord* first(const QList<PdfWord>& words, const QString& text, int page = 1) {
        for (const PdfWord& w : words)
            if (w.text == text && w.page == page) return &w;
        return nullptr;
    }
    ScriptedInteraction ui;
};

TEST_F(SpielplanDruck, HeadingAndColumnsStandWhereTheLayoutPutsThem) {
    SpielplanRow m = spiel(7, QStringLiteral("Meier, Anna"), QStringLiteral("Schulz, Eva"), 1);
    m.geplanter_tisch = QStringLiteral("T3");
    m.schiri = QStringLiteral("Lang, Udo");
    m.beendet = true;
    m.ergebnis = QStringLiteral("3:2");
    const QList<PdfWord> words = drucken({m});
    EXPECT_EQ(ui.printTitles, QStringList{QStringLiteral("Spielplan")});
    EXPECT_EQ(ui.lastPrintPages, 1);

    const PdfWord* name = first(words, QStringLiteral("Stadtmeisterschaft"));
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR((name->xMin + name->xMax) / 2, 297.0 / 2, 1.0) << "centred";
    EXPECT_NEAR(name->yMin, 5.0, 1.5);
    const PdfWord* title = first(words, QStringLiteral("Spielplan"));
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->yMin, 10.0, 1.5);

    // Column titles at 18 mm, 5 mm margin plus z times their offset.
    struct Col {
        const char* text;
        double xMm;
    };
    // "Nr." in the titles' font is wider than the 5 mm to "Tag": the day's column makes room for it.
    for (const Col& c : {Col{"Nr.", 5}, Col{"Tag", 5 + 7.0}, Col{"Zeit", 29}, Col{"Gruppe", 145}, Col{"Tisch", 165},
                         Col{"Schiedsrichter", 195}, Col{"Ergebnis", 235}, Col{"Status", 255}}) {
        const PdfWord* w = first(words, QString::fromUtf8(c.text));
        ASSERT_NE(w, nullptr) << c.text << "\n" << dump(words);
        EXPECT_NEAR(w->xMin, c.xMm, 0.8) << c.text;
        EXPECT_NEAR(w->yMin, 18.0, 1.5) << c.text;
    }
    const QList<PdfWord> spieler = pdfWordsNamed(words, QStringLiteral("Spieler"));
    ASSERT_EQ(spieler.size(), 2);
    EXPECT_NEAR(spieler[0].xMin, 45.0, 0.8);
    EXPECT_NEAR(spieler[1].xMin, 95.0, 0.8);

    // The row at 25 mm under its columns.
    struct Cell {
        const char* text;
        double xMm;
    };
    for (const Cell& c : {Cell{"7", 5}, Cell{"Meier,", 45}, Cell{"Schulz,", 95}, Cell{"B", 145}, Cell{"T3", 165},
                          Cell{"Lang,", 195}, Cell{"3:2", 235}, Cell{"Beendet", 255}}) {
        const PdfWord* w = first(words, QString::fromUtf8(c.text));
        ASSERT_NE(w, nullptr) << c.text << "\n" << dump(words);
        EXPECT_NEAR(w->xMin, c.xMm, 0.8) << c.text;
        EXPECT_NEAR(w->yMin, 25.0, 1.5) << c.text;
    }
}

TEST_F(SpielplanDruck, RowsFollowEachOtherAndANewPageRepeatsTheHeading) {
    QVector<SpielplanRow> rows;
    for (int nr = 1; nr <= 40; ++nr)
        rows << spiel(nr, QStringLiteral("Heim%1").arg(nr), QStringLiteral("Gast%1").arg(nr));
    const QList<PdfWord> words = drucken(rows);
    ASSERT_EQ(ui.lastPrintPages, 2);
    // 4.8 mm apart from 25 mm; the 37th row at 197.8 mm is the last before 10 mm above the paper's edge.
    const PdfWord* second = first(words, QStringLiteral("Heim2"));
    const PdfWord* last = first(words, QStringLiteral("Heim37"));
    ASSERT_TRUE(second && last);
    EXPECT_NEAR(second->yMin, 25.0 + 4.8, 1.5);
    EXPECT_NEAR(last->yMin, 25.0 + 36 * 4.8, 1.5);
    EXPECT_EQ(first(words, QStringLiteral("Heim38")), nullptr);
    const PdfWord* next = first(words, QStringLiteral("Heim38"), 2);
    ASSERT_NE(next, nullptr);
    EXPECT_NEAR(next->yMin, 25.0, 1.5);
    EXPECT_NE(first(words, QStringLiteral("Stadtmeisterschaft"), 2), nullptr);
    EXPECT_NE(first(words, QStringLiteral("Schiedsrichter"), 2), nullptr);
    EXPECT_NE(first(words, QStringLiteral("Heim40"), 2), nullptr);
}

TEST_F(SpielplanDruck, LongNumbersDatesAndNamesNeverRunIntoTheNextColumn) {
    QVector<SpielplanRow> rows;
    SpielplanRow m = spiel(254, QStringLiteral("Müller-Lüdenscheidt-Oberhausen, Hans-Jürgen Maximilian D'Arc"),
                           QStringLiteral("Kurz, Eva"));
    m.geplanter_tag = QDate(2026, 12, 12);
    m.geplante_zeit = QDateTime(QDate(1899, 12, 30), QTime(14, 30));
    rows << m;
    const QList<PdfWord> words = drucken(rows);
    const PdfWord* nr = first(words, QStringLiteral("254"));
    const PdfWord* tag = first(words, QStringLiteral("12.12.2026"));
    const PdfWord* zeit = first(words, QStringLiteral("14:30"));
    ASSERT_TRUE(nr && tag && zeit);
    EXPECT_LT(nr->xMax, tag->xMin);
    EXPECT_LT(tag->xMax, zeit->xMin);
    // The day and time titles move with their columns.
    EXPECT_NEAR(first(words, QStringLiteral("Tag"))->xMin, tag->xMin, 0.5);
    EXPECT_NEAR(first(words, QStringLiteral("Zeit"))->xMin, zeit->xMin, 0.5);
    // The long name is cut before the second player's column.
    double rightmost = 0;
    for (const PdfWord& w : words)
        if (w.yMin > 23 && w.xMin < 94.0 && w.xMin >= 44.0) rightmost = qMax(rightmost, w.xMax);
    EXPECT_GT(rightmost, 60.0);
    EXPECT_LT(rightmost, 95.0) << dump(words);
    const PdfWord* kurz = first(words, QStringLiteral("Kurz,"));
    ASSERT_NE(kurz, nullptr);
    EXPECT_NEAR(kurz->xMin, 95.0, 0.8);
}

TEST(SpielplanDruckFehler, APrinterFailureIsReportedAsDruckerfehler) {
    ScriptedInteraction ui;
    ui.printerFails = true;
    EXPECT_FALSE(spielplanlisteDrucken(ui, QStringLiteral("T"), QStringLiteral("Spielplan für X (Einzel)"),
                                       spielplanzeilen({spiel(1, "A", "B")}, -1)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Druckerfehler"));
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_EQ(ui.messages[0].button, Interaction::Button::Ok);
}

TEST(SpielplanDruckFehler, ACancelledPrintDialogPrintsNothingAndSaysNothing) {
    ScriptedInteraction ui;
    ui.printAnswers << false;
    EXPECT_FALSE(spielplanlisteDrucken(ui, QStringLiteral("T"), QStringLiteral("S"), {}));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.lastPrintPdf.isEmpty());
}

} // namespace
