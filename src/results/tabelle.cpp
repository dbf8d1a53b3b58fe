#include "results/tabelle.h"

#include "results/satznotation.h"

#include <algorithm>

namespace tabelle {

namespace {

satznotation::Punkte punkteSumme(const Saetze& saetze) {
    satznotation::Punkte p;
    for (const auto& s : saetze) {
        if (!s) continue;
        const auto q = satznotation::punkte(*s);
        p.erster += q.erster;
        p.zweiter += q.zweiter;
    }
    return p;
}

enum class Urteil { Vor, Weiter, Gleich };

// Steps of the chain before the head-to-head. Each gives Vor or Weiter, or nothing when equal.
// "More won" only ever moves E forward: a ranked row with more wins does not stop the comparison.
std::optional<Urteil> differenz(int e, int r) {
    if (e > r) return Urteil::Vor;
    if (e < r) return Urteil::Weiter;
    return std::nullopt;
}

std::optional<Urteil> kriterien(const TabellenRow& e, const TabellenRow& r, Kette kette) {
    if (kette == Kette::Team) {
        if (auto u = differenz(e.matchegewonnen - e.matcheverloren, r.matchegewonnen - r.matcheverloren))
            return u;
        if (e.matchegewonnen > r.matchegewonnen) return Urteil::Vor;
    }
    if (auto u = differenz(e.spielegewonnen - e.spieleverloren, r.spielegewonnen - r.spieleverloren))
        return u;
    if (e.spielegewonnen > r.spielegewonnen) return Urteil::Vor;
    if (auto u = differenz(e.saetzegewonnen - e.saetzeverloren, r.saetzegewonnen - r.saetzeverloren))
        return u;
    if (e.saetzegewonnen > r.saetzegewonnen) return Urteil::Vor;
    if (auto u = differenz(e.punktegewonnen - e.punkteverloren, r.punktegewonnen - r.punkteverloren))
        return u;
    return std::nullopt;
}

// Fully tied: the rows the head-to-head is played out among. Both chains compare the same counters
// here (in a team class the rubbers); team matches are not among them.
bool gleichauf(const TabellenRow& x, const TabellenRow& y) {
    return x.punktegewonnen == y.punktegewonnen && x.punkteverloren == y.punkteverloren &&
           x.spielegewonnen == y.spielegewonnen && x.spieleverloren == y.spieleverloren &&
           x.saetzegewonnen == y.saetzegewonnen && x.saetzeverloren == y.saetzeverloren;
}

void entfernenEines(QVector<int>& liste, int sid) {
    const qsizetype i = liste.indexOf(sid);
    if (i >= 0) liste.remove(i);
}

// Head-to-head among the rows tied with E: winners W and losers V cancel out against each other.
Urteil direkterVergleich(const TabellenRow& e, const QVector<TabellenRow>& alle, const Direktvergleich& dv,
                         QVector<int>* gleiche) {
    QVector<int> t;
    for (const TabellenRow& x : alle)
        if (gleichauf(x, e)) t << x.SID;
    QVector<int> w, v;
    for (int i = 0; i < t.size(); ++i)
        for (int j = i + 1; j < t.size(); ++j) {
            const auto r = dv.ergebnis(t[i], t[j]);
            if (!r) continue;
            const auto [sieger, verlierer] = *r;
            if (v.contains(sieger))
                entfernenEines(v, sieger);
            else
                w << sieger;
            if (w.contains(verlierer))
                entfernenEines(w, verlierer);
            else
                v << verlierer;
        }
    if (gleiche) *gleiche = t;
    if (w.contains(e.SID)) return Urteil::Vor;
    if (w.isEmpty() && v.isEmpty()) return Urteil::Gleich;
    return Urteil::Weiter;
}

void einfuegen(QVector<TabellenRow>& r, int j, TabellenRow e, int pos) {
    e.pos = pos;
    r.insert(j, e);
}

} // namespace

Beitrag einzelBeitrag(int a, int b, const Saetze& saetze) {
    Beitrag out;
    const bool erster = b < a;
    const auto p = punkteSumme(saetze);
    out.erster = {1, erster ? 1 : 0, erster ? 0 : 1, a, b, p.erster, p.zweiter, 0, 0};
    out.zweiter = {1, erster ? 0 : 1, erster ? 1 : 0, b, a, p.zweiter, p.erster, 0, 0};
    return out;
}

Beitrag teamBeitrag(int a, int b, const QVector<Rubber>& rubbers) {
    Beitrag out;
    const bool erster = b < a;
    int s1 = 0, s2 = 0;
    satznotation::Punkte p;
    for (const Rubber& r : rubbers) {
        // A rubber counts with the sets its result says were played: a new rubber's sets read 0, which
        // would otherwise count as sets won 11:0.
        const auto e = satznotation::endergebnis(r.ergebnis);
        if (!e) continue;
        s1 += e->a;
        s2 += e->b;
        Saetze gespielt{};
        for (int k = 0; k < std::min(9, e->a + e->b); ++k)
            gespielt[k] = r.satz[k];
        const auto q = punkteSumme(gespielt);
        p.erster += q.erster;
        p.zweiter += q.zweiter;
    }
    out.erster = {1, a, b, s1, s2, p.erster, p.zweiter, erster ? 1 : 0, erster ? 0 : 1};
    out.zweiter = {1, b, a, s2, s1, p.zweiter, p.erster, erster ? 0 : 1, erster ? 1 : 0};
    return out;
}

void addieren(TabellenRow& row, const Zaehler& z) {
    row.spielanzahl += z.spielanzahl;
    row.spielegewonnen += z.spielegewonnen;
    row.spieleverloren += z.spieleverloren;
    row.saetzegewonnen += z.saetzegewonnen;
    row.saetzeverloren += z.saetzeverloren;
    row.punktegewonnen += z.punktegewonnen;
    row.punkteverloren += z.punkteverloren;
    row.matchegewonnen += z.matchegewonnen;
    row.matcheverloren += z.matcheverloren;
}

void abziehen(TabellenRow& row, const Zaehler& z) {
    row.spielanzahl -= z.spielanzahl;
    row.spielegewonnen -= z.spielegewonnen;
    row.spieleverloren -= z.spieleverloren;
    row.saetzegewonnen -= z.saetzegewonnen;
    row.saetzeverloren -= z.saetzeverloren;
    row.punktegewonnen -= z.punktegewonnen;
    row.punkteverloren -= z.punkteverloren;
    row.matchegewonnen -= z.matchegewonnen;
    row.matcheverloren -= z.matcheverloren;
}

Direktvergleich::Direktvergleich(const QVector<SpielplanRow>& spiele) {
    for (const SpielplanRow& m : spiele)
        if (m.SID1 > 0 && m.SID2 > 0) eintragen(m.SID1, m.SID2, m.siegerSID, m.verliererSID);
}

void Direktvergleich::eintragen(int x, int y, int siegerSID, int verliererSID) {
    const std::pair<int, int> key{std::min(x, y), std::max(x, y)};
    if (!ergebnisse_.contains(key)) ergebnisse_.insert(key, {siegerSID, verliererSID});
}

std::optional<std::pair<int, int>> Direktvergleich::ergebnis(int x, int y) const {
    const auto it = ergebnisse_.constFind({std::min(x, y), std::max(x, y)});
    if (it == ergebnisse_.cend()) return std::nullopt;
    const auto [s, v] = *it;
    // Not played yet: both undecided.
    if (s <= 0 && v <= 0) return std::nullopt;
    return *it;
}

QVector<TabellenRow> rangliste(const QVector<TabellenRow>& zeilen, Kette kette, const Direktvergleich& dv) {
    QVector<TabellenRow> alle;
    for (const TabellenRow& z : zeilen)
        if (z.SID > -1) alle << z;

    QVector<TabellenRow> r;
    for (TabellenRow e : alle) {
        e.markiert = false;
        if (r.isEmpty()) {
            einfuegen(r, 0, e, 0);
            continue;
        }
        const int n = int(r.size());
        bool eingefuegt = false;
        for (int j = 0; j < n && !eingefuegt; ++j) {
            std::optional<Urteil> u = kriterien(e, r[j], kette);
            QVector<int> gleiche;
            if (!u) u = direkterVergleich(e, alle, dv, &gleiche);
            if (*u == Urteil::Vor) {
                einfuegen(r, j, e, j);
                for (int i = j + 1; i < r.size(); ++i)
                    ++r[i].pos;
                eingefuegt = true;
            } else if (*u == Urteil::Gleich) {
                einfuegen(r, j, e, r[j].pos);
                int k = 0;
                for (const TabellenRow& x : r)
                    if (gleiche.contains(x.SID)) ++k;
                for (int i = j + k; i < r.size(); ++i)
                    ++r[i].pos;
                eingefuegt = true;
            }
        }
        if (!eingefuegt) einfuegen(r, n, e, n);
    }
    return r;
}

bool geteilteMarkieren(QVector<TabellenRow>& rangliste) {
    QHash<int, int> anzahl;
    for (const TabellenRow& z : rangliste)
        ++anzahl[z.pos];
    bool geteilt = false;
    for (TabellenRow& z : rangliste) {
        z.markiert = anzahl.value(z.pos) > 1;
        geteilt = geteilt || z.markiert;
    }
    return geteilt;
}

bool bestplatzierte(const QVector<TabellenRow>& kandidaten, Kette kette, QVector<TabellenRow>* out) {
    QVector<TabellenRow> r;
    QVector<int> markiert;
    for (TabellenRow e : kandidaten) {
        e.markiert = false;
        const int n = int(r.size());
        int ziel = n;
        for (int j = 0; j < n; ++j) {
            const std::optional<Urteil> u = kriterien(e, r[j], kette);
            if (u == Urteil::Vor) {
                ziel = j;
                break;
            }
            // Tied by every criterion: from different groups there is no head-to-head to settle it.
            if (!u) {
                if (!markiert.contains(e.SID)) markiert << e.SID;
                if (!markiert.contains(r[j].SID)) markiert << r[j].SID;
            }
        }
        r.insert(ziel, e);
    }
    for (int i = 0; i < r.size(); ++i) {
        r[i].markiert = markiert.contains(r[i].SID);
        r[i].pos = i;
    }
    if (out) *out = r;
    return !markiert.isEmpty();
}

const QString Vergleich::kTitel = QStringLiteral("Direkter Vergleich");
const QString Vergleich::kZeile1 = QStringLiteral("Die rotmarkierten Einträge sind nicht eindeutige");
const QString Vergleich::kZeile2 = QStringLiteral("Tabellenplätze und müssen von Hand bestimmt werden");

bool Vergleich::rauf(int i) {
    if (i <= 0 || i >= size() || !markiert(i) || !markiert(i - 1)) return false;
    eintraege_.swapItemsAt(i, i - 1);
    return true;
}

bool Vergleich::runter(int i) {
    if (i < 0 || i >= size() - 1 || !markiert(i) || !markiert(i + 1)) return false;
    eintraege_.swapItemsAt(i, i + 1);
    return true;
}

QString Vergleich::hinweis(int i) const {
    const TabellenRow& z = eintraege_[i];
    return QStringLiteral("Spiele: %1:%2 Sätze: %3:%4 Punkte: %5:%6")
        .arg(z.spielegewonnen)
        .arg(z.spieleverloren)
        .arg(z.saetzegewonnen)
        .arg(z.saetzeverloren)
        .arg(z.punktegewonnen)
        .arg(z.punkteverloren);
}

} // namespace tabelle
