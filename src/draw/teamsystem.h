#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Interaction;
class Tdb_procedures;

// The order of the rubbers of a team class (`Teamsystem`): how many players and reserves a team has and,
// for each of up to nine rubbers, who plays for the first team (side A) and who for the second (side B).
// A code names a singles position (1 to 4) or a doubles pair (11, 12).
namespace teamsystem {

enum class Seite { A, B };

constexpr int kSpiele = 9;
constexpr int kMaxSpieler = 4;
constexpr int kMaxReserve = 2;
constexpr int kDoppel1 = 11;
constexpr int kDoppel2 = 12;

// "Geben Sie einen gültigen Spieler ein"
extern const QString kUngueltigerSpieler;

// "A1".."A4" / "B1".."B4" for singles positions, "D1", "D2" for the pairs; empty for a code that names
// nobody.
QString codeText(int code, Seite seite);
// The choices of a box for a team of `spieler` players: the singles positions, then "D1", "D2".
QStringList choices(int spieler, Seite seite);
// The code of a choice. Letter case and blanks around the text do not matter; nothing when the text is
// no choice for a team of that size.
std::optional<int> codeOf(const QString& text, int spieler, Seite seite);
// True when the code is a choice for a team of that size.
bool codeValid(int code, int spieler);
int clampSpieler(int spieler);
int clampReserve(int reserve);

} // namespace teamsystem

struct TeamRubber {
    std::optional<int> a;
    std::optional<int> b;
    // A rubber is played only when both sides are named.
    bool exists() const { return a.has_value() && b.has_value(); }
    bool operator==(const TeamRubber&) const = default;
};

struct TeamSystem {
    // A new team class starts with full teams and no rubbers.
    int spieler = teamsystem::kMaxSpieler;
    int reserve = teamsystem::kMaxReserve;
    std::array<TeamRubber, teamsystem::kSpiele> spiele{};

    int rubberCount() const;
    bool operator==(const TeamSystem&) const = default;
};

namespace teamsystem {

// The class's row, or a new class's team system when the class has none yet.
TeamSystem laden(Tdb_procedures& db, int kid);
bool vorhanden(Tdb_procedures& db, int kid);

// Every named code must be a choice for the team size; otherwise the warning is shown and false given.
bool pruefen(const TeamSystem& system, Interaction& interaction);

// The statements of the class save. A rubber with only one side named is written NULL on both sides.
void einfuegen(Tdb_procedures& db, int tid, int kid, const TeamSystem& system);
void aendern(Tdb_procedures& db, int tid, int kid, const TeamSystem& system);

// Updates the class's row, or inserts it when the class has none yet (a class that became a team class
// after it was first saved). No check, no transaction of its own: the caller's save provides both.
void schreiben(Tdb_procedures& db, int tid, int kid, const TeamSystem& system);

// Writes the class's row: updates it, or inserts it when the class has none (a class that became a
// team class after it was first saved). Refuses a system that pruefen() refuses, writing nothing.
bool speichern(Tdb_procedures& db, Interaction& interaction, int tid, int kid, const TeamSystem& system);

} // namespace teamsystem
