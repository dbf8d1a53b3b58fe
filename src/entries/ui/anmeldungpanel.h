#pragma once

#include "entries/anmeldung.h"

#include <QWidget>
#include <memory>

namespace Ui {
class AnmeldungPanel;
}

struct AppState;
class Clock;
class Interaction;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class Tdb_procedures;
class Tteam_melden;

// The panel "Spieleranmeldung" (objectName `Anmeldung`): every player and team of the tournament, marked
// present or absent with the keyboard alone. Typing the first letters of a surname (team name) selects
// the entrant, ENTER swaps the mark, Ctrl+ENTER starts a new player or team. Shows the state of
// Anmeldung and forwards the operator's actions to it.
class AnmeldungPanel : public QWidget {
    Q_OBJECT
public:
    AnmeldungPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                   QWidget* parent = nullptr);
    ~AnmeldungPanel() override;

    // Called when the panel is brought to front ("Spieleranmeldung"): both lists read afresh.
    void showPanel();

    const Anmeldung& anmeldung() const { return anmeldung_; }
    // The team check-in dialog that swapping a team's mark shows.
    Tteam_melden* teamDialog() const { return teamDialog_; }

signals:
    // Ctrl+ENTER in the player field: the players panel should start a new player with these names.
    void neuerSpieler(const QString& nachname, const QString& vorname);
    // Ctrl+ENTER in the team field or team list: the team dialog should start a new team of this name.
    void neuesTeam(const QString& teamname);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Seite { Spieler, Team };

    bool fieldKey(Seite seite, const QKeyEvent* key);
    bool listKey(Seite seite, const QKeyEvent* key);
    void typed(Seite seite, const QString& text);
    void rowChosen(Seite seite, int row);
    void step(Seite seite, int delta);
    void toggle(Seite seite);
    void checkClicked(Seite seite, bool checked);
    void setTeamMark(int mid, bool angemeldet);
    void newEntrant(Seite seite);
    void sortPlayers();
    void sortTeams();

    void showLists();
    void showList(Seite seite);
    void showFlags(Seite seite);
    void showSelection(Seite seite);
    void putNameIntoField(Seite seite);

    QLineEdit* field(Seite seite) const;
    QListWidget* list(Seite seite) const;
    QCheckBox* check(Seite seite) const;
    const QVector<AnmeldeEintrag>& entries(Seite seite) const;
    int selected(Seite seite) const;

    std::unique_ptr<Ui::AnmeldungPanel> ui_;
    Interaction& interaction_;
    Anmeldung anmeldung_;
    Tteam_melden* teamDialog_;
    bool updating_ = false; // set while the panel writes its own widgets, so no user action is reported
};
