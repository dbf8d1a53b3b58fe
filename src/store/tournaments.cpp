#include "store/tournaments.h"

#include "store/schema.h"

#include <QSqlRecord>

namespace tournaments {

namespace {

const QString kWrongFormat = QStringLiteral("Datenbank nicht im richtigen Format.");

DbError wrongFormat() {
    return DbError(DbError::Kind::Statement, kWrongFormat);
}

bool hasColumn(Tdb_procedures& db, const QString& table, const QString& column) {
    // The driver looks the table up in the catalogue; an unknown table gives an empty record.
    const QSqlRecord rec = db.database().record(db.kind() == DbKind::Server ? table.toLower() : table);
    for (int i = 0; i < rec.count(); ++i)
        if (rec.fieldName(i).compare(column, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

void db_verbinden(Tdb_procedures& db, const AppState& state, const QString& database) {
    if (state.dbKind == DbKind::File)
        db.connectFile(state.filePath);
    else
        db.connectServer(state.serverName, database);
}

void richtige_db(Tdb_procedures& db, Interaction& ui) {
    const int version =
        db.selectOne(QStringLiteral("SELECT * FROM Einstellungen WHERE TID=-999")).integer(u"version");
    if (version == schema::kCurrentVersion) return;
    if (!ui.askYesNo(QStringLiteral("Die gewählte Datenbank hat eine alte Struktur.\n"
                                    "Soll die Struktur jetzt angepasst werden?")))
        throw wrongFormat();
    upgrade(db, ui, version);
}

void upgrade(Tdb_procedures& db, Interaction& ui, int version) {
    QString lines;
    try {
        Transaction t(db);
        if (version < 3) {
            // A database upgraded by hand may have the column already; adding it twice would fail.
            if (!hasColumn(db, QStringLiteral("Import"), QStringLiteral("klassen")))
                db.exec(db.dialect().addImportKlassen());
            lines += QStringLiteral("- Import Tabelle angepasst\n");
        }
        if (version < 4) {
            // The live results folder is kept with the tournament's settings.
            if (!hasColumn(db, QStringLiteral("Einstellungen"), QStringLiteral("liveordner")))
                db.exec(QStringLiteral("ALTER TABLE Einstellungen ADD liveordner TEXT"));
            lines += QStringLiteral("- Einstellungen um Live-Ergebnisse ergänzt\n");
        }
        if (version != schema::kCurrentVersion) {
            // A database without the database-wide row gets one; else the question would come back at
            // every connect.
            if (db.exec(QStringLiteral("UPDATE Einstellungen SET version=%1 WHERE TID=-999;")
                            .arg(schema::kCurrentVersion)) == 0)
                db.exec(QStringLiteral("INSERT INTO Einstellungen (TID,einstellung1,einstellung2,einstellung3,"
                                       "einstellung4,version) VALUES (-999,:f,:f,:f,:f,:v)"),
                        {{":f", false}, {":v", schema::kCurrentVersion}});
            lines += QStringLiteral("- DB-Versionsbezeichnung angepasst\n");
        }
        t.commit();
        // Statements prepared against the old columns must not be run again.
        db.clearStatementCache();
    } catch (const DbError&) {
        ui.warning(QStringLiteral("Es trat ein Fehler beim Aktualisieren der Datenbank auf."),
                   Interaction::Button::Cancel);
        throw wrongFormat();
    }
    ui.plain(QStringLiteral("Die Datenbank wurde aktualisiert.\n\n") + lines);
}

QList<Entry> turnierliste(Tdb_procedures& db) {
    QList<Entry> list;
    for (const Row& r : db.select(QStringLiteral("SELECT TID,turniername from Turnierdaten ORDER BY TID")))
        list.append(Entry{r.integer(u"TID"), r.text(u"turniername")});
    return list;
}

void deleteRows(Tdb_procedures& db, int tid) {
    static const QStringList tournamentStatements = {
        QStringLiteral("DELETE FROM Turnierdaten WHERE TID=:k"),
        QStringLiteral("DELETE FROM Einstellungen WHERE TID=:k"),
        QStringLiteral("DELETE FROM Spielerdaten WHERE TID=:k"),
        QStringLiteral("DELETE FROM Altersklasse WHERE TID=:k"),
        QStringLiteral("DELETE FROM Spieler_im_Turnier WHERE TID=:k"),
        QStringLiteral("DELETE FROM Schiri WHERE TID=:k"),
        QStringLiteral("DELETE FROM Schiri_im_turnier WHERE TID=:k"),
    };
    static const QStringList classStatements = {
        QStringLiteral("DELETE FROM Doppelpartner WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Gesetzt WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Gruppen WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Gruppeneinstellungen WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Spielplan WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Tabellen WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Turnierklassen WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Platten WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Platten1 WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Teams WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Teamsystem WHERE KID=:ID"),
        QStringLiteral("DELETE FROM Teamspiele WHERE KID=:ID"),
    };

    Transaction t(db);
    // The classes are taken before anything is removed.
    QList<int> classes;
    for (const Row& r :
         db.select(QStringLiteral("SELECT KID FROM Turnierklassen WHERE TID=:ID"), {{":ID", tid}}))
        classes.append(r.integer(u"KID"));

    for (const QString& sql : tournamentStatements)
        db.exec(sql, {{":k", tid}});
    // The staging rows of the import belong to no tournament; they go as a whole.
    db.exec(QStringLiteral("DELETE FROM Import"));
    for (int kid : classes)
        for (const QString& sql : classStatements)
            db.exec(sql, {{":ID", kid}});
    t.commit();
}

bool turnierloeschen(Tdb_procedures& db, AppState& state, Interaction& ui) {
    if (!state.tournamentOpen()) {
        ui.plain(QStringLiteral("Sie haben kein Turnier ausgewählt"));
        return false;
    }
    if (!ui.askYesNo(
            QStringLiteral("Wollen Sie das Turnier \"%1\" wirklich löschen?").arg(state.turniername)))
        return false;
    deleteRows(db, state.tid);
    state.turniername.clear();
    return true;
}

bool turnierDbAnhaengen(const QString& server, Interaction& ui, const QString& database) {
    try {
        schema::createServerDatabase(server, database);
    } catch (const DbError& e) {
        ui.error(QStringLiteral("Die Turnier-Datenbank konnte nicht angelegt werden.\n\n") + describe(e));
        return false;
    }
    ui.plain(QStringLiteral("Der Befehl wurde ausgeführt."));
    return true;
}

RestorePoint RestorePoint::take(const AppState& state, const Tdb_procedures& db) {
    return RestorePoint{state.tournamentOpen(), state.dbKind,
                        state.filePath,         state.serverName,
                        state.trueValue,        db.isConnected() ? db.location() : QString()};
}

void RestorePoint::restore(AppState& state, Tdb_procedures& db, const QString& database) const {
    if (!tournamentOpen) return;
    state.dbKind = kind;
    state.filePath = filePath;
    state.serverName = serverName;
    state.trueValue = trueValue;
    if (location.isEmpty() || (db.isConnected() && db.location() == location)) return;
    db_verbinden(db, state, database);
}

QString describe(const DbError& e) {
    // A failed connect keeps the driver's reason in the detail; for statements the detail is SQL.
    if (e.kind() == DbError::Kind::Connect && !e.detail().trimmed().isEmpty())
        return e.message() + QStringLiteral("\n") + e.detail().trimmed();
    return e.message();
}

} // namespace tournaments
