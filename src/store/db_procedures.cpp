#include "store/db_procedures.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

QAtomicInt connectionCounter;
constexpr int kStatementCacheLimit = 400;

// A statement that changes the schema runs unprepared and makes every prepared plan stale.
bool changesSchema(const QString& sql) {
    const int n = sql.size();
    int i = 0;
    while (i < n && sql[i].isSpace()) ++i;
    int j = i;
    while (j < n && !sql[j].isSpace()) ++j;
    const QStringView kw = QStringView(sql).mid(i, j - i);
    return kw.compare(u"ALTER", Qt::CaseInsensitive) == 0 || kw.compare(u"CREATE", Qt::CaseInsensitive) == 0 ||
           kw.compare(u"DROP", Qt::CaseInsensitive) == 0;
}

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The distinct named parameters of a statement, with their colon, in order of first appearance; quoted
// literals and identifiers are skipped as the dialect skips them.
QStringList parameterNames(const QString& sql) {
    QStringList names;
    const int n = int(sql.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            int j = i + 1;
            while (j < n && sql[j] != c) ++j;
            i = j;
            continue;
        }
        if (c == u':' && i + 1 < n && isWordChar(sql[i + 1]) && (i == 0 || sql[i - 1] != u':')) {
            int j = i + 1;
            while (j < n && isWordChar(sql[j])) ++j;
            const QString name = sql.mid(i, j - i);
            if (!names.contains(name)) names << name;
            i = j - 1;
        }
    }
    return names;
}

QString withColon(const QString& name) { return name.startsWith(u':') ? name : u':' + name; }

// NULL as Qt's drivers see it: besides a null variant, a null text, an invalid date or time.
bool isNullValue(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return true;
    switch (v.typeId()) {
    case QMetaType::QString: return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray: return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDateTime: return !static_cast<const QDateTime*>(v.constData())->isValid();
    case QMetaType::QDate: return static_cast<const QDate*>(v.constData())->isNull();
    case QMetaType::QTime: return !static_cast<const QTime*>(v.constData())->isValid();
    default: return false;
    }
}

// Binds one value the way Qt's SQLite driver does, so rows read the same whichever path wrote them.
// `original` is the caller's value, alive until the statement has run: text bound from it needs no copy.
int bindNative(sqlite3_stmt* s, int i, const QVariant& original, const QVariant& v) {
    if (isNullValue(v)) return sqlite3_bind_null(s, i);
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Bool: return sqlite3_bind_int(s, i, v.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong: return sqlite3_bind_int64(s, i, v.toLongLong());
    case QMetaType::Double: return sqlite3_bind_double(s, i, v.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray* b = static_cast<const QByteArray*>(v.constData());
        return sqlite3_bind_blob(s, i, b->constData(), int(b->size()), SQLITE_TRANSIENT);
    }
    case QMetaType::QString: {
        const bool same = original.typeId() == QMetaType::QString &&
                          static_cast<const QString*>(original.constData())->constData() ==
                              static_cast<const QString*>(v.constData())->constData();
        const QString* str = static_cast<const QString*>(same ? original.constData() : v.constData());
        return sqlite3_bind_text16(s, i, str->utf16(), int(str->size() * sizeof(QChar)),
                                   same ? SQLITE_STATIC : SQLITE_TRANSIENT);
    }
    case QMetaType::QDateTime: {
        const QString str = v.toDateTime().toString(Qt::ISODateWithMs);
        return sqlite3_bind_text16(s, i, str.utf16(), int(str.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    }
    case QMetaType::QTime: {
        const QString str = v.toTime().toString(QStringLiteral("hh:mm:ss.zzz"));
        return sqlite3_bind_text16(s, i, str.utf16(), int(str.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    }
    default: {
        const QString str = v.toString();
        return sqlite3_bind_text16(s, i, str.utf16(), int(str.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    }
    }
}

// A column as Qt's SQLite driver reads it: integers as 64-bit numbers, NULL as a null text.
QVariant readNative(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(s, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(s, i));
    case SQLITE_NULL: return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(s, i)), sqlite3_column_bytes(s, i)));
    default: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(s, i)));
    }
    }
}

} // namespace

const QString kDbKonflikt = QStringLiteral(
    "Ein anderer Arbeitsplatz hat gleichzeitig dieselben Daten geändert. Der Vorgang wurde nicht "
    "gespeichert; bitte führen Sie ihn noch einmal aus.");
const QString kDbGesperrt = QStringLiteral(
    "Die Daten werden gerade an einem anderen Arbeitsplatz geändert. Der Vorgang wurde nicht gespeichert; "
    "bitte versuchen Sie es gleich noch einmal.");

// One statement text, compiled once.
struct Tdb_procedures::Compiled {
    QString adapted; // in the engine's spelling
    // The file database: SQLite's prepared statement and its parameters by name (index i is SQLite's i+1).
    sqlite3_stmt* stmt = nullptr;
    QStringList names;
    // The server: Qt's prepared query.
    std::unique_ptr<QSqlQuery> query;
    // The last call's parameter names in its order, and for each where it goes: a parameter index (file)
    // or the name with its colon (server). Callers pass the same names each time, so this is found once.
    QStringList lastNames;
    QVector<int> lastSlots;
    QStringList lastPlaceholders;
    bool resolved = false;
    bool lastComplete = false;
    // The result's columns, the same for every run.
    std::shared_ptr<const RowColumns> columns;

    ~Compiled() {
        if (stmt) sqlite3_finalize(stmt);
    }
};

Tdb_procedures::Tdb_procedures()
    : connectionName_(QStringLiteral("velmora-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

Tdb_procedures::~Tdb_procedures() { disconnect(); }

QSqlDatabase Tdb_procedures::database() const { return QSqlDatabase::database(connectionName_, false); }

bool Tdb_procedures::isConnected() const { return open_; }

void Tdb_procedures::disconnect() {
    // SQLite's own statements must be gone before Qt closes the handle.
    cache_.clear();
    native_ = nullptr;
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
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitMs));
        },
        {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
         QStringLiteral("PRAGMA foreign_keys=OFF")});
    // Statements run on SQLite's own handle of the connection (the driver is built on the system library),
    // so binding and reading cost no more than SQLite itself. Transactions stay the connection's.
    const QVariant handle = database().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        native_ = *static_cast<sqlite3* const*>(handle.constData());
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
        // Without a lock timeout a desk would wait for ever behind another desk's open transaction.
        {QStringLiteral("SET client_encoding TO 'UTF8'"), QStringLiteral("SET client_min_messages TO WARNING"),
         QStringLiteral("SET lock_timeout TO %1").arg(kLockWaitMs)});
    dialect_ = Dialect(DbKind::Server);
    location_ = QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(databaseName);
    open_ = true;
}

void Tdb_procedures::clearStatementCache() { cache_.clear(); }

void Tdb_procedures::setLockWait(int ms) {
    if (native_) {
        sqlite3_busy_timeout(static_cast<sqlite3*>(native_), ms);
        return;
    }
    rawExec(QStringLiteral("SET lock_timeout TO %1").arg(ms));
}

Tdb_procedures::Compiled& Tdb_procedures::compiled(const QString& sql) {
    if (!open_) throw DbError(DbError::Kind::Connect, QStringLiteral("Keine Verbindung zur Datenbank"));
    auto it = cache_.find(sql);
    if (it != cache_.end()) return **it;
    if (cache_.size() >= kStatementCacheLimit) cache_.clear();
    auto c = std::make_shared<Compiled>();
    c->adapted = dialect_.adapt(sql);
    if (native_) {
        auto* h = static_cast<sqlite3*>(native_);
        const QByteArray text = c->adapted.toUtf8();
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &c->stmt, &tail) != SQLITE_OK)
            failNative(c->adapted);
        if (!c->stmt)
            throw DbError(DbError::Kind::Statement, QStringLiteral("Datenbankfehler: Keine Anweisung"), c->adapted);
        // One statement per text, as the engine's driver demands; the rest would silently not run.
        if (tail && !QByteArray(tail).trimmed().isEmpty())
            throw DbError(DbError::Kind::Statement,
                          QStringLiteral("Datenbankfehler: Unable to execute multiple statements at a time"),
                          c->adapted);
        const int params = sqlite3_bind_parameter_count(c->stmt);
        for (int i = 1; i <= params; ++i) {
            const char* name = sqlite3_bind_parameter_name(c->stmt, i);
            c->names << (name ? QString::fromUtf8(name) : QString());
        }
    } else {
        c->query = std::make_unique<QSqlQuery>(database());
        c->query->setForwardOnly(true);
        if (!c->query->prepare(c->adapted)) fail(*c->query, c->adapted);
        c->names = parameterNames(c->adapted);
    }
    return **cache_.insert(sql, c);
}

void Tdb_procedures::bindAll(Compiled& c, const Params& params) const {
    // Where each name goes is worked out once for the order the caller passes them in.
    bool same = c.resolved && c.lastNames.size() == params.size();
    for (int i = 0; same && i < params.size(); ++i) {
        const QString& a = params[i].first;
        const QString& b = c.lastNames[i];
        same = a.constData() == b.constData() || a == b;
    }
    if (!same) {
        c.lastNames.clear();
        c.lastSlots.clear();
        c.lastPlaceholders.clear();
        QVector<bool> given(c.names.size(), false);
        for (const auto& p : params) {
            c.lastNames << p.first;
            const QString placeholder = withColon(p.first);
            c.lastPlaceholders << placeholder;
            const int slot = int(c.names.indexOf(placeholder));
            c.lastSlots << slot;
            if (slot >= 0) given[slot] = true;
        }
        c.lastComplete = !given.contains(false);
        c.resolved = true;
    }
    // Every parameter of the statement must have its value: SQLite would take a missing one as NULL, and a
    // prepared query would keep the value of the call before.
    if (!c.lastComplete)
        throw DbError(DbError::Kind::Statement, QStringLiteral("Datenbankfehler: Parameter count mismatch"),
                      c.adapted);
    if (c.stmt) {
        for (int i = 0; i < params.size(); ++i) {
            const int slot = c.lastSlots[i];
            if (slot < 0) continue;
            const QVariant& original = params[i].second;
            // Numbers and text are stored as given; only booleans, dates and times need the dialect.
            const int type = original.typeId();
            const bool plain = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::QString ||
                               type == QMetaType::Double || type == QMetaType::UnknownType;
            const int rc = plain ? bindNative(c.stmt, slot + 1, original, original)
                                 : bindNative(c.stmt, slot + 1, original, dialect_.bindValue(original));
            if (rc != SQLITE_OK) failNative(c.adapted);
        }
        return;
    }
    for (int i = 0; i < params.size(); ++i) c.query->bindValue(c.lastPlaceholders[i], dialect_.bindValue(params[i].second));
}

// SQLite's result code rc with its message: busy and locked mean another desk held the file too long.
static DbError sqliteError(int rc, const QString& text, const QString& sql) {
    const int code = rc & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return DbError(DbError::Kind::Locked, kDbGesperrt, text + QStringLiteral("\n") + sql);
    return DbError(DbError::Kind::Statement, QStringLiteral("Datenbankfehler: %1").arg(text), sql);
}

void Tdb_procedures::fail(const QSqlQuery& q, const QString& sql) const { fail(q.lastError(), sql); }

void Tdb_procedures::fail(const QSqlError& e, const QString& sql) const {
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.text().trimmed();
    // The server's codes for a transaction given up in favour of another one: serialization failure
    // and deadlock. The transaction is lost as a whole, so the operation may run again.
    const QString code = e.nativeErrorCode();
    if (code == u"40001" || code == u"40P01")
        throw DbError(DbError::Kind::Conflict, kDbKonflikt, text + QStringLiteral("\n") + sql);
    // The server's lock timeout; a statement of the file database that ran through Qt carries SQLite's code.
    if (code == u"55P03") throw DbError(DbError::Kind::Locked, kDbGesperrt, text + QStringLiteral("\n") + sql);
    bool numeric = false;
    const int rc = code.toInt(&numeric);
    if (kind() == DbKind::File && numeric) throw sqliteError(rc, text, sql);
    throw DbError(DbError::Kind::Statement, QStringLiteral("Datenbankfehler: %1").arg(text), sql);
}

void Tdb_procedures::failNative(const QString& sql) const {
    sqlite3* handle = static_cast<sqlite3*>(native_);
    throw sqliteError(sqlite3_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle)).trimmed(), sql);
}

int Tdb_procedures::run(Compiled& c, const Params& params) {
    bindAll(c, params);
    ++statements_;
    if (c.stmt) {
        const int rc = sqlite3_step(c.stmt);
        if (rc == SQLITE_ROW || rc == SQLITE_DONE) return rc;
        const QString message = QString::fromUtf8(sqlite3_errmsg(static_cast<sqlite3*>(native_))).trimmed();
        sqlite3_reset(c.stmt);
        throw sqliteError(rc, message, c.adapted);
    }
    QSqlQuery& q = *c.query;
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q.finish();
        fail(e, c.adapted);
    }
    return 0;
}

void Tdb_procedures::done(Compiled& c) {
    // Release the statement at once so SQLite holds no read lock between actions.
    if (c.stmt)
        sqlite3_reset(c.stmt);
    else
        c.query->finish();
}

Rows Tdb_procedures::fetch(Compiled& c, int rc) {
    Rows rows;
    if (c.stmt) {
        const int n = sqlite3_column_count(c.stmt);
        // SQLite prepares a statement again by itself when another desk changed the schema.
        if (!c.columns || c.columns->names().size() != n) {
            QStringList columns;
            columns.reserve(n);
            for (int i = 0; i < n; ++i) columns << QString::fromUtf8(sqlite3_column_name(c.stmt, i)).remove(u'"');
            c.columns = std::make_shared<const RowColumns>(columns);
        }
        if (n == 0) return rows;
        for (; rc == SQLITE_ROW; rc = sqlite3_step(c.stmt)) {
            QVector<QVariant> values;
            values.reserve(n);
            for (int i = 0; i < n; ++i) values.append(readNative(c.stmt, i));
            rows.append(Row(c.columns, std::move(values)));
        }
        if (rc != SQLITE_DONE) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(static_cast<sqlite3*>(native_))).trimmed();
            done(c);
            throw sqliteError(rc, message, c.adapted);
        }
        return rows;
    }
    QSqlQuery& q = *c.query;
    if (!q.isSelect()) return rows;
    if (!c.columns) {
        const QSqlRecord rec = q.record();
        QStringList names;
        names.reserve(rec.count());
        for (int i = 0; i < rec.count(); ++i) names << rec.fieldName(i);
        c.columns = std::make_shared<const RowColumns>(names);
    }
    const int n = int(c.columns->names().size());
    while (q.next()) {
        QVector<QVariant> values;
        values.reserve(n);
        for (int i = 0; i < n; ++i) values.append(q.value(i));
        rows.append(Row(c.columns, std::move(values)));
    }
    return rows;
}

Rows Tdb_procedures::select(const QString& sql, const Params& params) {
    Compiled& c = compiled(sql);
    const int rc = run(c, params);
    Rows rows;
    try {
        rows = fetch(c, rc);
    } catch (...) {
        done(c);
        throw;
    }
    done(c);
    return rows;
}

Row Tdb_procedures::selectOne(const QString& sql, const Params& params) { return select(sql, params).firstOrEmpty(); }

int Tdb_procedures::exec(const QString& sql, const Params& params) {
    const auto it = cache_.constFind(sql);
    if (it == cache_.cend() && changesSchema(sql)) {
        if (!open_) throw DbError(DbError::Kind::Connect, QStringLiteral("Keine Verbindung zur Datenbank"));
        // Schema changes: run unprepared and forget prepared plans that may now be stale.
        clearStatementCache();
        const QString adapted = dialect_.adapt(sql);
        ++statements_;
        if (native_) {
            auto* h = static_cast<sqlite3*>(native_);
            if (sqlite3_exec(h, adapted.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                failNative(adapted);
            return sqlite3_changes(h);
        }
        QSqlQuery q(database());
        if (!q.exec(adapted)) fail(q, adapted);
        return q.numRowsAffected();
    }
    Compiled& c = it != cache_.cend() ? **it : compiled(sql);
    run(c, params);
    const int affected = c.stmt ? sqlite3_changes(static_cast<sqlite3*>(native_)) : c.query->numRowsAffected();
    done(c);
    return affected;
}

void Tdb_procedures::rawExec(const QString& sql) {
    if (!open_) throw DbError(DbError::Kind::Connect, QStringLiteral("Keine Verbindung zur Datenbank"));
    ++statements_;
    if (native_) {
        if (sqlite3_exec(static_cast<sqlite3*>(native_), sql.toUtf8().constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            failNative(sql);
        return;
    }
    QSqlQuery q(database());
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
    for (auto& c : cache_) done(*c);
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
