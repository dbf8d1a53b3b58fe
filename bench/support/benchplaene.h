#pragma once
// What the plan benchmarks share: an interaction nobody answers, the data files of the source tree, and
// the two classes they measure (16 groups of 8 then a knock-out of 32; a double knock-out of 128).
#include "common/quietinteraction.h"
#include "draw/fertigstellen.h"

#include <QDir>
#include <QString>

namespace benchplaene {

// Nobody answers: a refusal shows in the counters (the messages kept) as a plan without matches.
using Silent = QuietInteraction;

// The source tree's data files, wherever the benchmark is started from.
inline Datendateien sourceFiles() {
    const QDir data(QStringLiteral(VELMORA_SOURCE_DIR "/data/Files"));
    return {data.filePath(QStringLiteral("system.txt")), data.filePath(QStringLiteral("ko_system.txt"))};
}

// Entry `sid`, named after `muster` ("%1" is the number).
inline PlanSlot entry(int sid, const QString& muster) {
    return {sid, muster.arg(sid)};
}

inline const QString kName = QStringLiteral("Spieler%1, Vorname");

// 16 groups of 8 entries, then a single knock-out of the 32 first and second placed.
inline DrawPlan groupsThenKnockOut(int kid = 1, const QString& muster = kName) {
    DrawPlan d;
    d.kid = kid;
    d.tid = 1;
    PhasePlan& groups = d.phases[0];
    groups.system = PhasePlan::Gruppenphase;
    int sid = 1;
    for (int g = 0; g < 16; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < 8; ++l)
            lines << entry(sid++, muster);
        groups.groups << lines;
    }
    PhasePlan& ko = d.phases[1];
    ko.system = PhasePlan::EinfachesKO;
    ko.firstGid = 16;
    for (int k = 0; k < 32; ++k) {
        const int g = k % 16;
        const QString letter(QChar(u'A' + g));
        ko.bracket << PlanSlot{
            -1, (k < 16 ? QStringLiteral("Sieger Gruppe ") : QStringLiteral("Zweiter Gruppe ")) + letter, g,
            k < 16 ? 0 : 1};
    }
    return d;
}

inline DrawPlan doubleKnockOut128(int kid = 1, const QString& muster = kName) {
    DrawPlan d;
    d.kid = kid;
    d.tid = 1;
    d.phases[0].system = PhasePlan::DoppeltesKO;
    for (int i = 0; i < 128; ++i)
        d.phases[0].bracket << entry(i + 1, muster);
    return d;
}

} // namespace benchplaene
