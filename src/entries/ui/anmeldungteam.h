#pragma once

#include "entries/anmeldung.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;

// The team check-in dialog: after a team's mark was swapped it offers the team's players and reserves,
// each with a ticked box, to be checked in ("Team anmelden") or out ("Team abmelden") with the team.
// "Übernehmen" accepts, "Abbrechen" rejects; the caller writes the ticked players.
class Tteam_melden : public QDialog {
    Q_OBJECT
public:
    explicit Tteam_melden(QWidget* parent = nullptr);

    // Shows the team's filled positions, every box ticked.
    void zeigen(const TeamMeldung& meldung);
    // The players whose boxes are ticked, in the order of the positions.
    QList<int> ausgewaehlt() const;

    static constexpr int kPositionen = 6; // four players and two reserves

private:
    QLabel* team_;
    QLabel* names_[kPositionen];
    QCheckBox* boxes_[kPositionen];
    int sids_[kPositionen] = {};
};
