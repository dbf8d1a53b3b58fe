#pragma once

#include "draw/teamsystem.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

class Interaction;
class Tdb_procedures;

// What the dialog "Teamsystem bearbeiten" holds: the team size, the reserves and the text of each of the
// 18 rubber boxes as typed. The dialog shows this state and forwards the user's edits.
class TeamsystemEingabe {
public:
    using Seite = teamsystem::Seite;
    // A box: its side and its rubber, 0 to 8.
    using Box = std::pair<Seite, int>;

    explicit TeamsystemEingabe(Interaction& interaction);

    // `system_laden`: the class's stored team system, or a new class's when it has none.
    void laden(Tdb_procedures& db, int kid);
    // Shows a team system in the boxes (a new class's, or one kept by the caller).
    void zeigen(const TeamSystem& system, int kid = 0);
    int kid() const { return kid_; }

    int spieler() const { return spieler_; }
    // Negative values become 0, values above 4 become 4; the choices of every box follow.
    void setSpieler(int spieler);
    int reserve() const { return reserve_; }
    void setReserve(int reserve);

    QStringList choices(Seite seite) const { return teamsystem::choices(spieler_, seite); }
    QString text(Seite seite, int spiel) const;
    void setText(Seite seite, int spiel, const QString& text);

    // Leaving a box: a choice stays (written as the choice is spelled); other text that is not blank is
    // refused with the warning and the box is cleared. False when refused.
    bool verlassen(Seite seite, int spiel);
    // Checks every box as if it were left; stops at the first refusal and names that box.
    std::optional<Box> pruefen();

    // The codes of the boxes. A box that holds no choice names nobody, so its rubber is not played.
    TeamSystem system() const;

private:
    QString& box(Seite seite, int spiel);

    Interaction& interaction_;
    int kid_ = 0;
    int spieler_ = teamsystem::kMaxSpieler;
    int reserve_ = teamsystem::kMaxReserve;
    std::array<QString, teamsystem::kSpiele> a_;
    std::array<QString, teamsystem::kSpiele> b_;
};
