#include "store/tournamentrecord.h"

namespace {

// Texts are stored trimmed and never as NULL: a null QString would bind as NULL.
QVariant textValue(const QString& s) {
    const QString t = s.trimmed();
    return t.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(t);
}

// A memo is trimmed as a whole, its inner lines stay as typed.
QVariant memoValue(const QString& s) {
    return textValue(memoFromPlainText(s));
}

// :d1 .. :d28 in the column order of Turnierdaten.
Params recordParams(int tid, const TournamentRecord& r) {
    return {
        {QStringLiteral(":d0"), tid},
        {QStringLiteral(":d1"), textValue(r.turniername)},
        {QStringLiteral(":d2"), textValue(r.zusatz)},
        {QStringLiteral(":d3"), textValue(r.austragungsort)},
        {QStringLiteral(":d4"), r.tvon},
        {QStringLiteral(":d5"), r.tbis},
        {QStringLiteral(":d6"), memoValue(r.startberechtigung)},
        {QStringLiteral(":d7"), memoValue(r.turniermodus)},
        {QStringLiteral(":d8"), textValue(r.veranstalter)},
        {QStringLiteral(":d9"), textValue(r.homepage)},
        {QStringLiteral(":d10"), textValue(r.gesamtleitung)},
        {QStringLiteral(":d11"), memoValue(r.turnierleitung)},
        {QStringLiteral(":d12"), memoValue(r.schiedsrichter)},
        {QStringLiteral(":d13"), textValue(r.osr)},
        {QStringLiteral(":d14"), r.meldeschluss},
        {QStringLiteral(":d15"), r.auslosung},
        {QStringLiteral(":d16"), memoValue(r.meldeinfo)},
        {QStringLiteral(":d17"), memoValue(r.meldung_an)},
        {QStringLiteral(":d18"), memoValue(r.ainfo)},
        {QStringLiteral(":d19"), textValue(r.tische)},
        {QStringLiteral(":d20"), textValue(r.baelle)},
        {QStringLiteral(":d21"), textValue(r.netze)},
        {QStringLiteral(":d22"), textValue(r.zaehlgeraete)},
        {QStringLiteral(":d23"), textValue(r.banden)},
        {QStringLiteral(":d24"), memoValue(r.preise)},
        {QStringLiteral(":d25"), memoValue(r.verpflegung)},
        {QStringLiteral(":d26"), memoValue(r.weg)},
        {QStringLiteral(":d27"), memoValue(r.verschiedenes)},
        {QStringLiteral(":d28"), textValue(r.erstehilfe)},
    };
}

} // namespace

QString memoFromPlainText(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(u'\r', u'\n');
    s.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return s;
}

QString memoToPlainText(const QString& memo) {
    QString s = memo;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

int insertTournament(Tdb_procedures& db, const TournamentRecord& record, const TournamentOptions& options) {
    Transaction t(db);
    const int tid = db.nextId(QStringLiteral("Turnierdaten"), QStringLiteral("TID"));
    db.exec(QStringLiteral(
                "INSERT INTO Turnierdaten VALUES (:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,"
                ":d13,:d14,:d15,:d16,:d17,:d18,:d19,:d20,:d21,:d22,:d23,:d24,:d25,:d26,:d27,:d28)"),
            recordParams(tid, record));
    db.exec(QStringLiteral("INSERT INTO Einstellungen (TID,einstellung1,einstellung2,einstellung3,einstellung4,version) "
                           "VALUES (:TID,:einstellung1,:einstellung2,:einstellung3,:einstellung4,:v)"),
            {{QStringLiteral(":TID"), tid},
             {QStringLiteral(":einstellung1"), options[0]},
             {QStringLiteral(":einstellung2"), options[1]},
             {QStringLiteral(":einstellung3"), options[2]},
             {QStringLiteral(":einstellung4"), options[3]},
             {QStringLiteral(":v"), QVariant()}});
    t.commit();
    return tid;
}

void updateTournament(Tdb_procedures& db, int tid, const TournamentRecord& record) {
    db.exec(QStringLiteral(
                "UPDATE Turnierdaten SET turniername=:d1, zusatz=:d2, austragungsort=:d3, tvon=:d4, tbis=:d5,"
                "startberechtigung=:d6, turniermodus=:d7, veranstalter=:d8, homepage=:d9, gesamtleitung=:d10,"
                "turnierleitung=:d11, schiedsrichter=:d12, osr=:d13, meldeschluss=:d14, auslosung=:d15,"
                "meldeinfo=:d16, meldung_an=:d17, ainfo=:d18, tische=:d19, baelle=:d20, netze=:d21, "
                "zaehlgeraete=:d22,"
                "banden=:d23, preise=:d24, verpflegung=:d25, weg=:d26, verschiedenes=:d27, erstehilfe=:d28 "
                "WHERE TID=:d0"),
            recordParams(tid, record));
}

std::optional<TournamentRecord> readTournament(Tdb_procedures& db, int tid) {
    const Rows rows =
        db.select(QStringLiteral("SELECT * FROM Turnierdaten WHERE TID=:k"), {{QStringLiteral(":k"), tid}});
    if (rows.isEmpty()) return std::nullopt;
    const Row& row = rows.first();
    TournamentRecord r;
    r.turniername = row.text(u"turniername");
    r.zusatz = row.text(u"zusatz");
    r.austragungsort = row.text(u"austragungsort");
    r.tvon = row.date(u"tvon");
    r.tbis = row.date(u"tbis");
    r.startberechtigung = row.text(u"startberechtigung");
    r.turniermodus = row.text(u"turniermodus");
    r.veranstalter = row.text(u"veranstalter");
    r.homepage = row.text(u"homepage");
    r.gesamtleitung = row.text(u"gesamtleitung");
    r.turnierleitung = row.text(u"turnierleitung");
    r.schiedsrichter = row.text(u"schiedsrichter");
    r.osr = row.text(u"osr");
    r.meldeschluss = row.date(u"meldeschluss");
    r.auslosung = row.date(u"auslosung");
    r.meldeinfo = row.text(u"meldeinfo");
    r.meldung_an = row.text(u"meldung_an");
    r.ainfo = row.text(u"ainfo");
    r.tische = row.text(u"tische");
    r.baelle = row.text(u"baelle");
    r.netze = row.text(u"netze");
    r.zaehlgeraete = row.text(u"zaehlgeraete");
    r.banden = row.text(u"banden");
    r.preise = row.text(u"preise");
    r.verpflegung = row.text(u"verpflegung");
    r.weg = row.text(u"weg");
    r.verschiedenes = row.text(u"verschiedenes");
    r.erstehilfe = row.text(u"erstehilfe");
    return r;
}
