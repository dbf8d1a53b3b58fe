#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Tdb_procedures;

// The named playing tables of one class, kept in list order.
namespace tische {

// Name of the table at a 1-based position that has not been renamed.
QString defaultName(int position);

// The table list of a new class: "Tisch 1".
QStringList initialList();

// Brings a table list to n names: names beyond n go from the end, missing positions are appended as
// "Tisch <position>". Names given before keep their place.
QStringList resized(QStringList list, int n);

// The number of tables as typed into "Anzahl Tische"; none unless it is a whole number from 1 to 20.
std::optional<int> parseCount(const QString& text);
constexpr int kMaxCount = 20;

// The table names of a class in stored order.
QStringList load(Tdb_procedures& db, int kid);

// Replaces the stored tables of a class by the list. Runs inside the caller's transaction.
void store(Tdb_procedures& db, int kid, int tid, const QStringList& list);

} // namespace tische
