#pragma once

#include <QString>
#include <QStringList>

class Tdb_procedures;

// What the plan area of a class asks the database beyond its drawings.
namespace planbereich {

// The warning that refuses "Phase neu auslosen" on the page of phase 2 or 3 while a match of the phase
// before is still to be played; empty when the redraw may go on (always on phase 1).
QString neulosenVerweigert(Tdb_procedures& db, int kid, int phase);

// The player card: "nachname, vorname", club, birth date, and the classes the player is entered in.
struct Spielerkarte {
    int sid = 0;
    QString name;
    QString verein;
    QString geburtsdatum;
    QStringList klassen;
    bool gefunden = false;
};
Spielerkarte spielerkarte(Tdb_procedures& db, int sid);
// The partner of player sid in a doubles or mixed class; 0 when there is none.
int partner(Tdb_procedures& db, int sid, int kid);

} // namespace planbereich
