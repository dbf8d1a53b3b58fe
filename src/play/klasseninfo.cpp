#include "play/klasseninfo.h"

#include "store/db_procedures.h"

#include <QTime>
#include <algorithm>

bool Klasseninfo::hasKnockout() const {
    for (int p : phase)
        if (p == 1 || p == 2) return true;
    return false;
}

int Klasseninfo::firstGid(int p) const {
    // Only group phases number groups; a knock-out phase before takes no GIDs.
    int gid = 0;
    for (int k = 1; k < p && k <= 3; ++k)
        if (phase[k - 1] == 0) gid += std::max(gruppen[k - 1], 0);
    return gid;
}

Klasseninfo infosladen(Tdb_procedures& db, int kid) {
    Klasseninfo info;
    info.KID = kid;

    const Rows settings = db.select(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"),
                                    {{QStringLiteral(":k"), kid}});
    if (!settings.isEmpty()) {
        const Row& r = settings.first();
        info.found = true;
        const auto orMinusOne = [&](const QString& column) {
            return r.isNull(column) ? -1 : r.integer(column);
        };
        for (int n = 1; n <= 3; ++n) {
            const QString s = QString::number(n);
            info.phase[n - 1] = orMinusOne(QStringLiteral("phase") + s);
            info.gruppen[n - 1] = orMinusOne(QStringLiteral("gruppenanzahl") + s);
            info.teilnehmer[n - 1] = r.integer(QStringLiteral("teilnehmer") + s);
            info.besten[n - 1] = r.integer(QStringLiteral("besten") + s);
            info.bestplazierten[n - 1] = r.integer(QStringLiteral("bestplazierten") + s);
        }
        info.plattenbez = r.text(u"plattenbez");
    }

    const Row k = db.selectOne(QStringLiteral("SELECT saetze,system,platten,atag,uhrzeit FROM Turnierklassen "
                                              "WHERE KID=:k"),
                               {{QStringLiteral(":k"), kid}});
    info.platten = k.integer(u"platten");
    info.system = k.integer(u"system");
    // A class stored without winning sets is played to the usual three.
    if (k.integer(u"saetze") > 0) info.saetze = k.integer(u"saetze");
    info.atag = k.date(u"atag");
    if (!k.isNull(u"uhrzeit")) {
        const QTime t = k.time(u"uhrzeit");
        info.uhrzeit = t.isValid() ? t.hour() * 60 + t.minute() : 0;
    }

    const Row t =
        db.selectOne(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:k"), {{QStringLiteral(":k"), kid}});
    info.teamgroesse = t.integer(u"spieler");
    if (!t.isEmpty())
        for (int n = 1; n <= 9; ++n)
            if (!t.isNull(QStringLiteral("s%1a").arg(n)) && !t.isNull(QStringLiteral("s%1b").arg(n)))
                ++info.rubbers;
    return info;
}
