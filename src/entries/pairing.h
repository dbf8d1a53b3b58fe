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

    // Runs after every save of a player, outside the save's transaction, with panel.loadedSid() as the
    // player: stores the pairings named by panel.partnerLines().
    virtual void reconcile(Spielerverwaltung& panel) { (void)panel; }
};
