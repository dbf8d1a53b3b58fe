#include "store/db_procedures.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QAtomicInt connectionCounter;
constexpr int kStatementCacheLimit = 400;

QString keyword(const QString& sql) {
    const QString t = sql.trimmed();
    const int sp = t.indexOf(QRegularExpression(QStringLiteral("\\s")));
    return (sp < 0 ? t : t.left(sp)).toUpper();
}

} // namespace

Tdb_procedures::Tdb_procedures()
    : connectionName_(QStringLiteral("velmora-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

Tdb_procedures::~Tdb_procedures() { disconnect(); }

QSqlDatabase Tdb_procedures::database() const { return QSqlDatabase::database(connectionName_, false); }

bool Tdb_procedures::isConnected() const { return open_; }

void Tdb_procedures::disconnect() {
    cache_.clear();
    depth_ = 0;
    if (QSqlDatabase::contains(connectionName_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(connectionName_);
    }
    open_ = false;
    location_.clear();
}

void Tdb_procedures::connectFile(const QString& path) {
    disconnect();
    const QFileInfo fi(path);
    if (path.trimmed().isEmpty() || !fi.exists() || !fi.isFile())
        throw DbError(DbError::Kind::Connect, QStringLiteral("Datenbankdatei nicht vorhanden"), path);
    // The write-ahead log lives beside the file, so the folder must be writable too.
    if (!fi.isWritable() || !QFileInfo(fi.absolutePath()).isWritable())
        throw DbError(DbError::Kind::NotWritable,
                      QStringLiteral("Die Datenbankdatei \"%1\" kann nicht beschrieben werden.")
                          .arg(QDir::toNativeSeparators(fi.absoluteFilePath())));
    // A power cut at the desk must not lose what was confirmed. A file that is no database fails the
    // pragmas already; the schema check reports that in words the user understands.
    openConnection(
        QStringLiteral("QSQLITE"),
        [&](QSqlDatabase& db) {
            db.setDatabaseName(fi.absoluteFilePath());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        },
        {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
         QStringLiteral("PRAGMA foreign_keys=OFF")});
    dialect_ = Dialect(DbKind::File);
    location_ = fi.absoluteFilePath();
    open_ = true;
}

void Tdb_procedures::openConnection(const QString& driver, const std::function<void(QSqlDatabase&)>& configure,
                                    const QStringList& setup) {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName_);
    configure(db);
    if (!db.open()) {
        const QString detail = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw DbError(DbError::Kind::Connect, QStringLiteral("Datenbank verbinden fehlgeschlagen"), detail);
    }
    QSqlQuery q(db);
    for (const QString& statement : setup) q.exec(statement);
}

void Tdb_procedures::connectServer(const QString& server, const QString& databaseName) {
    disconnect();
    QString host = server.trimmed();
    int port = 5432;
    if (!host.startsWith(u'/')) {
        const int colon = host.lastIndexOf(u':');
        if (colon > 0) {
            bool ok = false;
            const int p = host.mid(colon + 1).toInt(&ok);
            if (ok && p > 0 && p < 65536) {
                port = p;
                host = host.left(colon);
            }
        }
    }
    openConnection(
        QStringLiteral("QPSQL"),
        [&](QSqlDatabase& db) {
            db.setHostName(host.isEmpty() ? QStringLiteral("localhost") : host);
            db.setPort(port);
            db.setDatabaseName(databaseName);
            db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        },
        {QStringLiteral("SET client_encoding TO 'UTF8'"), QStringLiteral("SET client_min_messages TO WARNING")});
    dialect_ = Dialect(DbKind::Server);
    location_ = QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(databaseName);
    open_ = true;
}

void Tdb_procedures::clearStatementCache() { cache_.clear(); }

QSqlQuery& Tdb_procedures::prepared(const QString& sql) {
    if (!open_) throw DbError(DbError::Kind::Connect, QStringLiteral("Keine Verbindung zur Datenbank"));
    auto it = cache_.find(sql);
    if (it != cache_.end()) return **it;
    if (cache_.size() >= kStatementCacheLimit) cache_.clear();
    auto q = std::make_shared<QSqlQuery>(database());
    q->setForwardOnly(true);
    const QString adapted = dialect_.adapt(sql);
    if (!q->prepare(adapted)) fail(*q, adapted);
    return **cache_.insert(sql, q);
}

void Tdb_procedures::bindAll(QSqlQuery& q, const Params& params) const {
    for (const auto& [name, value] : params) {
        const QString placeholder = name.startsWith(u':') ? name : u':' + name;
        q.bindValue(placeholder, dialect_.bindValue(value));
    }
}

void Tdb_procedures::fail(const QSqlQuery& q, const QString& sql) const { fail(q.lastError(), sql); }

void Tdb_procedures::fail(const QSqlError& e, const QString& sql) const {
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.text().trimmed();
    throw DbError(DbError::Kind::Statement, QStringLiteral("Datenbankfehler: %1").arg(text), sql);
}

void Tdb_procedures::run(QSqlQuery& q, const QString& sql) {
    ++statements_;
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q.finish();
        fail(e, sql);
    }
}

Rows Tdb_procedures::select(const QString& sql, const Params& params) {
    QSqlQuery& q = prepared(sql);
    bindAll(q, params);
    run(q, sql);
    Rows rows;
    if (q.isSelect()) {
        const QSqlRecord rec = q.record();
        QStringList names;
        names.reserve(rec.count());
        for (int i = 0; i < rec.count(); ++i) names << rec.fieldName(i);
        const auto columns = std::make_shared<const RowColumns>(names);
        const int n = rec.count();
        while (q.next()) {
            QVector<QVariant> values(n);
            for (int i = 0; i < n; ++i) values[i] = q.value(i);
            rows.append(Row(columns, std::move(values)));
        }
    }
    // Release the statement at once so SQLite holds no read lock between actions.
    q.finish();
    return rows;
}

Row Tdb_procedures::selectOne(const QString& sql, const Params& params) { return select(sql, params).firstOrEmpty(); }

int Tdb_procedures::exec(const QString& sql, const Params& params) {
    const QString kw = keyword(sql);
    if (kw == u"ALTER" || kw == u"CREATE" || kw == u"DROP") {
        // Schema changes: run unprepared and forget prepared plans that may now be stale.
        clearStatementCache();
        QSqlQuery q(database());
        ++statements_;
        const QString adapted = dialect_.adapt(sql);
        if (!q.exec(adapted)) fail(q, adapted);
        return q.numRowsAffected();
    }
    QSqlQuery& q = prepared(sql);
    bindAll(q, params);
    run(q, sql);
    const int affected = q.numRowsAffected();
    q.finish();
    return affected;
}

void Tdb_procedures::rawExec(const QString& sql) {
    if (!open_) throw DbError(DbError::Kind::Connect, QStringLiteral("Keine Verbindung zur Datenbank"));
    QSqlQuery q(database());
    ++statements_;
    if (!q.exec(sql)) fail(q, sql);
}

void Tdb_procedures::begin() {
    if (depth_ == 0)
        // IMMEDIATE takes SQLite's write lock at once, so ids read inside stay ours until commit.
        rawExec(kind() == DbKind::File ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    else
        rawExec(QStringLiteral("SAVEPOINT velmora_%1").arg(depth_));
    ++depth_;
}

void Tdb_procedures::commit() {
    if (depth_ <= 0) throw DbError(DbError::Kind::NoTransaction, QStringLiteral("Keine offene Transaktion"));
    if (depth_ == 1)
        rawExec(QStringLiteral("COMMIT"));
    else
        rawExec(QStringLiteral("RELEASE SAVEPOINT velmora_%1").arg(depth_ - 1));
    --depth_;
}

void Tdb_procedures::rollback() {
    if (depth_ <= 0) return;
    --depth_;
    // Finished statements only: a cached statement still stepping would keep SQLite from rolling back.
    for (auto& q : cache_) q->finish();
    if (depth_ == 0) {
        rawExec(QStringLiteral("ROLLBACK"));
    } else {
        rawExec(QStringLiteral("ROLLBACK TO SAVEPOINT velmora_%1").arg(depth_));
        rawExec(QStringLiteral("RELEASE SAVEPOINT velmora_%1").arg(depth_));
    }
}

void Tdb_procedures::lockTable(const QString& table) {
    if (depth_ <= 0)
        throw DbError(DbError::Kind::NoTransaction,
                      QStringLiteral("Interner Fehler: Tabellensperre ohne Transaktion angefordert"), table);
    if (kind() == DbKind::Server) rawExec(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table));
}

int Tdb_procedures::nextId(const QString& table, const QString& column) {
    if (depth_ <= 0)
        throw DbError(DbError::Kind::NoTransaction,
                      QStringLiteral("Interner Fehler: neue Nummer ohne Transaktion angefordert"), table);
    lockTable(table);
    const Row r = selectOne(QStringLiteral("SELECT MAX(%1) AS m FROM %2").arg(column, table));
    return r.integer(u"m") + 1;
}

QStringList Tdb_procedures::splitScript(const QString& script) {
    QStringList statements;
    QString current;
    const QStringList lines = script.split(u'\n');
    for (QString line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--"))) continue;
        current += line + u'\n';
        if (trimmed.endsWith(u';')) {
            QString s = current.trimmed();
            s.chop(1);
            statements << s;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty()) statements << current.trimmed();
    return statements;
}
