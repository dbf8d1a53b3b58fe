#pragma once

#include "draw/teamsystem.h"
#include "draw/teamsystemeingabe.h"

#include <QDialog>
#include <array>

class QComboBox;
class QPushButton;
class QSpinBox;
struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;

// "Teamsystem bearbeiten": the team size, the reserves and the order of the rubbers of a team class.
// The class panel loads the class's row into it (system_laden), opens it with edit() and, when the class
// is saved, writes teamsystem() with the class (teamsystem::einfuegen / aendern / speichern).
class Tteamform : public QDialog {
    Q_OBJECT
public:
    Tteamform(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
              QWidget* parent = nullptr);

    // Fills the dialog from the class's stored row (a new class's team system when it has none).
    // A database error propagates to the caller.
    void system_laden(int kid);
    // A new class: full teams, no rubbers.
    void neu();
    // "Teamsystem" on the class panel: shows the dialog for the class, loading the class's row first
    // when the dialog holds another class. Blocks the other windows until it closes.
    void edit(int kid);
    // As edit(), but showing the team system the class panel holds (perhaps confirmed, not yet saved).
    void edit(int kid, const TeamSystem& current);

    // The team system as confirmed with "Übernehmen" (or as loaded).
    TeamSystem teamsystem() const { return confirmed_; }
    int kid() const { return eingabe_.kid(); }

signals:
    // "Übernehmen": the class has changed and must be saved.
    void uebernommen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fill(const TeamSystem& system, int kid);
    void spielerChanged(int value);
    void rebuildChoices();
    bool leaveBox(QComboBox* box);
    void uebernehmen();
    void zurueck();
    QComboBox* boxOf(teamsystem::Seite seite, int spiel) const;

    Tdb_procedures& db_;
    Interaction& interaction_;
    TeamsystemEingabe eingabe_;
    TeamSystem confirmed_;
    bool updating_ = false;
    bool checking_ = false;

    QSpinBox* spieler_;
    QSpinBox* reserve_;
    std::array<QComboBox*, teamsystem::kSpiele> a_{};
    std::array<QComboBox*, teamsystem::kSpiele> b_{};
    QPushButton* uebernehmen_;
    QPushButton* zurueck_;
};
