#pragma once

#include "results/tabellenrow.h"

#include <QVector>

class Row;
class Tdb_procedures;

// Reading and writing the standings rows of a group. Writes run in the caller's transaction.
namespace tabellen {

// A row read with SELECT * FROM Tabellen; NULL counters read as 0.
TabellenRow fromRow(const Row& row);

// Every row of group gid, filled or not, by position.
QVector<TabellenRow> gruppeLesen(Tdb_procedures& db, int kid, int gid);

// Writes position and counters of a filled row (found by class, group and entry).
void zeileSchreiben(Tdb_procedures& db, const TabellenRow& row);

// Writes the rows of `neu` that differ from their row in `alt` (same SID); rows not in `alt` are written.
void aenderungenSchreiben(Tdb_procedures& db, const QVector<TabellenRow>& alt,
                          const QVector<TabellenRow>& neu);

} // namespace tabellen
