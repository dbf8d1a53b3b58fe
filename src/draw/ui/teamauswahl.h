#pragma once

#include "draw/teams.h"

#include <QDialog>
#include <QMimeData>
#include <functional>
#include <memory>

class QComboBox;
class QListWidget;
class QPushButton;
class TeamListWidget;
struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;

// "Team bearbeiten": forms the teams of the tournament's team classes from the players entered in a class.
// Players are dragged from "gemeldete Spieler" into the positions, between positions, into the doubles
// and back. The dialog shows the state of Teamauswahl and forwards the user's actions to it.
class Tteamauswahl : public QDialog {
    Q_OBJECT
public:
    // The format of a dragged player: the list and the row he is dragged from.
    static const QString kMimeType;
    static std::unique_ptr<QMimeData> dragData(TeamListe source, int row);

    Tteamauswahl(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                 QWidget* parent = nullptr);
    ~Tteamauswahl() override;

    // "Teamverwaltung": reads the team classes afresh, shows the first class and its first team, and
    // shows the dialog, blocking the other windows until it closes.
    void oeffnen();
    // CTRL+ENTER in the check-in's team field: as oeffnen(), but with a new team of that name.
    void neuesTeam(const QString& name);

    const Teamauswahl& auswahl() const { return auswahl_; }

signals:
    // A team was stored or deleted; lists of teams elsewhere (the check-in) read them again.
    void teamsChanged();

private:
    void laden();
    void classChanged(int row);
    void teamChosen(int index);
    void playerClicked();
    void dropped(TeamListe target, int row, TeamListe source, int sourceRow);
    void neu();
    void loeschen();
    void uebernehmen();
    bool run(const std::function<void()>& action);

    void showAll();
    void showPlayers();
    void showTeam();
    void showPositions(TeamListe liste);
    TeamListWidget* listOf(TeamListe liste) const;

    Interaction& interaction_;
    Teamauswahl auswahl_;
    bool updating_ = false;

    QListWidget* klassen_;
    TeamListWidget* gemeldet_;
    QComboBox* teamname_;
    QComboBox* verein_;
    TeamListWidget* spieler_;
    TeamListWidget* reserve_;
    TeamListWidget* doppel1_;
    TeamListWidget* doppel2_;
    QPushButton* neuesTeam_;
    QPushButton* loeschen_;
    QPushButton* uebernehmen_;
    QPushButton* zurueck_;
};
