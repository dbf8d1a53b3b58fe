#pragma once

// Real plans for the plan drawings: a class with its settings, its plan written by draw completion and
// its groups stored as the draw's group store writes them.
#include "draw/auslosungsdb.h"
#include "draw/datafiles.h"
#include "draw/fertigstellen.h"
#include "play/matchrecord.h"
#include "play/plandaten.h"
#include "support/scripted_interaction.h"

#include <QDateTime>
#include <algorithm>
#include <functional>
#include <string>

namespace plantest {

inline QString shippedFile(const char* name) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/") + QString::fromLatin1(name);
}
inline Datendateien shippedFiles() {
    return {shippedFile("system.txt"), shippedFile("ko_system.txt")};
}
inline std::string str(const QString& s) {
    return s.toStdString();
}

inline QString nameOf(int sid) {
    return QStringLiteral("Spieler %1").arg(sid);
}
inline QVector<PlanSlot> entries(int count, int firstSid = 101) {
    QVector<PlanSlot> out;
    for (int i = 0; i < count; ++i)
        out << PlanSlot{firstSid + i, nameOf(firstSid + i)};
    return out;
}

// `groups` groups of `places` lines filled from firstSid on; `empty` lines (group, line) stay empty.
inline PhasePlan entryGroups(int groups, int places, int firstSid = 101,
                             const QVector<std::pair<int, int>>& empty = {}) {
    PhasePlan p;
    p.system = PhasePlan::Gruppenphase;
    int sid = firstSid;
    for (int g = 0; g < groups; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < places; ++l) {
            if (empty.contains({g, l})) {
                lines << PlanSlot{};
            } else {
                lines << PlanSlot{sid, nameOf(sid)};
                ++sid;
            }
        }
        p.groups << lines;
    }
    return p;
}

inline PhasePlan bracket(int system, const QVector<PlanSlot>& slotList) {
    PhasePlan p;
    p.system = system;
    p.bracket = slotList;
    return p;
}

// A plan made by draw completion's own computation, without a database: every first-column slot holds
// `name(i)`.
inline QVector<SpielplanRow> rowsOf(const QVector<Spielwerte>& werte) {
    QVector<SpielplanRow> out;
    for (const Spielwerte& w : werte) {
        SpielplanRow m;
        m.KID = 1;
        m.spielnummer = w.spielnummer;
        m.SID1 = w.SID1;
        m.SID2 = w.SID2;
        m.spieler1 = w.spieler1;
        m.spieler2 = w.spieler2;
        m.parentspiel1 = w.parentspiel1;
        m.parentspiel2 = w.parentspiel2;
        m.parentsieger1 = w.parentsieger1;
        m.parentsieger2 = w.parentsieger2;
        m.phase = w.phase;
        m.gruppe = w.gruppe;
        out << m;
    }
    return out;
}

// A bracket of `entryCount` entries without a database, named nameOf(101 …) or by `name`.
inline PlanDaten pureBracket(int system, int entryCount, const std::function<QString(int)>& name = {}) {
    PlanDaten d;
    d.info.found = true;
    d.info.phase[0] = system;
    d.koSystemPath = shippedFile("ko_system.txt");
    QVector<PlanSlot> slotList;
    for (int i = 0; i < entryCount; ++i)
        slotList << PlanSlot{101 + i, name ? name(i) : nameOf(101 + i)};
    const PhasePlan p = bracket(system, slotList);
    const spielplan::Phasenbeginn b{1, 1, spielplan::Herkunft::Eintraege, nullptr};
    if (system == PhasePlan::EinfachesKO) {
        d.matches = rowsOf(spielplan::einfachesKO(p, b));
    } else {
        datafiles::KoPlanReader reader;
        const auto plan = reader.read(d.koSystemPath, spielplan::bracketSize(entryCount));
        EXPECT_TRUE(plan.has_value()) << str(reader.errorString());
        if (plan) d.matches = rowsOf(spielplan::doppeltesKO(p, b, *plan));
    }
    return d;
}

// The texts of a layout by their text, and those whose box starts at x.
inline const PlanText* findText(const PlanLayout& l, const QString& text) {
    for (const PlanText& t : l.texts)
        if (t.text == text) return &t;
    return nullptr;
}
inline const PlanText* findNamed(const PlanLayout& l, const QString& name) {
    for (const PlanText& t : l.texts)
        if (t.name == name) return &t;
    return nullptr;
}
inline const PlanStatusCell* findCell(const PlanLayout& l, const QString& name) {
    for (const PlanStatusCell& c : l.cells)
        if (c.name == name) return &c;
    return nullptr;
}

inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}

class PlanTest : public Auslosungsdb {
protected:
    static constexpr int kKid = 5;

    void SetUp() override {
        Auslosungsdb::SetUp();
        if (IsSkipped()) return;
        klasse(kKid, 0);
    }

    // Settings with phases and four counts per phase (groups, places, best, best-placed); a missing
    // phase is NULL.
    void settings(std::array<int, 3> systems, std::array<int, 3> groups = {0, 0, 0},
                  std::array<int, 3> places = {0, 0, 0}) {
        QVariantList phasen, zahlen(12);
        for (int i = 0; i < 3; ++i) {
            phasen << (systems[i] < 0 ? QVariant() : QVariant(systems[i]));
            if (systems[i] < 0) continue;
            zahlen[i] = groups[i];
            zahlen[3 + i] = places[i];
            zahlen[6 + i] = 1;
            zahlen[9 + i] = 0;
        }
        einstellungen(kKid, phasen, zahlen);
    }

    // Writes the plan through draw completion, storing the group lines of every group phase first.
    void write(DrawPlan plan, const Datendateien& files = shippedFiles()) {
        plan.kid = kKid;
        plan.tid = 1;
        int gid = 0;
        for (PhasePlan& p : plan.phases) {
            p.firstGid = gid;
            if (p.system == PhasePlan::Gruppenphase) gid += int(p.groups.size());
        }
        Fertigstellen f(db(), ui, files);
        const Fertigstellen::Ergebnis e = f.fertigstellen(plan, [&] { storeGroups(plan); });
        ASSERT_TRUE(e.geschrieben) << str(ui.texts().join(u'\n'));
    }

    PlanDaten load(const QString& koSystem = shippedFile("ko_system.txt")) {
        return planDatenLaden(db(), kKid, koSystem);
    }

    void finishMatch(int snr, const QString& ergebnis) {
        const std::optional<SpielplanRow> m = matchrecord::readMatch(db(), kKid, snr);
        ASSERT_TRUE(m.has_value());
        const bool first = ergebnis.section(u':', 0, 0).toInt() > ergebnis.section(u':', 1, 1).toInt();
        matchrecord::finish(db(), kKid, snr, QDateTime(QDate(2026, 5, 1), QTime(10, 0)), Saetze{}, ergebnis,
                            first ? m->SID1 : m->SID2, first ? m->SID2 : m->SID1);
    }

    ScriptedInteraction ui;

private:
    void storeGroups(const DrawPlan& plan) {
        for (int n = 1; n <= 3; ++n) {
            const PhasePlan& p = plan.phase(n);
            if (p.system != PhasePlan::Gruppenphase) continue;
            for (int g = 0; g < p.groups.size(); ++g)
                for (int q = 0; q < p.groups[g].size(); ++q) {
                    const PlanSlot& s = p.groups[g][q];
                    const QString bez = s.text.isNull() ? QStringLiteral("") : s.text;
                    const int sid = n == 1 ? (bez.isEmpty() ? -1 : s.id) : -3;
                    const Params row{
                        {":k", kKid},         {":g", p.firstGid + g}, {":p", q}, {":s", sid}, {":b", bez},
                        {":pg", s.parentGID}, {":pp", s.parentpos},   {":ph", n}};
                    db().exec("INSERT INTO Gruppen VALUES (:k,:g,:p,:s,:b,:pg,:pp,0,0,:ph)", row);
                    db().exec("INSERT INTO Tabellen VALUES (:k,:g,:p,:s,:b,0,0,0,0,0,0,0,0,0,0,:pg,:pp,:ph)",
                              row);
                }
        }
    }
};

} // namespace plantest
