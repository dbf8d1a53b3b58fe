#include "play/planbereich.h"

#include "play/matchrecord.h"
#include "store/db_procedures.h"

namespace planbereich {

QString neulosenVerweigert(Tdb_procedures& db, int kid, int phase) {
    if (phase < 2 || phase > 3) return {};
    // Sides still waiting for a qualifier or a winner ("Sieger Gruppe A", "Sieger Spiel 3") count as
    // matches to be played: the phase before is not finished while they are open.
    const Rows rows = db.select(QStringLiteral("SELECT spieler1,spieler2,SID1,SID2 FROM Spielplan WHERE KID=:ID "
                                               "AND beendet=false AND phase=:p ORDER BY spielnummer"),
                                {{":ID", kid}, {":p", phase - 1}});
    for (const Row& r : rows) {
        // A match against a bye stays open for good: it never keeps the phase from being finished.
        if (r.integer(u"SID1") == kSeiteFreilos || r.integer(u"SID2") == kSeiteFreilos) continue;
        if (r.text(u"spieler1").isEmpty() || r.text(u"spieler2").isEmpty()) continue;
        return QStringLiteral("Phase %1 muss abgeschlossen sein um Phase %2 neu auszulosen").arg(phase - 1).arg(phase);
    }
    return {};
}

Spielerkarte spielerkarte(Tdb_procedures& db, int sid) {
    Spielerkarte k;
    k.sid = sid;
    const Row r = db.selectOne(QStringLiteral("SELECT nachname,vorname,verein,geb FROM Spielerdaten WHERE SID=:ID"),
                               {{":ID", sid}});
    if (r.isEmpty()) return k;
    k.gefunden = true;
    k.name = r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname");
    k.verein = r.text(u"verein");
    const QDate geb = r.date(u"geb");
    if (geb.isValid()) k.geburtsdatum = geb.toString(QStringLiteral("dd.MM.yyyy"));
    for (const Row& c :
         db.select(QStringLiteral("SELECT kbezeichnung FROM Turnierklassen as t INNER JOIN Spieler_im_Turnier as s "
                                  "ON t.kid=s.KID WHERE SID=:ID ORDER BY kbezeichnung"),
                   {{":ID", sid}}))
        k.klassen << c.text(u"kbezeichnung");
    return k;
}

int partner(Tdb_procedures& db, int sid, int kid) {
    return db
        .selectOne(QStringLiteral("SELECT partner_SID FROM Doppelpartner WHERE SID=:ID AND KID=:k"),
                   {{":ID", sid}, {":k", kid}})
        .integer(u"partner_SID");
}

} // namespace planbereich
