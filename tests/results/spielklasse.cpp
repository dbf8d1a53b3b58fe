#include "spielklasse.h"

#include <QVariant>

namespace spielklasse {

namespace {

QString shipped(const char* file) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/") + QString::fromLatin1(file);
}

QVariant oderNull(int v, bool da) {
    return da ? QVariant(v) : QVariant();
}

} // namespace

QString name(int sid) {
    return QStringLiteral("Spieler %1").arg(sid);
}

PlanSlot eintrag(int sid) {
    return {sid, name(sid)};
}

PlanSlot label(const QString& text, int gid, int pos) {
    return {-1, text, gid, pos};
}

PhasePlan gruppen(int anzahl, int plaetze, int firstSid) {
    PhasePlan p;
    p.system = PhasePlan::Gruppenphase;
    int sid = firstSid;
    for (int g = 0; g < anzahl; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < plaetze; ++l)
            lines << eintrag(sid++);
        p.groups << lines;
    }
    return p;
}

PhasePlan bracket(int system, const QVector<PlanSlot>& felder, int firstGid) {
    PhasePlan p;
    p.system = system;
    p.bracket = felder;
    p.firstGid = firstGid;
    return p;
}

DrawPlan vierGruppenInsKO(int firstSid) {
    const char* ko[] = {"Sieger Gruppe A", "Zweiter Gruppe B", "Sieger Gruppe C", "Zweiter Gruppe D",
                        "Sieger Gruppe B", "Zweiter Gruppe A", "Sieger Gruppe D", "Zweiter Gruppe C"};
    const int herkunft[][2] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {1, 0}, {0, 1}, {3, 0}, {2, 1}};
    QVector<PlanSlot> felder;
    for (int i = 0; i < 8; ++i)
        felder << label(QString::fromUtf8(ko[i]), herkunft[i][0], herkunft[i][1]);
    DrawPlan plan;
    plan.phases = {gruppen(4, 4, firstSid), bracket(PhasePlan::EinfachesKO, felder, 4), PhasePlan{}};
    return plan;
}

void anlegen(Tdb_procedures& db, const std::array<Phase, 3>& phasen, const DrawPlan& vorlage, int kind,
             int saetze, int kid) {
    einstellungenAnlegen(db, phasen, kind, saetze, kid);
    planSchreiben(db, phasen, vorlage, kind, kid);
}

void einstellungenAnlegen(Tdb_procedures& db, const std::array<Phase, 3>& phasen, int kind, int saetze,
                          int kid) {
    db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, saetze) VALUES "
                           "(:k, :t, :s, 'Klasse', :sa)"),
            {{":k", kid}, {":t", kTid}, {":s", kind}, {":sa", saetze}});
    Params p{{":k", kid}};
    for (int n = 0; n < 3; ++n) {
        const Phase& ph = phasen[n];
        const bool da = ph.system >= 0;
        const QString s = QString::number(n + 1);
        p.append({":p" + s, oderNull(ph.system, da)});
        p.append({":g" + s, oderNull(ph.gruppen, da)});
        p.append({":t" + s, oderNull(ph.teilnehmer, da)});
        p.append({":b" + s, oderNull(ph.besten, da)});
        p.append({":bp" + s, oderNull(ph.bestplazierten, da)});
    }
    db.exec(QStringLiteral(
                "INSERT INTO Gruppeneinstellungen (KID, phase1, phase2, phase3, gruppenanzahl1, "
                "gruppenanzahl2, gruppenanzahl3, teilnehmer1, teilnehmer2, teilnehmer3, besten1, besten2, "
                "besten3, bestplazierten1, bestplazierten2, bestplazierten3, gesetzt) VALUES (:k, :p1, :p2, "
                ":p3, :g1, :g2, :g3, :t1, :t2, :t3, :b1, :b2, :b3, :bp1, :bp2, :bp3, 0)"),
            p);
}

void planSchreiben(Tdb_procedures& db, const std::array<Phase, 3>& phasen, const DrawPlan& vorlage, int kind,
                   int kid) {
    gruppeninfos infos;
    infos.kind = kind;
    for (int n = 0; n < 3; ++n) {
        const Phase& ph = phasen[n];
        const bool da = ph.system >= 0;
        infos.phase[n] = da ? ph.system : -1;
        infos.gruppenanzahl[n] = da ? ph.gruppen : -1;
        infos.teilnehmer[n] = da ? ph.teilnehmer : -1;
        infos.besten[n] = da ? ph.besten : -1;
        infos.bestplazierten[n] = da ? ph.bestplazierten : -1;
    }
    DrawPlan plan = vorlage;
    plan.kid = kid;
    plan.tid = kTid;
    plan.kind = kind;
    Gruppenauslosung a;
    a.kid = kid;
    a.infos = infos;
    a.tische.tische = {QStringLiteral("1"), QStringLiteral("2")};
    for (int n = 0; n < 3; ++n) {
        const PhasePlan& ph = plan.phases[n];
        if (ph.system != PhasePlan::Gruppenphase) continue;
        for (int g = 0; g < ph.groups.size(); ++g) {
            Gruppenliste liste;
            liste.gid = ph.firstGid + g;
            for (const PlanSlot& s : ph.groups[g]) {
                Myitem item;
                item.id = s.id;
                item.text = s.text;
                liste.zeilen << item;
            }
            a.gruppen[n] << liste;
        }
    }
    ScriptedInteraction still;
    Fertigstellen f(db, still, {shipped("system.txt"), shipped("ko_system.txt")});
    const auto r = f.fertigstellen(plan, [&] { gruppenspeichern(db, a); });
    ASSERT_TRUE(r.geschrieben) << still.texts().join(u'\n').toStdString();
}

ErgebnisEingabe eingabe(int snr, const QString& ergebnis, const QStringList& saetze, int kid) {
    ErgebnisEingabe e;
    e.kid = kid;
    e.snr = snr;
    e.ergebnis = ergebnis;
    e.saetze = saetze;
    e.platte = QStringLiteral("1");
    e.jetzt = QDateTime(QDate(2026, 5, 1), QTime(10, 0));
    return e;
}

namespace {
ErgebnisEingabe ersterGewinnt(const SpielplanRow& m, bool erster) {
    const int kid = m.KID > 0 ? m.KID : kKid;
    return erster ? eingabe(m.spielnummer, QStringLiteral("3:1"), {"+5", "-7", "+9", "+3"}, kid)
                  : eingabe(m.spielnummer, QStringLiteral("1:3"), {"-5", "+7", "-9", "-3"}, kid);
}
} // namespace

ErgebnisEingabe staerkereGewinnt(const SpielplanRow& m) {
    return ersterGewinnt(m, m.SID1 < m.SID2);
}

ErgebnisEingabe schwaechereGewinnt(const SpielplanRow& m) {
    return ersterGewinnt(m, m.SID1 > m.SID2);
}

QVector<SpielplanRow> spiele(Tdb_procedures& db, int kid) {
    return matchrecord::matchesOfClass(db, kid);
}

SpielplanRow spiel(Tdb_procedures& db, int snr, int kid) {
    return matchrecord::readMatch(db, kid, snr).value_or(SpielplanRow{});
}

std::optional<SpielplanRow> naechstes(Tdb_procedures& db, int kid) {
    for (const SpielplanRow& m : spiele(db, kid))
        if (hasBothSides(m) && !m.beendet) return m;
    return std::nullopt;
}

int allesSpielen(Tdb_procedures& db, Ergebnisverarbeitung& ev,
                 const std::function<ErgebnisEingabe(const SpielplanRow&)>& ergebnis) {
    int n = 0;
    while (const auto m = naechstes(db)) {
        const Beendet b = ev.db_beendet(ergebnis(*m));
        EXPECT_TRUE(b.geschrieben) << "match " << m->spielnummer;
        if (!b.geschrieben) break;
        ++n;
    }
    return n;
}

std::vector<std::pair<int, int>> stand(Tdb_procedures& db, int gid) {
    std::vector<std::pair<int, int>> out;
    for (const TabellenRow& r : tabellen::gruppeLesen(db, kKid, gid))
        if (r.SID > 0) out.emplace_back(r.SID, r.pos);
    return out;
}

} // namespace spielklasse
