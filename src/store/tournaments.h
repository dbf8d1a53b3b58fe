#pragma once

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QList>
#include <QString>

// The life cycle of tournaments inside the tournament database: connecting by the application state,
// checking and upgrading the schema version, listing, deleting, and setting up the server database.
namespace tournaments {

inline const QString kDatabaseName = QStringLiteral("turnier_db");

// Connects the data module to the database the application state names: the file at filePath for the
// file kind, database `database` on serverName for the server kind. Throws DbError on failure.
void db_verbinden(Tdb_procedures& db, const AppState& state, const QString& database = kDatabaseName);

// Accepts a database whose schema version is current. An older (or newer) one is upgraded when the user
// agrees; otherwise, or when the upgrade fails, throws DbError "Datenbank nicht im richtigen Format.".
// A database that cannot be read (no table Einstellungen, not a database at all) throws as well.
void richtige_db(Tdb_procedures& db, Interaction& ui);

// The one-step upgrade to the current version, all or nothing. Tells the user what was changed.
void upgrade(Tdb_procedures& db, Interaction& ui, int version);

struct Entry {
    int tid = 0;
    QString name;
    bool operator==(const Entry&) const = default;
};

// Every tournament of the database, by id.
QList<Entry> turnierliste(Tdb_procedures& db);

// Removes every row of tournament tid (its own rows and those of all its classes) and empties the import
// staging table, in one transaction: on failure nothing is removed.
void deleteRows(Tdb_procedures& db, int tid);

// "Turnier löschen": asks, removes the open tournament and closes it in the application state (the id
// stays). Returns whether it was deleted; database errors propagate to the caller.
bool turnierloeschen(Tdb_procedures& db, AppState& state, Interaction& ui);

// "Turnier-DB anhängen": creates the tournament database on the server and tells the user how it went.
bool turnierDbAnhaengen(const QString& server, Interaction& ui, const QString& database = kDatabaseName);

// Which database an open tournament uses. A dialog that connects elsewhere while a tournament is open
// puts it back when its attempt fails or the user gives up, so the open tournament keeps its database.
struct RestorePoint {
    bool tournamentOpen = false;
    DbKind kind = DbKind::Server;
    QString filePath;
    QString serverName;
    int trueValue = 0;
    QString location; // where the data module was connected, empty if it was not

    static RestorePoint take(const AppState& state, const Tdb_procedures& db);
    // Nothing to do when no tournament was open. Otherwise puts the state back and reconnects if the
    // connection changed; throws DbError if the database cannot be reached again.
    void restore(AppState& state, Tdb_procedures& db, const QString& database = kDatabaseName) const;
};

// A German text for a failed connect that names the reason when the driver gave one.
QString describe(const DbError& e);

} // namespace tournaments
