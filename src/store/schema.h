#pragma once

#include "store/db_procedures.h"

#include <QString>

// The tournament database's tables and starting rows, as kept in db/ and compiled into the program.
namespace schema {

constexpr int kCurrentVersion = 4;

QString tablesScript(DbKind kind);
QString rowsScript();

// Creates every table and the starting rows in the connected, empty database, in one transaction.
void install(Tdb_procedures& db);

// Creates a new file database at path. Refuses an existing file. Leaves no file behind on failure.
void createFile(const QString& path);

// Creates database `name` on the server with every table and the starting rows.
// Refuses a name that is taken; drops the half-made database if filling it fails.
void createServerDatabase(const QString& server, const QString& name = QStringLiteral("turnier_db"));

} // namespace schema
