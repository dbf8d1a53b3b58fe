#pragma once

#include <QString>
#include <QVector>

class Tdb_procedures;

// Settling a match against a bye once the plan is written. The bye loses, the other side wins without
// playing, and both move on at once into every match that waits for "Sieger Spiel n" or
// "Verlierer Spiel n". The match itself stays open and is never playable. Because each replacement is
// written at once, a match that receives two byes is itself settled in mode 3 when its turn comes, and
// byes run on through the bracket.
namespace freilos {

// Which side of the match is the bye.
enum Modus { KeinFreilos = 0, ErsteSeite = 1, ZweiteSeite = 2, Beide = 3 };

// The mode for a match with these side values (-2 is a bye).
Modus modusOf(int sid1, int sid2);

// One side of a match as the settling reads it: entry, name and where it comes from.
struct Seite {
    int sid = -1;
    QString name;
    int parentGID = -1;
    int parentpos = -1;
    bool operator==(const Seite&) const = default;
};

// Every side `seite` (1 or 2) of the class named `bez` becomes sid/name with origin parentGID/parentpos.
struct Ersetzung {
    int seite = 1;
    QString bez;
    int sid = -1;
    QString name;
    int parentGID = -1;
    int parentpos = -1;
    bool operator==(const Ersetzung&) const = default;
};

// "Sieger Spiel n" and "Verlierer Spiel n": the names of the sides that wait for match n.
QString siegerVon(int snr);
QString verliererVon(int snr);

// The four replacements of settling match snr in `modus`, in the order they are written: sides 1 named
// W, sides 1 named V, sides 2 named W, sides 2 named V.
QVector<Ersetzung> ersetzungen(Modus modus, int snr, const Seite& s1, const Seite& s2);

// Writes the settling of match snr of class kid with its sides as read: winner and loser of the match,
// then the replacements, first in Spielplan, then the same in Teamspiele. Gives the replacements so a
// caller holding the class's matches in memory can follow them.
QVector<Ersetzung> settle(Tdb_procedures& db, int kid, Modus modus, int snr, const Seite& s1,
                          const Seite& s2);

// A row whose sides settling changes: a match (nummer 0) or a rubber of team match snr.
struct Seiten {
    int snr = 0;
    int nummer = 0;
    Seite seite[2];
    int siegerSID = -1;
    int verliererSID = -1;
    bool operator==(const Seiten&) const = default;
};

// Settles every match of a plan held in memory, in increasing number, each as it reads after those before
// it, exactly as settle() on the stored rows would: winner and loser of the match and of its rubbers, and
// the replacements into every side of `matches` and `rubbers` named after it. `matches` must be in
// increasing number. Byes run on: a match that receives two byes is settled in mode 3 when its turn comes.
void settleAll(QVector<Seiten>& matches, QVector<Seiten>& rubbers);

} // namespace freilos

// Settles match snr of class kid: reads where its two sides come from and runs settle().
void db_freilos(Tdb_procedures& db, int kid, freilos::Modus modus, int snr, int sid1, int sid2,
                const QString& name1, const QString& name2);
