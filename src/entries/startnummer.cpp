#include "entries/startnummer.h"

#include "common/interaction.h"
#include "output/printsurface.h"
#include "store/db_procedures.h"

#include <exception>

int nextFreeStartNumber(Tdb_procedures& db, int tid) {
    // One ordered read instead of probing number after number.
    const Rows rows = db.select(
        QStringLiteral("SELECT nummer FROM Spielerdaten WHERE TID=:ID AND nummer>0 ORDER BY nummer"),
        {{":ID", tid}});
    int candidate = 1;
    for (const Row& r : rows) {
        const int n = r.integer(u"nummer");
        if (n < candidate) continue; // the same number twice
        if (n > candidate) break;
        ++candidate;
    }
    return candidate;
}

bool startNumberInUse(Tdb_procedures& db, int tid, int n) {
    return !db.selectOne(QStringLiteral("SELECT nummer FROM Spielerdaten WHERE TID=:ID AND nummer=:n"),
                         {{":ID", tid}, {":n", n}})
                .isEmpty();
}

QList<StartNumberRow> startNumberRows(Tdb_procedures& db, int tid) {
    const Rows rows =
        db.select(QStringLiteral("SELECT nummer,nachname,vorname,verein FROM Spielerdaten "
                                 "WHERE TID=:ID AND nummer IS NOT NULL ORDER BY nummer,nachname,vorname"),
                  {{":ID", tid}});
    QList<StartNumberRow> out;
    out.reserve(rows.size());
    for (const Row& r : rows)
        out.append({r.integer(u"nummer"), r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname"),
                    r.text(u"verein")});
    return out;
}

namespace startnumberprint {
double scaleFor(double pageWidthMm) {
    return pageWidthMm > 199.0 ? 2.5 : 2.0;
}
} // namespace startnumberprint

void drawStartNumberList(PrintSurface& s, const QString& turniername, const QList<StartNumberRow>& rows) {
    using namespace startnumberprint;
    const double mmPerDot = 25.4 / s.resolutionY();
    const double f = scaleFor(s.pageWidthDots() * mmPerDot);
    auto sc = [f](int v) { return qRound(v * f); };
    // The printable area's height; the printer's margins are taken as equal at top and bottom.
    const int printable = qRound((s.pageHeightDots() - 2 * s.offsetTopDots()) * s.tenthsPerDot());
    const int bottom = -(printable - sc(kBottomReserve));
    const int width = qRound((s.pageWidthDots() - 2 * s.offsetLeftDots()) * s.tenthsPerDot());

    const int xNumber = sc(kLeft);
    s.setFont(QStringLiteral("Arial"), sc(kRowFont));
    // The columns stand where the layout puts them unless a long number or name would run into the next
    // column; then that column moves right, and names that still do not fit are shortened.
    int widestNumber = 0;
    int widestName = 0;
    for (const auto& r : rows) {
        widestNumber = qMax(widestNumber, s.textWidth(QString::number(r.nummer)));
        widestName = qMax(widestName, s.textWidth(r.name));
    }
    const int gap = sc(4);
    const int xName = xNumber + qMax(sc(kNameOffset), widestNumber + gap);
    const int xClubLimit = width * 3 / 5;
    const int xClub = qMax(xNumber + sc(kClubOffset), qMin(xName + widestName + gap, xClubLimit));
    auto fitName = [&](const QString& name) {
        const int room = xClub - xName - gap;
        if (s.textWidth(name) <= room) return name;
        QString cut = name;
        while (!cut.isEmpty() && s.textWidth(cut + u'…') > room)
            cut.chop(1);
        return cut + u'…';
    };

    auto header = [&]() {
        s.setFont(QStringLiteral("Times New Roman"), sc(kHeadingFont));
        s.textOut(xNumber, -sc(kTitleTop), QStringLiteral("Rückennummern: ") + turniername);
        s.textOut(xNumber, -sc(kHeadingTop), QStringLiteral("Nr."));
        s.textOut(xName, -sc(kHeadingTop), QStringLiteral("Name"));
        s.textOut(xClub, -sc(kHeadingTop), QStringLiteral("Verein"));
        s.line(xNumber, -sc(kRuleY), width - xNumber, -sc(kRuleY));
        s.setFont(QStringLiteral("Arial"), sc(kRowFont));
    };

    header();
    int y = -sc(kFirstRowTop);
    for (const auto& r : rows) {
        if (y - sc(kRowStep) < bottom) {
            s.newPage();
            header();
            y = -sc(kFirstRowTop);
        }
        s.textOut(xNumber, y, QString::number(r.nummer));
        s.textOut(xName, y, fitName(r.name));
        s.textOut(xClub, y, r.verein);
        y -= sc(kRowStep);
    }
}

bool printStartNumberList(Tdb_procedures& db, Interaction& interaction, int tid, const QString& turniername) {
    const QList<StartNumberRow> rows = startNumberRows(db, tid);
    bool failed = false;
    bool printed = false;
    try {
        printed = interaction.print(
            QStringLiteral("Rückennummern"), QPageLayout::Portrait,
            [&](PrintSurface& s) {
                if (!s.isActive()) {
                    failed = true;
                    return;
                }
                drawStartNumberList(s, turniername, rows);
            },
            Interaction::PrintMode::Dialog);
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed) {
        interaction.error(QStringLiteral("Druckerfehler"));
        return false;
    }
    return printed;
}
