#include "draw/fertigstellen.h"

#include "common/interaction.h"
#include "common/programmordner.h"
#include "draw/datafiles.h"
#include "entries/klassen.h"
#include "play/freilos.h"
#include "play/matchrecord.h"
#include "store/db_procedures.h"

#include <QDir>
#include <algorithm>
#include <optional>

const QString Fertigstellen::kNichtAlleGelost = QStringLiteral("Nicht alle Spieler wurden gelost");

int teamspielAnzahl(Tdb_procedures& db, int kid) {
    return teamsystem::laden(db, kid).rubberCount();
}

void spielplanfuellen(Tdb_procedures& db, const Planklasse& klasse, const Spielwerte& w) {
    spielplanfuellen(db, klasse, w, kSeiteOffen, kSeiteOffen);
}

void spielplanfuellen(Tdb_procedures& db, const Planklasse& klasse, const Spielwerte& w, int siegerSID,
                      int verliererSID) {
    SpielplanRow m;
    m.KID = klasse.kid;
    m.TID = klasse.tid;
    m.spielnummer = w.spielnummer;
    m.SID1 = w.SID1;
    m.SID2 = w.SID2;
    m.spieler1 = w.spieler1;
    m.spieler2 = w.spieler2;
    m.parentspiel1 = w.parentspiel1;
    m.parentspiel2 = w.parentspiel2;
    m.parentsieger1 = w.parentsieger1;
    m.parentsieger2 = w.parentsieger2;
    m.parentGID1 = w.parentGID1;
    m.parentpos1 = w.parentpos1;
    m.parentGID2 = w.parentGID2;
    m.parentpos2 = w.parentpos2;
    m.phase = w.phase;
    m.gruppe = w.gruppe;
    m.platz = w.platz;
    m.siegerSID = siegerSID;
    m.verliererSID = verliererSID;
    // The caller's transaction holds match and rubbers together; no savepoint per match.
    matchrecord::insertMatch(db, m);
    for (int n = 1; n <= klasse.rubbers; ++n) {
        TeamspielRow r = rubberOf(m, n);
        r.siegerSID = siegerSID;
        r.verliererSID = verliererSID;
        matchrecord::insertRubber(db, r);
    }
}

namespace spielplan {

namespace {

const QString kFreilos = QStringLiteral("Freilos");

struct Side {
    int sid = -1;
    QString text;
    int parentGID = -1;
    int parentpos = -1;
};

// A player of the redrawn phase: his place in the phase before, found by his text. A text that is not
// there keeps the id the dialog gave and comes from no group.
Side player(const PlanSlot& s, const Standings* standings) {
    if (standings) {
        const auto it = standings->constFind(s.text);
        if (it != standings->constEnd()) return {it->SID, s.text, it->GID, it->pos};
    }
    return {s.id > 0 ? s.id : -1, s.text, -1, -1};
}

// Line `line` (from 1) of a group. An empty line gives an empty side; so does a line the group lacks.
Side groupSide(const QVector<PlanSlot>& group, int line, const Phasenbeginn& b) {
    const PlanSlot s = line >= 1 && line <= group.size() ? group[line - 1] : PlanSlot{};
    if (s.text.isEmpty()) return {};
    switch (b.herkunft) {
    case Herkunft::Eintraege:
        return {s.id, s.text, -1, -1};
    case Herkunft::Labels:
        return {-1, s.text, s.parentGID, s.parentpos};
    case Herkunft::Spieler:
        return player(s, b.standings);
    }
    return {};
}

bool isBye(const PlanSlot& s) {
    return s.id == kSeiteFreilos || s.text.isEmpty() || s.text == kFreilos;
}

// Slot `index` (from 0) of a bracket; an empty slot, or one the bracket lacks, is a bye.
Side bracketSide(const QVector<PlanSlot>& bracket, int index, const Phasenbeginn& b) {
    const PlanSlot s = index < bracket.size() ? bracket[index] : PlanSlot{};
    const bool fromDraw = b.herkunft == Herkunft::Eintraege;
    if (isBye(s)) return {kSeiteFreilos, kFreilos, fromDraw ? -1 : s.parentGID, fromDraw ? -1 : s.parentpos};
    switch (b.herkunft) {
    case Herkunft::Eintraege:
        return {s.id, s.text, -1, -1};
    case Herkunft::Labels:
        return {s.id, s.text, s.parentGID, s.parentpos};
    case Herkunft::Spieler:
        return player(s, b.standings);
    }
    return {};
}

// A match whose two sides come from the draw (or from the phase before).
Spielwerte firstMatch(int nr, const Side& a, const Side& c, const Phasenbeginn& b, int gruppe) {
    Spielwerte w;
    w.spielnummer = nr;
    w.SID1 = a.sid;
    w.spieler1 = a.text;
    w.SID2 = c.sid;
    w.spieler2 = c.text;
    // Later phases are filled by result processing: their sides wait for a winner of a group place.
    w.parentsieger1 = w.parentsieger2 = b.herkunft != Herkunft::Eintraege;
    w.parentGID1 = a.parentGID;
    w.parentpos1 = a.parentpos;
    w.parentGID2 = c.parentGID;
    w.parentpos2 = c.parentpos;
    w.phase = b.phase;
    w.gruppe = gruppe;
    return w;
}

// A match whose sides wait for the results of two earlier matches.
Spielwerte laterMatch(int nr, int phase, int from1, bool winner1, int from2, bool winner2) {
    Spielwerte w;
    w.spielnummer = nr;
    w.spieler1 = winner1 ? freilos::siegerVon(from1) : freilos::verliererVon(from1);
    w.spieler2 = winner2 ? freilos::siegerVon(from2) : freilos::verliererVon(from2);
    w.parentspiel1 = from1;
    w.parentspiel2 = from2;
    w.parentsieger1 = winner1;
    w.parentsieger2 = winner2;
    w.phase = phase;
    return w;
}

} // namespace

int bracketSize(int count) {
    int size = 2;
    while (size < count)
        size *= 2;
    return size;
}

QVector<Spielwerte> gruppenphase(const PhasePlan& p, const Phasenbeginn& b, const datafiles::Schedule& s) {
    QVector<Spielwerte> out;
    out.reserve(s.pairings.size() * p.groups.size());
    int nr = b.spielnummer;
    for (const datafiles::Pairing& pairing : s.pairings)
        for (int g = 0; g < p.groups.size(); ++g)
            out << firstMatch(nr++, groupSide(p.groups[g], pairing.a, b),
                              groupSide(p.groups[g], pairing.b, b), b, p.firstGid + g);
    return out;
}

QVector<Spielwerte> einfachesKO(const PhasePlan& p, const Phasenbeginn& b) {
    const int size = bracketSize(p.bracket.size());
    QVector<Spielwerte> out;
    out.reserve(size - 1);
    int nr = b.spielnummer;
    for (int j = 0; j < size / 2; ++j)
        out << firstMatch(nr++, bracketSide(p.bracket, 2 * j, b), bracketSide(p.bracket, 2 * j + 1, b), b,
                          -1);
    // Each stage halves the one before: its j-th match takes the winners of matches 2j and 2j+1 of it.
    for (int m = size / 2; m > 1; m /= 2)
        for (int j = 0; j < m / 2; ++j) {
            const int x = nr++;
            out << laterMatch(x, b.phase, x - m + j, true, x - m + j + 1, true);
        }
    return out;
}

QVector<Spielwerte> doppeltesKO(const PhasePlan& p, const Phasenbeginn& b, const datafiles::KoPlan& plan) {
    // The file numbers matches within the phase, in file order.
    const int offset = b.spielnummer - 1;
    QVector<Spielwerte> out;
    out.reserve(plan.matchCount());
    for (const datafiles::KoPlanLine& line : plan.lines) {
        if (line.isCaption()) continue;
        const int nr = line.match() + offset;
        if (line.isFirstStage()) {
            const int m = line.match();
            out << firstMatch(nr, bracketSide(p.bracket, 2 * m - 2, b), bracketSide(p.bracket, 2 * m - 1, b),
                              b, -1);
        } else {
            out << laterMatch(nr, b.phase, line.source1() + offset, line.takesWinner1(),
                              line.source2() + offset, line.takesWinner2());
        }
    }
    return out;
}

} // namespace spielplan

Datendateien Datendateien::beimProgramm() {
    const QDir dir(programmordner::fuerDiesesProgramm().daten);
    return {dir.filePath(QStringLiteral("Files/system.txt")),
            dir.filePath(QStringLiteral("Files/ko_system.txt"))};
}

Fertigstellen::Fertigstellen(Tdb_procedures& db, Interaction& interaction, Datendateien dateien)
    : db_(db), interaction_(interaction), dateien_(std::move(dateien)) {}

bool Fertigstellen::allesGelost(const Ungelost& u, bool redraw, int redrawPhase) {
    if (!redraw) return u.eintraege == 0 && u.gesetzte == 0 && u.phase2 == 0 && u.phase3 == 0;
    // A redraw leaves phase 1 as it is, and with it the entry and seed lists; but a qualifier left out of
    // a phase being drawn again would lose his place.
    return (redrawPhase > 2 || u.phase2 == 0) && u.phase3 == 0;
}

namespace {

using spielplan::Herkunft;
using spielplan::Standings;

// The longest group of a phase: the group size its schedule is read for.
int placesOf(const PhasePlan& p) {
    int n = 0;
    for (const auto& g : p.groups)
        n = qMax(n, int(g.size()));
    return n;
}

// What a phase is built from: its schedule or double knock-out plan. None when the file has no block for
// the size: the phase then gets no matches.
struct Vorlage {
    std::optional<datafiles::Schedule> schedule;
    std::optional<datafiles::KoPlan> koPlan;
};

Standings loadStandings(Tdb_procedures& db, int kid, int phase) {
    const Rows rows = db.select(
        QStringLiteral("SELECT SID,pos,GID,bez FROM Tabellen WHERE KID=:ID AND phase=:p ORDER BY GID,pos"),
        {{QStringLiteral(":ID"), kid}, {QStringLiteral(":p"), phase}});
    Standings st;
    st.reserve(rows.size());
    for (const Row& r : rows) {
        const QString bez = r.text(u"bez");
        if (!st.contains(bez)) st.insert(bez, {r.integer(u"SID"), r.integer(u"GID"), r.integer(u"pos")});
    }
    return st;
}

freilos::Seiten seitenOf(const Spielwerte& w) {
    return {w.spielnummer, 0,
            {{w.SID1, w.spieler1, w.parentGID1, w.parentpos1}, {w.SID2, w.spieler2, w.parentGID2, w.parentpos2}},
            -1,
            -1};
}

freilos::Seiten seitenOf(const Row& r, int nummer, const char16_t* sid1, const char16_t* sid2) {
    return {r.integer(u"spielnummer"),
            nummer,
            {{r.integer(sid1), r.text(u"spieler1"), r.integer(u"parentGID1"), r.integer(u"parentpos1")},
             {r.integer(sid2), r.text(u"spieler2"), r.integer(u"parentGID2"), r.integer(u"parentpos2")}},
            r.integer(u"siegerSID"),
            r.integer(u"verliererSID")};
}

// The rows a redraw keeps: settling runs over the whole class, so a kept match with a bye is settled
// again with the rest, and its rubbers with it.
struct Behalten {
    QVector<freilos::Seiten> matches;
    QVector<freilos::Seiten> rubbers;
};

Behalten loadKept(Tdb_procedures& db, int kid) {
    Behalten k;
    const Params onClass{{QStringLiteral(":ID"), kid}};
    for (const Row& r :
         db.select(QStringLiteral("SELECT spielnummer,SID1,SID2,spieler1,spieler2,parentGID1,parentpos1,parentGID2,"
                                  "parentpos2,siegerSID,verliererSID FROM Spielplan WHERE KID=:ID "
                                  "ORDER BY spielnummer"),
                   onClass))
        k.matches << seitenOf(r, 0, u"SID1", u"SID2");
    for (const Row& r :
         db.select(QStringLiteral("SELECT spielnummer,nummer,MID1,MID2,spieler1,spieler2,parentGID1,parentpos1,"
                                  "parentGID2,parentpos2,siegerSID,verliererSID FROM Teamspiele WHERE KID=:ID "
                                  "ORDER BY spielnummer,nummer"),
                   onClass))
        k.rubbers << seitenOf(r, r.integer(u"nummer"), u"MID1", u"MID2");
    return k;
}

// Writes back what settling changed in a kept match or rubber.
void updateKept(Tdb_procedures& db, int kid, const freilos::Seiten& s) {
    static const QString kMatch = QStringLiteral(
        "UPDATE Spielplan SET SID1=:s1,spieler1=:b1,parentGID1=:g1,parentpos1=:p1,SID2=:s2,spieler2=:b2,"
        "parentGID2=:g2,parentpos2=:p2,siegerSID=:w,verliererSID=:l WHERE KID=:ID AND spielnummer=:snr");
    static const QString kRubber = QStringLiteral(
        "UPDATE Teamspiele SET MID1=:s1,spieler1=:b1,parentGID1=:g1,parentpos1=:p1,MID2=:s2,spieler2=:b2,"
        "parentGID2=:g2,parentpos2=:p2,siegerSID=:w,verliererSID=:l WHERE KID=:ID AND spielnummer=:snr "
        "AND nummer=:n");
    Params p{{QStringLiteral(":s1"), s.seite[0].sid},       {QStringLiteral(":b1"), s.seite[0].name},
             {QStringLiteral(":g1"), s.seite[0].parentGID}, {QStringLiteral(":p1"), s.seite[0].parentpos},
             {QStringLiteral(":s2"), s.seite[1].sid},       {QStringLiteral(":b2"), s.seite[1].name},
             {QStringLiteral(":g2"), s.seite[1].parentGID}, {QStringLiteral(":p2"), s.seite[1].parentpos},
             {QStringLiteral(":w"), s.siegerSID},           {QStringLiteral(":l"), s.verliererSID},
             {QStringLiteral(":ID"), kid},                  {QStringLiteral(":snr"), s.snr}};
    if (s.nummer > 0) p.append({QStringLiteral(":n"), s.nummer});
    db.exec(s.nummer > 0 ? kRubber : kMatch, p);
}

} // namespace

Fertigstellen::Ergebnis Fertigstellen::fertigstellen(const DrawPlan& plan,
                                                     const std::function<void()>& gruppenspeichern) {
    if (!allesGelost(plan.ungelost, plan.redraw, plan.redrawPhase)) {
        interaction_.warning(kNichtAlleGelost, Interaction::Button::Cancel);
        return {};
    }
    // Phase 1 is never drawn again: a redraw starts at phase 2 or 3.
    const int firstPhase = plan.redraw ? qBound(2, plan.redrawPhase, 3) : 1;

    // The data files are read before anything is written: a damaged file, or one without the block a
    // phase needs, refuses the whole plan.
    std::array<Vorlage, 3> vorlagen;
    for (int n = firstPhase; n <= 3; ++n) {
        const PhasePlan& p = plan.phase(n);
        if (p.system == PhasePlan::Gruppenphase && !p.groups.isEmpty()) {
            datafiles::ScheduleReader reader;
            // A group of one plays no match and needs no schedule; any other size without its block would
            // leave the groups without matches, so the draw is refused instead of writing half a plan.
            const int places = placesOf(p);
            if (places < 2) continue;
            vorlagen[n - 1].schedule = reader.read(dateien_.system, places);
            if (reader.problem() != datafiles::Problem::None) {
                interaction_.error(reader.errorString());
                return {};
            }
        } else if (p.system == PhasePlan::DoppeltesKO) {
            datafiles::KoPlanReader reader;
            vorlagen[n - 1].koPlan = reader.read(dateien_.koSystem, spielplan::bracketSize(p.bracket.size()));
            if (reader.problem() != datafiles::Problem::None) {
                interaction_.error(reader.errorString());
                return {};
            }
        }
    }

    const Params onClass{{QStringLiteral(":ID"), plan.kid}};
    Transaction t(db_);
    if (gruppenspeichern) gruppenspeichern();

    int next = 1;
    if (!plan.redraw) {
        db_.exec(QStringLiteral("DELETE FROM Spielplan WHERE KID=:ID"), onClass);
        db_.exec(QStringLiteral("DELETE FROM Teamspiele WHERE KID=:ID"), onClass);
    } else {
        const Params fromPhase{{QStringLiteral(":ID"), plan.kid}, {QStringLiteral(":p"), firstPhase}};
        db_.exec(QStringLiteral("DELETE FROM Spielplan WHERE KID=:ID AND phase>=:p"), fromPhase);
        db_.exec(QStringLiteral("DELETE FROM Teamspiele WHERE KID=:ID AND phase>=:p"), fromPhase);
        // What is left are the phases before the redrawn one: the new matches follow on after them, even
        // when the phase right before has no matches of its own.
        next = db_.selectOne(QStringLiteral("SELECT MAX(spielnummer) as m FROM Spielplan WHERE KID=:ID"),
                             onClass)
                   .integer(u"m") +
               1;
    }

    const Planklasse klasse{plan.kid, plan.tid, plan.kind == 3 ? teamspielAnzahl(db_, plan.kid) : 0};
    // The whole plan is computed first, byes settled through the links in memory, and then each new row is
    // written once with its final values.
    QVector<Spielwerte> neu;
    for (int n = firstPhase; n <= 3; ++n) {
        const PhasePlan& p = plan.phase(n);
        if (!p.exists()) continue;
        // Only the redrawn phase holds players; the phases after it are drawn with labels again.
        const Herkunft herkunft = n == 1                           ? Herkunft::Eintraege
                                  : plan.redraw && n == firstPhase ? Herkunft::Spieler
                                                                   : Herkunft::Labels;
        Standings standings;
        if (herkunft == Herkunft::Spieler) standings = loadStandings(db_, plan.kid, n - 1);
        const spielplan::Phasenbeginn beginn{n, next, herkunft, &standings};

        QVector<Spielwerte> spiele;
        const Vorlage& v = vorlagen[n - 1];
        if (p.system == PhasePlan::Gruppenphase && v.schedule)
            spiele = spielplan::gruppenphase(p, beginn, *v.schedule);
        else if (p.system == PhasePlan::EinfachesKO)
            spiele = spielplan::einfachesKO(p, beginn);
        else if (p.system == PhasePlan::DoppeltesKO && v.koPlan)
            spiele = spielplan::doppeltesKO(p, beginn, *v.koPlan);
        for (const Spielwerte& w : spiele)
            next = qMax(next, w.spielnummer + 1);
        neu += spiele;
    }

    Behalten kept;
    if (plan.redraw) kept = loadKept(db_, plan.kid);
    const int keptCount = int(kept.matches.size());
    const Behalten before = kept;
    // Settling goes by match number over the whole class; the file may number a phase's matches in another
    // order than it lists them.
    QVector<int> order(neu.size());
    for (int i = 0; i < neu.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return neu[a].spielnummer < neu[b].spielnummer; });
    QVector<freilos::Seiten> matches = kept.matches;
    matches.reserve(keptCount + neu.size());
    for (int i : order) matches << seitenOf(neu[i]);
    freilos::settleAll(matches, kept.rubbers);

    for (int i = 0; i < keptCount; ++i)
        if (!(matches[i] == before.matches[i])) updateKept(db_, plan.kid, matches[i]);
    for (int i = 0; i < kept.rubbers.size(); ++i)
        if (!(kept.rubbers[i] == before.rubbers[i])) updateKept(db_, plan.kid, kept.rubbers[i]);
    for (int k = 0; k < order.size(); ++k) {
        const freilos::Seiten& s = matches[keptCount + k];
        Spielwerte w = neu[order[k]];
        w.SID1 = s.seite[0].sid;
        w.spieler1 = s.seite[0].name;
        w.parentGID1 = s.seite[0].parentGID;
        w.parentpos1 = s.seite[0].parentpos;
        w.SID2 = s.seite[1].sid;
        w.spieler2 = s.seite[1].name;
        w.parentGID2 = s.seite[1].parentGID;
        w.parentpos2 = s.seite[1].parentpos;
        spielplanfuellen(db_, klasse, w, s.siegerSID, s.verliererSID);
    }

    t.commit();

    Ergebnis e;
    e.geschrieben = true;
    e.planleiste = !plan.redraw;
    e.planAnzeigen = plan.redraw;
    return e;
}
