#pragma once

#include <QString>

// The entry record: what a line of an entry or seed list carries beside its text. An entry is a player
// (singles), a pair (doubles, mixed) or a team.
struct Myitem {
    // SID of the player; for a pair the SID of its first player; for a team its MID. 0 or -1 in an empty
    // seed slot.
    int id = 0;
    // SID of a pair's second player; -1 for a doubles player without partner; 0 for singles and teams.
    int partnerId = 0;
    // All of the entry's players are checked in.
    bool present = false;
    // 1-based seed number; -1 when not seeded.
    int seedNumber = -1;
    QString text;
    QString club;

    // The same entry: a pair is the same whichever of its players comes first.
    bool sameEntry(const Myitem& other) const {
        if (id == other.id && partnerId == other.partnerId) return true;
        return partnerId > 0 && id == other.partnerId && partnerId == other.id;
    }
};
