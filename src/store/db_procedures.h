#pragma once

#include "store/appstate.h"
#include "store/dialect.h"
#include "store/row.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>

class QSqlError;
class QSqlQuery;

// A database failure. Its message is German and can be shown to the user as it stands.
class DbError : public std::runtime_error {
public:
    // Conflict: the server gave the transaction up in favour of another desk (a deadlock or a failed
    // serialization); nothing of it was written, and running it again can succeed.
    // Locked: another desk held the data longer than a write waits (kLockWaitMs); nothing was written.
    enum class Kind { Connect, NotWritable, Statement, NoTransaction, Conflict, Locked };
    DbError(Kind kind, const QString& message, const QString& detail = {})
        : std::runtime_error(message.toStdString()), kind_(kind), message_(message), detail_(detail) {}
    Kind kind() const { return kind_; }
    QString message() const { return message_; }
    QString detail() const { return detail_; }

private:
    Kind kind_;
    QString message_;
    QString detail_;
};

// Named parameters, given with or without the leading colon: {{":ID", 5}, {"name", "x"}}.
using Params = QList<QPair<QString, QVariant>>;

// The data module: owns the one connection to the tournament database; every statement runs through it.
// It binds parameters by name, adapts statements to the engine, applies the read conventions and owns
// transactions.
//
// Each statement text is compiled once and kept: its kind, the engine's spelling, its parameters'
// positions and its result columns. A later call with the same text only binds and runs it. On the file
// database the prepared statements are SQLite's own, bound by position behind the named interface.
class Tdb_procedures {
public:
    Tdb_procedures();
    ~Tdb_procedures();
    Tdb_procedures(const Tdb_procedures&) = delete;
    Tdb_procedures& operator=(const Tdb_procedures&) = delete;

    // Opens the file database at path. The file must exist and be writable.
    void connectFile(const QString& path);
    // Opens database `database` on the server: "host", "host:port" or a socket folder; default port 5432.
    // User and password come from the standard client settings (PGUSER, PGPASSWORD, ~/.pgpass).
    void connectServer(const QString& server, const QString& database = QStringLiteral("turnier_db"));
    void disconnect();
    bool isConnected() const;

    DbKind kind() const { return dialect_.kind(); }
    const Dialect& dialect() const { return dialect_; }
    int trueValue() const { return dialect_.trueValue(); }
    QString location() const { return location_; }

    // Reads every row of a SELECT.
    Rows select(const QString& sql, const Params& params = {});
    // The first row, or an empty row (reads as empty text, 0, false).
    Row selectOne(const QString& sql, const Params& params = {});
    // Runs a statement that returns no rows; gives the number of rows it changed.
    int exec(const QString& sql, const Params& params = {});

    // One more than the largest value of column in table (1 for an empty table). Must run inside a
    // transaction, which it locks against other desks until commit, so two inserts never share an id.
    int nextId(const QString& table, const QString& column);
    // Keeps other desks from writing into table until the transaction ends (readers go on). In the file
    // database the transaction holds the write lock already.
    void lockTable(const QString& table);

    // Transactions nest: the outermost is a real transaction, inner ones are savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return depth_; }

    // How long a write waits for another desk's lock before it gives up with DbError::Kind::Locked.
    // Every connection starts with kLockWaitMs.
    void setLockWait(int ms);

    // Drops prepared statements, needed after the schema changes.
    void clearStatementCache();
    // Counts the statements run since the last reset (for benchmarks).
    qint64 statementCount() const { return statements_; }
    void resetStatementCount() { statements_ = 0; }

    QSqlDatabase database() const;

    // Splits a script into statements at semicolons that end a line; drops -- comments.
    static QStringList splitScript(const QString& script);

private:
    // Opens the connection with the driver's settings and runs the setup statements (their failures are
    // left to the first real statement to report).
    void openConnection(const QString& driver, const std::function<void(QSqlDatabase&)>& configure,
                        const QStringList& setup);
    struct Compiled;
    Compiled& compiled(const QString& sql);
    void bindAll(Compiled& c, const Params& params) const;
    // Binds and runs a prepared statement; for a SELECT the caller reads its rows and then calls done().
    // Gives SQLite's result of the first step on the file database.
    int run(Compiled& c, const Params& params);
    Rows fetch(Compiled& c, int firstStep);
    void done(Compiled& c);
    void rawExec(const QString& sql);
    [[noreturn]] void failNative(const QString& sql) const;
    [[noreturn]] void fail(const QSqlQuery& q, const QString& sql) const;
    [[noreturn]] void fail(const QSqlError& e, const QString& sql) const;

    QString connectionName_;
    Dialect dialect_{DbKind::File};
    QString location_;
    bool open_ = false;
    int depth_ = 0;
    qint64 statements_ = 0;
    QHash<QString, std::shared_ptr<Compiled>> cache_;
    // The file database's own handle (sqlite3*), which the prepared statements of the file run on.
    void* native_ = nullptr;
};

// What a desk that lost to another desk is told when running its transaction again did not help.
extern const QString kDbKonflikt;
// What a desk is told when another desk held the data longer than it waits.
extern const QString kDbGesperrt;
constexpr int kLockWaitMs = 10000;

// Runs a block of writes as one transaction: rolled back unless commit() is reached.
class Transaction {
public:
    explicit Transaction(Tdb_procedures& db) : db_(db) { db_.begin(); }
    ~Transaction() {
        if (!done_) {
            try {
                db_.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        db_.commit();
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Tdb_procedures& db_;
    bool done_ = false;
};

// Runs work() as one transaction and gives its result. When the server gives the transaction up in
// favour of another desk (DbError::Kind::Conflict), nothing of it stays, so it runs again from the start,
// up to kVersuche times in all; work must therefore change nothing but the database before it returns.
// Inside another transaction there is nothing to repeat: the conflict goes on to the outer one.
constexpr int kVersuche = 4;
template <class F> auto inTransaction(Tdb_procedures& db, F&& work) -> decltype(work()) {
    for (int versuch = 1;; ++versuch) {
        try {
            Transaction t(db);
            if constexpr (std::is_void_v<decltype(work())>) {
                work();
                t.commit();
                return;
            } else {
                auto r = work();
                t.commit();
                return r;
            }
        } catch (const DbError& e) {
            if (e.kind() != DbError::Kind::Conflict || db.transactionDepth() > 0 || versuch >= kVersuche)
                throw;
        }
    }
}
