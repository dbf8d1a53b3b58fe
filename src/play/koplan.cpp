// Knock-out brackets: the single bracket computed column by column, the double bracket drawn from the
// grid of its block in ko_system.txt.
#include "draw/datafiles.h"
#include "play/planbau.h"

namespace {

constexpr int kOben = 48; // top margin of every bracket

struct Zoom {
    int s;    // column width
    int q;    // row height of a single bracket
    int qd;   // row height of a double bracket
    int L;    // left margin
    int font; // point size of the names
    int f;    // how far a label stands above its line
};

Zoom zoomStufe(int zoom) {
    switch (zoom) {
    case 1:
        return {120, 16, 8, 20, 7, 10};
    case 3:
        return {240, 30, 15, 40, 9, 16};
    default:
        return {180, 24, 12, 30, 8, 13};
    }
}

// The stage a column of `matches` matches plays: the last four by name, earlier ones by number.
QString rundenname(int matches, int runde) {
    switch (matches) {
    case 1:
        return QStringLiteral("Finale");
    case 2:
        return QStringLiteral("Halbfinale");
    case 4:
        return QStringLiteral("Viertelfinale");
    case 8:
        return QStringLiteral("Achtelfinale");
    default:
        return QStringLiteral("Runde %1").arg(runde);
    }
}

// A caption above a column, between the tool pictures and the first name: it moves nothing.
PlanText rundenkopf(int x, int width, int bottom, const QString& name) {
    const int top = 5 + planbau::kToolSize + 1;
    PlanText t = planbau::text(QRect(x, top, width, std::max(0, bottom - top)), name, 7);
    t.bold = true;
    return t;
}

const SpielplanRow* rowAt(const QVector<const SpielplanRow*>& rows, int i) {
    return i >= 0 && i < rows.size() ? rows[i] : nullptr;
}

// The winner of a finished match by its result a:b: side 1 when a is the larger.
QString siegerName(const SpielplanRow& m) {
    const QStringList teile = m.ergebnis.value_or(QString()).split(u':');
    if (teile.size() != 2) return m.spieler2;
    return teile[1].trimmed().toInt() < teile[0].trimmed().toInt() ? m.spieler1 : m.spieler2;
}

} // namespace

PlanLayout koplanerstellen(const PlanDaten& d, int phase, int zoom) {
    PlanLayout l;
    if (!d.info.found) {
        l.error = planbau::fehlendeEinstellungen();
        return l;
    }
    const QVector<const SpielplanRow*> rows = planbau::phaseMatches(d, phase);
    const int e = planbau::firstColumnCount(rows);
    if (e == 0) return l;

    const Zoom z = zoomStufe(zoom);
    const int s = z.s, q = z.q, L = z.L, f = z.f;
    int R = 0;
    if (e > 1)
        for (R = 1; (1 << R) < e;)
            ++R;
    const int N = 2 << R; // slots of the first column

    l.size = QSize(s * (R + 2) + L, (N / 2) * 3 * q + kOben + q);
    l.raster = {s, q, L, kOben, f, z.font};
    planbau::addPhaseTools(l, L);

    // First column: the first N/2 matches, two slots each.
    int row = 0;
    const SpielplanRow* letzte = nullptr;
    for (int j = 0; j < N / 2; ++j, ++row) {
        const SpielplanRow* m = rowAt(rows, row);
        if (!m) break;
        letzte = m;
        const int D = 3 * j;
        const int y1 = D * q + kOben, y2 = (D + 1) * q + kOben;
        l.lines.append({QPoint(L, y1), QPoint(L + s, y1)});
        l.lines.append({QPoint(L, y2), QPoint(L + s, y2)});
        l.lines.append({QPoint(L + s, y1), QPoint(L + s, y2)});
        // A name stays left of the connector, where the status cell begins.
        l.texts.append(planbau::nameLabel(planbau::clipped(QRect(L + 3, y1 - f, s - 2, q - 2), L + s, y2 - f),
                                          m->spieler1, m->SID1, z.font));
        l.texts.append(planbau::nameLabel(planbau::clipped(QRect(L + 3, y2 - f, s - 2, q - 2), L + s, y2 + q),
                                          m->spieler2, m->SID2, z.font));
        l.cells.append(planbau::statusCell(QRect(L + s + 1, y1 + q / 2 - f, 25, 16), m->spielnummer));
    }
    l.texts.append(rundenkopf(L + 3, s - 3, kOben - f, rundenname(N / 2, 1)));

    // Later columns: the winners of the column before, down to the winner of the final.
    int h = N / 2, D = 1, E = 3 * q;
    for (int k = 0; k <= R; ++k) {
        const int links = L + (k + 1) * s + 29;
        // A name ends where the next column's connector stands.
        const int rechts = L + (k + 2) * s;
        if (k < R) l.texts.append(rundenkopf(links, rechts - links, kOben - 1, rundenname(h / 2, k + 2)));
        for (int c = 0; c < h; ++c) {
            const int y = c * E + (q / 2) * D + kOben;
            l.lines.append({QPoint(L + s + k * s + 26, y), QPoint(L + s + (k + 1) * s, y)});
            if (k > 0) l.lines.append({QPoint(L + s + k * s, y - E / 4), QPoint(L + s + k * s, y + E / 4)});
            const QRect box = planbau::clipped(QRect(links, y - q / 2 - 1, s - 2, q - 2), rechts, y + q);
            if (k == R) {
                // The final is the last match taken; its winner once it is finished.
                PlanText sieger;
                const int finale = letzte ? letzte->spielnummer : 0;
                QString name = QStringLiteral("Sieger Spiel %1").arg(finale);
                if (letzte && letzte->beendet && letzte->ergebnis) name = siegerName(*letzte);
                sieger = planbau::nameLabel(box, name, -1, z.font);
                sieger.name = QStringLiteral("Sieger%1").arg(finale);
                l.texts.append(sieger);
                return l;
            }
            const SpielplanRow* m = rowAt(rows, row);
            if (!m) continue;
            PlanText label = c % 2 == 0 ? planbau::nameLabel(box, m->spieler1, m->SID1, z.font)
                                        : planbau::nameLabel(box, m->spieler2, m->SID2, z.font);
            label.name = QStringLiteral("Sieger%1").arg(c % 2 == 0 ? m->parentspiel1 : m->parentspiel2);
            l.texts.append(label);
            if (c % 2 == 1) {
                l.cells.append(
                    planbau::statusCell(QRect(L + s * (k + 2) + 3, y - E / 2 - 14, 25, 16), m->spielnummer));
                letzte = m;
                ++row;
            }
        }
        D = 2 * D + 2;
        h /= 2;
        E *= 2;
    }
    return l;
}

PlanLayout doppeltes_koplanerstellen(const PlanDaten& d, int phase, int zoom) {
    PlanLayout l;
    if (!d.info.found) {
        l.error = planbau::fehlendeEinstellungen();
        return l;
    }
    const QVector<const SpielplanRow*> rows = planbau::phaseMatches(d, phase);
    const int e = planbau::firstColumnCount(rows);
    if (e == 0) return l;

    const Zoom z = zoomStufe(zoom);
    const int s = z.s, q = z.qd, L = z.L, f = z.f;
    l.size = QSize(700, 500);
    planbau::addPhaseTools(l, L);

    // Match numbers of the file are relative to the phase.
    int o = 0;
    if (phase > 1)
        for (const SpielplanRow& m : d.matches)
            if (m.phase == phase - 1) o = std::max(o, m.spielnummer);

    datafiles::KoPlanReader reader;
    const std::optional<datafiles::KoPlan> plan = reader.read(d.koSystemPath, 2 * e);
    if (!plan) {
        l.error = reader.errorString();
        return l;
    }
    l.size = QSize((plan->columns + 1) * s, (plan->rows + 1) * q + kOben);
    // The two lines of a match stand two rows of the file apart.
    l.raster = {s, 2 * q, L, kOben, f, z.font};

    const planbau::Spielindex index(d.matches);
    const auto xOf = [&](int column) { return column * s + L; };
    const auto yOf = [&](int r) { return r * q + kOben; };
    for (const datafiles::KoPlanLine& line : plan->lines) {
        const bool eingerueckt = line.isCaption() || line.columnStart() != 0;
        const int a = eingerueckt ? 24 : 0;
        const int start = xOf(line.columnStart()) + a, ende = xOf(line.columnEnd());
        const int y1 = yOf(line.row1());
        if (line.isCaption()) {
            l.lines.append({QPoint(start, y1), QPoint(ende, y1)});
            const QString text = (line.takesWinner1() ? QStringLiteral("Sieger Spiel %1")
                                                      : QStringLiteral("Verlierer Spiel %1"))
                                     .arg(line.source1() + o);
            l.texts.append(
                planbau::nameLabel(planbau::clipped(QRect(start + 3, y1 - f, s - 2, 2 * q - 2), ende, y1 + q),
                                   text, -1, z.font));
            continue;
        }
        const int y2 = yOf(line.row2());
        l.lines.append({QPoint(start, y1), QPoint(ende, y1)});
        l.lines.append({QPoint(start, y2), QPoint(ende, y2)});
        l.lines.append({QPoint(ende, y1), QPoint(ende, y2)});
        const SpielplanRow* m = index.find(line.match() + o);
        if (!m) continue;
        // Side 1's name ends above side 2's; both end at the connector, where the status cell stands.
        const int unten1 = std::min(y1 + q, y2 - f);
        l.texts.append(
            planbau::nameLabel(planbau::clipped(QRect(start + 3, y1 - f, s - 2, 2 * q - 2), ende, unten1),
                               m->spieler1, m->SID1, z.font));
        l.texts.append(
            planbau::nameLabel(planbau::clipped(QRect(start + 3, y2 - f, s - 2, 2 * q - 2), ende, y2 + q),
                               m->spieler2, m->SID2, z.font));
        l.cells.append(planbau::statusCell(QRect(ende + 1, (y2 + y1 - 2 * f) / 2, 25, 16), m->spielnummer));
    }
    return l;
}
