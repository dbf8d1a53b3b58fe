#include "output/listen.h"

#include "common/classkind.h"
#include "store/db_procedures.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <stdexcept>

namespace listen {

namespace {

QList<Spalte> spalten(std::initializer_list<Spalte> l) {
    return QList<Spalte>(l);
}

QString wort(Art art) {
    switch (art) {
    case Art::Spieler: return QStringLiteral("Spielerliste");
    case Art::Spielplan: return QStringLiteral("Spielplan");
    case Art::Schiri: return QStringLiteral("Schiedsrichterliste");
    case Art::Team: return QStringLiteral("Teamliste");
    case Art::Tabellen: return QStringLiteral("Gruppen/Tabellen");
    }
    return {};
}

// Booleans are -1 in the file database and 1 on the server; dates come back in the engine's own form.
// Both are written the same way whatever engine the tournament lives in.
const QSet<QString>& wahrheitswerte() {
    static const QSet<QString> s{"angemeldet", "bezahlt", "sangemeldet"};
    return s;
}
const QSet<QString>& datumsspalten() {
    static const QSet<QString> s{"geb", "sgeb", "geplanter_tag"};
    return s;
}
// Team places hold player ids; the list shows the players.
const QSet<QString>& spielerspalten() {
    static const QSet<QString> s{"s1", "s2", "s3", "s4", "r1", "r2", "d1_1", "d1_2", "d2_1", "d2_2"};
    return s;
}

QString wert(const Row& r, const QString& column, const QHash<int, QString>& namen) {
    if (r.isNull(column)) return {};
    if (wahrheitswerte().contains(column)) return r.boolean(column) ? QStringLiteral("ja") : QStringLiteral("nein");
    if (datumsspalten().contains(column)) {
        const QDate d = r.date(column);
        return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
    }
    if (column == u"geplante_zeit") {
        const QDateTime t = r.dateTime(column);
        return t.isValid() ? t.toString(QStringLiteral("hh:mm")) : QString();
    }
    if (column.startsWith(u"satz") && r.integer(column) == -100) return QStringLiteral("-0");
    if (spielerspalten().contains(column)) {
        const int sid = r.integer(column);
        return sid > 0 ? namen.value(sid) : QString();
    }
    return r.text(column);
}

} // namespace

const QList<Spalte>& katalog(Art art) {
    static const QList<Spalte> spieler = spalten({
        {"Vorname", "vorname", true},          {"Nachname", "nachname", true},     {"Verein", "verein", true},
        {"Geburtsdatum", "geb", true},         {"Rückenummer", "nummer", true},    {"angemeldet", "angemeldet", false},
        {"bezahlt", "bezahlt", false},         {"Bezirksverband", "bverband", false}, {"Kreisverband", "kverband", false},
        {"Land", "land", false},               {"Landesverband", "lverband", false}, {"Spielklasse", "spklasse", false},
        {"zubezahlen", "zubezahlen", false},
    });
    static const QList<Spalte> plan = [] {
        QList<Spalte> l = spalten({
            {"Spieler 1", "spieler1", true},     {"Spieler 2", "spieler2", true},     {"Spielnummer", "spielnummer", true},
            {"Ergebnis", "ergebnis", true},      {"Klassen ID", "KID", true},         {"Phase", "phase", true},
            {"Gruppe", "gruppe", true},          {"Tisch", "an_platte", false},       {"geplante Zeit", "geplante_zeit", false},
            {"geplanter Tag", "geplanter_tag", false}, {"geplanter Tisch", "geplanter_tisch", false},
        });
        for (int s = 1; s <= 9; ++s)
            l << Spalte{QStringLiteral("Satz %1").arg(s), QStringLiteral("satz%1").arg(s), false};
        l << Spalte{"Schiedsrichter", "schiri", false};
        return l;
    }();
    static const QList<Spalte> schiri = spalten({
        {"Vorname", "svname", true},         {"Nachname", "snname", true},        {"Verein", "sverein", true},
        {"Geburtsdatum", "sgeb", true},      {"angemeldet", "sangemeldet", false}, {"Bezirksverband", "sbverband", false},
        {"Spielklasse", "sklasse", false},   {"Kreisverband", "skverband", false}, {"Land", "sland", false},
    });
    static const QList<Spalte> team = spalten({
        {"Teamname", "teamname", true},
        {"Verein", "verein", true},
        {"Spieler 1", "s1", true},
        {"Spieler 2", "s2", true},
        {"Spieler 3", "s3", true},
        {"Spieler 4", "s4", true},
        {"Reservespieler 1", "r1", true},
        {"Reservespieler 2", "r2", true},
        {"Doppel 1 Spieler 1", "d1_1", true},
        {"Doppel 1 Spieler 2", "d1_2", true},
        {"Doppel 2 Spieler 1", "d2_1", true},
        {"Doppel 2 Spieler 2", "d2_2", true},
        {"angemeldet", "angemeldet", false},
        {"Klassen ID", "KID", false},
    });
    static const QList<Spalte> tabellen = spalten({
        {"Spielername", "bez", true},        {"Gruppe", "GID", true},               {"Position", "pos", true},
        {"Spielanzahl", "spielanzahl", true}, {"Spiele", "spielegewonnen", true},   {"Sätze", "saetzegewonnen", true},
        {"Punkte", "punktegewonnen", true},  {"Matche (Team)", "matchegewonnen", false}, {"Phase", "phase", false},
    });
    switch (art) {
    case Art::Spieler: return spieler;
    case Art::Spielplan: return plan;
    case Art::Schiri: return schiri;
    case Art::Team: return team;
    case Art::Tabellen: return tabellen;
    }
    return spieler;
}

QStringList vorgewaehlt(Art art) {
    QStringList out;
    for (const Spalte& s : katalog(art))
        if (s.vorgewaehlt) out << s.caption;
    return out;
}

QList<Datensatz> datensaetze(Tdb_procedures& db, int tid) {
    QList<Datensatz> out{
        {QStringLiteral("Spielerliste (komplett)"), 0, Art::Spieler, {}},
        {QStringLiteral("Spielplan (komplett)"), 0, Art::Spielplan, {}},
        {QStringLiteral("Schiedsrichterliste (komplett)"), 0, Art::Schiri, {}},
        {QStringLiteral("Teamliste (komplett)"), 0, Art::Team, {}},
    };
    QSet<int> mitTabellen;
    for (const Row& r : db.select(QStringLiteral("SELECT DISTINCT t.KID FROM Tabellen AS t INNER JOIN Turnierklassen "
                                                 "AS k ON (k.KID=t.KID) WHERE k.TID=:ID"),
                                  {{":ID", tid}}))
        mitTabellen.insert(r.integer(u"KID"));
    for (const Row& k :
         db.select(QStringLiteral("SELECT system,kbezeichnung,KID FROM Turnierklassen WHERE TID=:ID"), {{":ID", tid}})) {
        const int kid = k.integer(u"KID");
        const int system = k.integer(u"system");
        const QString name = k.text(u"kbezeichnung");
        const QString label = QStringLiteral(" (") + classkind::caption(name, system) + QStringLiteral(")");
        if (system == classkind::Team) out << Datensatz{QStringLiteral("Teamliste") + label, kid, Art::Team, name};
        out << Datensatz{QStringLiteral("Spielerliste") + label, kid, Art::Spieler, name}
            << Datensatz{QStringLiteral("Spielplan") + label, kid, Art::Spielplan, name}
            << Datensatz{QStringLiteral("Schiedsrichterliste") + label, kid, Art::Schiri, name};
        if (mitTabellen.contains(kid))
            out << Datensatz{QStringLiteral("Gruppen/Tabellen") + label, kid, Art::Tabellen, name};
    }
    std::stable_sort(out.begin(), out.end(), [](const Datensatz& a, const Datensatz& b) { return a.text < b.text; });
    return out;
}

QString blattname(const QString& name) {
    QString out;
    for (const QChar c : name)
        out += QStringView(u"[]:*?/\\").contains(c) ? QLatin1Char('_') : c;
    out = out.left(31).trimmed();
    // A sheet name may neither be empty nor start or end with an apostrophe.
    while (out.startsWith(QLatin1Char('\''))) out.remove(0, 1);
    while (out.endsWith(QLatin1Char('\''))) out.chop(1);
    return out.isEmpty() ? QStringLiteral("Liste") : out;
}

Liste liste(Tdb_procedures& db, int tid, const QString& turniername, const Datensatz& d, const QStringList& captions) {
    Liste l;
    l.art = d.art;
    const bool klasse = d.kid != 0;
    const QString name = klasse ? d.klassenname : turniername;
    l.titel = wort(d.art) + QStringLiteral(" für ") + name;
    l.blattname = blattname(klasse ? d.klassenname : (d.art == Art::Tabellen ? QStringLiteral("Tabellen") : wort(d.art)));
    l.kopf = captions;

    QStringList columns;
    for (const QString& c : captions) {
        const auto& k = katalog(d.art);
        const auto it = std::find_if(k.begin(), k.end(), [&](const Spalte& s) { return s.caption == c; });
        if (it == k.end()) throw std::invalid_argument("unknown column caption");
        columns << it->column;
    }

    const Params id{{":ID", klasse ? d.kid : tid}};
    Rows rows;
    QHash<int, QString> namen;
    switch (d.art) {
    case Art::Spieler:
        rows = klasse ? db.select(QStringLiteral("SELECT s.* FROM Spielerdaten AS s INNER JOIN Spieler_im_Turnier AS st "
                                                 "ON (s.SID=st.SID AND st.KID=:ID) ORDER BY s.nachname,s.vorname"),
                                  id)
                      : db.select(QStringLiteral("SELECT * FROM Spielerdaten WHERE TID=:ID ORDER BY nachname,vorname"), id);
        break;
    case Art::Schiri:
        rows = klasse ? db.select(QStringLiteral("SELECT s.* FROM Schiri AS s INNER JOIN Schiri_im_turnier AS st ON "
                                                 "(s.SCHIRIID=st.SCHIRIID AND st.KID=:ID) ORDER BY s.snname,s.svname"),
                                  id)
                      : db.select(QStringLiteral("SELECT * FROM Schiri WHERE TID=:ID ORDER BY snname,svname"), id);
        break;
    case Art::Spielplan:
        rows = klasse ? db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID ORDER BY spielnummer"), id)
                      : db.select(QStringLiteral("SELECT * FROM Spielplan WHERE TID=:ID ORDER BY KID,spielnummer"), id);
        for (const Row& k : db.select(QStringLiteral("SELECT KID,kbezeichnung FROM Turnierklassen WHERE TID=:ID"),
                                      {{":ID", tid}}))
            l.klassennamen.insert(k.integer(u"KID"), k.text(u"kbezeichnung"));
        break;
    case Art::Team:
        rows = klasse ? db.select(QStringLiteral("SELECT * FROM Teams WHERE KID=:ID ORDER BY teamname"), id)
                      : db.select(QStringLiteral("SELECT * FROM Teams WHERE TID=:ID ORDER BY teamname"), id);
        for (const Row& s : db.select(QStringLiteral("SELECT SID,nachname,vorname FROM Spielerdaten WHERE TID=:ID"),
                                      {{":ID", tid}}))
            namen.insert(s.integer(u"SID"), s.text(u"nachname") + QStringLiteral(", ") + s.text(u"vorname"));
        break;
    case Art::Tabellen:
        rows = db.select(QStringLiteral("SELECT * FROM Tabellen WHERE KID=:ID ORDER BY GID,pos"), id);
        break;
    }
    l.zeilen.reserve(rows.size());
    for (const Row& r : rows) {
        QStringList z;
        z.reserve(columns.size());
        for (const QString& c : columns)
            z << wert(r, c, namen);
        l.zeilen << z;
        l.kids << r.integer(u"KID");
        l.gruppen << (d.art == Art::Tabellen ? r.integer(u"GID") : d.art == Art::Spielplan ? r.integer(u"gruppe") : -1);
    }
    return l;
}

} // namespace listen
