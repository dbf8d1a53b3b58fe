#pragma once

#include <QString>
#include <QVector>

struct AppState;
class Tdb_procedures;

// One player of a team in the team check-in: his place in the team (0 to 3 the players, 4 and 5 the
// reserves), his text and whether his box is ticked.
struct TeamMeldeSpieler {
    int position = 0;
    int sid = 0;
    QString text; // "Nachname, Vorname"
    bool angekreuzt = true;
};

// Checking a team in or out on the day: the team's mark, then its players together with it.
class TeamMelden {
public:
    static constexpr int kPositionen = 6;

    TeamMelden(AppState& state, Tdb_procedures& db);

    // The team's own mark (`teamanmeldung` of the check-in).
    void teamanmeldung(int mid, bool anmelden);
    // The players of the team, every box ticked; `anmelden` says which way Übernehmen marks them.
    void laden(int mid, bool anmelden);

    int mid() const { return mid_; }
    bool anmelden() const { return anmelden_; }
    // "Team anmelden" / "Team abmelden"
    QString caption() const;
    // "anmelden" / "abmelden", the caption of every player's box
    QString boxCaption() const;
    const QVector<TeamMeldeSpieler>& spieler() const { return spieler_; }
    void setAngekreuzt(int index, bool ticked);

    // "Übernehmen": marks every ticked player present (or absent), all in one transaction.
    void uebernehmen();

private:
    AppState& state_;
    Tdb_procedures& db_;
    int mid_ = 0;
    bool anmelden_ = true;
    QVector<TeamMeldeSpieler> spieler_;
};
