#include "entries/ageclass.h"

#include "store/db_procedures.h"

bool admitsBirthDate(const AgeClass& a, const QDate& birth) {
    const bool hasVon = a.von.isValid();
    const bool hasBis = a.bis.isValid();
    if (!hasVon && !hasBis) return true;
    if (hasVon && hasBis && a.von <= birth && birth <= a.bis) return true;
    if (hasVon && a.aelter && birth <= a.von) return true;
    if (hasBis && a.juenger && birth >= a.bis) return true;
    return false;
}

std::optional<AgeClass> ageClassOfClass(Tdb_procedures& db, int kid) {
    const Row r = db.selectOne(
        QStringLiteral("SELECT a.* FROM Altersklasse AS a INNER JOIN Turnierklassen AS t ON a.name=t.altersklasseID "
                       "AND a.TID=t.TID WHERE KID=:d0"),
        {{":d0", kid}});
    if (r.isEmpty()) return std::nullopt;
    return AgeClass{r.text(u"name"), r.date(u"von"), r.date(u"bis"), r.boolean(u"aelter"), r.boolean(u"juenger")};
}
