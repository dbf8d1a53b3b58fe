#include "play/matchrecord.h"

#include "store/db_procedures.h"

#include <QVariant>

namespace {

QVariant textOrNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}
QVariant optionalText(const std::optional<QString>& s) {
    return s ? QVariant(*s) : QVariant();
}
QVariant optionalInt(const std::optional<int>& i) {
    return i ? QVariant(*i) : QVariant();
}
QVariant dateTimeOrNull(const QDateTime& t) {
    return t.isValid() ? QVariant(t) : QVariant();
}
QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}

std::optional<QString> readText(const Row& r, QStringView name) {
    if (r.isNull(name)) return std::nullopt;
    return r.text(name);
}

std::optional<int> readInt(const Row& r, QStringView name) {
    if (r.isNull(name)) return std::nullopt;
    return r.integer(name);
}

const QString kSatzColumns[9] = {
    QStringLiteral("satz1"), QStringLiteral("satz2"), QStringLiteral("satz3"),
    QStringLiteral("satz4"), QStringLiteral("satz5"), QStringLiteral("satz6"),
    QStringLiteral("satz7"), QStringLiteral("satz8"), QStringLiteral("satz9"),
};

Saetze readSaetze(const Row& r) {
    Saetze s;
    for (int k = 0; k < 9; ++k)
        s[k] = readInt(r, kSatzColumns[k]);
    return s;
}

// The parameter names :d1 … :d64, made once: a row is written with one name per column.
const QString& dName(qsizetype i) {
    static const QVector<QString> names = [] {
        QVector<QString> out;
        for (int k = 1; k <= 64; ++k)
            out << QStringLiteral(":d%1").arg(k);
        return out;
    }();
    return names[i];
}

// "INSERT INTO table VALUES (:d1,…,:dn)".
QString insertInto(const char* table, int n) {
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << dName(i);
    return QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QLatin1String(table), names.join(u','));
}

// Binds :d1 … :dn in the order the values are added.
class Positional {
public:
    explicit Positional(int count) { params_.reserve(count); }
    void add(QVariant v) { params_.emplace_back(dName(params_.size()), std::move(v)); }
    const Params& params() const { return params_; }

private:
    Params params_;
};

// Names are never NULL: an open side without placeholder is empty text.
QString nameText(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

// The values of a statement on match (kid, snr).
Params onMatch(int kid, int snr, Params values = {}) {
    values.append({QStringLiteral(":ID"), kid});
    values.append({QStringLiteral(":snr"), snr});
    return values;
}

} // namespace

TeamspielRow rubberOf(const SpielplanRow& match, int nummer) {
    TeamspielRow r;
    r.KID = match.KID;
    r.spielnummer = match.spielnummer;
    r.nummer = nummer;
    r.MID1 = match.SID1;
    r.spieler1 = match.spieler1;
    r.MID2 = match.SID2;
    r.spieler2 = match.spieler2;
    r.phase = match.phase;
    r.gruppe = match.gruppe;
    r.TID = match.TID;
    r.parentspiel1 = match.parentspiel1;
    r.parentsieger1 = match.parentsieger1;
    r.parentspiel2 = match.parentspiel2;
    r.parentsieger2 = match.parentsieger2;
    r.parentGID1 = match.parentGID1;
    r.parentpos1 = match.parentpos1;
    r.parentGID2 = match.parentGID2;
    r.parentpos2 = match.parentpos2;
    return r;
}

MatchState stateOf(bool in_planung, bool begonnen, bool beendet) {
    if (beendet) return MatchState::Finished;
    if (begonnen) return MatchState::Started;
    if (in_planung) return MatchState::Called;
    return MatchState::Open;
}

StateTag stateTag(const SpielplanRow& m, bool resourcesFree) {
    switch (stateOf(m)) {
    case MatchState::Finished:
        return StateTag::Finished;
    case MatchState::Started:
        return StateTag::Started;
    case MatchState::Called:
        return StateTag::Called;
    case MatchState::Open:
        break;
    }
    return hasBothSides(m) && resourcesFree ? StateTag::Playable : StateTag::Waiting;
}

namespace matchrecord {

SpielplanRow matchFromRow(const Row& r) {
    SpielplanRow m;
    m.KID = r.integer(u"KID");
    m.spielnummer = r.integer(u"spielnummer");
    m.SID1 = r.integer(u"SID1");
    m.spieler1 = r.text(u"spieler1");
    m.SID2 = r.integer(u"SID2");
    m.spieler2 = r.text(u"spieler2");
    m.satz = readSaetze(r);
    m.ergebnis = readText(r, u"ergebnis");
    m.parentspiel1 = r.integer(u"parentspiel1");
    m.parentsieger1 = r.boolean(u"parentsieger1");
    m.parentspiel2 = r.integer(u"parentspiel2");
    m.parentsieger2 = r.boolean(u"parentsieger2");
    m.parentGID1 = r.integer(u"parentGID1");
    m.parentpos1 = r.integer(u"parentpos1");
    m.parentGID2 = r.integer(u"parentGID2");
    m.parentpos2 = r.integer(u"parentpos2");
    m.in_planung = r.boolean(u"in_planung");
    m.begonnen = r.boolean(u"begonnen");
    m.beendet = r.boolean(u"beendet");
    m.manuell = r.boolean(u"manuell");
    m.spielstart = r.dateTime(u"spielstart");
    m.spielende = r.dateTime(u"spielende");
    m.siegerSID = r.integer(u"siegerSID");
    m.verliererSID = r.integer(u"verliererSID");
    m.phase = r.integer(u"phase");
    m.gruppe = r.integer(u"gruppe");
    m.aufruf1_sp1 = r.dateTime(u"aufruf1_sp1");
    m.aufruf1_sp2 = r.dateTime(u"aufruf1_sp2");
    m.aufruf1_sch = r.dateTime(u"aufruf1_sch");
    m.aufruf2_sp1 = r.dateTime(u"aufruf2_sp1");
    m.aufruf2_sp2 = r.dateTime(u"aufruf2_sp2");
    m.aufruf2_sch = r.dateTime(u"aufruf2_sch");
    m.aufruf3_sp1 = r.dateTime(u"aufruf3_sp1");
    m.aufruf3_sp2 = r.dateTime(u"aufruf3_sp2");
    m.aufruf3_sch = r.dateTime(u"aufruf3_sch");
    m.an_platte = readText(r, u"an_platte");
    m.schiri = readText(r, u"schiri");
    m.geplanter_tisch = readText(r, u"geplanter_tisch");
    m.geplanter_tag = r.date(u"geplanter_tag");
    m.geplante_zeit = r.dateTime(u"geplante_zeit");
    m.platz = r.integer(u"platz");
    m.TID = r.integer(u"TID");
    return m;
}

TeamspielRow rubberFromRow(const Row& r) {
    TeamspielRow t;
    t.KID = r.integer(u"KID");
    t.spielnummer = r.integer(u"spielnummer");
    t.nummer = r.integer(u"nummer");
    t.MID1 = r.integer(u"MID1");
    t.SID1 = r.integer(u"SID1");
    t.spieler1 = r.text(u"spieler1");
    t.MID2 = r.integer(u"MID2");
    t.SID2 = r.integer(u"SID2");
    t.spieler2 = r.text(u"spieler2");
    t.satz = readSaetze(r);
    t.ergebnis = readText(r, u"ergebnis");
    t.in_planung = r.boolean(u"in_planung");
    t.begonnen = r.boolean(u"begonnen");
    t.beendet = r.boolean(u"beendet");
    t.spielstart = r.dateTime(u"spielstart");
    t.siegerSID = r.integer(u"siegerSID");
    t.verliererSID = r.integer(u"verliererSID");
    t.phase = r.integer(u"phase");
    t.gruppe = r.integer(u"gruppe");
    t.an_platte = readText(r, u"an_platte");
    t.schiri = readText(r, u"schiri");
    t.geplanter_tisch = readText(r, u"geplanter_tisch");
    t.geplanter_tag = r.date(u"geplanter_tag");
    t.geplante_zeit = r.dateTime(u"geplante_zeit");
    t.TID = r.integer(u"TID");
    t.sbez1 = readText(r, u"sbez1");
    t.sbez2 = readText(r, u"sbez2");
    t.p1 = readInt(r, u"p1");
    t.p2 = readInt(r, u"p2");
    t.parentspiel1 = r.integer(u"parentspiel1");
    t.parentsieger1 = r.boolean(u"parentsieger1");
    t.parentspiel2 = r.integer(u"parentspiel2");
    t.parentsieger2 = r.boolean(u"parentsieger2");
    t.parentGID1 = r.integer(u"parentGID1");
    t.parentpos1 = r.integer(u"parentpos1");
    t.parentGID2 = r.integer(u"parentGID2");
    t.parentpos2 = r.integer(u"parentpos2");
    return t;
}

namespace {

QVector<SpielplanRow> matchesFrom(const Rows& rows) {
    QVector<SpielplanRow> out;
    out.reserve(rows.size());
    for (const Row& r : rows)
        out.append(matchFromRow(r));
    return out;
}

QVector<TeamspielRow> rubbersFrom(const Rows& rows) {
    QVector<TeamspielRow> out;
    out.reserve(rows.size());
    for (const Row& r : rows)
        out.append(rubberFromRow(r));
    return out;
}

} // namespace

std::optional<SpielplanRow> readMatch(Tdb_procedures& db, int kid, int snr) {
    const Rows rows = db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID AND spielnummer=:snr"),
                                onMatch(kid, snr));
    if (rows.isEmpty()) return std::nullopt;
    return matchFromRow(rows.first());
}

QVector<SpielplanRow> matchesOfClass(Tdb_procedures& db, int kid) {
    return matchesFrom(db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID ORDER BY spielnummer"),
                                 {{QStringLiteral(":ID"), kid}}));
}

QVector<SpielplanRow> matchesOfPhase(Tdb_procedures& db, int kid, int phase) {
    return matchesFrom(
        db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID AND phase=:p ORDER BY spielnummer"),
                  {{QStringLiteral(":ID"), kid}, {QStringLiteral(":p"), phase}}));
}

QVector<TeamspielRow> rubbersOfMatch(Tdb_procedures& db, int kid, int snr) {
    return rubbersFrom(db.select(
        QStringLiteral("SELECT * FROM Teamspiele WHERE KID=:ID AND spielnummer=:snr ORDER BY nummer"),
        onMatch(kid, snr)));
}

QVector<TeamspielRow> rubbersOfClass(Tdb_procedures& db, int kid) {
    return rubbersFrom(
        db.select(QStringLiteral("SELECT * FROM Teamspiele WHERE KID=:ID ORDER BY spielnummer,nummer"),
                  {{QStringLiteral(":ID"), kid}}));
}

void insertMatch(Tdb_procedures& db, const SpielplanRow& m) {
    static const QString sql = insertInto("Spielplan", 51);
    Positional v(51);
    v.add(m.KID);
    v.add(m.spielnummer);
    v.add(m.SID1);
    v.add(nameText(m.spieler1));
    v.add(m.SID2);
    v.add(nameText(m.spieler2));
    for (const auto& s : m.satz)
        v.add(optionalInt(s));
    v.add(optionalText(m.ergebnis));
    v.add(m.parentspiel1);
    v.add(m.parentsieger1);
    v.add(m.parentspiel2);
    v.add(m.parentsieger2);
    v.add(m.parentGID1);
    v.add(m.parentpos1);
    v.add(m.parentGID2);
    v.add(m.parentpos2);
    v.add(m.in_planung);
    v.add(m.begonnen);
    v.add(m.beendet);
    v.add(m.manuell);
    v.add(dateTimeOrNull(m.spielstart));
    v.add(dateTimeOrNull(m.spielende));
    v.add(m.siegerSID);
    v.add(m.verliererSID);
    v.add(m.phase);
    v.add(m.gruppe);
    v.add(dateTimeOrNull(m.aufruf1_sp1));
    v.add(dateTimeOrNull(m.aufruf1_sp2));
    v.add(dateTimeOrNull(m.aufruf1_sch));
    v.add(dateTimeOrNull(m.aufruf2_sp1));
    v.add(dateTimeOrNull(m.aufruf2_sp2));
    v.add(dateTimeOrNull(m.aufruf2_sch));
    v.add(dateTimeOrNull(m.aufruf3_sp1));
    v.add(dateTimeOrNull(m.aufruf3_sp2));
    v.add(dateTimeOrNull(m.aufruf3_sch));
    v.add(optionalText(m.an_platte));
    v.add(optionalText(m.schiri));
    v.add(optionalText(m.geplanter_tisch));
    v.add(dateOrNull(m.geplanter_tag));
    v.add(dateTimeOrNull(m.geplante_zeit));
    v.add(QVariant()); // the column no statement names
    v.add(m.platz);
    v.add(m.TID);
    db.exec(sql, v.params());
}

void insertRubber(Tdb_procedures& db, const TeamspielRow& r) {
    static const QString sql = insertInto("Teamspiele", 47);
    Positional v(47);
    v.add(r.KID);
    v.add(r.spielnummer);
    v.add(r.nummer);
    v.add(r.MID1);
    v.add(r.SID1);
    v.add(nameText(r.spieler1));
    v.add(r.MID2);
    v.add(r.SID2);
    v.add(nameText(r.spieler2));
    for (const auto& s : r.satz)
        v.add(optionalInt(s));
    v.add(optionalText(r.ergebnis));
    v.add(r.in_planung);
    v.add(r.begonnen);
    v.add(r.beendet);
    v.add(false); // the boolean no statement names
    v.add(dateTimeOrNull(r.spielstart));
    v.add(QVariant()); // the date-time no statement names
    v.add(r.siegerSID);
    v.add(r.verliererSID);
    v.add(r.phase);
    v.add(r.gruppe);
    v.add(optionalText(r.an_platte));
    v.add(optionalText(r.schiri));
    v.add(optionalText(r.geplanter_tisch));
    v.add(dateOrNull(r.geplanter_tag));
    v.add(dateTimeOrNull(r.geplante_zeit));
    v.add(r.TID);
    v.add(optionalText(r.sbez1));
    v.add(optionalText(r.sbez2));
    v.add(optionalInt(r.p1));
    v.add(optionalInt(r.p2));
    v.add(r.parentspiel1);
    v.add(r.parentsieger1);
    v.add(r.parentspiel2);
    v.add(r.parentsieger2);
    v.add(r.parentGID1);
    v.add(r.parentpos1);
    v.add(r.parentGID2);
    v.add(r.parentpos2);
    db.exec(sql, v.params());
}

void insertMatchWithRubbers(Tdb_procedures& db, const SpielplanRow& m, int rubbers) {
    Transaction t(db);
    insertMatch(db, m);
    for (int n = 1; n <= rubbers; ++n)
        insertRubber(db, rubberOf(m, n));
    t.commit();
}

void plan(Tdb_procedures& db, int kid, int snr, const QString& tisch, const QDate& tag, const QDateTime& zeit,
          const QString& schiri) {
    const Params p = onMatch(kid, snr,
                             {{QStringLiteral(":d1"), textOrNull(tisch)},
                              {QStringLiteral(":d2"), dateOrNull(tag)},
                              {QStringLiteral(":d3"), dateTimeOrNull(zeit)},
                              {QStringLiteral(":d4"), textOrNull(schiri)}});
    db.exec(QStringLiteral("UPDATE Spielplan SET geplanter_tisch=:d1,geplanter_tag=:d2,geplante_zeit=:d3,"
                           "schiri=:d4 WHERE spielnummer=:snr AND KID=:ID"),
            p);
}

void schedule(Tdb_procedures& db, int kid, int snr, const QDate& tag, const QString& tisch,
              const QDateTime& zeit) {
    const Params p = onMatch(kid, snr,
                             {{QStringLiteral(":d"), dateOrNull(tag)},
                              {QStringLiteral(":t"), textOrNull(tisch)},
                              {QStringLiteral(":z"), dateTimeOrNull(zeit)}});
    db.exec(QStringLiteral("UPDATE Spielplan SET geplanter_tag=:d,geplanter_tisch=:t,geplante_zeit=:z "
                           "WHERE KID=:ID AND spielnummer=:snr"),
            p);
}

void clearSchedule(Tdb_procedures& db, int kid, int snr) {
    db.exec(QStringLiteral("UPDATE Spielplan SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL, "
                           "geplante_zeit=NULL WHERE KID=:ID AND spielnummer=:snr"),
            onMatch(kid, snr));
}

void call(Tdb_procedures& db, int kid, int snr, const QDateTime& now, const QString& platte,
          const QString& schiri, bool manuell) {
    const Params p = onMatch(kid, snr,
                             {{QStringLiteral(":a1"), dateTimeOrNull(now)},
                              {QStringLiteral(":a2"), dateTimeOrNull(now)},
                              {QStringLiteral(":a3"), dateTimeOrNull(now)},
                              {QStringLiteral(":p"), true},
                              {QStringLiteral(":platte"), textOrNull(platte)},
                              {QStringLiteral(":sch"), textOrNull(schiri)},
                              {QStringLiteral(":m"), manuell}});
    db.exec(
        QStringLiteral("UPDATE Spielplan SET aufruf1_sp1=:a1,aufruf1_sp2=:a2,aufruf1_sch=:a3,in_planung=:p, "
                       "an_platte=:platte, schiri=:sch,manuell=:m WHERE (KID=:ID AND spielnummer=:snr)"),
        p);
}

QString columnName(Recall r) {
    switch (r) {
    case Recall::aufruf2_sp1:
        return QStringLiteral("aufruf2_sp1");
    case Recall::aufruf2_sp2:
        return QStringLiteral("aufruf2_sp2");
    case Recall::aufruf2_sch:
        return QStringLiteral("aufruf2_sch");
    case Recall::aufruf3_sp1:
        return QStringLiteral("aufruf3_sp1");
    case Recall::aufruf3_sp2:
        return QStringLiteral("aufruf3_sp2");
    case Recall::aufruf3_sch:
        return QStringLiteral("aufruf3_sch");
    }
    return {};
}

void recordRecall(Tdb_procedures& db, int kid, int snr, Recall which, const QDateTime& at) {
    const Params p = onMatch(kid, snr, {{QStringLiteral(":t"), dateTimeOrNull(at)}});
    db.exec(QStringLiteral("UPDATE Spielplan SET ") + columnName(which) +
                QStringLiteral("=:t WHERE KID=:ID AND spielnummer=:snr"),
            p);
}

void start(Tdb_procedures& db, int kid, int snr, const QDateTime& now) {
    const Params p = onMatch(kid, snr,
                             {{QStringLiteral(":ss"), dateTimeOrNull(now)},
                              {QStringLiteral(":p"), false},
                              {QStringLiteral(":b"), true}});
    db.exec(QStringLiteral("UPDATE Spielplan SET spielstart=:ss,in_planung=:p,begonnen=:b "
                           "WHERE KID=:ID AND spielnummer=:snr"),
            p);
}

void finish(Tdb_procedures& db, int kid, int snr, const QDateTime& now, const Saetze& saetze,
            const QString& ergebnis, int siegerSID, int verliererSID) {
    Params values{{QStringLiteral(":se"), dateTimeOrNull(now)},
                  {QStringLiteral(":b"), true},
                  {QStringLiteral(":be"), false}};
    for (int k = 0; k < 9; ++k)
        values.append({QStringLiteral(":s%1").arg(k + 1), optionalInt(saetze[k])});
    values.append({QStringLiteral(":erg"), ergebnis});
    values.append({QStringLiteral(":sSID"), siegerSID});
    values.append({QStringLiteral(":vSID"), verliererSID});
    db.exec(
        QStringLiteral("UPDATE Spielplan SET spielende=:se,beendet=:b,begonnen=:be,satz1=:s1,satz2=:s2,"
                       "satz3=:s3,satz4=:s4,satz5=:s5,satz6=:s6,satz7=:s7,satz8=:s8,satz9=:s9,ergebnis=:erg,"
                       "siegerSID=:sSID,verliererSID=:vSID WHERE KID=:ID AND spielnummer=:snr"),
        onMatch(kid, snr, values));
}

void withdrawResult(Tdb_procedures& db, int kid, int snr, Rubbers rubbers) {
    Transaction t(db);
    db.exec(
        QStringLiteral("UPDATE Spielplan SET beendet=0,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,"
                       "satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
                       "verliererSID=-1 WHERE KID=:ID AND spielnummer=:snr"),
        onMatch(kid, snr));
    if (rubbers == Rubbers::Withdraw)
        db.exec(QStringLiteral(
                    "UPDATE Teamspiele SET beendet=false,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,"
                    "satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
                    "verliererSID=-1 WHERE KID=:ID AND spielnummer=:snr"),
                onMatch(kid, snr));
    t.commit();
}

void resetCalledToOpen(Tdb_procedures& db, int kid, int snr) {
    const Params p = onMatch(kid, snr, {{QStringLiteral(":d1"), false}});
    Transaction t(db);
    db.exec(
        QStringLiteral("UPDATE Spielplan SET aufruf1_sp1=NULL,aufruf1_sp2=NULL,aufruf1_sch=NULL,"
                       "aufruf2_sp1=NULL,aufruf2_sp2=NULL,aufruf2_sch=NULL,aufruf3_sp1=NULL,aufruf3_sp2=NULL,"
                       "aufruf3_sch=NULL,in_planung=:d1 WHERE KID=:ID AND spielnummer=:snr"),
        p);
    db.exec(QStringLiteral("UPDATE Teamspiele SET in_planung=:d1 WHERE KID=:ID AND spielnummer=:snr"), p);
    t.commit();
}

void resetStartedToCalled(Tdb_procedures& db, int kid, int snr) {
    const Params p = onMatch(kid, snr, {{QStringLiteral(":d1"), false}, {QStringLiteral(":d2"), true}});
    Transaction t(db);
    db.exec(QStringLiteral("UPDATE Spielplan SET spielstart=NULL, begonnen=:d1,in_planung=:d2 "
                           "WHERE KID=:ID AND spielnummer=:snr"),
            p);
    db.exec(QStringLiteral("UPDATE Teamspiele SET spielstart=NULL, begonnen=:d1,in_planung=:d2 "
                           "WHERE KID=:ID AND spielnummer=:snr"),
            p);
    t.commit();
}

void resetFinishedToStarted(Tdb_procedures& db, int kid, int snr) {
    const Params p = onMatch(kid, snr, {{QStringLiteral(":t"), db.trueValue()}});
    db.exec(QStringLiteral(
                "UPDATE Spielplan SET begonnen=:t,in_planung=0,beendet=0 WHERE KID=:ID AND spielnummer=:snr"),
            p);
}

} // namespace matchrecord
