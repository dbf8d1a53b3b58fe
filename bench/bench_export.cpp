// The exports of a tournament of 1,000 players in 40 classes (each 5 groups of 5, drawn, half of the
// matches played) on the file database: the whole HTML site, the PDF lists and the spreadsheets.
#include "support/benchplaene.h"
#include "draw/fertigstellen.h"
#include "output/htmlexport.h"
#include "output/listen.h"
#include "output/pdflisten.h"
#include "output/xlsxexport.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Messages of a failed export show in the benchmark's output.
class Silent : public QuietInteraction {
public:
    void message(Icon, const QString& text, Button) override { qWarning("%s", qPrintable(text)); }
};

using benchplaene::sourceFiles;

constexpr int kTid = 1;
constexpr int kKlassen = 40;
constexpr int kProKlasse = 25;

class Turnier {
public:
    Turnier() {
        path_ = dir_.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path_);
        db.connectFile(path_);
        Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername,austragungsort) VALUES (1,'Stadtmeisterschaft','Halle')"));
        Silent silent;
        int sid = 1;
        for (int k = 1; k <= kKlassen; ++k) {
            db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung,saetze) VALUES (:k,1,0,:n,3)"),
                    {{":k", k}, {":n", QStringLiteral("Klasse %1").arg(k)}});
            DrawPlan plan;
            plan.kid = k;
            plan.tid = kTid;
            plan.phases[0].system = PhasePlan::Gruppenphase;
            for (int g = 0; g < 5; ++g) {
                QVector<PlanSlot> linien;
                for (int l = 0; l < 5; ++l, ++sid) {
                    const QString name = QStringLiteral("Spieler%1").arg(sid);
                    db.exec(QStringLiteral("INSERT INTO Spielerdaten (TID,SID,nachname,vorname,verein,geb) "
                                           "VALUES (1,:s,:n,'Vorname','TTC Verein','2001-03-04')"),
                            {{":s", sid}, {":n", name}});
                    db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier (TID,KID,SID) VALUES (1,:k,:s)"),
                            {{":k", k}, {":s", sid}});
                    db.exec(QStringLiteral("INSERT INTO Tabellen (KID,GID,pos,SID,bez,spielanzahl) VALUES (:k,:g,:p,:s,:b,4)"),
                            {{":k", k}, {":g", g}, {":p", l}, {":s", sid}, {":b", name + ", Vorname"}});
                    linien << PlanSlot{sid, name + QStringLiteral(", Vorname")};
                }
                plan.phases[0].groups << linien;
            }
            if (!Fertigstellen(db, silent, sourceFiles()).fertigstellen(plan).geschrieben) qFatal("no plan");
        }
        db.exec(QStringLiteral("UPDATE Spielplan SET satz1=5,satz2=-7,satz3=9,satz4=8,ergebnis='3:1',beendet=-1 "
                               "WHERE spielnummer % 2 = 0"));
        t.commit();
    }

    Tdb_procedures db;
    QTemporaryDir out;

private:
    QTemporaryDir dir_;
    QString path_;
};

Turnier& turnier() {
    static Turnier t;
    return t;
}

listen::Datensatz datensatz(const QString& text) {
    for (const listen::Datensatz& d : listen::datensaetze(turnier().db, kTid))
        if (d.text == text) return d;
    return {};
}

void statements(benchmark::State& state) {
    state.counters["statements"] =
        benchmark::Counter(double(turnier().db.statementCount()), benchmark::Counter::kAvgIterations);
}

void BM_HtmlSite(benchmark::State& state) {
    Turnier& t = turnier();
    t.db.resetStatementCount();
    for (auto _ : state) {
        const auto seiten = htmlexport::seiten(t.db, kTid, QStringLiteral("Stadtmeisterschaft"), QStringLiteral("s.htm.html"));
        htmlexport::schreiben(t.out.path(), seiten);
        benchmark::DoNotOptimize(seiten.size());
    }
    statements(state);
}
BENCHMARK(BM_HtmlSite)->Unit(benchmark::kMillisecond);

void BM_Liste(benchmark::State& state, const char* datensatzText, bool pdf) {
    Turnier& t = turnier();
    const listen::Datensatz d = datensatz(QString::fromUtf8(datensatzText));
    const QString path = t.out.filePath(pdf ? QStringLiteral("l.pdf") : QStringLiteral("l.xlsx"));
    t.db.resetStatementCount();
    for (auto _ : state) {
        const listen::Liste l = listen::liste(t.db, kTid, QStringLiteral("Stadtmeisterschaft"), d, listen::vorgewaehlt(d.art));
        if (pdf)
            pdflisten::schreiben(path, l, QStringLiteral("Stadtmeisterschaft"));
        else
            xlsxexport::schreiben(path, l);
        state.counters["rows"] = double(l.zeilen.size());
    }
    statements(state);
}
BENCHMARK_CAPTURE(BM_Liste, pdf_spielerliste, "Spielerliste (komplett)", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Liste, pdf_spielplan, "Spielplan (komplett)", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Liste, pdf_tabellen, "Gruppen/Tabellen (Klasse 1 (Einzel))", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Liste, xlsx_spielerliste, "Spielerliste (komplett)", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Liste, xlsx_spielplan, "Spielplan (komplett)", false)->Unit(benchmark::kMillisecond);

} // namespace
