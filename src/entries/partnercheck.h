#pragma once

#include "entries/pairing.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Tdb_procedures;
class Spielerverwaltung;
struct PartnerLine;

// A player who may be chosen as partner.
struct PartnerKandidat {
    int sid = 0;
    QString text; // "nachname, vorname"
};

// The pair row of player sid in class kid; partner 0 writes NULL (a player without partner).
void doppelinsert(Tdb_procedures& db, int kid, int sid, int partner, const QVariant& mannschaft = QVariant());

// The players offered as partner of player `sid` in class `kid`: everyone entered in the class except
// himself; in a mixed class only those of the other sex than `mann` says. Sorted as German readers sort.
QList<PartnerKandidat> partnerKandidaten(Tdb_procedures& db, int kid, int sid, bool mixed, bool mann);

// The partner's text of a partner line: what follows the class, the ':' and one blank.
QString partnerTextOf(const Spielerverwaltung& panel, const PartnerLine& line);

// Storing the pairings of a player when he is saved (`partnercheck`). prepare() reads what the partner
// lines name and asks the user where a partner already plays with someone else; store() then writes the
// Doppelpartner rows inside the save's transaction:
//  - all rows of the player are rewritten and every reference to him as partner is cleared first, so a
//    partner taken off the list is left without partner;
//  - a line naming a partner makes the pair rows (class, player, partner) and (class, partner, player);
//    a partner who played with a third player is taken from him when the user agrees, otherwise the
//    player stays without partner and the other pair is kept;
//  - a line naming nobody, or a text that is no player of the tournament, leaves the player alone.
// A partner without a row in the class is paired when he is entered in it (he came by an entry that wrote
// no row) and otherwise ignored, so the player is never left without his own row. A team line keeps the
// player's team name, which only the team administration maintains.
class Partnercheck : public PairingHook {
public:
    static const QString kGleichesGeschlecht; // "Beide Spieler haben das gleiche Geschlecht"

    // What the save does in one class.
    struct Schritt {
        int kid = 0;
        int partner = 0; // 0: the player is without partner in the class
    };

    bool prepare(Spielerverwaltung& panel) override;
    void store(Spielerverwaltung& panel, int sid) override;

    // The steps the last successful prepare() decided, in the order of the partner lines.
    const QList<Schritt>& plan() const { return plan_; }

private:
    QList<Schritt> plan_;
};

// The working state of the dialog "Doppelpartner" for one partner line of the player panel.
class Doppelauswahl {
public:
    // Opening the dialog: the class of the line, the partner it names and the candidates.
    Doppelauswahl(Spielerverwaltung& panel, int line, const QString& caption);

    // The class caption ("Doppel - Herren:").
    QString caption() const { return caption_; }
    // The partner the line names now.
    QString current() const { return current_; }
    const QList<PartnerKandidat>& kandidaten() const { return kandidaten_; }
    QStringList kandidatenTexte() const;
    bool mixed() const { return mixed_; }

    // "Übernehmen" with the partner text: replaces the panel's line and marks the player changed. False,
    // after the warning, when the text names a player of the same sex in a mixed class.
    bool take(const QString& text);

private:
    Spielerverwaltung& panel_;
    int line_ = -1;
    int kid_ = 0;
    bool mixed_ = false;
    QString caption_;
    QString current_;
    QList<PartnerKandidat> kandidaten_;
};
