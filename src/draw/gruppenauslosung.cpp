#include "draw/gruppenauslosung.h"

#include "draw/eintragstext.h"
#include "common/random.h"
#include "draw/labels.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <optional>

namespace {

bool lessGerman(const Myitem& a, const Myitem& b) {
    return eintrag::lessGerman(a.text, b.text);
}
using eintrag::pairText;
using eintrag::playerText;

Myitem entry(int id, int partnerId, const QString& text, const QString& club) {
    Myitem item;
    item.id = id;
    item.partnerId = partnerId;
    item.present = true;
    item.text = text;
    item.club = club;
    return item;
}

// Seeds are numbered in the order their slots were stored; an absent seed was not read, so the ones after
// it move up.
void numberSeeds(QVector<Myitem>& seeds) {
    for (int i = 0; i < seeds.size(); ++i) {
        seeds[i].seedNumber = i + 1;
        seeds[i].text += QStringLiteral(" (%1)").arg(i + 1);
    }
}

void loadSingles(Tdb_procedures& db, int kid, Auslosungsdaten& d) {
    const Rows seeds = db.select(
        QStringLiteral("SELECT g.*,s.verein,s.angemeldet,s.SID as SID1,s.nachname,s.vorname FROM "
                       "(Spielerdaten AS s INNER JOIN Gesetzt as g ON s.SID=g.SID) WHERE g.KID=:k AND "
                       "s.angemeldet<>0 ORDER BY g.position"),
        {{":k", kid}});
    QSet<int> seeded;
    for (const Row& r : seeds) {
        const int sid = r.integer(u"SID1");
        d.gesetzte << entry(sid, 0, playerText(r.text(u"nachname"), r.text(u"vorname")), r.text(u"verein"));
        seeded.insert(sid);
    }
    const Rows players = db.select(
        QStringLiteral(
            "SELECT s.verein,s.angemeldet,s.SID as SID1,s.nachname,s.vorname FROM Spielerdaten AS s "
            "INNER JOIN Spieler_im_Turnier AS t on s.SID=t.SID WHERE s.angemeldet<>0 AND t.KID=:k1"),
        {{":k1", kid}});
    d.angemeldete.reserve(players.size());
    for (const Row& r : players) {
        const int sid = r.integer(u"SID1");
        if (seeded.contains(sid)) continue;
        d.angemeldete << entry(sid, 0, playerText(r.text(u"nachname"), r.text(u"vorname")),
                               r.text(u"verein"));
    }
}

void loadPairs(Tdb_procedures& db, int kid, Auslosungsdaten& d) {
    const Rows seeds = db.select(
        QStringLiteral(
            "SELECT s.nachname as n1,s.vorname as v1,s.verein as verein1,g.sid as sid1,"
            "g.partner_sid as SID2,s1.nachname as n2,s1.vorname as v2 FROM (Gesetzt as g INNER JOIN "
            "Spielerdaten AS s ON (g.SID=s.SID AND g.KID=:k AND s.angemeldet<>0)) INNER JOIN "
            "Spielerdaten as s1 ON (g.partner_SID=s1.SID AND s1.angemeldet<>0) ORDER BY g.position"),
        {{":k", kid}});
    QSet<int> seededPlayers;
    for (const Row& r : seeds) {
        const int a = r.integer(u"sid1");
        const int b = r.integer(u"SID2");
        d.gesetzte << entry(a, b, pairText(r.text(u"n1"), r.text(u"v1"), r.text(u"n2"), r.text(u"v2")),
                            r.text(u"verein1"));
        seededPlayers << a << b;
    }
    // Each pair is stored once per player and listed once, by its player with the lower SID (engines
    // return rows in storage order, which updates change).
    const Rows pairs = db.select(
        QStringLiteral("SELECT s.verein,d.SID,d.partner_SID,s.nachname as n1,s.vorname as v1,s1.nachname as "
                       "n2,s1.vorname as v2 FROM (Doppelpartner as d INNER JOIN Spielerdaten AS s ON ( "
                       "d.KID=:k AND d.SID=s.SID AND s.angemeldet<>0)) INNER JOIN Spielerdaten as s1 ON "
                       "(d.partner_SID=s1.SID AND s1.angemeldet<>0) ORDER BY d.SID"),
        {{":k", kid}});
    QSet<int> listed;
    for (const Row& r : pairs) {
        const int a = r.integer(u"SID");
        const int b = r.integer(u"partner_SID");
        if (listed.contains(b) || seededPlayers.contains(a)) continue;
        d.angemeldete << entry(a, b, pairText(r.text(u"n1"), r.text(u"v1"), r.text(u"n2"), r.text(u"v2")),
                               r.text(u"verein"));
        listed.insert(a);
    }
}

void loadTeams(Tdb_procedures& db, int kid, Auslosungsdaten& d) {
    const Rows seeds =
        db.select(QStringLiteral("SELECT verein,s1,teamname,MID FROM Teams AS t INNER JOIN Gesetzt "
                                 "AS g ON (g.SID=t.MID AND t.angemeldet<>0) WHERE g.KID=:k "
                                 "ORDER BY g.position"),
                  {{":k", kid}});
    QSet<int> seeded;
    for (const Row& r : seeds) {
        const int mid = r.integer(u"MID");
        d.gesetzte << entry(mid, r.integer(u"s1"), r.text(u"teamname"), r.text(u"verein"));
        seeded.insert(mid);
    }
    const Rows teams =
        db.select(QStringLiteral("SELECT verein,s1,MID,teamname FROM Teams WHERE KID=:k1 AND angemeldet<>0"),
                  {{":k1", kid}});
    for (const Row& r : teams) {
        const int mid = r.integer(u"MID");
        if (seeded.contains(mid)) continue;
        d.angemeldete << entry(mid, r.integer(u"s1"), r.text(u"teamname"), r.text(u"verein"));
    }
}

// The places of a phase along the snake, from placement m on, skipping lines already filled (by hand
// before "Losen"), so a draw never overwrites a placed entry.
class Schlange {
public:
    explicit Schlange(QVector<Gruppenliste>& gruppen) : gruppen_(gruppen) {
        for (const Gruppenliste& g : gruppen)
            zeilen_ = std::max(zeilen_, int(g.zeilen.size()));
    }

    std::optional<Schlangenplatz> naechster() {
        const int g = gruppen_.size();
        while (g > 0 && m_ < g * zeilen_) {
            const Schlangenplatz p = schlangenplatz(m_++, g);
            const Gruppenliste& gruppe = gruppen_[p.gruppe];
            if (p.zeile < gruppe.zeilen.size() && gruppe.frei(p.zeile)) return p;
        }
        return std::nullopt;
    }
    // The snake row of the next placement.
    int zeile() const { return gruppen_.isEmpty() ? 0 : m_ / int(gruppen_.size()); }
    void setzen(const Schlangenplatz& p, const Myitem& item) { gruppen_[p.gruppe].zeilen[p.zeile] = item; }

private:
    QVector<Gruppenliste>& gruppen_;
    int zeilen_ = 0;
    int m_ = 0;
};

// Step 1 of both phase 1 draws: every seed along the snake, in seed order (mode 0) or at random (mode 1).
// A placed seed's line becomes an empty numbered line; empty lines are no seeds.
void seedsAlongTheSnake(Schlange& schlange, QVector<Myitem>& gesetzte, int mode, Random& random) {
    QVector<int> offen;
    for (int i = 0; i < gesetzte.size(); ++i)
        if (gesetzte[i].id > 0 && !gesetzte[i].text.isEmpty()) offen << i;
    while (!offen.isEmpty()) {
        const std::optional<Schlangenplatz> p = schlange.naechster();
        if (!p) return;
        const int pick = mode == 1 ? random.below(int(offen.size())) : 0;
        schlange.setzen(*p, gesetzte[offen[pick]]);
        gesetzte[offen[pick]] = leereZeile();
        offen.remove(pick);
    }
}

int clubCount(const Gruppenliste& g, int bisZeile, const QString& club) {
    int n = 0;
    for (int r = 0; r < bisZeile && r < g.zeilen.size(); ++r)
        if (!g.frei(r) && g.zeilen[r].club == club) ++n;
    return n;
}

// The group that takes the next member of `club` on line k: among the groups free on line k with exactly
// k filled lines, the one with the fewest members of the club above line k, lowest index first. Moves k on
// when no group is free on it; -1 when the phase is full.
int targetGroup(const QVector<Gruppenliste>& gruppen, int& k, int zeilen, const QString& club) {
    for (; k < zeilen; ++k) {
        QVector<int> kandidaten;
        QVector<int> freiAufK;
        for (int i = 0; i < gruppen.size(); ++i) {
            if (k >= gruppen[i].zeilen.size() || !gruppen[i].frei(k)) continue;
            freiAufK << i;
            if (gruppen[i].belegt() == k) kandidaten << i;
        }
        // Lines placed by hand can leave a group free on line k with another count of filled lines.
        if (kandidaten.isEmpty()) kandidaten = freiAufK;
        if (kandidaten.isEmpty()) continue;
        int best = kandidaten.first();
        int bestCount = clubCount(gruppen[best], k, club);
        for (int i : kandidaten) {
            const int c = clubCount(gruppen[i], k, club);
            if (c < bestCount) {
                best = i;
                bestCount = c;
            }
        }
        return best;
    }
    return -1;
}

QString lastChar(const QString& s) {
    return s.isEmpty() ? QString() : QString(s.back());
}

} // namespace

int gruppeninfos::gruppen(int n) const {
    return gruppenphase(n) ? std::max(gruppenanzahl[n - 1], 0) : 0;
}

int gruppeninfos::plaetze(int n) const {
    return gruppenphase(n) ? std::max(teilnehmer[n - 1], 0) : 0;
}

int gruppeninfos::ersteGid(int n) const {
    int gid = 0;
    for (int k = 1; k < n; ++k)
        gid += gruppen(k);
    return gid;
}

QString Gruppenliste::titel() const {
    return labels::gruppentitel(gid);
}

QString Gruppenliste::zeilentext(int r) const {
    return labels::zeilentext(r + 1, zeilen[r].text);
}

int Gruppenliste::belegt() const {
    return int(
        std::count_if(zeilen.begin(), zeilen.end(), [](const Myitem& z) { return !z.text.isEmpty(); }));
}

Myitem leereZeile() {
    Myitem item;
    item.id = -1;
    item.partnerId = -1;
    item.seedNumber = -1;
    return item;
}

gruppeninfos gruppeninfosladen(Tdb_procedures& db, int kid) {
    gruppeninfos infos;
    const Row r =
        db.selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"), {{":k", kid}});
    const auto read = [&](const QString& column) { return r.isNull(column) ? -1 : r.integer(column); };
    for (int n = 1; n <= 3; ++n) {
        const QString s = QString::number(n);
        infos.phase[n - 1] = read(QStringLiteral("phase") + s);
        infos.gruppenanzahl[n - 1] = read(QStringLiteral("gruppenanzahl") + s);
        infos.teilnehmer[n - 1] = read(QStringLiteral("teilnehmer") + s);
        infos.besten[n - 1] = read(QStringLiteral("besten") + s);
        infos.bestplazierten[n - 1] = read(QStringLiteral("bestplazierten") + s);
    }
    infos.plattenbez = r.text(u"plattenbez");
    const Row k =
        db.selectOne(QStringLiteral("SELECT system,platten FROM Turnierklassen WHERE KID=:k"), {{":k", kid}});
    infos.kind = k.integer(u"system");
    infos.platten = k.integer(u"platten");
    return infos;
}

Auslosungsdaten phase1laden(Tdb_procedures& db, int kid) {
    Auslosungsdaten d;
    d.infos = gruppeninfosladen(db, kid);
    for (const Row& r : db.select(QStringLiteral("SELECT platte FROM Platten1 WHERE KID=:k"), {{":k", kid}}))
        d.tische << r.text(u"platte");
    switch (d.infos.kind) {
    case 1:
    case 2:
        loadPairs(db, kid, d);
        break;
    case 3:
        loadTeams(db, kid, d);
        break;
    default:
        loadSingles(db, kid, d);
        break;
    }
    numberSeeds(d.gesetzte);
    std::sort(d.angemeldete.begin(), d.angemeldete.end(), lessGerman);
    return d;
}

QString setzlistentext(int index, const Myitem& seed) {
    if (seed.text.isEmpty()) return QStringLiteral("%1.").arg(index + 1);
    return QStringLiteral("%1. ").arg(index + 1) + seed.text;
}

QStringList vereineladen(Tdb_procedures& db, int kid, int kind) {
    // A team's club is the team's own; players of other classes are counted by their entry in the class.
    // Equal counts are ordered by name so both engines give the same order.
    const Rows rows =
        kind == 3
            ? db.select(QStringLiteral("SELECT COUNT(verein) AS c, verein FROM Teams WHERE KID=:ID AND "
                                       "angemeldet<>0 GROUP BY verein ORDER BY COUNT(verein) DESC, verein"),
                        {{":ID", kid}})
            : db.select(
                  QStringLiteral("SELECT COUNT(s.verein)AS c, s.verein FROM (Spieler_im_turnier AS st "
                                 "INNER JOIN Spielerdaten AS s ON (st.sid=s.sid AND s.angemeldet=:a AND "
                                 "KID=:ID)) GROUP BY s.verein ORDER BY COUNT(s.verein) DESC, s.verein"),
                  {{":a", true}, {":ID", kid}});
    QStringList clubs;
    clubs.reserve(rows.size());
    for (const Row& r : rows)
        clubs << r.text(u"verein");
    return clubs;
}

QVector<Gruppenliste> gruppenanlegen(const gruppeninfos& infos, int n) {
    QVector<Gruppenliste> result;
    const int g = infos.gruppen(n);
    result.reserve(g);
    for (int i = 0; i < g; ++i) {
        Gruppenliste gruppe;
        gruppe.gid = infos.ersteGid(n) + i;
        gruppe.zeilen = QVector<Myitem>(infos.plaetze(n), leereZeile());
        result << gruppe;
    }
    return result;
}

QVector<Myitem> qualifikantenlabels(const gruppeninfos& infos, int n) {
    QVector<Myitem> result;
    if (n < 2 || n > 3 || !infos.gruppenphase(n - 1)) return result;
    const int v = n - 1;
    const QStringList texts =
        labels::qualifikanten(infos.ersteGid(v), infos.gruppen(v), std::max(infos.besten[v - 1], 0),
                              std::max(infos.bestplazierten[v - 1], 0));
    result.reserve(texts.size());
    for (const QString& text : texts) {
        Myitem item = leereZeile();
        item.text = text;
        result << item;
    }
    return result;
}

QVector<Myitem> qualifikantenladen(Tdb_procedures& db, int kid, int n) {
    // Teams stand in the matches with their MID, so their club comes from Teams.
    const bool team =
        db.selectOne(QStringLiteral("SELECT system FROM Turnierklassen WHERE KID=:k"), {{":k", kid}})
            .integer(u"system") == 3;
    const QString join = team ? QStringLiteral("INNER JOIN Teams as sd ON s.SID%1=sd.MID")
                              : QStringLiteral("INNER JOIN Spielerdaten as sd ON s.SID%1=sd.SID");
    struct Slot {
        int spiel;
        int seite;
        Myitem item;
    };
    QVector<Slot> gefunden;
    for (int seite = 1; seite <= 2; ++seite) {
        const Rows rows = db.select(QStringLiteral("SELECT s.spielnummer,s.SID%1 AS sid,s.spieler%1 AS bez,"
                                                   "sd.verein FROM Spielplan AS s ")
                                            .arg(seite) +
                                        join.arg(seite) + QStringLiteral(" WHERE s.KID=:ID AND s.phase=:p"),
                                    {{":ID", kid}, {":p", n}});
        for (const Row& r : rows)
            gefunden.append({r.integer(u"spielnummer"), seite,
                             entry(r.integer(u"sid"), 0, r.text(u"bez"), r.text(u"verein"))});
    }
    std::sort(gefunden.begin(), gefunden.end(), [](const Slot& a, const Slot& b) {
        return a.spiel != b.spiel ? a.spiel < b.spiel : a.seite < b.seite;
    });
    QVector<Myitem> result;
    QSet<QString> seen;
    for (const Slot& s : std::as_const(gefunden)) {
        if (s.item.text.isEmpty() || seen.contains(s.item.text)) continue;
        seen.insert(s.item.text);
        result << s.item;
    }
    return result;
}

Schlangenplatz schlangenplatz(int m, int g) {
    const int zeile = m / g;
    const int spalte = m % g;
    return {zeile, zeile % 2 == 0 ? spalte : g - 1 - spalte};
}

void gruppenlosenfest(QVector<Gruppenliste>& gruppen, QVector<Myitem>& gesetzte, QVector<Myitem>& angemeldete,
                      int mode, Random& random) {
    Schlange schlange(gruppen);
    seedsAlongTheSnake(schlange, gesetzte, mode, random);
    while (!angemeldete.isEmpty()) {
        const std::optional<Schlangenplatz> p = schlange.naechster();
        if (!p) return;
        const int pick = random.below(int(angemeldete.size()));
        schlange.setzen(*p, angemeldete[pick]);
        angemeldete.remove(pick);
    }
}

void gruppenlosenvereinfest(QVector<Gruppenliste>& gruppen, QVector<Myitem>& gesetzte,
                            QVector<Myitem>& angemeldete, const QStringList& vereine, int mode,
                            Random& random) {
    Schlange schlange(gruppen);
    seedsAlongTheSnake(schlange, gesetzte, mode, random);
    int zeilen = 0;
    for (const Gruppenliste& g : std::as_const(gruppen))
        zeilen = std::max(zeilen, int(g.zeilen.size()));
    int k = schlange.zeile();

    // The members of each club in list order; a club that the club list does not name (an entry without
    // club, or a team's club) still gets its turn, after the named ones.
    QStringList clubs = vereine;
    QHash<QString, QVector<int>> members;
    for (int i = 0; i < angemeldete.size(); ++i) {
        const QString& club = angemeldete[i].club;
        if (!members.contains(club) && !clubs.contains(club)) clubs << club;
        members[club] << i;
    }
    QVector<bool> placed(angemeldete.size(), false);
    for (const QString& club : std::as_const(clubs)) {
        QVector<int> rest = members.value(club);
        members.remove(club); // a club named twice draws once
        while (!rest.isEmpty()) {
            const int pick = random.below(int(rest.size()));
            const int target = targetGroup(gruppen, k, zeilen, club);
            if (target < 0) break;
            gruppen[target].zeilen[k] = angemeldete[rest[pick]];
            placed[rest[pick]] = true;
            rest.remove(pick);
        }
    }
    QVector<Myitem> left;
    for (int i = 0; i < angemeldete.size(); ++i)
        if (!placed[i]) left << angemeldete[i];
    angemeldete = left;
}

void gruppenlosenfest2(QVector<Gruppenliste>& gruppen, QVector<Myitem>& teilnehmer, int mode,
                       Random& random) {
    Schlange schlange(gruppen);
    const int sieger = int(std::count_if(teilnehmer.begin(), teilnehmer.end(),
                                         [](const Myitem& t) { return t.text.startsWith(u'S'); }));
    for (int i = 0; i < sieger && !teilnehmer.isEmpty(); ++i) {
        const std::optional<Schlangenplatz> p = schlange.naechster();
        if (!p) return;
        const int pick = mode == 1 ? random.below(std::min(sieger - i, int(teilnehmer.size()))) : 0;
        schlange.setzen(*p, teilnehmer[pick]);
        teilnehmer.remove(pick);
    }
    while (!teilnehmer.isEmpty()) {
        const std::optional<Schlangenplatz> p = schlange.naechster();
        if (!p) return;
        const Gruppenliste& ziel = gruppen[p->gruppe];
        for (int r = 0; r < ziel.zeilen.size(); ++r) {
            // Same group of origin already in the target group: take the last participant of the same rank
            // instead.
            if (teilnehmer.size() > 1 && lastChar(ziel.zeilentext(r)) == lastChar(teilnehmer.first().text)) {
                const QChar rang = teilnehmer.first().text.front();
                int last = int(teilnehmer.size()) - 1;
                while (last > 0 && !teilnehmer[last].text.startsWith(rang))
                    --last;
                std::swap(teilnehmer[0], teilnehmer[last]);
            }
        }
        schlange.setzen(*p, teilnehmer.first());
        teilnehmer.removeFirst();
    }
}

void Tischaufteilung::zuordnen(int gid, const QStringList& auswahl) {
    QStringList& liste = gruppentische[gid];
    for (const QString& t : auswahl)
        if (!liste.contains(t)) liste << t;
    liste.sort();
}

void Tischaufteilung::entfernen(int gid, const QString& tisch) {
    const auto it = gruppentische.find(gid);
    if (it != gruppentische.end()) it->removeAll(tisch);
}

QStringList Tischaufteilung::tischeVon(int gid) const {
    return modus == fest ? gruppentische.value(gid) : tische;
}

namespace {

struct Herkunft {
    int sid;
    int gid;
    int pos;
};

void insertPlatten(Tdb_procedures& db, int kid, int gid, const QStringList& tische, int phase) {
    for (const QString& t : tische)
        db.exec(QStringLiteral("INSERT INTO Platten VALUES(:d1,:d2,:d3,:d4)"),
                {{":d1", kid}, {":d2", gid}, {":d3", t}, {":d4", phase}});
}

void insertLine(Tdb_procedures& db, int kid, int gid, int pos, const Herkunft& h, const QString& bez,
                int plattensystem, int phase) {
    db.exec(QStringLiteral("INSERT INTO Gruppen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10)"),
            {{":d1", kid},
             {":d2", gid},
             {":d3", pos},
             {":d4", h.sid},
             {":d5", bez},
             {":d6", h.gid},
             {":d7", h.pos},
             {":d8", false},
             {":d9", plattensystem},
             {":d10", phase}});
    Params p{{":d1", kid}, {":d2", gid}, {":d3", pos}, {":d4", h.sid}, {":d5", bez}};
    for (int i = 6; i <= 13; ++i)
        p.append({QStringLiteral(":d%1").arg(i), 0});
    p.append({QStringLiteral(":d14"), false});
    p.append({QStringLiteral(":d15"), 0});
    p.append({QStringLiteral(":d16"), h.gid});
    p.append({QStringLiteral(":d17"), h.pos});
    p.append({QStringLiteral(":d18"), phase});
    db.exec(QStringLiteral("INSERT INTO Tabellen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,"
                           ":d13,:d14,:d15,:d16,:d17,:d18)"),
            p);
}

// Where the qualified entrants of a redraw come from: their row in the previous phase's standings, so the
// stored source is the group and final place that result processing moves on.
QHash<QString, Herkunft> previousStandings(Tdb_procedures& db, int kid, int phase) {
    QHash<QString, Herkunft> result;
    const Rows rows = db.select(
        QStringLiteral("SELECT SID,bez,pos,GID FROM Tabellen WHERE KID=:ID AND phase=:p ORDER BY GID,pos"),
        {{":ID", kid}, {":p", phase}});
    for (const Row& r : rows) {
        const QString bez = r.text(u"bez");
        if (!bez.isEmpty() && !result.contains(bez))
            result.insert(bez, {r.integer(u"SID"), r.integer(u"GID"), r.integer(u"pos")});
    }
    return result;
}

} // namespace

void gruppenspeichern(Tdb_procedures& db, const Gruppenauslosung& a) {
    const int kid = a.kid;
    const int ab = std::clamp(a.abPhase, 1, 3);
    const int plattensystem = a.tische.modus;
    const gruppeninfos& infos = a.infos;

    Transaction t(db);
    if (ab == 1) {
        for (const char* table : {"Tabellen", "Gruppen", "Platten"})
            db.exec(QStringLiteral("DELETE FROM %1 WHERE KID=:ID").arg(QLatin1String(table)), {{":ID", kid}});
    } else {
        for (const char* table : {"Tabellen", "Gruppen", "Platten"})
            db.exec(QStringLiteral("DELETE FROM %1 WHERE KID=:ID AND phase>=:p").arg(QLatin1String(table)),
                    {{":ID", kid}, {":p", ab}});
        if (a.tische.modus == Tischaufteilung::fest)
            for (int n = ab; n <= 3; ++n)
                for (const Gruppenliste& g : a.gruppen[n - 1])
                    db.exec(QStringLiteral("DELETE FROM Platten WHERE KID=:ID AND GID=:gr"),
                            {{":ID", kid}, {":gr", g.gid}});
    }

    for (int n = ab; n <= 3; ++n) {
        if (!infos.gruppenphase(n)) continue;
        // Only the redrawn phase holds qualified entrants; a later phase still waits for them.
        const bool redrawn = ab > 1 && n == ab;
        const QHash<QString, Herkunft> herkunft =
            redrawn ? previousStandings(db, kid, n - 1) : QHash<QString, Herkunft>();
        for (const Gruppenliste& g : a.gruppen[n - 1]) {
            insertPlatten(db, kid, g.gid, a.tische.tischeVon(g.gid), n);
            for (int q = 0; q < g.zeilen.size(); ++q) {
                const Myitem& z = g.zeilen[q];
                // An empty line stores empty text, not NULL.
                const QString bez = z.text.isNull() ? QStringLiteral("") : z.text;
                Herkunft h{-1, -1, -1};
                if (n == 1) {
                    h.sid = bez.isEmpty() ? -1 : z.id;
                } else if (!redrawn || bez.isEmpty()) {
                    h = {-3, labels::getparentGID(g.zeilentext(q)), labels::getparentpos(bez)};
                } else {
                    h = herkunft.value(bez, Herkunft{z.id > 0 ? z.id : -3, -1, -1});
                }
                insertLine(db, kid, g.gid, q, h, bez, plattensystem, n);
            }
        }
    }

    for (int n = ab; n <= 3; ++n)
        if (infos.vorhanden(n) && !infos.gruppenphase(n)) insertPlatten(db, kid, -1, a.tische.tische, n);
    t.commit();
}
