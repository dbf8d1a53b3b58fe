#pragma once

#include "draw/teamsystem.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <array>
#include <optional>

struct AppState;
class Interaction;
class Tdb_procedures;

namespace klassen {

// Class kinds as stored in Turnierklassen.system.
enum Kind { Einzel = 0, Doppel = 1, Mixed = 2, Team = 3 };
constexpr int kKindCount = 4;

// "Einzel", "Doppel", "Mixed", "Team".
QString kindWord(int system);
// " (Einzel)" and so on: what follows the name in a class item.
QString kindSuffix(int system);
// The caption of a class item: name, blank, kind in parentheses.
QString caption(const QString& name, int system);

// The class of tournament tid with this name and kind; 0 when there is none. Names are compared exactly.
int kidOf(Tdb_procedures& db, int tid, const QString& name, int system);

// The age class entry that admits everybody; it is never stored.
QString ohneBeschraenkung();

// Whole-euro amounts show without decimals, others with two, always with a decimal comma.
QString formatFee(double fee);
// A fee typed as "12", "12,5" or "12,50" (a point is taken as decimal mark too); empty text is 0.
std::optional<double> parseFee(const QString& text);

// Reads a start time typed as "9:30" or "09.30". Empty text is a valid "no time" (an invalid QTime);
// none when the text is no time or reads as 00:00.
std::optional<QTime> parseStartTime(const QString& text);

} // namespace klassen

// A class as the panel shows it: free texts as typed, lists by their text.
struct KlassenFormular {
    int system = klassen::Einzel;
    QString kbezeichnung;
    QString kbeschreibung;
    QString spielberechtigung;
    bool mann = true;
    bool frau = false;
    QString gebuehr;
    QString min = QStringLiteral("2");
    QString max = QStringLiteral("2");
    QString saetze = QStringLiteral("3");
    QString platten = QStringLiteral("1");
    QString altersklasse = klassen::ohneBeschraenkung();
    QDate atag;
    QString beginn;
    QStringList tische = {QStringLiteral("Tisch 1")};
    TeamSystem teamsystem;
};

// The competition classes of the current tournament: overview, load, validated save and delete.
// Refusals are told to the user through Interaction and write nothing; database errors are thrown.
class Klassenverwaltung {
public:
    Klassenverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction);

    struct Eintrag {
        int kid = 0;
        QString name;
    };
    // The tournament's class names per kind, in the order the classes were created.
    std::array<QList<Eintrag>, klassen::kKindCount> overview();
    // The tournament's age class names, then "ohne Beschränkung".
    QStringList ageClassNames();
    // The tournament's first day; invalid when it has none.
    QDate firstDay();
    // The class of the current tournament with this name and kind; 0 when there is none.
    int lookupKid(const QString& name, int system);

    // Reads a stored class with its tables and team system and makes it the current class.
    KlassenFormular load(int kid);

    enum class Outcome { Saved, Refused, DuplicateName };
    struct SaveResult {
        Outcome outcome = Outcome::Refused;
        int kid = 0;
    };
    // Validates the form, then inserts a new class (kid 0) or updates class kid, with its tables and,
    // for a team class, its team system, all in one transaction. DuplicateName is the refused rename of a
    // stored class to a name its kind already has.
    SaveResult save(const KlassenFormular& form, int kid);

    // Deletes the class and every row of any table that belongs to it, in one transaction.
    void remove(int kid);

private:
    bool validate(const KlassenFormular& form, int kid, Outcome* refusal);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
};
