#include "entries/klassen_alter.h"

#include "common/interaction.h"
#include "entries/klassen.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QRegularExpression>

namespace altersklassen {

std::optional<QDate> parseDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString formatDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

} // namespace altersklassen

Altersklassenverwaltung::Altersklassenverwaltung(AppState& state, Tdb_procedures& db,
                                                 Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction) {}

std::optional<AgeClass> Altersklassenverwaltung::find(const QString& name) {
    const Row r = db_.selectOne(QStringLiteral("SELECT * FROM Altersklasse WHERE TID=:ID AND name=:k"),
                                {{":ID", state_.tid}, {":k", name}});
    if (r.isEmpty()) return std::nullopt;
    return AgeClass{r.text(u"name"), r.date(u"von"), r.date(u"bis"), r.boolean(u"aelter"),
                    r.boolean(u"juenger")};
}

std::optional<QString> Altersklassenverwaltung::save(const AltersklassenEingabe& in) {
    using altersklassen::parseDate;
    const QString name = in.name.trimmed();
    if (name == klassen::ohneBeschraenkung()) {
        interaction_.warning(
            QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden"));
        return std::nullopt;
    }
    if (name.isEmpty()) {
        interaction_.warning(QStringLiteral("Sie müssen eine Bezeichnung für die Altersklasse eingeben"));
        return std::nullopt;
    }
    // A bound may stay empty only where its flag opens that side; typed text must be a real date.
    const QString vonText = in.von.trimmed();
    const QString bisText = in.bis.trimmed();
    const std::optional<QDate> von = parseDate(vonText);
    const std::optional<QDate> bis = parseDate(bisText);
    if ((!von && (!vonText.isEmpty() || !in.juenger)) || (!bis && (!bisText.isEmpty() || !in.aelter))) {
        interaction_.warning(QStringLiteral("Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)"));
        return std::nullopt;
    }
    if (von && bis && *von > *bis) {
        interaction_.warning(QStringLiteral("Das Datum \"von\" darf nicht nach dem Datum \"bis\" liegen"));
        return std::nullopt;
    }

    const QVariant vonValue = von ? QVariant(*von) : QVariant();
    const QVariant bisValue = bis ? QVariant(*bis) : QVariant();
    Transaction t(db_);
    const Row existing =
        db_.selectOne(QStringLiteral("SELECT name FROM Altersklasse WHERE TID=:ID AND name=:k"),
                      {{":ID", state_.tid}, {":k", name}});
    if (existing.isEmpty()) {
        db_.exec(QStringLiteral("INSERT INTO Altersklasse VALUES(:d1,:d2,:d3,:d4,:d5,:d6)"),
                 {{":d1", state_.tid},
                  {":d2", name},
                  {":d3", vonValue},
                  {":d4", bisValue},
                  {":d5", in.aelter},
                  {":d6", in.juenger}});
    } else {
        db_.exec(QStringLiteral(
                     "UPDATE Altersklasse SET [name]=:d1,[von]=:d2,[bis]=:d3,[aelter]=:d4,[juenger]=:d5 "
                     "WHERE TID=:ID AND name=:k"),
                 {{":d1", name},
                  {":d2", vonValue},
                  {":d3", bisValue},
                  {":d4", in.aelter},
                  {":d5", in.juenger},
                  {":ID", state_.tid},
                  {":k", name}});
    }
    t.commit();
    return name;
}

bool Altersklassenverwaltung::remove(const QString& name) {
    if (name.trimmed() == klassen::ohneBeschraenkung()) {
        interaction_.warning(
            QStringLiteral("Die Altersklasse \"ohne Beschränkung\" kann nicht gelöscht werden"));
        return false;
    }
    db_.exec(QStringLiteral("DELETE FROM Altersklasse WHERE TID=:ID AND name=:k"),
             {{":ID", state_.tid}, {":k", name.trimmed()}});
    return true;
}
