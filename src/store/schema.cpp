#include "store/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace schema {

namespace {

QString resource(const QString& name) {
    QFile f(QStringLiteral(":/db/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(DbError::Kind::Statement, QStringLiteral("Interner Fehler: %1 fehlt im Programm").arg(name));
    return QString::fromUtf8(f.readAll());
}

} // namespace

QString tablesScript(DbKind kind) {
    return resource(kind == DbKind::File ? QStringLiteral("schema_sqlite.sql") : QStringLiteral("schema_postgres.sql"));
}

QString rowsScript() { return resource(QStringLiteral("rows.sql")); }

void install(Tdb_procedures& db) {
    Transaction t(db);
    for (const QString& s : Tdb_procedures::splitScript(tablesScript(db.kind()))) db.exec(s);
    for (const QString& s : Tdb_procedures::splitScript(rowsScript())) db.exec(s);
    t.commit();
}

void createFile(const QString& path) {
    if (QFileInfo::exists(path))
        throw DbError(DbError::Kind::Connect, QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.").arg(path));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            throw DbError(DbError::Kind::NotWritable,
                          QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden.").arg(path));
    }
    try {
        Tdb_procedures db;
        db.connectFile(path);
        install(db);
        db.disconnect();
    } catch (...) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}

void createServerDatabase(const QString& server, const QString& name) {
    static const QRegularExpression valid(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!valid.match(name).hasMatch())
        throw DbError(DbError::Kind::Statement, QStringLiteral("Ungültiger Datenbankname \"%1\"").arg(name));
    Tdb_procedures admin;
    admin.connectServer(server, QStringLiteral("postgres"));
    if (!admin.selectOne(QStringLiteral("SELECT 1 AS x FROM pg_database WHERE datname=:n"), {{":n", name}}).isEmpty())
        throw DbError(DbError::Kind::Statement,
                      QStringLiteral("Die Datenbank \"%1\" ist auf dem Server bereits vorhanden.").arg(name));
    admin.exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    try {
        Tdb_procedures db;
        db.connectServer(server, name);
        install(db);
    } catch (...) {
        try {
            admin.exec(QStringLiteral("DROP DATABASE %1").arg(name));
        } catch (...) {
        }
        throw;
    }
}

} // namespace schema
