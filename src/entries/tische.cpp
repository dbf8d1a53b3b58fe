#include "entries/tische.h"

#include "store/db_procedures.h"

namespace tische {

QString defaultName(int position) {
    return QStringLiteral("Tisch %1").arg(position);
}

QStringList initialList() {
    return {defaultName(1)};
}

QStringList resized(QStringList list, int n) {
    if (n < 0) n = 0;
    while (list.size() > n)
        list.removeLast();
    while (list.size() < n)
        list.append(defaultName(list.size() + 1));
    return list;
}

std::optional<int> parseCount(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > kMaxCount) return std::nullopt;
    return n;
}

QStringList load(Tdb_procedures& db, int kid) {
    // Platten1 has no position column: the names of a class are written together, in list order, and
    // both engines give them back in the order written.
    const Rows rows = db.select(QStringLiteral("SELECT platte FROM Platten1 WHERE KID=:ID"), {{":ID", kid}});
    QStringList names;
    names.reserve(rows.size());
    for (const Row& r : rows)
        names << r.text(u"platte");
    return names;
}

void store(Tdb_procedures& db, int kid, int tid, const QStringList& list) {
    db.exec(QStringLiteral("DELETE FROM Platten1 WHERE KID=:ID"), {{":ID", kid}});
    for (const QString& name : list)
        db.exec(QStringLiteral("INSERT INTO Platten1 VALUES(:d1,:d2,:d3)"),
                {{":d1", kid}, {":d2", name}, {":d3", tid}});
}

} // namespace tische
