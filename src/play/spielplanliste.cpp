// The match list window: every match of the class, or of one group, one line each.
#include "draw/labels.h"
#include "play/planbau.h"

namespace {

const QString kTitelFont = QStringLiteral("Times New Roman");

struct Spalte {
    int x;
    const char* titel;
};

// Column titles and where the next column starts, which ends a text of the column before.
constexpr Spalte kSpalten[] = {{10, "Nr."},     {40, "Zeit"},   {85, "Spieler 1"},       {235, "Spieler 2"},
                               {370, "Gruppe"}, {430, "Tisch"}, {480, "Schiedsrichter"}, {600, "Ergebnis"},
                               {680, "Status"}};

QString statusText(const SpielplanRow& m) {
    switch (stateOf(m)) {
    case MatchState::Finished:
        return QStringLiteral("Beendet");
    case MatchState::Started:
        return QStringLiteral("Begonnen");
    case MatchState::Called:
        return QStringLiteral("Aufgerufen");
    case MatchState::Open:
        break;
    }
    return m.spieler1.isEmpty() || m.spieler2.isEmpty() ? QStringLiteral("kein Spiel") : QString();
}

} // namespace

PlanLayout spielplanliste(const PlanDaten& d, int gid, int width) {
    PlanLayout l;
    const int breite = std::max(width, 760);
    for (int c = 0; c < int(std::size(kSpalten)); ++c) {
        const int ende = c + 1 < int(std::size(kSpalten)) ? kSpalten[c + 1].x : breite;
        PlanText t = planbau::text(QRect(kSpalten[c].x, 15, ende - kSpalten[c].x - 2, 20),
                                   QString::fromLatin1(kSpalten[c].titel), 10);
        t.font = kTitelFont;
        l.texts.append(t);
    }
    l.lines.append({QPoint(0, 40), QPoint(breite, 40)});

    int n = 0;
    for (const SpielplanRow& m : d.matches) {
        if (gid >= 0 && m.gruppe != gid) continue;
        const int y = 60 + 20 * n++;
        const auto cell = [&](int x, int ende, const QString& s) {
            l.texts.append(planbau::text(QRect(x, y, ende - x - 2, 18), s));
        };
        cell(10, 40, QString::number(m.spielnummer));
        if (m.geplante_zeit.isValid()) cell(40, 85, m.geplante_zeit.time().toString(QStringLiteral("hh:mm")));
        cell(85, 235, m.SID1 == kSeiteFreilos ? QStringLiteral("Freilos") : m.spieler1);
        cell(235, 370, m.SID2 == kSeiteFreilos ? QStringLiteral("Freilos") : m.spieler2);
        if (m.gruppe >= 0) cell(385, 430, labels::gruppenbuchstabe(m.gruppe));
        if (m.geplanter_tisch && !m.geplanter_tisch->isEmpty()) cell(430, 480, *m.geplanter_tisch);
        if (m.schiri && !m.schiri->isEmpty()) cell(480, 600, *m.schiri);
        if (m.beendet && m.ergebnis) cell(600, 680, *m.ergebnis);
        const QString status = statusText(m);
        if (!status.isEmpty()) cell(680, breite, status);
    }
    l.size = QSize(breite, 60 + 20 * n + 20);
    return l;
}
