#include "play/freilisten.h"

#include "play/plandaten.h"
#include "store/db_procedures.h"

const QString Freilisten::allespieler = QStringLiteral("allespieler");
const QString Freilisten::alleplatten = QStringLiteral("alleplatten");
const QString Freilisten::schiri = QStringLiteral("schiri");

Ressourcen ressourcenLaden(Tdb_procedures& db, int kid) {
    Ressourcen r;
    for (const Row& row : db.select(QStringLiteral("SELECT GID,platte FROM Platten WHERE KID=:KID ORDER BY platte"),
                                    {{QStringLiteral(":KID"), kid}}))
        r.platten.append({row.integer(u"GID"), row.text(u"platte")});
    for (const Row& row : db.select(
             QStringLiteral("SELECT s.SCHIRIID,snname,svname FROM Schiri AS s INNER JOIN Schiri_im_turnier AS st "
                            "ON (s.schiriid=st.schiriid AND st.KID=:ID AND s.sangemeldet<>0)"),
             {{QStringLiteral(":ID"), kid}}))
        r.schiris.append({row.text(u"snname") + QStringLiteral(", ") + row.text(u"svname"), row.integer(u"SCHIRIID")});
    return r;
}

bool Freilisten::enthaelt(const QString& name, const QString& eintrag) const {
    const auto it = listen_.constFind(name);
    return it != listen_.cend() && it->contains(eintrag);
}

void Freilisten::hinzufuegen(const QString& name, const QString& eintrag) {
    const auto it = listen_.find(name);
    if (it != listen_.end() && !it->contains(eintrag)) it->append(eintrag);
}

void Freilisten::entfernen(const QString& name, const QString& eintrag) {
    const auto it = listen_.find(name);
    if (it != listen_.end()) it->removeOne(eintrag);
}

QString Freilisten::spielerliste(int gruppe) const {
    return gruppe >= 0 && exists(sliste(gruppe)) ? sliste(gruppe) : allespieler;
}

QString Freilisten::plattenliste(int gruppe) const {
    return gruppe >= 0 && exists(platte(gruppe)) ? platte(gruppe) : alleplatten;
}

QStringList Freilisten::allePlattenlisten() const {
    QStringList out;
    for (auto it = listen_.cbegin(); it != listen_.cend(); ++it)
        if (it.key().startsWith(u"platte") || it.key() == alleplatten) out << it.key();
    return out;
}

QStringList Freilisten::alleSpielerlisten() const {
    QStringList out;
    for (auto it = listen_.cbegin(); it != listen_.cend(); ++it)
        if (it.key().startsWith(u"sliste") || it.key() == allespieler) out << it.key();
    return out;
}

bool Freilisten::istSchiri(const QString& name) const {
    for (const SchiriEintrag& s : alleschiris)
        if (s.name == name) return true;
    return false;
}

namespace {

void appendOnce(QStringList& l, const QString& s) {
    if (!l.contains(s)) l.append(s);
}

} // namespace

Freilisten freilistenErstellen(const PlanDaten& d, const Ressourcen& r) {
    Freilisten f;
    auto umpires = [&] {
        if (f.exists(Freilisten::schiri)) return;
        f.anlegen(Freilisten::schiri);
        for (const SchiriEintrag& s : r.schiris)
            f.hinzufuegen(Freilisten::schiri, s.name);
        f.alleschiris = r.schiris;
    };
    auto aussenlisten = [&](bool nurAusserhalbGruppen) {
        if (!f.exists(Freilisten::allespieler)) {
            QStringList l;
            for (const SpielplanRow& m : d.matches) {
                if (nurAusserhalbGruppen && m.gruppe != -1) continue;
                if (m.SID1 >= 0) appendOnce(l, QString::number(m.SID1));
                if (m.SID2 >= 0) appendOnce(l, QString::number(m.SID2));
            }
            f.anlegen(Freilisten::allespieler);
            for (const QString& s : l)
                f.hinzufuegen(Freilisten::allespieler, s);
        }
        if (!f.exists(Freilisten::alleplatten)) {
            f.anlegen(Freilisten::alleplatten);
            for (const Ressourcen::Platte& p : r.platten)
                f.hinzufuegen(Freilisten::alleplatten, p.platte);
        }
    };

    for (int p = 1; p <= 3; ++p) {
        const int system = d.info.phase[p - 1];
        if (system == 0) {
            const int first = d.info.firstGid(p);
            for (int gid = first; gid < first + std::max(d.info.gruppen[p - 1], 0); ++gid) {
                const QString sl = Freilisten::sliste(gid), pl = Freilisten::platte(gid);
                f.anlegen(sl);
                f.anlegen(pl);
                // A line of a later phase waits with its label ("Sieger Gruppe A") and no entry; result
                // processing puts the entry in when it moves on.
                for (const GruppenRow& g : d.gruppen)
                    if (g.GID == gid && !g.bez.isEmpty() && g.SID > 0) f.hinzufuegen(sl, QString::number(g.SID));
                for (const Ressourcen::Platte& t : r.platten)
                    if (t.GID == gid) f.hinzufuegen(pl, t.platte);
            }
            umpires();
        } else if (system == 1 || system == 2) {
            // A bracket without matches in its first column is not drawn and creates nothing.
            bool gezeichnet = false;
            for (const SpielplanRow& m : d.matches)
                if (m.phase == p && m.gruppe < 0 && m.parentspiel1 == -1 && m.parentspiel2 == -1) gezeichnet = true;
            if (!gezeichnet) continue;
            aussenlisten(true);
            umpires();
        }
    }
    // The placement page is drawn after the phases.
    aussenlisten(false);
    return f;
}
