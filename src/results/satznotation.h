#pragma once

#include "play/matchrecord.h"

#include <QString>
#include <QStringList>
#include <optional>

// Set notation: a set is typed and stored as the score of the player who lost it, signed from the first
// player's side. "+9" or "9": the first player won 11:9; "-12": he lost 12:14; "-0": he lost 0:11.
// Stored as an integer, "-0" as -100 (0 would read as "+0"), a set not played as NULL.
namespace satznotation {

constexpr int kMinusNull = -100;

// A typed entry: an optional sign and one or two digits. Empty (or blanks only) is a set not played.
struct Eingabe {
    bool gueltig = true;
    std::optional<int> wert; // stored form
};
Eingabe lesen(const QString& text);

// The stored form shown again: "+v" for v ≥ 0, "-0" for -100, other negatives as they stand, empty for
// a set not played.
QString text(const std::optional<int>& wert);

// Whether the first player won the set.
inline bool ersterGewinnt(int wert) {
    return wert >= 0;
}

// The rally points of one stored set for both players.
struct Punkte {
    int erster = 0;
    int zweiter = 0;
    bool operator==(const Punkte&) const = default;
};
Punkte punkte(int wert);

// The final results offered for a class with `gewinnsaetze` winning sets: G:k for k from G − 1 down to
// 0, then k:G for k from 0 to G − 1.
QStringList ergebnisliste(int gewinnsaetze);

// The team results offered for a team match of `rubbers` rubbers: every a:b with a ≠ b and a + b not
// above the number of rubbers, a descending, then b ascending ("4:0", "3:0", "3:1", "2:0", …).
QStringList teamErgebnisliste(int rubbers);

// The two numbers of a final result "a:b"; nothing when the text is not of that form.
struct Endergebnis {
    int a = 0;
    int b = 0;
    // b < a: the first player won.
    bool ersterGewinnt() const { return b < a; }
};
std::optional<Endergebnis> endergebnis(const QString& text);

// Checks a result as typed into the match dialog: the final result must be one of `liste`, every set
// entry a number in set notation, and the entered sets must agree with the final result (no set after
// the match was decided, no player with more sets than the result gives him, all sets agreeing when
// every set is entered). Gives the German message of the first fault, or empty text. `saetze` holds the
// texts of the nine set fields; the valid stored values go to `werte`.
QString pruefen(const QString& ergebnis, const QStringList& liste, const QStringList& saetze, Saetze* werte);

extern const QString kUngueltigesErgebnis;      // "Wählen Sie ein gültiges Satzergebnis"
extern const QString kUngueltigesSpielergebnis; // "Wählen Sie ein gültiges Spielergebnis" (team result)

} // namespace satznotation
