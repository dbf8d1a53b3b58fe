#include "results/tabellen_db.h"

#include "store/db_procedures.h"

namespace tabellen {

TabellenRow fromRow(const Row& r) {
    TabellenRow t;
    t.KID = r.integer(u"KID");
    t.GID = r.integer(u"GID");
    t.pos = r.integer(u"pos");
    t.SID = r.integer(u"SID");
    t.bez = r.text(u"bez");
    t.spielanzahl = r.integer(u"spielanzahl");
    t.spielegewonnen = r.integer(u"spielegewonnen");
    t.spieleverloren = r.integer(u"spieleverloren");
    t.saetzegewonnen = r.integer(u"saetzegewonnen");
    t.saetzeverloren = r.integer(u"saetzeverloren");
    t.punktegewonnen = r.integer(u"punktegewonnen");
    t.punkteverloren = r.integer(u"punkteverloren");
    t.matchegewonnen = r.integer(u"matchegewonnen");
    t.markiert = r.boolean(u"markiert");
    t.matcheverloren = r.integer(u"matcheverloren");
    t.parentGID = r.isNull(u"parentGID") ? -1 : r.integer(u"parentGID");
    t.parentpos = r.isNull(u"parentpos") ? -1 : r.integer(u"parentpos");
    t.phase = r.integer(u"phase");
    return t;
}

QVector<TabellenRow> gruppeLesen(Tdb_procedures& db, int kid, int gid) {
    QVector<TabellenRow> out;
    const Rows rows =
        db.select(QStringLiteral("SELECT * FROM Tabellen WHERE KID=:ID AND GID=:gid ORDER BY pos"),
                  {{QStringLiteral(":ID"), kid}, {QStringLiteral(":gid"), gid}});
    out.reserve(rows.size());
    for (const Row& r : rows)
        out << fromRow(r);
    return out;
}

void zeileSchreiben(Tdb_procedures& db, const TabellenRow& t) {
    db.exec(QStringLiteral("UPDATE Tabellen SET pos=:pos,spielanzahl=:anzahl,matchegewonnen=:m_gew,"
                           "matcheverloren=:m_ver,spielegewonnen=:sp_gew,spieleverloren=:sp_verl,"
                           "saetzegewonnen=:s_gew,saetzeverloren=:s_verl,punktegewonnen=:p_gew,"
                           "punkteverloren=:p_verl WHERE KID=:ID AND GID=:g AND SID=:sid"),
            {{QStringLiteral(":pos"), t.pos},
             {QStringLiteral(":anzahl"), t.spielanzahl},
             {QStringLiteral(":m_gew"), t.matchegewonnen},
             {QStringLiteral(":m_ver"), t.matcheverloren},
             {QStringLiteral(":sp_gew"), t.spielegewonnen},
             {QStringLiteral(":sp_verl"), t.spieleverloren},
             {QStringLiteral(":s_gew"), t.saetzegewonnen},
             {QStringLiteral(":s_verl"), t.saetzeverloren},
             {QStringLiteral(":p_gew"), t.punktegewonnen},
             {QStringLiteral(":p_verl"), t.punkteverloren},
             {QStringLiteral(":ID"), t.KID},
             {QStringLiteral(":g"), t.GID},
             {QStringLiteral(":sid"), t.SID}});
}

void aenderungenSchreiben(Tdb_procedures& db, const QVector<TabellenRow>& alt,
                          const QVector<TabellenRow>& neu) {
    for (TabellenRow n : neu) {
        bool gleich = false;
        for (const TabellenRow& a : alt)
            if (a.SID == n.SID) {
                // The mark lives only in the ranking run; it is not what is stored.
                n.markiert = a.markiert;
                gleich = a == n;
                break;
            }
        if (!gleich) zeileSchreiben(db, n);
    }
}

} // namespace tabellen
