#pragma once

#include "draw/teamcheckin.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;

// The team check-in dialog: after a team has been marked present or absent, its players and reserves
// are checked in or out together with it; the operator can untick anyone who is not there.
class Tteam_melden : public QDialog {
    Q_OBJECT
public:
    Tteam_melden(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                 QWidget* parent = nullptr);

    // The check-in of a team: writes the team's mark, then shows its players (zeigen).
    void teamanmeldung(int mid, bool anmelden);
    // Shows the players of the team with ticked boxes, captioned for checking in or out; blocks the other
    // windows until it closes.
    void zeigen(int mid, bool anmelden);

    const TeamMelden& melden() const { return melden_; }

signals:
    // Players were checked in or out; the check-in lists read them again.
    void spielerGemeldet();

private:
    void uebernehmen();

    Interaction& interaction_;
    TeamMelden melden_;
    std::array<QLabel*, TeamMelden::kPositionen> namen_{};
    std::array<QCheckBox*, TeamMelden::kPositionen> boxen_{};
    QPushButton* uebernehmen_;
    QPushButton* abbrechen_;
};
