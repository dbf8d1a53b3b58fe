#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

struct AppState;
class Interaction;
class Tdb_procedures;

// The lists of the dialog "Team bearbeiten": the players entered in the class, and the four position
// lists of the team being edited.
enum class TeamListe { Gemeldet, Spieler, Reserve, Doppel1, Doppel2 };

struct TeamKlasse {
    int kid = 0;
    QString name;
};

struct TeamMitglied {
    int sid = 0;
    QString text;        // "Nachname, Vorname"
    bool imTeam = false; // plays for a team of the class
};

struct TeamEintrag {
    int mid = 0;
    QString name;
};

// The teams of the team classes of the current tournament as the dialog "Team bearbeiten" works on
// them: the class chosen, its entered players, clubs and teams, and the team in work with its name, club
// and positions. The dialog shows this state and forwards the user's actions; every refusal goes
// through Interaction and writes nothing.
class Teamauswahl {
public:
    enum class Feld { Keines, Teamname, Verein };

    static const QString kNameFehlt;      // "Sie müssen einen Mannschaftsname eingeben"
    static const QString kVereinFehlt;    // "Sie müssen einen Verein eingeben"
    static const QString kUeberschreiben; // "Dieser Mannschaftsname existiert bereits!\nÜberschreiben?"
    static const QString kLoeschenFrage;  // "Wollen Sie das Team wirklich löschen?"

    Teamauswahl(AppState& state, Tdb_procedures& db, Interaction& interaction);

    // Opening: the tournament's team classes, the first one chosen with its first team shown.
    void open();
    // Chooses a class of the list and loads its players, clubs, teams and empty positions.
    void chooseClass(int index);
    // Choosing a team in "Teamname".
    void chooseTeam(int index);
    // Shows a stored team: its name, its club and its players in their positions.
    void showTeam(int mid);
    // A click on an entered player: shows the team of the class he plays for, if any.
    void playerClicked(int index);

    // Drops the player at `sourcePos` of `source` onto position `targetPos` of `target`; a target
    // position outside the list means the first empty position. False when the drop is not accepted.
    bool drop(TeamListe target, int targetPos, TeamListe source, int sourcePos);

    // "Neues Team": the name (empty, or the name typed at the check-in) and empty positions.
    void newTeam(const QString& name = {});
    // "Team löschen". True when a team was deleted.
    bool deleteTeam();
    // "Übernehmen". True when the team was stored.
    bool save();

    const QVector<TeamKlasse>& classes() const { return classes_; }
    int selectedClass() const { return selectedClass_; }
    int kid() const;
    const QVector<TeamMitglied>& players() const { return players_; }
    const QStringList& clubs() const { return clubs_; }
    const QVector<TeamEintrag>& teams() const { return teams_; }

    QString teamname() const { return teamname_; }
    void setTeamname(const QString& name) { teamname_ = name; }
    QString verein() const { return verein_; }
    void setVerein(const QString& verein) { verein_ = verein; }
    // The index of the shown name in teams(), -1 when it names none.
    int teamIndex() const;

    // The SIDs of a position list, 0 for an empty position.
    const QVector<int>& positions(TeamListe liste) const;
    // "Nachname, Vorname" of an entered player, empty for anyone else.
    QString playerText(int sid) const;
    // The field a refused save put the focus on.
    Feld focus() const { return focus_; }

private:
    QVector<int>* list(TeamListe liste); // nullptr for the entered players
    void loadClass();
    void loadTeams();
    void emptyPositions();
    void dropOutsiders();
    bool playsIn(TeamListe liste, int sid) const;
    // A player of the team who already plays for another team of the class; the warning is shown.
    bool refuseMembersOfOtherTeams(int ownMid);
    void writeMannschaft(const QString& name);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;

    QVector<TeamKlasse> classes_;
    int selectedClass_ = -1;
    QVector<TeamMitglied> players_;
    QStringList clubs_;
    QVector<TeamEintrag> teams_;
    int spielerAnzahl_ = 0;
    int reserveAnzahl_ = 0;

    QString teamname_;
    QString verein_;
    QVector<int> spieler_;
    QVector<int> reserve_;
    QVector<int> doppel1_;
    QVector<int> doppel2_;
    Feld focus_ = Feld::Keines;
};
