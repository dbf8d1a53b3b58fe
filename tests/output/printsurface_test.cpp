#include "output/pdfprint.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Word {
    QString text;
    double xMinMm, yMinMm, xMaxMm;
    int page;
};

constexpr double kMmPerPoint = 25.4 / 72.0;

// Reads the words of a PDF with their boxes (pdftotext -bbox), in millimetres from the page's top-left.
QList<Word> wordsOf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<Word> words;
    int page = 0;
    static const QRegularExpression re(
        QStringLiteral("<page|<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0) == u"<page") {
            ++page;
            continue;
        }
        words << Word{m.captured(4), m.captured(1).toDouble() * kMmPerPoint, m.captured(2).toDouble() * kMmPerPoint,
                      m.captured(3).toDouble() * kMmPerPoint, page};
    }
    return words;
}

const Word* find(const QList<Word>& words, const QString& text) {
    for (const auto& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

TEST(PrintSurface, TextLandsWhereTheCallerAskedInTenthsOfMillimetresWithYUpwards) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("t.pdf"));
    struct Case {
        QString text;
        int x, y;
    };
    const QList<Case> cases{{"Oben", 200, -300}, {"Mitte", 1000, -1500}, {"Unten", 150, -2700}};
    int measured = 0;
    ASSERT_TRUE(printToPdf(pdf, QPageLayout::Portrait, [&](PrintSurface& s) {
        s.setFont(QStringLiteral("Arial"), 50);
        for (const auto& c : cases) s.textOut(c.x, c.y, c.text);
        measured = s.textWidth(QStringLiteral("Mitte"));
    }));
    const QList<Word> words = wordsOf(pdf);
    for (const auto& c : cases) {
        const Word* w = find(words, c.text);
        ASSERT_NE(w, nullptr) << c.text.toStdString();
        EXPECT_NEAR(w->xMinMm, c.x / 10.0, 1.0) << c.text.toStdString();
        EXPECT_NEAR(w->yMinMm, -c.y / 10.0, 1.5) << c.text.toStdString();
    }
    // The measured width is what the printed word takes.
    const Word* mitte = find(words, QStringLiteral("Mitte"));
    ASSERT_NE(mitte, nullptr);
    EXPECT_NEAR(mitte->xMaxMm - mitte->xMinMm, measured / 10.0, 1.0);
}

TEST(PrintSurface, WindowOriginShiftsTheDrawingAndPagesBreak) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("t.pdf"));
    int pages = 0;
    ASSERT_TRUE(printToPdf(pdf, QPageLayout::Landscape, [&](PrintSurface& s) {
        s.setFont(QStringLiteral("Times New Roman"), 40, true);
        s.textOut(500, -500, QStringLiteral("Erste"));
        s.newPage();
        // The second page shows the drawing 2970 further right: a text at x 3470 lands at x 500.
        s.setWindowOrigin(2970, 0);
        s.textOut(3470, -500, QStringLiteral("Zweite"));
        pages = s.pageCount();
    }));
    EXPECT_EQ(pages, 2);
    const QList<Word> words = wordsOf(pdf);
    const Word* first = find(words, QStringLiteral("Erste"));
    const Word* second = find(words, QStringLiteral("Zweite"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->page, 1);
    EXPECT_EQ(second->page, 2);
    EXPECT_NEAR(second->xMinMm, 50.0, 1.0);
    EXPECT_NEAR(second->yMinMm, first->yMinMm, 0.5);
}

TEST(PrintSurface, UnwritablePathReportsFailure) {
    EXPECT_FALSE(printToPdf(QStringLiteral("/nonexistent-folder/x.pdf"), QPageLayout::Portrait, [](PrintSurface&) {}));
}

} // namespace
