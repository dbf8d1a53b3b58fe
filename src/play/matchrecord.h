#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

class Row;
class Tdb_procedures;

// The match record: one Spielplan row per match, one Teamspiele row per rubber of a team match. Every
// plan view, match dialog, result step and export reads and writes matches through these rows.
//
// Conventions of the two row types: a date or date-time that is not valid stands for NULL; an empty
// std::optional stands for NULL. Names are never NULL: an open side without a placeholder has empty text.

// The nine set scores of a match, seen from side 1: the score of the set's loser, positive when side 1
// won it; -100 stands for "-0". An empty entry is a set not played (NULL).
using Saetze = std::array<std::optional<int>, 9>;

// Side values.
constexpr int kSeiteOffen = -1;   // not known yet, or emptied
constexpr int kSeiteFreilos = -2; // a bye

// One row of Spielplan. A default-constructed row holds the values of a freshly created match: sets 0,
// result "0:0", no flags, winner and loser undecided, no calls, no planning, no place decided.
struct SpielplanRow {
    int KID = 0;
    int spielnummer = 0;
    int SID1 = kSeiteOffen;
    QString spieler1;
    int SID2 = kSeiteOffen;
    QString spieler2;
    Saetze satz = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::optional<QString> ergebnis = QStringLiteral("0:0");
    int parentspiel1 = -1;
    bool parentsieger1 = false;
    int parentspiel2 = -1;
    bool parentsieger2 = false;
    int parentGID1 = -1;
    int parentpos1 = -1;
    int parentGID2 = -1;
    int parentpos2 = -1;
    bool in_planung = false;
    bool begonnen = false;
    bool beendet = false;
    bool manuell = false;
    QDateTime spielstart;
    QDateTime spielende;
    int siegerSID = -1;
    int verliererSID = -1;
    int phase = 1;
    int gruppe = -1;
    QDateTime aufruf1_sp1;
    QDateTime aufruf1_sp2;
    QDateTime aufruf1_sch;
    QDateTime aufruf2_sp1;
    QDateTime aufruf2_sp2;
    QDateTime aufruf2_sch;
    QDateTime aufruf3_sp1;
    QDateTime aufruf3_sp2;
    QDateTime aufruf3_sch;
    std::optional<QString> an_platte;
    std::optional<QString> schiri;
    std::optional<QString> geplanter_tisch;
    QDate geplanter_tag;
    QDateTime geplante_zeit;
    int platz = -1;
    int TID = 0;

    bool operator==(const SpielplanRow&) const = default;
};

// One row of Teamspiele: a rubber of team match `spielnummer`. A default-constructed row holds the values
// of a freshly created rubber; rubberOf() makes one from its team match.
struct TeamspielRow {
    int KID = 0;
    int spielnummer = 0;
    int nummer = 0;
    int MID1 = kSeiteOffen;
    int SID1 = kSeiteOffen;
    QString spieler1;
    int MID2 = kSeiteOffen;
    int SID2 = kSeiteOffen;
    QString spieler2;
    Saetze satz = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::optional<QString> ergebnis = QStringLiteral("0:0");
    bool in_planung = false;
    bool begonnen = false;
    bool beendet = false;
    QDateTime spielstart;
    int siegerSID = -1;
    int verliererSID = -1;
    int phase = 1;
    int gruppe = -1;
    std::optional<QString> an_platte;
    std::optional<QString> schiri;
    std::optional<QString> geplanter_tisch;
    QDate geplanter_tag;
    QDateTime geplante_zeit;
    int TID = 0;
    std::optional<QString> sbez1;
    std::optional<QString> sbez2;
    std::optional<int> p1;
    std::optional<int> p2;
    int parentspiel1 = -1;
    bool parentsieger1 = false;
    int parentspiel2 = -1;
    bool parentsieger2 = false;
    int parentGID1 = -1;
    int parentpos1 = -1;
    int parentGID2 = -1;
    int parentpos2 = -1;

    bool operator==(const TeamspielRow&) const = default;
};

// Rubber `nummer` of a new team match: the teams are the match's sides, its players not chosen yet.
TeamspielRow rubberOf(const SpielplanRow& match, int nummer);

// The stored states of a match (or rubber).
enum class MatchState { Open, Called, Started, Finished };

// The state a row stands in. Only one of the three flags is meant to be set; should a damaged row carry
// more, the furthest state counts, so a finished match is never offered again.
MatchState stateOf(bool in_planung, bool begonnen, bool beendet);
inline MatchState stateOf(const SpielplanRow& m) {
    return stateOf(m.in_planung, m.begonnen, m.beendet);
}
inline MatchState stateOf(const TeamspielRow& r) {
    return stateOf(r.in_planung, r.begonnen, r.beendet);
}

// The state tags of the status cells on the plan pages.
enum class StateTag { Waiting = 1, Playable = 2, Called = 3, Started = 4, Finished = 5 };

// Both sides are real entries: only then can the match be called or started.
inline bool hasBothSides(const SpielplanRow& m) {
    return m.SID1 > 0 && m.SID2 > 0;
}
// A side is a bye: such a match is never called; its winner and loser are set when the plan is complete.
inline bool hasBye(const SpielplanRow& m) {
    return m.SID1 == kSeiteFreilos || m.SID2 == kSeiteFreilos;
}

// The tag a match's status cell shows. An open match is playable only when it has both sides and the
// running class has its players and a table free (`resourcesFree`, from the free lists); otherwise waiting.
StateTag stateTag(const SpielplanRow& m, bool resourcesFree);

namespace matchrecord {

// --- Reading --------------------------------------------------------------------------------------

// A row read with SELECT * FROM Spielplan / Teamspiele.
SpielplanRow matchFromRow(const Row& row);
TeamspielRow rubberFromRow(const Row& row);

std::optional<SpielplanRow> readMatch(Tdb_procedures& db, int kid, int snr);
// In match-number order.
QVector<SpielplanRow> matchesOfClass(Tdb_procedures& db, int kid);
QVector<SpielplanRow> matchesOfPhase(Tdb_procedures& db, int kid, int phase);
// In rubber-number order.
QVector<TeamspielRow> rubbersOfMatch(Tdb_procedures& db, int kid, int snr);
// By match number, then rubber number.
QVector<TeamspielRow> rubbersOfClass(Tdb_procedures& db, int kid);

// --- Writing new rows -----------------------------------------------------------------------------

// INSERT INTO Spielplan VALUES (:d1, …, :d51) in the column order of the schema.
void insertMatch(Tdb_procedures& db, const SpielplanRow& m);
// INSERT INTO Teamspiele VALUES (:d1, …, :d47).
void insertRubber(Tdb_procedures& db, const TeamspielRow& r);
// A match and, for a team class, its rubbers 1 … rubbers, in one transaction.
void insertMatchWithRubbers(Tdb_procedures& db, const SpielplanRow& m, int rubbers);

// --- Moving a match between states -----------------------------------------------------------------
// Each runs the statements of its move on match (kid, snr) and nothing else. Text arguments that are
// empty are written as NULL; so are invalid dates and times.

// Planning in the match dialog: table, day, time and umpire.
void plan(Tdb_procedures& db, int kid, int snr, const QString& tisch, const QDate& tag, const QDateTime& zeit,
          const QString& schiri);
// Planning by the scheduler: day, table and time; the umpire is left alone.
void schedule(Tdb_procedures& db, int kid, int snr, const QDate& tag, const QString& tisch,
              const QDateTime& zeit);
// The scheduler takes a match out of its plan: umpire, day, table and time back to NULL.
void clearSchedule(Tdb_procedures& db, int kid, int snr);

// open → called: the first call of both sides and the umpire at `now`, on table `platte`.
void call(Tdb_procedures& db, int kid, int snr, const QDateTime& now, const QString& platte,
          const QString& schiri, bool manuell);

// The six columns of the second and third calls.
enum class Recall { aufruf2_sp1, aufruf2_sp2, aufruf2_sch, aufruf3_sp1, aufruf3_sp2, aufruf3_sch };
QString columnName(Recall r);
// called → called: records a further call at `at`, or takes it back when `at` is not valid.
void recordRecall(Tdb_procedures& db, int kid, int snr, Recall which, const QDateTime& at);

// called → started.
void start(Tdb_procedures& db, int kid, int snr, const QDateTime& now);

// started → finished: the sets, the result a:b, winner and loser.
void finish(Tdb_procedures& db, int kid, int snr, const QDateTime& now, const Saetze& saetze,
            const QString& ergebnis, int siegerSID, int verliererSID);

// Withdraws the stored result: not finished, no sets, no result, winner and loser undecided. The sides
// that the result had filled are the undo's business. Rubbers::Withdraw: the rubbers of a team match
// lose their results as well (a team knock-out match; a team group match keeps them).
enum class Rubbers { Keep, Withdraw };
void withdrawResult(Tdb_procedures& db, int kid, int snr, Rubbers rubbers);

// "Spiel zurücksetzen", one step back:
// called → open: every call time NULL, not called (also in the rubbers). Table, umpire and `manuell`
// stay until the next call overwrites them.
void resetCalledToOpen(Tdb_procedures& db, int kid, int snr);
// started → called: no start time, not started, called again (also in the rubbers).
void resetStartedToCalled(Tdb_procedures& db, int kid, int snr);
// finished → started, once the result has been withdrawn: started again with its first start time.
void resetFinishedToStarted(Tdb_procedures& db, int kid, int snr);

} // namespace matchrecord
