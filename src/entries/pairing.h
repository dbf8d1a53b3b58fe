#pragma once

#include <QString>

class Spielerverwaltung;

// Where the player panel hands over to doubles pairing. The panel knows the partner lines of the
// player in work; choosing a partner and storing the pairs is done behind this interface.
// The default does nothing, so the panel works on its own.
class PairingHook {
public:
    virtual ~PairingHook() = default;

    // A doubles or mixed partner line was chosen: let the user pick the partner. `line` indexes
    // panel.partnerLines(); `caption` is the line's text up to and including the first ':'.
    // A choice replaces the line through panel.replacePartnerLine().
    virtual void openPairing(Spielerverwaltung& panel, int line, const QString& caption) {
        (void)panel;
        (void)line;
        (void)caption;
    }

    // Runs on every save before anything is written: checks panel.partnerLines() and asks the user what
    // must be decided, so no question is open while the save holds the database. False refuses the save.
    virtual bool prepare(Spielerverwaltung& panel) {
        (void)panel;
        return true;
    }

    // Runs inside the save's transaction once the player has his id, after a prepare() that returned
    // true: stores the pairings as prepared. A failure rolls back the player's save with it.
    virtual void store(Spielerverwaltung& panel, int sid) {
        (void)panel;
        (void)sid;
    }
};
