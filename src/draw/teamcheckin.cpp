#include "draw/teamcheckin.h"

#include "store/appstate.h"
#include "store/db_procedures.h"

namespace {
const char* const kColumns[TeamMelden::kPositionen] = {"s1", "s2", "s3", "s4", "r1", "r2"};
}

TeamMelden::TeamMelden(AppState& state, Tdb_procedures& db) : state_(state), db_(db) {}

void TeamMelden::teamanmeldung(int mid, bool anmelden) {
    db_.exec(QStringLiteral("UPDATE Teams SET angemeldet=:g WHERE TID=:ID AND MID=:s"),
             {{":g", anmelden}, {":ID", state_.tid}, {":s", mid}});
}

void TeamMelden::laden(int mid, bool anmelden) {
    mid_ = mid;
    anmelden_ = anmelden;
    spieler_.clear();
    const Row team = db_.selectOne(QStringLiteral("SELECT * FROM Teams WHERE MID=:ID"), {{":ID", mid}});
    if (team.isEmpty()) return;
    for (int i = 0; i < kPositionen; ++i) {
        const int sid = team.integer(QString::fromLatin1(kColumns[i]));
        if (sid <= 0) continue;
        bool twice = false;
        for (const TeamMeldeSpieler& s : spieler_)
            twice = twice || s.sid == sid;
        if (twice) continue;
        const Row p = db_.selectOne(
            QStringLiteral("SELECT SID,nachname,vorname FROM Spielerdaten WHERE SID=:ID"), {{":ID", sid}});
        if (p.isEmpty()) continue; // a player deleted since has nothing to mark
        spieler_.append({i, sid, p.text(u"nachname") + QStringLiteral(", ") + p.text(u"vorname"), true});
    }
}

QString TeamMelden::caption() const {
    return anmelden_ ? QStringLiteral("Team anmelden") : QStringLiteral("Team abmelden");
}

QString TeamMelden::boxCaption() const {
    return anmelden_ ? QStringLiteral("anmelden") : QStringLiteral("abmelden");
}

void TeamMelden::setAngekreuzt(int index, bool ticked) {
    if (index >= 0 && index < spieler_.size()) spieler_[index].angekreuzt = ticked;
}

void TeamMelden::uebernehmen() {
    Transaction t(db_);
    for (const TeamMeldeSpieler& s : spieler_) {
        if (!s.angekreuzt) continue;
        db_.exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:g WHERE TID=:ID AND SID=:s"),
                 {{":g", anmelden_}, {":ID", state_.tid}, {":s", s.sid}});
    }
    t.commit();
}
