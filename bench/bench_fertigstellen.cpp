// Draw completion at tournament size on the file database: the whole plan of a class written, its byes
// settled, in one transaction. The group store of the dialog is not part of it.
#include "common/interaction.h"
#include "draw/fertigstellen.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Nobody answers: a refusal would show in the counters as a plan without matches.
class Silent : public Interaction {
public:
    void message(Icon, const QString&, Button) override { ++messages; }
    bool confirm(const QString&, Question) override { return false; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void progress(int, int) override {}
    bool print(const QString&, QPageLayout::Orientation, const std::function<void(PrintSurface&)>&,
               PrintMode) override {
        return false;
    }
    int messages = 0;
};

Datendateien sourceFiles() {
    // The source tree's files, wherever the benchmark is started from.
    const QDir data(QStringLiteral(VELMORA_SOURCE_DIR "/data/Files"));
    return {data.filePath(QStringLiteral("system.txt")), data.filePath(QStringLiteral("ko_system.txt"))};
}

PlanSlot entry(int sid) {
    return {sid, QStringLiteral("Spieler%1, Vorname").arg(sid)};
}

// 16 groups of 8 entries, then a single knock-out of the 32 first and second placed.
DrawPlan groupsThenKnockOut() {
    DrawPlan d;
    d.kid = 1;
    d.tid = 1;
    PhasePlan& groups = d.phases[0];
    groups.system = PhasePlan::Gruppenphase;
    int sid = 1;
    for (int g = 0; g < 16; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < 8; ++l)
            lines << entry(sid++);
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

DrawPlan doubleKnockOut128() {
    DrawPlan d;
    d.kid = 1;
    d.tid = 1;
    d.phases[0].system = PhasePlan::DoppeltesKO;
    for (int i = 0; i < 128; ++i)
        d.phases[0].bracket << entry(i + 1);
    return d;
}

void complete(benchmark::State& state, const DrawPlan& plan) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.sqlite"));
    schema::createFile(path);
    Tdb_procedures db;
    db.connectFile(path);
    Silent silent;
    Fertigstellen f(db, silent, sourceFiles());
    qint64 statements = 0;
    int matches = 0;
    for (auto _ : state) {
        db.resetStatementCount();
        f.fertigstellen(plan);
        statements = db.statementCount();
    }
    matches = db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spielplan WHERE KID=1")).integer(u"n");
    state.counters["statements"] = double(statements);
    state.counters["matches"] = matches;
    state.counters["refusals"] = silent.messages;
}

void BM_GroupsThenKnockOut(benchmark::State& state) {
    complete(state, groupsThenKnockOut());
}
BENCHMARK(BM_GroupsThenKnockOut)->Unit(benchmark::kMillisecond);

void BM_DoubleKnockOut128(benchmark::State& state) {
    complete(state, doubleKnockOut128());
}
BENCHMARK(BM_DoubleKnockOut128)->Unit(benchmark::kMillisecond);

// The same bracket with 65 entries: 63 byes to settle.
void BM_DoubleKnockOut128WithByes(benchmark::State& state) {
    DrawPlan plan = doubleKnockOut128();
    for (int i = 0; i < 128; ++i)
        if (i % 2 == 1 && i > 1) plan.phases[0].bracket[i] = PlanSlot{};
    complete(state, plan);
}
BENCHMARK(BM_DoubleKnockOut128WithByes)->Unit(benchmark::kMillisecond);

} // namespace
