// The scheduler's grid on a full tournament in the file database: 40 classes with 50 matches each, all
// 2,000 planned over three days on 20 tables. Opening reads every planned match and fills the first day;
// a day change only fills the grid again; a drop that pushes another match out writes both in one
// transaction.
#include "common/interaction.h"
#include "play/matchrecord.h"
#include "play/planung.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class Silent : public Interaction {
public:
    void message(Icon, const QString&, Button) override {}
    bool confirm(const QString&, Question) override { return false; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void progress(int, int) override {}
    bool print(const QString&, QPageLayout::Orientation, const std::function<void(PrintSurface&)>&,
               PrintMode) override {
        return false;
    }
};

constexpr int kKlassen = 40;
constexpr int kSpieleJeKlasse = 50;
constexpr int kTische = 20;
constexpr int kTage = 3;
const QDate kErsterTag(2026, 5, 1);

class Turnier {
public:
    Turnier() {
        path_ = dir_.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path_);
        db.connectFile(path_);
        Transaction t(db);
        db.exec(
            QStringLiteral("INSERT INTO Turnierdaten (TID, turniername, tvon, tbis) VALUES (1,'B',:v,:b)"),
            {{":v", kErsterTag}, {":b", kErsterTag.addDays(kTage - 1)}});
        for (int c = 1; c <= kTische; ++c)
            db.exec(QStringLiteral("INSERT INTO Platten1 VALUES (1,:p,1)"),
                    {{":p", QStringLiteral("Tisch %1").arg(c, 2, 10, QChar(u'0'))}});
        int g = 0;
        for (int kid = 1; kid <= kKlassen; ++kid) {
            db.exec(
                QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, farbe) VALUES "
                               "(:k,1,0,:n,'lightblue')"),
                {{":k", kid}, {":n", QStringLiteral("Klasse %1").arg(kid, 2, 10, QChar(u'0'))}});
            for (int snr = 1; snr <= kSpieleJeKlasse; ++snr, ++g) {
                SpielplanRow m;
                m.KID = kid;
                m.TID = 1;
                m.spielnummer = snr;
                m.SID1 = 1000 + 2 * g;
                m.SID2 = 1001 + 2 * g;
                m.spieler1 = QStringLiteral("Spieler%1, Vorname").arg(m.SID1);
                m.spieler2 = QStringLiteral("Spieler%1, Vorname").arg(m.SID2);
                const int tag = g % kTage, platz = g / kTage;
                m.geplanter_tag = kErsterTag.addDays(tag);
                m.geplanter_tisch = QStringLiteral("Tisch %1").arg(platz % kTische + 1, 2, 10, QChar(u'0'));
                m.geplante_zeit = QDateTime(m.geplanter_tag, planung::zeitVon(1 + 2 * (platz / kTische)));
                matchrecord::insertMatch(db, m);
            }
        }
        t.commit();
    }

    Tdb_procedures db;
    Silent ui;

private:
    QTemporaryDir dir_;
    QString path_;
};

void BM_Planung_Oeffnen(benchmark::State& state) {
    Turnier t;
    qint64 statements = 0;
    int spiele = 0;
    for (auto _ : state) {
        t.db.resetStatementCount();
        Planung p(t.db, t.ui, 1);
        p.laden();
        spiele = int(p.spieleDesTages().size());
        statements = t.db.statementCount();
    }
    state.counters["statements"] = double(statements);
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_Oeffnen)->Unit(benchmark::kMillisecond);

void BM_Planung_Tagwechsel(benchmark::State& state) {
    Turnier t;
    Planung p(t.db, t.ui, 1);
    p.laden();
    bool vor = true;
    int spiele = 0;
    t.db.resetStatementCount();
    for (auto _ : state) {
        if (!(vor ? p.naechsterTag() : p.vorherigerTag())) {
            vor = !vor;
            continue;
        }
        spiele = int(p.spieleDesTages().size());
    }
    state.counters["statements"] = double(t.db.statementCount());
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_Tagwechsel)->Unit(benchmark::kMillisecond);

// The match at rows 1/2 of table 1 dropped onto row 4, the lower half of the match at 3/4, which is
// unplanned: two writes in one transaction. Between the timed drops both go back to where they were.
void BM_Planung_VerschiebenMitVerdraengen(benchmark::State& state) {
    Turnier t;
    Planung p(t.db, t.ui, 1);
    p.laden();
    const int spiele = int(p.spieleDesTages().size());
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const PlanSpiel unten = *p.zelle(1, 3).spiel;
        t.db.resetStatementCount();
        state.ResumeTiming();
        p.verschieben(1, 1, 1, 4);
        state.PauseTiming();
        statements = t.db.statementCount();
        p.verschieben(1, 4, 1, 1);
        p.einplanen(unten, 1, 3);
        state.ResumeTiming();
    }
    state.counters["statements"] = double(statements);
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_VerschiebenMitVerdraengen)->Unit(benchmark::kMillisecond);

} // namespace
