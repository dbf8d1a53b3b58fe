#include "spieler_fixture.h"

#include "entries/startnummer.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Word {
    QString text;
    double x, y; // top-left in millimetres from the page's top-left
    double xMax;
    int page;
};

// The words of a PDF with their boxes (pdftotext -bbox), in millimetres.
QList<Word> wordsOf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    constexpr double mmPerPoint = 25.4 / 72.0;
    static const QRegularExpression re(QStringLiteral("<page|<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
                                                      "xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<Word> words;
    int page = 0;
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0) == u"<page") {
            ++page;
            continue;
        }
        words << Word{m.captured(4), m.captured(1).toDouble() * mmPerPoint,
                      m.captured(2).toDouble() * mmPerPoint, m.captured(3).toDouble() * mmPerPoint, page};
    }
    return words;
}

QList<Word> named(const QList<Word>& words, const QString& text) {
    QList<Word> out;
    for (const auto& w : words)
        if (w.text == text) out << w;
    return out;
}

// Texts set closer than a blank read as one word ("Nr." and "Name" in the heading).
QList<Word> starting(const QList<Word>& words, const QString& prefix) {
    QList<Word> out;
    for (const auto& w : words)
        if (w.text.startsWith(prefix)) out << w;
    return out;
}

// Letters only, so no part of a name is taken for a start number.
QString letters(int n) {
    return QString(QChar(u'A' + n % 26)) + QChar(u'a' + (n / 26) % 26);
}

class StartNumberList : public SpielerFixture {};

TEST_P(StartNumberList, HoldsTheNumberedPlayersOfTheTournamentByNumber) {
    addPlayer(1, QStringLiteral("Drei"), QStringLiteral("Dora"), 3, 1, QStringLiteral("TTC Süd"));
    addPlayer(2, QStringLiteral("Ohne"), QStringLiteral("Otto"), 0);
    addPlayer(3, QStringLiteral("Eins"), QStringLiteral("Emil"), 1);
    addPlayer(4, QStringLiteral("Fremd"), QStringLiteral("Fritz"), 2, 2);
    const QList<StartNumberRow> rows = startNumberRows(db(), 1);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].nummer, 1);
    EXPECT_EQ(rows[0].name, QStringLiteral("Eins, Emil"));
    EXPECT_EQ(rows[1].nummer, 3);
    EXPECT_EQ(rows[1].name, QStringLiteral("Drei, Dora"));
    EXPECT_EQ(rows[1].verein, QStringLiteral("TTC Süd"));
}

TEST_P(StartNumberList, PrintBreaksOntoFurtherPagesWithTheColumnsWhereTheyBelong) {
    // Enough players for more than one A4 page; a player without number stays off the list.
    const int numbered = 45;
    for (int i = 1; i <= numbered; ++i)
        addPlayer(i, letters(i), QStringLiteral("Vo"), i, 1, QStringLiteral("Club") + letters(i));
    addPlayer(100, QStringLiteral("Nummernlos"), QStringLiteral("Nina"));

    ASSERT_TRUE(printStartNumberList(db(), ui, 1, state.turniername));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.printTitles, QStringList{QStringLiteral("Rückennummern")});
    ASSERT_GE(ui.lastPrintPages, 2);
    const QList<Word> words = wordsOf(ui.lastPrintPdf);

    // Every page carries the title and the headings.
    for (const QString& heading : {QStringLiteral("Rückennummern:"), QStringLiteral("Stadtmeisterschaft"),
                                   QStringLiteral("Nr."), QStringLiteral("Verein")})
        EXPECT_EQ(starting(words, heading).size(), ui.lastPrintPages) << heading.toStdString();
    EXPECT_TRUE(starting(words, QStringLiteral("Nummernlos")).isEmpty());

    const Word nr = starting(words, QStringLiteral("Nr.")).value(0);
    const Word clubHeading = named(words, QStringLiteral("Verein")).value(0);
    const Word title = named(words, QStringLiteral("Rückennummern:")).value(0);
    // A4 is wider than 199 mm: offsets are scaled by 2.5 (the club 200 tenths right of the number).
    EXPECT_NEAR(clubHeading.x - nr.x, 50.0, 0.5);
    EXPECT_NEAR(title.x, nr.x, 0.5);
    EXPECT_LT(title.y, nr.y);

    QMap<int, QList<Word>> rowsByPage;
    for (int i = 1; i <= numbered; ++i) {
        SCOPED_TRACE(i);
        QList<Word> numberWords;
        for (const auto& w : named(words, QString::number(i)))
            if (qAbs(w.x - nr.x) < 0.5) numberWords << w;
        ASSERT_EQ(numberWords.size(), 1);
        const Word number = numberWords[0];
        const QList<Word> name = named(words, letters(i) + u',');
        const QList<Word> club = named(words, QStringLiteral("Club") + letters(i));
        ASSERT_EQ(name.size(), 1);
        ASSERT_EQ(club.size(), 1);
        EXPECT_EQ(name[0].page, number.page);
        // The name 30 and the club 200 tenths right of the number, scaled by 2.5.
        EXPECT_NEAR(name[0].x - number.x, 7.5, 0.5);
        EXPECT_NEAR(club[0].x - number.x, 50.0, 0.5);
        EXPECT_NEAR(name[0].y, number.y, 0.5);
        EXPECT_GT(number.y, nr.y);
        rowsByPage[number.page] << number;
    }

    // Rows follow each other 10 mm apart (40 tenths scaled by 2.5), in number order, page after page.
    for (auto it = rowsByPage.cbegin(); it != rowsByPage.cend(); ++it) {
        const QList<Word>& rows = it.value();
        for (int k = 1; k < rows.size(); ++k)
            EXPECT_NEAR(rows[k].y - rows[k - 1].y, 10.0, 0.3);
        EXPECT_NEAR(rows.first().y, rowsByPage.first().first().y, 0.3)
            << "each page starts at the same height";
    }
    ASSERT_EQ(rowsByPage.size(), ui.lastPrintPages);
    // The first page is used down to its foot before the list continues.
    const double lastOnFirst = rowsByPage.first().last().y;
    EXPECT_GT(lastOnFirst + 3 * 10.0, 297.0);
    EXPECT_LT(lastOnFirst + 10.0, 297.0);
}

TEST_P(StartNumberList, LongNamesAndNumbersNeverRunIntoTheNextColumn) {
    struct Case {
        int nummer;
        QString nachname, vorname;
    };
    const QList<Case> cases{
        {7, "Kurz", "Kai"},
        {1234567, "Kurz", "Kai"},
        {8, "Müller-Lüdenscheidt", "Hans-Jürgen Maximilian"},
        {9, "Wolfeschlegelsteinhausenbergerdorff-Oberhausen-Rheinhausen", "Hubert Blaine Xaver Wilhelm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nachname.toStdString());
        db().exec(QStringLiteral("DELETE FROM Spielerdaten"));
        addPlayer(1, c.nachname, c.vorname, c.nummer, 1, QStringLiteral("Klub"));
        ASSERT_TRUE(printStartNumberList(db(), ui, 1, state.turniername));
        const QList<Word> words = wordsOf(ui.lastPrintPdf);
        const QList<Word> numbers = named(words, QString::number(c.nummer));
        const QList<Word> names = starting(words, c.nachname.left(4));
        const QList<Word> clubs = named(words, QStringLiteral("Klub"));
        ASSERT_EQ(numbers.size(), 1);
        ASSERT_FALSE(names.isEmpty());
        ASSERT_EQ(clubs.size(), 1);
        EXPECT_LT(numbers[0].xMax, names[0].x);
        EXPECT_GE(clubs[0].x - numbers[0].x, 50.0 - 0.5);
        for (const auto& w : words)
            if (qAbs(w.y - clubs[0].y) < 0.5 && w.x < clubs[0].x) {
                EXPECT_LT(w.xMax, clubs[0].x) << w.text.toStdString();
            }
        EXPECT_LT(clubs[0].xMax, 210.0);
    }
}

TEST_P(StartNumberList, ACancelledPrintDialogPrintsNothing) {
    addPlayer(1, QStringLiteral("Eins"), QStringLiteral("Emil"), 1);
    ui.printAnswers << false;
    EXPECT_FALSE(printStartNumberList(db(), ui, 1, state.turniername));
    EXPECT_TRUE(ui.lastPrintPdf.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(StartNumberList);

TEST(StartNumberPrintScale, WidePaperGetsTheLargerPrint) {
    struct Case {
        double widthMm;
        double scale;
    };
    for (const Case& c : {Case{210.0, 2.5}, Case{199.5, 2.5}, Case{199.0, 2.0}, Case{148.0, 2.0}})
        EXPECT_DOUBLE_EQ(startnumberprint::scaleFor(c.widthMm), c.scale) << c.widthMm;
}

} // namespace
