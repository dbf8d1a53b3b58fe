// The statement path alone: one prepared INSERT of a Spielplan row (51 values) and one prepared SELECT of
// a row by its key, through the data module, through a bare QSqlQuery and through the SQLite C API, on
// the same kind of file (WAL, synchronous=FULL) inside one open transaction, so the ratio between them is
// the overhead of our layer and not the disk's.
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kColumns = 51;

// The values of match n of class 1 as draw completion writes them: texts for the names and the result,
// NULL for the times and planning columns, numbers for the rest.
QVariant valueOf(int column, int n) {
    switch (column) {
    case 0: return 1;              // KID
    case 1: return n;              // spielnummer
    case 3: case 5: return QStringLiteral("Spieler %1, Vorname").arg(n);
    case 15: return QStringLiteral("0:0");
    case 28: case 29: return QVariant();
    default: break;
    }
    if (column >= 34 && column <= 48) return QVariant();
    return -1;
}

QString insertSql() {
    QStringList names;
    for (int i = 1; i <= kColumns; ++i) names << QStringLiteral(":d%1").arg(i);
    return QStringLiteral("INSERT INTO Spielplan VALUES (%1)").arg(names.join(u','));
}
const QString kSelect = QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID AND spielnummer=:snr");

struct File {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("b.sqlite"));
    File() { schema::createFile(path); }
};

// Every value of a row, as the caller would build them once per row.
QVector<QVariant> rowValues(int n) {
    QVector<QVariant> v(kColumns);
    for (int i = 0; i < kColumns; ++i) v[i] = valueOf(i, n);
    return v;
}

void BM_InsertDataModule(benchmark::State& state) {
    File f;
    Tdb_procedures db;
    db.connectFile(f.path);
    const QString sql = insertSql();
    QStringList names;
    for (int i = 1; i <= kColumns; ++i) names << QStringLiteral(":d%1").arg(i);
    Transaction t(db);
    int n = 0;
    db.resetStatementCount();
    for (auto _ : state) {
        const QVector<QVariant> v = rowValues(++n);
        Params p;
        p.reserve(kColumns);
        for (int i = 0; i < kColumns; ++i) p.append({names[i], v[i]});
        db.exec(sql, p);
    }
    state.counters["statements"] = benchmark::Counter(double(db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InsertDataModule);

void BM_InsertQSqlQuery(benchmark::State& state) {
    File f;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        c.setDatabaseName(f.path);
        c.open();
        QSqlQuery setup(c);
        setup.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        setup.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        setup.exec(QStringLiteral("BEGIN IMMEDIATE"));
        QSqlQuery q(c);
        q.prepare(insertSql());
        int n = 0;
        for (auto _ : state) {
            const QVector<QVariant> v = rowValues(++n);
            for (int i = 0; i < kColumns; ++i) q.bindValue(i, v[i]);
            if (!q.exec()) state.SkipWithError("insert failed");
        }
        q.finish();
        setup.exec(QStringLiteral("ROLLBACK"));
        c.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
}
BENCHMARK(BM_InsertQSqlQuery);

sqlite3* openC(const QString& path) {
    sqlite3* h = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(h, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(h, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return h;
}

// Binds as the Qt driver does: NULL, integer, or UTF-16 text.
void bindC(sqlite3_stmt* s, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        sqlite3_bind_null(s, i);
    else if (v.typeId() == QMetaType::QString) {
        const QString* str = static_cast<const QString*>(v.constData());
        sqlite3_bind_text16(s, i, str->utf16(), int(str->size() * sizeof(QChar)), SQLITE_STATIC);
    } else
        sqlite3_bind_int64(s, i, v.toLongLong());
}

void BM_InsertSqliteC(benchmark::State& state) {
    File f;
    sqlite3* h = openC(f.path);
    sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    const QByteArray sql = insertSql().toUtf8();
    sqlite3_prepare_v2(h, sql.constData(), -1, &s, nullptr);
    int n = 0;
    for (auto _ : state) {
        const QVector<QVariant> v = rowValues(++n);
        for (int i = 0; i < kColumns; ++i) bindC(s, i + 1, v[i]);
        if (sqlite3_step(s) != SQLITE_DONE) state.SkipWithError("insert failed");
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(h);
}
BENCHMARK(BM_InsertSqliteC);

// 256 matches to read from.
void fill(const QString& path) {
    Tdb_procedures db;
    db.connectFile(path);
    QStringList names;
    for (int i = 1; i <= kColumns; ++i) names << QStringLiteral(":d%1").arg(i);
    Transaction t(db);
    for (int n = 1; n <= 256; ++n) {
        Params p;
        for (int i = 0; i < kColumns; ++i) p.append({names[i], valueOf(i, n)});
        db.exec(insertSql(), p);
    }
    t.commit();
}

// Reading every column of the row, as a caller would (text and integers).
void BM_SelectDataModule(benchmark::State& state) {
    File f;
    fill(f.path);
    Tdb_procedures db;
    db.connectFile(f.path);
    int n = 0;
    qint64 sum = 0;
    db.resetStatementCount();
    for (auto _ : state) {
        const Row r = db.selectOne(kSelect, {{QStringLiteral(":ID"), 1}, {QStringLiteral(":snr"), n++ % 256 + 1}});
        sum += r.integer(u"spielnummer") + r.text(u"spieler1").size();
    }
    benchmark::DoNotOptimize(sum);
    state.counters["statements"] = benchmark::Counter(double(db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SelectDataModule);

void BM_SelectQSqlQuery(benchmark::State& state) {
    File f;
    fill(f.path);
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        c.setDatabaseName(f.path);
        c.open();
        QSqlQuery q(c);
        q.setForwardOnly(true);
        q.prepare(kSelect);
        int n = 0;
        qint64 sum = 0;
        for (auto _ : state) {
            q.bindValue(0, 1);
            q.bindValue(1, n++ % 256 + 1);
            q.exec();
            if (q.next()) {
                QVector<QVariant> values(kColumns);
                for (int i = 0; i < kColumns; ++i) values[i] = q.value(i);
                sum += values[1].toInt() + values[3].toString().size();
            }
            q.finish();
        }
        benchmark::DoNotOptimize(sum);
        c.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
}
BENCHMARK(BM_SelectQSqlQuery);

void BM_SelectSqliteC(benchmark::State& state) {
    File f;
    fill(f.path);
    sqlite3* h = openC(f.path);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(h, "SELECT * FROM Spielplan WHERE KID=?1 AND spielnummer=?2", -1, &s, nullptr);
    int n = 0;
    qint64 sum = 0;
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, 1);
        sqlite3_bind_int(s, 2, n++ % 256 + 1);
        if (sqlite3_step(s) == SQLITE_ROW) {
            QVector<QVariant> values(kColumns);
            for (int i = 0; i < kColumns; ++i) {
                switch (sqlite3_column_type(s, i)) {
                case SQLITE_INTEGER: values[i] = qlonglong(sqlite3_column_int64(s, i)); break;
                case SQLITE_NULL: values[i] = QVariant(); break;
                default:
                    values[i] = QString(reinterpret_cast<const QChar*>(sqlite3_column_text16(s, i)),
                                        sqlite3_column_bytes16(s, i) / int(sizeof(QChar)));
                }
            }
            sum += values[1].toInt() + values[3].toString().size();
        }
        sqlite3_reset(s);
    }
    benchmark::DoNotOptimize(sum);
    sqlite3_finalize(s);
    sqlite3_close(h);
}
BENCHMARK(BM_SelectSqliteC);

} // namespace
