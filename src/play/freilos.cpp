#include "play/freilos.h"

#include "play/matchrecord.h"
#include "store/db_procedures.h"

#include <QHash>

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

namespace {

// Winner and loser of a settled match or rubber, from its own sides as they read now.
void decide(Seiten& r, Modus modus) {
    switch (modus) {
    case ErsteSeite:
        r.siegerSID = r.seite[1].sid;
        r.verliererSID = r.seite[0].sid;
        break;
    case ZweiteSeite:
        r.siegerSID = r.seite[0].sid;
        r.verliererSID = r.seite[1].sid;
        break;
    case Beide:
        r.siegerSID = r.verliererSID = kSeiteFreilos;
        break;
    case KeinFreilos:
        break;
    }
}

} // namespace

void settleAll(QVector<Seiten>& matches, QVector<Seiten>& rubbers) {
    // Every side by its name, so a replacement finds the sides it changes without a scan of the plan.
    // A side is row * 2 + (side - 1); rubbers follow the matches.
    const int m = int(matches.size());
    auto row = [&](int ref) -> Seiten& { return ref / 2 < m ? matches[ref / 2] : rubbers[ref / 2 - m]; };
    QHash<QString, QVector<int>> byName;
    byName.reserve(2 * (matches.size() + rubbers.size()));
    for (int r = 0; r < m + rubbers.size(); ++r)
        for (int s = 0; s < 2; ++s)
            byName[row(2 * r + s).seite[s].name].append(2 * r + s);
    QHash<int, QVector<int>> rubbersOf;
    for (int r = 0; r < rubbers.size(); ++r)
        rubbersOf[rubbers[r].snr].append(r);

    for (int i = 0; i < m; ++i) {
        Seiten& match = matches[i];
        const Modus modus = modusOf(match.seite[0].sid, match.seite[1].sid);
        if (modus == KeinFreilos) continue;
        decide(match, modus);
        for (int r : rubbersOf.value(match.snr))
            decide(rubbers[r], modus);
        const QVector<Ersetzung> list = ersetzungen(modus, match.snr, match.seite[0], match.seite[1]);
        for (const Ersetzung& e : list) {
            auto it = byName.find(e.bez);
            if (it == byName.end()) continue;
            QVector<int> stay, moved;
            for (int ref : *it)
                (ref % 2 == e.seite - 1 ? moved : stay).append(ref);
            if (moved.isEmpty()) continue;
            *it = stay;
            for (int ref : moved)
                row(ref).seite[ref % 2] = {e.sid, e.name, e.parentGID, e.parentpos};
            byName[e.name] += moved;
        }
    }
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
