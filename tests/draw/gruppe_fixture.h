#pragma once

#include "store/db_procedures.h"

#include <QString>
#include <QVariant>

// Rows of the tables the phase settings read, written directly as the class, player and team panels
// would leave them. Every player belongs to tournament 1.
namespace gruppedaten {

inline void addClass(Tdb_procedures& db, int kid, int system, const QString& name) {
    db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES (:k,1,:s,:n)"),
            {{":k", kid}, {":s", system}, {":n", name}});
}

inline void addPlayer(Tdb_procedures& db, int sid, const QString& nachname, const QString& vorname,
                      bool angemeldet = false, bool mann = true) {
    db.exec(
        QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet, mann, "
                       "frau) VALUES (1,:s,:n,:v,'TTC',:a,:m,:f)"),
        {{":s", sid}, {":n", nachname}, {":v", vorname}, {":a", angemeldet}, {":m", mann}, {":f", !mann}});
}

// The player's entry into the class.
inline void enter(Tdb_procedures& db, int kid, int sid) {
    db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1,:k,:s)"), {{":k", kid}, {":s", sid}});
}

// The player's row in a doubles or mixed class; an invalid partner stores NULL.
inline void doppel(Tdb_procedures& db, int kid, int sid, const QVariant& partner = QVariant()) {
    enter(db, kid, sid);
    db.exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,:p,NULL)"),
            {{":k", kid}, {":s", sid}, {":p", partner}});
}

// A complete pair: two rows naming each other.
inline void pair(Tdb_procedures& db, int kid, int a, int b) {
    doppel(db, kid, a, b);
    doppel(db, kid, b, a);
}

inline void addTeam(Tdb_procedures& db, int kid, int mid, const QString& name, bool angemeldet = false) {
    db.exec(QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, angemeldet, verein) VALUES "
                           "(1,:k,:m,:n,:a,'TTC')"),
            {{":k", kid}, {":m", mid}, {":n", name}, {":a", angemeldet}});
}

// A stored settings row: the 16 values after KID (phases, then the counts column by column, then the
// seed count); plattenbez is stored as given so a test can see whether the row was written again.
inline void storeSettings(Tdb_procedures& db, int kid, const QVariantList& values,
                          const QString& plattenbez = QStringLiteral("Platte")) {
    Params p{{":d1", kid}};
    for (int i = 0; i < values.size(); ++i)
        p.append({QStringLiteral(":d%1").arg(i + 2), values[i]});
    p.append({QStringLiteral(":d18"), plattenbez});
    db.exec(
        QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,"
                       ":d11,:d12,:d13,:d14,:d15,:d16,:d17,:d18)"),
        p);
}

} // namespace gruppedaten
