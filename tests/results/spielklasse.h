#pragma once

#include "draw/fertigstellen.h"
#include "draw/gruppenauslosung.h"
#include "play/matchrecord.h"
#include "results/ergebnisverarbeitung.h"
#include "results/tabellen_db.h"
#include "store/db_procedures.h"
#include "support/scripted_interaction.h"

#include <QVector>
#include <array>
#include <functional>
#include <gtest/gtest.h>

// A drawn class ready to play: settings, groups, standings and match plan written through the draw's own
// stores (gruppenspeichern, Fertigstellen), and a way to play it headless from the first match to the
// last. The stronger entry (the smaller id) wins 3:1 unless a test says otherwise.
namespace spielklasse {

constexpr int kKid = 3;
constexpr int kTid = 1;

struct Phase {
    int system = -1; // -1 absent, 0 groups, 1 single, 2 double knock-out
    int gruppen = 0;
    int teilnehmer = 0;
    int besten = 0;
    int bestplazierten = 0;
};

QString name(int sid);
PlanSlot eintrag(int sid);
PlanSlot label(const QString& text, int gid, int pos);
// `gruppen` groups of `plaetze` entries from firstSid on.
PhasePlan gruppen(int gruppen, int plaetze, int firstSid = 101);
PhasePlan bracket(int system, const QVector<PlanSlot>& felder, int firstGid = 0);

// Four groups of four entries from firstSid on, the first two of each into a knock-out of eight (group
// A's winner meets B's second, and so on crosswise): 24 group matches, then 7.
DrawPlan vierGruppenInsKO(int firstSid = 101);
inline const std::array<Phase, 3> kVierGruppenInsKO{Phase{0, 4, 4, 2, 0}, Phase{1}, Phase{}};

// Writes class kid with these phases: its settings row, the groups and standings rows of every group
// phase and the whole match plan. kind: 0 singles, 1 doubles, 2 mixed.
void anlegen(Tdb_procedures& db, const std::array<Phase, 3>& phasen, const DrawPlan& plan, int kind = 0,
             int saetze = 3, int kid = kKid);
// The two halves of anlegen: the class and its phase settings, as entered before the draw, and the
// draw completion that writes groups, standings and the match plan in one transaction.
void einstellungenAnlegen(Tdb_procedures& db, const std::array<Phase, 3>& phasen, int kind = 0,
                          int saetze = 3, int kid = kKid);
void planSchreiben(Tdb_procedures& db, const std::array<Phase, 3>& phasen, const DrawPlan& plan, int kind = 0,
                   int kid = kKid);

// The input of a result; the first player's view of the sets.
ErgebnisEingabe eingabe(int snr, const QString& ergebnis, const QStringList& saetze, int kid = kKid);
// The stronger side wins 3:1 (+5 -7 +9 +3 seen from the winner), in the match's own class.
ErgebnisEingabe staerkereGewinnt(const SpielplanRow& m);
ErgebnisEingabe schwaechereGewinnt(const SpielplanRow& m);

// The next match that can be played: both sides known, not finished; nothing when none is left.
std::optional<SpielplanRow> naechstes(Tdb_procedures& db, int kid = kKid);

// Plays every match in number order until none is left; gives how many were played.
int allesSpielen(Tdb_procedures& db, Ergebnisverarbeitung& ev,
                 const std::function<ErgebnisEingabe(const SpielplanRow&)>& ergebnis = staerkereGewinnt);

QVector<SpielplanRow> spiele(Tdb_procedures& db, int kid = kKid);
SpielplanRow spiel(Tdb_procedures& db, int snr, int kid = kKid);
// SID and position of every filled row of group gid, by position.
std::vector<std::pair<int, int>> stand(Tdb_procedures& db, int gid);

} // namespace spielklasse
