#pragma once

#include <QList>
#include <QString>
#include <QVector>
#include <optional>

struct AppState;
class Tdb_procedures;

// One line of a check-in list: a player or a team and its present flag as last written.
struct AnmeldeEintrag {
    int id = 0;   // SID of a player, MID of a team
    QString name; // "nachname, vorname" for a player, the team name for a team
    QString text; // the line as shown: "nachname, vorname (verein)" or the team name
    QString verein;
    bool angemeldet = false;
    // Sort and search keys: a team keeps its name in nachname.
    QString nachname;
    QString vorname;
};

// What Ctrl+Enter in the player field hands to the player panel.
struct NeuerSpielerName {
    QString nachname;
    QString vorname;
    bool operator==(const NeuerSpielerName&) const = default;
};

// Splits a typed "Nachname, Vorname", "Nachname Vorname" or "Nachname".
NeuerSpielerName splitSpielerName(const QString& text);

// One filled position of a team, offered for checking in or out with the team.
struct TeamPosition {
    int position = 0; // 0..3 players s1..s4, 4 and 5 the reserves r1, r2
    int sid = 0;
    QString name; // "nachname, vorname"
};

// The result of checking a team in or out: whom the team check-in dialog offers.
struct TeamMeldung {
    int mid = 0;
    QString teamname;
    bool angemeldet = false;
    QVector<TeamPosition> positionen;
};

// The check-in of players and teams on the day: both lists, the search as the operator types, and the
// present marks. Every mark is written at once; a list line changes only after its write succeeded, so
// after a failure list and database still agree.
class Anmeldung {
public:
    enum class Sortierung { Nachname, Verein };

    Anmeldung(AppState& state, Tdb_procedures& db);

    // Opening the panel: both lists read afresh, ordered by name; the first line of each selected.
    void open();
    // "Sortiert nach" of the players: the list read afresh in that order, the first line selected.
    void sortPlayers(Sortierung order);
    // "Sortiert nach" of the teams ("Teamname"): the team list read afresh, the first line selected.
    void sortTeams();
    Sortierung playerOrder() const { return order_; }

    const QVector<AnmeldeEintrag>& players() const { return players_; }
    const QVector<AnmeldeEintrag>& teams() const { return teams_; }
    int selectedPlayer() const { return selectedPlayer_; }
    int selectedTeam() const { return selectedTeam_; }
    void selectPlayer(int index);
    void selectTeam(int index);

    // Search while typing: selects the first entrant, in the order of surname and first name (of team
    // name), whose surname (team name) starts with text, regardless of case. No match keeps the
    // selection. Gives the selected line afterwards (-1 none).
    int searchPlayer(const QString& text);
    int searchTeam(const QString& text);

    // Writes a player's mark and then the flag of his line.
    void spieleranmeldung(int sid, bool angemeldet);
    // Writes a team's mark and its line's flag; gives the team's players for the team check-in dialog.
    TeamMeldung teamanmeldung(int mid, bool angemeldet);
    // Checks the given players in or out together (one statement), then their lines.
    void teamSpielerMelden(const QList<int>& sids, bool angemeldet);

    // ENTER or a double click: the selected line swaps between present and absent. False when no line
    // is selected (nothing happens then).
    bool togglePlayer();
    // As togglePlayer for the selected team; gives the team's players, or nothing when none is selected.
    std::optional<TeamMeldung> toggleTeam();

    int indexOfPlayer(int sid) const;
    int indexOfTeam(int mid) const;

private:
    void fillPlayers();
    void fillTeams();
    static int search(const QVector<AnmeldeEintrag>& list, const QVector<int>& byName, const QString& text);

    AppState& state_;
    Tdb_procedures& db_;
    Sortierung order_ = Sortierung::Nachname;
    QVector<AnmeldeEintrag> players_;
    QVector<AnmeldeEintrag> teams_;
    QVector<int> playersByName_; // line indexes in the order of surname and first name
    QVector<int> teamsByName_;
    int selectedPlayer_ = -1;
    int selectedTeam_ = -1;
};
