#include "play/freilos.h"

#include "play/matchrecord.h"
#include "store/db_procedures.h"

namespace freilos {

namespace {

const QString kFreilos = QStringLiteral("Freilos");

Seite bye(const Seite& origin) {
    return {kSeiteFreilos, kFreilos, origin.parentGID, origin.parentpos};
}

Ersetzung replace(int seite, const QString& bez, const Seite& by) {
    return {seite, bez, by.sid, by.name, by.parentGID, by.parentpos};
}

// The two tables a match lives in: its row in Spielplan and the rubbers of a team match in Teamspiele,
// whose sides are the teams (MID1, MID2).
struct Table {
    QString result[3];  // winner and loser of the match in modes 1, 2, 3
    QString replace[2]; // a side 1 / side 2 named :bez
};

const Table kSpielplan{
    {QStringLiteral(
         "UPDATE Spielplan SET siegerSID=SID2,verliererSID=SID1 WHERE spielnummer=:snr AND KID=:ID"),
     QStringLiteral(
         "UPDATE Spielplan SET siegerSID=SID1,verliererSID=SID2 WHERE spielnummer=:snr AND KID=:ID"),
     QStringLiteral("UPDATE Spielplan SET siegerSID=-2,verliererSID=-2 WHERE spielnummer=:snr AND KID=:ID")},
    {QStringLiteral("UPDATE Spielplan SET SID1=:neueSID,spieler1=:b,parentGID1=:pg,parentpos1=:pp "
                    "WHERE KID=:ID AND spieler1=:bez"),
     QStringLiteral("UPDATE Spielplan SET SID2=:neueSID,spieler2=:b,parentGID2=:pg,parentpos2=:pp "
                    "WHERE KID=:ID AND spieler2=:bez")}};

const Table kTeamspiele{
    {QStringLiteral(
         "UPDATE Teamspiele SET siegerSID=MID2,verliererSID=MID1 WHERE spielnummer=:snr AND KID=:ID"),
     QStringLiteral(
         "UPDATE Teamspiele SET siegerSID=MID1,verliererSID=MID2 WHERE spielnummer=:snr AND KID=:ID"),
     QStringLiteral("UPDATE Teamspiele SET siegerSID=-2,verliererSID=-2 WHERE spielnummer=:snr AND KID=:ID")},
    {QStringLiteral("UPDATE Teamspiele SET MID1=:neueSID,spieler1=:b,parentGID1=:pg,parentpos1=:pp "
                    "WHERE KID=:ID AND spieler1=:bez"),
     QStringLiteral("UPDATE Teamspiele SET MID2=:neueSID,spieler2=:b,parentGID2=:pg,parentpos2=:pp "
                    "WHERE KID=:ID AND spieler2=:bez")}};

void write(Tdb_procedures& db, int kid, Modus modus, int snr, const QVector<Ersetzung>& list,
           const Table& table) {
    db.exec(table.result[modus - 1], {{QStringLiteral(":snr"), snr}, {QStringLiteral(":ID"), kid}});
    for (const Ersetzung& e : list)
        db.exec(table.replace[e.seite - 1], {{QStringLiteral(":neueSID"), e.sid},
                                             {QStringLiteral(":b"), e.name},
                                             {QStringLiteral(":pg"), e.parentGID},
                                             {QStringLiteral(":pp"), e.parentpos},
                                             {QStringLiteral(":ID"), kid},
                                             {QStringLiteral(":bez"), e.bez}});
}

} // namespace

Modus modusOf(int sid1, int sid2) {
    const bool bye1 = sid1 == kSeiteFreilos;
    const bool bye2 = sid2 == kSeiteFreilos;
    if (bye1 && bye2) return Beide;
    if (bye1) return ErsteSeite;
    if (bye2) return ZweiteSeite;
    return KeinFreilos;
}

QString siegerVon(int snr) {
    return QStringLiteral("Sieger Spiel ") + QString::number(snr);
}

QString verliererVon(int snr) {
    return QStringLiteral("Verlierer Spiel ") + QString::number(snr);
}

QVector<Ersetzung> ersetzungen(Modus modus, int snr, const Seite& s1, const Seite& s2) {
    const QString w = siegerVon(snr);
    const QString v = verliererVon(snr);
    switch (modus) {
    case ErsteSeite: // side 2 wins; the bye keeps the origin of side 1
        return {replace(1, w, s2), replace(1, v, bye(s1)), replace(2, w, s2), replace(2, v, bye(s1))};
    case ZweiteSeite:
        return {replace(1, w, s1), replace(1, v, bye(s2)), replace(2, w, s1), replace(2, v, bye(s2))};
    case Beide: // both next sides get a bye; each keeps the origin of the side it stands for
        return {replace(1, w, bye(s1)), replace(1, v, bye(s2)), replace(2, w, bye(s2)),
                replace(2, v, bye(s1))};
    case KeinFreilos:
        break;
    }
    return {};
}

QVector<Ersetzung> settle(Tdb_procedures& db, int kid, Modus modus, int snr, const Seite& s1,
                          const Seite& s2) {
    if (modus == KeinFreilos) return {};
    const QVector<Ersetzung> list = ersetzungen(modus, snr, s1, s2);
    Transaction t(db);
    write(db, kid, modus, snr, list, kSpielplan);
    write(db, kid, modus, snr, list, kTeamspiele);
    t.commit();
    return list;
}

} // namespace freilos

void db_freilos(Tdb_procedures& db, int kid, freilos::Modus modus, int snr, int sid1, int sid2,
                const QString& name1, const QString& name2) {
    const Row r =
        db.selectOne(QStringLiteral("SELECT parentGID1,parentGID2,parentpos1,parentpos2 FROM Spielplan "
                                    "WHERE KID=:ID AND spielnummer=:snr"),
                     {{QStringLiteral(":ID"), kid}, {QStringLiteral(":snr"), snr}});
    const freilos::Seite s1{sid1, name1, r.integer(u"parentGID1"), r.integer(u"parentpos1")};
    const freilos::Seite s2{sid2, name2, r.integer(u"parentGID2"), r.integer(u"parentpos2")};
    freilos::settle(db, kid, modus, snr, s1, s2);
}
