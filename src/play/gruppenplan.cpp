// The plan of a group phase: one block per group with its cross table, the status cells of its matches
// and its standings beside it.
#include "draw/labels.h"
#include "play/planbau.h"

namespace {

constexpr int kX0 = 20; // left edge
constexpr int W = 170;  // name column
constexpr int kY0 = 50; // top of the first group's first row
constexpr int kZeile = 20;
constexpr int kSpalte = 30;

struct Ort {
    int gid = 0;
    int pos = 0;
};

// A standings cell: its x range from the table's left edge and where its text starts.
struct Tabellenspalte {
    int von, bis, textX;
};

} // namespace

PlanLayout gruppenplanerstellen(const PlanDaten& d, int phase) {
    PlanLayout l;
    if (!d.info.found) {
        l.error = planbau::fehlendeEinstellungen();
        return l;
    }
    if (phase < 1 || phase > 3) return l;
    const int G = std::max(d.info.gruppen[phase - 1], 0);
    const int T = std::max(d.info.teilnehmer[phase - 1], 0);
    const int O = d.info.firstGid(phase);
    const int B = kZeile * T + 50;   // block height
    const int X = kSpalte * T + 240; // left edge of the standings
    const bool team = d.info.isTeam();
    const auto y = [&](int g, int j) { return kY0 + kZeile * j + g * B; };

    l.size = QSize(X + 420, B * G + 60);
    planbau::addPhaseTools(l, kX0);

    // Members by group in drawn order, and the place of each name for the cross table.
    QHash<int, QVector<const GruppenRow*>> mitglieder;
    QHash<QString, Ort> ortVon;
    for (const GruppenRow& r : d.gruppen) {
        if (r.GID < O || r.GID >= O + G) continue;
        mitglieder[r.GID].append(&r);
        // Two members of one name: the first row decides, as names must be unique within a phase.
        if (r.phase == phase && !r.bez.isEmpty() && !ortVon.contains(r.bez))
            ortVon.insert(r.bez, {r.GID, r.pos});
    }
    QHash<int, QVector<const TabellenRow*>> tabellen;
    for (const TabellenRow& r : d.tabellen)
        if (r.GID >= O && r.GID < O + G) tabellen[r.GID].append(&r);

    const struct {
        int x, width;
        const char* text;
    } titel[] = {{0, 38, "Spiele"}, {38, 45, "S      N"}, {83, 52, "Spiele"}, {135, 55, "Sätze"}};
    const int tabelleRechts = X + W + 235;

    for (int g = 0; g < G; ++g) {
        const int gid = O + g;
        const int kopf = kY0 + g * B - kZeile;
        // From a little above the header to just above the next group's header.
        l.bloecke.append(QRect(0, kopf - 5, l.size.width(), B));

        PlanText header = planbau::text(QRect(kX0, kopf, 78, 18), labels::gruppentitel(gid));
        header.bold = true;
        l.texts.append(header);
        for (const auto& t : titel)
            l.texts.append(planbau::text(QRect(X + W + t.x, kopf, t.width, 18), QString::fromUtf8(t.text)));
        l.texts.append(planbau::text(QRect(X + W + 190, kopf, 45, 18),
                                     team ? QStringLiteral("Punkte") : QStringLiteral("Bälle")));
        PlanTool liste;
        liste.box = QRect(kX0 + 80, kopf, planbau::kToolSize, planbau::kToolSize);
        liste.action = PlanToolAction::MatchList;
        liste.image = QStringLiteral("document_time.bmp");
        liste.hint = QStringLiteral("Gruppenspielplan anzeigen");
        liste.tag = gid;
        l.tools.append(liste);
        for (int c = 0; c < T; ++c)
            l.texts.append(
                planbau::text(QRect(kX0 + W + kSpalte * c + 10, kopf, 20, 18), QString::number(c + 1)));

        const QVector<const GruppenRow*> rows = mitglieder.value(gid);
        for (int j = 0; j < T; ++j) {
            const int yj = y(g, j);
            if (j < rows.size() && !rows[j]->bez.isEmpty()) {
                // Clipped to the name cell: a long name is elided rather than running into the cross table.
                const QRect box = planbau::clipped(QRect(kX0 + 28, yj + 4, W - 25, 18), kX0 + W, yj + kZeile);
                l.texts.append(planbau::nameLabel(box, rows[j]->bez, rows[j]->SID, 8));
            }
            l.texts.append(planbau::text(QRect(kX0 + 5, yj + 4, 19, 15), QString::number(j + 1)));
            l.lines.append({QPoint(kX0, yj), QPoint(kX0 + W, yj)});
            l.lines.append({QPoint(X, yj), QPoint(tabelleRechts, yj)});
            for (int vx : {kX0, kX0 + 25, kX0 + W, X, X + 25, X + W, X + W + 30, X + W + 55, X + W + 80,
                           X + W + 125, X + W + 175, X + W + 235})
                l.lines.append({QPoint(vx, yj), QPoint(vx, yj + kZeile)});
            for (int c = 0; c < T; ++c) {
                const int links = kX0 + W + kSpalte * c, rechts = links + kSpalte;
                if (c == j) l.rects.append({QRect(links, yj, kSpalte, kZeile), Qt::black});
                l.lines.append({QPoint(links, yj), QPoint(rechts, yj)});
                l.lines.append({QPoint(rechts, yj), QPoint(rechts, yj + kZeile)});
            }
        }
        l.lines.append({QPoint(kX0, y(g, T)), QPoint(kX0 + W + kSpalte * T, y(g, T))});
        l.lines.append({QPoint(X, y(g, T)), QPoint(tabelleRechts, y(g, T))});

        // Standings in rank order; an empty slot keeps its line free.
        const QVector<const TabellenRow*> stand = tabellen.value(gid);
        for (int k = 0; k < stand.size() && k < T; ++k) {
            const TabellenRow& t = *stand[k];
            if (t.bez.isEmpty()) continue;
            const int yk = y(g, k);
            const int gewonnen = team ? t.matchegewonnen : t.spielegewonnen;
            const int verloren = team ? t.matcheverloren : t.spieleverloren;
            const QString paar[] = {
                QStringLiteral("%1:%2").arg(2 * gewonnen).arg(2 * verloren),
                team ? QStringLiteral("%1:%2").arg(t.spielegewonnen).arg(t.spieleverloren)
                     : QStringLiteral("%1:%2").arg(t.saetzegewonnen).arg(t.saetzeverloren),
                team ? QStringLiteral("%1:%2").arg(t.saetzegewonnen).arg(t.saetzeverloren)
                     : QStringLiteral("%1:%2").arg(t.punktegewonnen).arg(t.punkteverloren),
            };
            const Tabellenspalte spalten[] = {
                {1, 24, 6},
                {26, W, 28},
                {W + 1, W + 29, W + 7},
                {W + 31, W + 54, W + 35},
                {W + 56, W + 79, W + 60},
                {W + 81, W + 124, W + 85},
                {W + 126, W + 174, W + 130},
                {W + 176, W + 234, W + 180},
            };
            const QString inhalt[] = {
                QString::number(t.pos + 1),
                t.bez,
                QString::number(gewonnen + verloren),
                QString::number(gewonnen),
                QString::number(verloren),
                paar[0],
                paar[1],
                paar[2],
            };
            for (int s = 0; s < 8; ++s) {
                const Tabellenspalte& sp = spalten[s];
                l.rects.append({QRect(X + sp.von, yk + 1, sp.bis - sp.von + 1, 19), Qt::white});
                const QRect box(X + sp.textX, yk + 4, sp.bis - sp.textX + 1, 15);
                if (s == 1)
                    l.texts.append(planbau::nameLabel(box, inhalt[s], t.SID, 8));
                else
                    l.texts.append(planbau::text(box, inhalt[s]));
            }
        }
    }

    // The two status cells of each match: in the row of side 1 and the column of side 2, and mirrored.
    for (const SpielplanRow& m : d.matches) {
        if (m.phase != phase || m.spieler1.isEmpty() || m.spieler2.isEmpty()) continue;
        const auto o1 = ortVon.constFind(m.spieler1);
        const auto o2 = ortVon.constFind(m.spieler2);
        if (o1 == ortVon.constEnd() || o2 == ortVon.constEnd()) continue;
        const int g1 = o1->gid - O, p1 = o1->pos, p2 = o2->pos;
        if (p1 < 0 || p1 >= T || p2 < 0 || p2 >= T) continue;
        const int top = kY0 + g1 * B;
        l.cells.append(planbau::statusCell(QRect(kX0 + W + kSpalte * p2 + 1, top + kZeile * p1 + 1, 29, 19),
                                           m.spielnummer));
        l.cells.append(planbau::statusCell(QRect(kX0 + W + kSpalte * p1 + 1, top + kZeile * p2 + 1, 29, 19),
                                           m.spielnummer, true));
    }
    return l;
}
