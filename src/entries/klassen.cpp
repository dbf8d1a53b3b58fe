#include "entries/klassen.h"

#include "common/interaction.h"
#include "entries/tische.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QRegularExpression>

namespace klassen {

QString kindWord(int system) {
    switch (system) {
    case Doppel:
        return QStringLiteral("Doppel");
    case Mixed:
        return QStringLiteral("Mixed");
    case Team:
        return QStringLiteral("Team");
    default:
        return QStringLiteral("Einzel");
    }
}

QString kindSuffix(int system) {
    return QStringLiteral(" (%1)").arg(kindWord(system));
}

QString caption(const QString& name, int system) {
    return name + kindSuffix(system);
}

int kidOf(Tdb_procedures& db, int tid, const QString& name, int system) {
    return db
        .selectOne(QStringLiteral(
                       "SELECT KID FROM Turnierklassen WHERE TID=:k1 AND kbezeichnung=:k2 AND system=:k3"),
                   {{":k1", tid}, {":k2", name}, {":k3", system}})
        .integer(u"KID");
}

QString ohneBeschraenkung() {
    return QStringLiteral("ohne Beschränkung");
}

QString formatFee(double fee) {
    QString s = QString::number(fee, 'f', 2);
    if (s.endsWith(QLatin1String(".00"))) s.chop(3);
    s.replace(u'.', u',');
    return s;
}

std::optional<double> parseFee(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0.0;
    static const QRegularExpression re(QStringLiteral("^\\d{1,7}([,.]\\d{1,2})?$"));
    if (!re.match(t).hasMatch()) return std::nullopt;
    QString c = t;
    c.replace(u',', u'.');
    return c.toDouble();
}

std::optional<QTime> parseStartTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return QTime();
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})[:.](\\d{2})$"));
    const auto m = re.match(t);
    if (!m.hasMatch()) return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt());
    if (!time.isValid() || time == QTime(0, 0)) return std::nullopt;
    return time;
}

} // namespace klassen

namespace {

using namespace klassen;

// A number typed into an editable list; outside its range it falls back to the default.
int listNumber(const QString& text, int lowest, int highest, int fallback) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= lowest && n <= highest ? n : fallback;
}

// Every table that holds rows of a class, in the order they are cleared. The staging rows of an entry
// form name the class too: left behind they would enter players into a class that no longer exists.
const char* const kClassTables[] = {"Turnierklassen",
                                    "Gruppeneinstellungen",
                                    "Gesetzt",
                                    "Doppelpartner",
                                    "Spieler_im_Turnier",
                                    "Spielplan",
                                    "Gruppen",
                                    "Tabellen",
                                    "Platten",
                                    "Platten1",
                                    "Teams",
                                    "Teamsystem",
                                    "Schiri_im_turnier",
                                    "Teamspiele",
                                    "Import"};

} // namespace

Klassenverwaltung::Klassenverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction) {}

std::array<QList<Klassenverwaltung::Eintrag>, kKindCount> Klassenverwaltung::overview() {
    std::array<QList<Eintrag>, kKindCount> lists;
    const Rows rows = db_.select(
        QStringLiteral("SELECT KID,system,kbezeichnung FROM Turnierklassen WHERE TID=:ID ORDER BY KID"),
        {{":ID", state_.tid}});
    for (const Row& r : rows) {
        const int system = r.integer(u"system");
        if (system >= 0 && system < kKindCount)
            lists[system].append({r.integer(u"KID"), r.text(u"kbezeichnung")});
    }
    return lists;
}

QStringList Klassenverwaltung::ageClassNames() {
    const Rows rows = db_.select(QStringLiteral("SELECT name FROM Altersklasse WHERE TID=:ID ORDER BY name"),
                                 {{":ID", state_.tid}});
    QStringList names;
    names.reserve(rows.size() + 1);
    for (const Row& r : rows)
        names << r.text(u"name");
    names << ohneBeschraenkung();
    return names;
}

QDate Klassenverwaltung::firstDay() {
    return db_.selectOne(QStringLiteral("SELECT tvon FROM Turnierdaten WHERE TID=:ID"), {{":ID", state_.tid}})
        .date(u"tvon");
}

int Klassenverwaltung::lookupKid(const QString& name, int system) {
    return kidOf(db_, state_.tid, name, system);
}

KlassenFormular Klassenverwaltung::load(int kid) {
    const Row r =
        db_.selectOne(QStringLiteral("SELECT * FROM Turnierklassen WHERE KID=:key"), {{":key", kid}});
    KlassenFormular f;
    f.system = r.integer(u"system");
    f.kbezeichnung = r.text(u"kbezeichnung");
    f.kbeschreibung = r.text(u"kbeschreibung");
    f.spielberechtigung = r.text(u"spielberechtigung");
    f.mann = r.boolean(u"mann");
    f.frau = r.boolean(u"frau");
    f.gebuehr = formatFee(r.number(u"gebuehr"));
    f.min = QString::number(r.integer(u"min"));
    f.max = QString::number(r.integer(u"max"));
    f.saetze = QString::number(r.integer(u"saetze"));
    f.platten = QString::number(r.integer(u"platten"));
    f.altersklasse = r.text(u"altersklasseID");
    f.atag = r.date(u"atag");
    f.beginn = r.isNull(u"uhrzeit") ? QString() : r.time(u"uhrzeit").toString(QStringLiteral("HH:mm"));
    f.tische = tische::load(db_, kid);
    if (f.system == Team) f.teamsystem = teamsystem::laden(db_, kid);
    state_.kid = kid;
    return f;
}

bool Klassenverwaltung::validate(const KlassenFormular& f, int kid, Outcome* refusal) {
    *refusal = Outcome::Refused;
    const QString name = f.kbezeichnung.trimmed();
    if (name.isEmpty()) {
        interaction_.warning(QStringLiteral("Sie müssen einen Klassennamen eingeben"));
        return false;
    }
    // Names are unique within a kind; the class being changed may keep its own name.
    const int other = lookupKid(name, f.system);
    if (other != 0 && other != kid) {
        if (kid == 0) {
            interaction_.warning(QStringLiteral("Eine Klasse mit diesem Namen existiert bereits"));
        } else {
            interaction_.plain(QStringLiteral("Eine Klasse mit diesem Namen existiert bereits"));
            *refusal = Outcome::DuplicateName;
        }
        return false;
    }
    if (!ageClassNames().contains(f.altersklasse.trimmed())) {
        interaction_.warning(QStringLiteral("Die angegebene Altersklasse existiert nicht"));
        return false;
    }
    if (!parseStartTime(f.beginn)) {
        interaction_.warning(QStringLiteral("Geben Sie eine gültige Uhrzeit ein"));
        return false;
    }
    bool ok = false;
    const int saetze = f.saetze.trimmed().toInt(&ok);
    if (ok && saetze >= 6) {
        interaction_.warning(QStringLiteral("Geben Sie bitte eine Wert für Gewinnsätze <=5 ein"));
        return false;
    }
    if (!tische::parseCount(f.platten)) {
        interaction_.warning(QStringLiteral("Geben Sie eine gültige Zahl ein"));
        return false;
    }
    if (!parseFee(f.gebuehr)) {
        interaction_.warning(QStringLiteral("Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"));
        return false;
    }
    return true;
}

Klassenverwaltung::SaveResult Klassenverwaltung::save(const KlassenFormular& f, int kid) {
    SaveResult result;
    if (!validate(f, kid, &result.outcome)) return result;

    const int platten = *tische::parseCount(f.platten);
    const QTime uhrzeit = *parseStartTime(f.beginn);
    const Params values = {
        {":d1", state_.tid},
        {":d2", f.system},
        {":d3", f.kbezeichnung.trimmed()},
        {":d4", f.kbeschreibung.trimmed()},
        {":d5", f.spielberechtigung.trimmed()},
        {":d6", f.mann},
        {":d7", f.frau},
        {":d8", *parseFee(f.gebuehr)},
        {":d9", listNumber(f.min, 2, 24, 2)},
        {":d10", listNumber(f.max, 2, 24, 2)},
        {":d11", listNumber(f.saetze, 1, 5, 3)},
        {":d12", platten},
        {":d13", f.altersklasse.trimmed()},
        {":d14", f.atag},
        {":d15", uhrzeit.isValid() ? QVariant(uhrzeit) : QVariant()},
    };
    // The number of tables decides how many names are stored.
    const QStringList tables = tische::resized(f.tische, platten);

    Transaction t(db_);
    const bool isNew = kid == 0;
    if (isNew) {
        kid = db_.nextId(QStringLiteral("Turnierklassen"), QStringLiteral("KID"));
        Params insert = {{":d0", kid}};
        insert += values;
        insert += {{":d16", QStringLiteral("clCream")}};
        db_.exec(
            QStringLiteral("INSERT INTO Turnierklassen VALUES "
                           "(:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,:d13,:d14,:d15,:d16)"),
            insert);
    } else {
        Params update = values;
        update += {{":ID", kid}};
        db_.exec(
            QStringLiteral("UPDATE Turnierklassen SET [TID]=:d1,[system]=:d2,[kbezeichnung]=:d3,"
                           "[kbeschreibung]=:d4,[spielberechtigung]=:d5,[mann]=:d6,[frau]=:d7,[gebuehr]=:d8,"
                           "[min]=:d9,[max]=:d10,[saetze]=:d11,[platten]=:d12,[altersklasseID]=:d13,"
                           "[atag]=:d14,[uhrzeit]=:d15 WHERE KID=:ID"),
            update);
    }
    tische::store(db_, kid, state_.tid, tables);
    if (f.system == Team) teamsystem::schreiben(db_, state_.tid, kid, f.teamsystem);
    t.commit();

    state_.kid = kid;
    result.outcome = Outcome::Saved;
    result.kid = kid;
    return result;
}

void Klassenverwaltung::remove(int kid) {
    Transaction t(db_);
    for (const char* table : kClassTables)
        db_.exec(QStringLiteral("DELETE FROM %1 WHERE KID=:key").arg(QLatin1String(table)), {{":key", kid}});
    t.commit();
    if (state_.kid == kid) state_.kid = 0;
}
