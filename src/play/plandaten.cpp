#include "play/plandaten.h"

#include "play/planbau.h"
#include "results/tabellen_db.h"
#include "store/db_procedures.h"

namespace {

GruppenRow gruppenFromRow(const Row& r) {
    GruppenRow g;
    g.GID = r.integer(u"GID");
    g.pos = r.integer(u"pos");
    g.SID = r.integer(u"SID");
    g.bez = r.text(u"bez");
    g.phase = r.integer(u"phase");
    return g;
}

} // namespace

PlanDaten planDatenLaden(Tdb_procedures& db, int kid, const QString& koSystemPath) {
    PlanDaten d;
    d.koSystemPath = koSystemPath;
    d.info = infosladen(db, kid);
    d.matches = matchrecord::matchesOfClass(db, kid);
    const Params k{{QStringLiteral(":k"), kid}};
    const Rows gruppen = db.select(QStringLiteral("SELECT * FROM Gruppen WHERE KID=:k ORDER BY GID,pos"), k);
    d.gruppen.reserve(gruppen.size());
    for (const Row& r : gruppen)
        d.gruppen.append(gruppenFromRow(r));
    const Rows tabellen =
        db.select(QStringLiteral("SELECT * FROM Tabellen WHERE KID=:k ORDER BY GID,pos"), k);
    d.tabellen.reserve(tabellen.size());
    for (const Row& r : tabellen)
        d.tabellen.append(tabellen::fromRow(r));
    return d;
}

PlanLayout phasenplan(const PlanDaten& d, int phase, int zoom) {
    if (!d.info.found) {
        PlanLayout l;
        l.error = planbau::fehlendeEinstellungen();
        return l;
    }
    if (phase < 1 || phase > 3) return {};
    switch (d.info.phase[phase - 1]) {
    case 0:
        return gruppenplanerstellen(d, phase);
    case 1:
        return koplanerstellen(d, phase, zoom);
    case 2:
        return doppeltes_koplanerstellen(d, phase, zoom);
    default:
        return {};
    }
}

namespace planbau {

void addPhaseTools(PlanLayout& l, int x) {
    const struct {
        PlanToolAction action;
        const char* image;
        const char* hint;
    } tools[] = {
        {PlanToolAction::MatchList, "document_time.bmp", "Gesamtspielplan anzeigen"},
        {PlanToolAction::Redraw, "replace.bmp", "Phase neu auslosen"},
        {PlanToolAction::Print, "printer.bmp", "Phase ausdrucken"},
    };
    for (int i = 0; i < 3; ++i) {
        PlanTool t;
        t.box = QRect(x + 25 * i, 5, kToolSize, kToolSize);
        t.action = tools[i].action;
        t.image = QString::fromLatin1(tools[i].image);
        t.hint = QString::fromUtf8(tools[i].hint);
        t.tag = -1;
        l.tools.append(t);
    }
}

PlanText nameLabel(const QRect& box, const QString& name, int sid, int size) {
    PlanText t;
    t.box = box;
    t.text = sid == kSeiteFreilos ? QStringLiteral("Freilos") : name;
    t.sid = sid;
    t.size = size;
    return t;
}

PlanText text(const QRect& box, const QString& s, int size) {
    PlanText t;
    t.box = box;
    t.text = s;
    t.size = size;
    return t;
}

PlanStatusCell statusCell(const QRect& box, int spielnummer, bool mirrored) {
    PlanStatusCell c;
    c.box = box;
    c.spielnummer = spielnummer;
    c.mirrored = mirrored;
    c.name = (mirrored ? QStringLiteral("statusx") : QStringLiteral("status")) + QString::number(spielnummer);
    return c;
}

Spielindex::Spielindex(const QVector<SpielplanRow>& matches) : matches_(matches) {
    at_.reserve(matches.size());
    for (int i = 0; i < matches.size(); ++i)
        at_.insert(matches[i].spielnummer, i);
}

const SpielplanRow* Spielindex::find(int spielnummer) const {
    const auto it = at_.constFind(spielnummer);
    return it == at_.constEnd() ? nullptr : &matches_[*it];
}

QVector<const SpielplanRow*> phaseMatches(const PlanDaten& d, int phase) {
    QVector<const SpielplanRow*> out;
    for (const SpielplanRow& m : d.matches)
        if (m.phase == phase) out.append(&m);
    return out;
}

int firstColumnCount(const QVector<const SpielplanRow*>& rows) {
    return int(std::count_if(rows.begin(), rows.end(), [](const SpielplanRow* m) {
        return m->parentspiel1 == -1 && m->parentspiel2 == -1 && m->gruppe < 0;
    }));
}

QString fehlendeEinstellungen() {
    return QStringLiteral(
        "Für diese Klasse sind keine Phaseneinstellungen gespeichert: ihre Pläne können nicht "
        "gezeigt werden. Bitte die Einstellungen der Klasse speichern und neu auslosen.");
}

} // namespace planbau
