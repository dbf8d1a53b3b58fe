#pragma once

#include <QString>

// One row of Tabellen: an entry's line in the standings of its group. `pos` is the current rank
// (0 = first); the counters are what its finished group matches added up to.
struct TabellenRow {
    int KID = 0;
    int GID = 0;
    int pos = 0;
    int SID = -1;
    QString bez;
    int spielanzahl = 0;
    int spielegewonnen = 0;
    int spieleverloren = 0;
    int saetzegewonnen = 0;
    int saetzeverloren = 0;
    int punktegewonnen = 0;
    int punkteverloren = 0;
    int matchegewonnen = 0;
    bool markiert = false;
    int matcheverloren = 0;
    int parentGID = -1;
    int parentpos = -1;
    int phase = 1;

    bool operator==(const TabellenRow&) const = default;
};
