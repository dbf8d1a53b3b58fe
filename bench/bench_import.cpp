// The player import at tournament size: 1,000 rows read from a spreadsheet (.csv and .xlsx) or another
// tournament file, and imported into the file database in one transaction.
#include "common/quietinteraction.h"
#include "entries/import.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

namespace {

constexpr int kRows = 1000;

class SilentInteraction : public QuietInteraction {
public:
    SilentInteraction() : QuietInteraction(true) {}
};

QString nachname(int i) {
    return QStringLiteral("Müller-%1").arg(i);
}
QString vorname(int i) {
    return QStringLiteral("Jürgen %1").arg(i % 37);
}

// The target tournament and the three sources, made once per run.
struct Umgebung {
    QTemporaryDir dir;
    Tdb_procedures db;
    AppState state;
    SilentInteraction ui;
    QString csv, xlsx, turnierdatei;

    Umgebung() {
        const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
        schema::createFile(path);
        db.connectFile(path);
        state.tid = 1;
        state.turniername = QStringLiteral("Bezirksmeisterschaft");
        state.dbKind = DbKind::File;
        state.trueValue = db.trueValue();

        QString text = QStringLiteral("Nachname;Vorname;Verein;Geburtstag\r\n");
        for (int i = 0; i < kRows; ++i)
            text += QStringLiteral("%1;%2;TTC Grün-Weiß %3;%4.03.2001\r\n")
                        .arg(nachname(i), vorname(i))
                        .arg(i % 40)
                        .arg(1 + i % 28);
        csv = dir.filePath(QStringLiteral("spieler.csv"));
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        f.write(text.toLatin1());
        f.close();

        xlsx = dir.filePath(QStringLiteral("spieler.xlsx"));
        lxw_workbook* wb = workbook_new(xlsx.toUtf8().constData());
        lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
        lxw_format* datum = workbook_add_format(wb);
        format_set_num_format(datum, "dd.mm.yyyy");
        const char* kopf[] = {"Nachname", "Vorname", "Verein", "Geburtstag"};
        for (int c = 0; c < 4; ++c)
            worksheet_write_string(ws, 0, lxw_col_t(c), kopf[c], nullptr);
        for (int i = 0; i < kRows; ++i) {
            const lxw_row_t r = lxw_row_t(i + 1);
            worksheet_write_string(ws, r, 0, nachname(i).toUtf8().constData(), nullptr);
            worksheet_write_string(ws, r, 1, vorname(i).toUtf8().constData(), nullptr);
            worksheet_write_string(
                ws, r, 2, QStringLiteral("TTC Grün-Weiß %1").arg(i % 40).toUtf8().constData(), nullptr);
            lxw_datetime dt{2001, 3, 1 + i % 28, 0, 0, 0};
            worksheet_write_datetime(ws, r, 3, &dt, datum);
        }
        workbook_close(wb);

        turnierdatei = dir.filePath(QStringLiteral("vorjahr.sqlite"));
        schema::createFile(turnierdatei);
        Tdb_procedures q;
        q.connectFile(turnierdatei);
        Transaction t(q);
        q.exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername) VALUES (1,'Vorjahr')"));
        for (int i = 0; i < kRows; ++i)
            q.exec(QStringLiteral(
                       "INSERT INTO Spielerdaten VALUES (1,:s,:n,:v,'TTC',NULL,NULL,'','','','',NULL,0,0,"
                       "-1,0,'')"),
                   {{":s", i + 1}, {":n", nachname(i)}, {":v", vorname(i)}});
        t.commit();
    }
};

Umgebung& umgebung() {
    static Umgebung u;
    return u;
}

// Reads the source as the dialog does and imports every row; the players are removed again untimed.
void importieren(benchmark::State& st, const QString& path) {
    Umgebung& u = umgebung();
    qint64 statements = 0;
    for (auto _ : st) {
        Importquelle quelle(u.state, u.db, u.ui);
        Spielerimport liste(u.state, u.db, u.ui);
        u.db.resetStatementCount();
        if (!quelle.oeffnen(path)) st.SkipWithError(u.ui.last().toStdString().c_str());
        auto k = quelle.kandidaten();
        if (!k || k->size() != kRows) {
            st.SkipWithError("not every row was read");
            break;
        }
        liste.setKandidaten(*k);
        liste.hinzufuegen();
        const auto e = liste.importieren();
        statements = u.db.statementCount();
        if (e.importiert != kRows) st.SkipWithError("not every row was imported");
        st.PauseTiming();
        u.db.exec(QStringLiteral("DELETE FROM Spielerdaten"));
        st.ResumeTiming();
    }
    st.counters["statements"] = double(statements);
    st.SetItemsProcessed(st.iterations() * kRows);
}

void BM_ImportCsv(benchmark::State& st) {
    importieren(st, umgebung().csv);
}
void BM_ImportXlsx(benchmark::State& st) {
    importieren(st, umgebung().xlsx);
}
// The first tournament of the file is preselected, as in the dialog.
void BM_ImportTurnierdatei(benchmark::State& st) {
    importieren(st, umgebung().turnierdatei);
}

BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTurnierdatei)->Unit(benchmark::kMillisecond);

} // namespace
