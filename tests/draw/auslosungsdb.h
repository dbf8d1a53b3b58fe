#pragma once

#include "support/testdb.h"

#include <QStringList>
#include <utility>

// Rows as the class, player, team, settings and result parts would leave them. Everything belongs to
// tournament 1.
class Auslosungsdb : public DbTest {
protected:
    void klasse(int kid, int system, int platten = 4) {
        db().exec(
            QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, platten) VALUES "
                           "(:k,1,:s,:n,:p)"),
            {{":k", kid}, {":s", system}, {":n", QStringLiteral("Klasse %1").arg(kid)}, {":p", platten}});
    }
    void spieler(int sid, const QString& nachname, const QString& vorname, const QString& verein,
                 bool angemeldet = true) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (1,:s,:n,:v,:c,:a)"),
                  {{":s", sid}, {":n", nachname}, {":v", vorname}, {":c", verein}, {":a", angemeldet}});
    }
    void melden(int kid, int sid) {
        db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1,:k,:s)"),
                  {{":k", kid}, {":s", sid}});
    }
    // A pair: entered, and two rows naming each other.
    void paar(int kid, int a, int b) {
        for (const auto& [s, p] : {std::pair{a, b}, std::pair{b, a}}) {
            melden(kid, s);
            db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,:p,NULL)"),
                      {{":k", kid}, {":s", s}, {":p", p}});
        }
    }
    void team(int kid, int mid, const QString& name, const QString& verein, int s1, bool angemeldet = true) {
        db().exec(QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, s1, angemeldet, verein) VALUES "
                                 "(1,:k,:m,:n,:s1,:a,:v)"),
                  {{":k", kid}, {":m", mid}, {":n", name}, {":s1", s1}, {":a", angemeldet}, {":v", verein}});
    }
    void gesetzt(int kid, int position, int sid, int partner = 0) {
        db().exec(QStringLiteral("INSERT INTO Gesetzt VALUES (:k,:p,:s,:ps)"),
                  {{":k", kid}, {":p", position}, {":s", sid}, {":ps", partner}});
    }
    void tisch(int kid, const QString& name) {
        db().exec(QStringLiteral("INSERT INTO Platten1 VALUES (:k,:p,1)"), {{":k", kid}, {":p", name}});
    }
    // phase1..3 then the four counts of each phase, as NULL where the phase does not exist.
    void einstellungen(int kid, const QVariantList& phasen, const QVariantList& zahlen, int gesetzt = 0) {
        Params p{{":d1", kid}};
        for (int i = 0; i < 3; ++i)
            p.append({QStringLiteral(":d%1").arg(i + 2), phasen[i]});
        for (int i = 0; i < 12; ++i)
            p.append({QStringLiteral(":d%1").arg(i + 5), zahlen[i]});
        p.append({QStringLiteral(":d17"), gesetzt});
        p.append({QStringLiteral(":d18"), QStringLiteral("Platte")});
        db().exec(
            QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,"
                           ":d10,:d11,:d12,:d13,:d14,:d15,:d16,:d17,:d18)"),
            p);
    }
    void spiel(int kid, int nummer, int phase, int sid1, const QString& s1, int sid2, const QString& s2) {
        db().exec(
            QStringLiteral("INSERT INTO Spielplan (KID, spielnummer, SID1, spieler1, SID2, spieler2, phase, "
                           "gruppe, TID) VALUES (:k,:n,:a,:sa,:b,:sb,:p,-1,1)"),
            {{":k", kid},
             {":n", nummer},
             {":a", sid1},
             {":sa", s1},
             {":b", sid2},
             {":sb", s2},
             {":p", phase}});
    }
    // Every row of a statement, its columns joined by "|".
    QStringList dump(const QString& sql, const Params& params = {}) {
        QStringList result;
        for (const Row& r : db().select(sql, params)) {
            QStringList fields;
            for (int i = 0; i < r.columnCount(); ++i)
                fields << r.at(i).toString();
            result << fields.join(u'|');
        }
        return result;
    }
    QStringList gruppenRows(int kid, const QString& where = QString()) {
        return dump(QStringLiteral("SELECT * FROM Gruppen WHERE KID=:k %1 ORDER BY GID,pos").arg(where),
                    {{":k", kid}});
    }
    QStringList tabellenRows(int kid, const QString& where = QString()) {
        return dump(QStringLiteral("SELECT * FROM Tabellen WHERE KID=:k %1 ORDER BY GID,pos").arg(where),
                    {{":k", kid}});
    }
    QStringList plattenRows(int kid, const QString& where = QString()) {
        return dump(
            QStringLiteral("SELECT * FROM Platten WHERE KID=:k %1 ORDER BY phase,GID,platte").arg(where),
            {{":k", kid}});
    }
    QStringList allRows(int kid) { return gruppenRows(kid) + tabellenRows(kid) + plattenRows(kid); }
};
