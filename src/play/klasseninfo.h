#pragma once

#include <QDate>
#include <QString>

class Tdb_procedures;

// The settings of the class whose plans are open, read once when the plans open (`infosladen`).
// Index 0 … 2 stands for phases 1 … 3.
struct Klasseninfo {
    int KID = 0;
    int phase[3] = {-1, -1, -1};       // 0 groups, 1 single knock-out, 2 double knock-out, -1 absent
    int gruppen[3] = {-1, -1, -1};     // groups per phase
    int teilnehmer[3] = {0, 0, 0};     // places per group
    int besten[3] = {0, 0, 0};         // qualifiers per group
    int bestplazierten[3] = {0, 0, 0}; // additional best-placed qualifiers
    QString plattenbez;
    int platten = 0;
    int system = 0;                    // 0 Einzel, 1 Doppel, 2 Mixed, 3 Team
    int saetze = 3;                    // winning sets
    QDate atag;                        // start day; invalid when NULL
    int uhrzeit = 0;                   // start time in minutes after midnight, 0 when NULL
    int rubbers = 0;                   // team classes: rubbers of the team system
    int teamgroesse = 0;               // team classes: players per team
    bool found = false;                // false when the class has no settings row

    bool isTeam() const { return system == 3; }
    // Some phase is a knock-out phase.
    bool hasKnockout() const;
    // The first GID of phase p (1 … 3): groups are numbered across the phases.
    int firstGid(int p) const;
};

Klasseninfo infosladen(Tdb_procedures& db, int kid);
