#pragma once

#include "output/listen.h"

#include <QString>

struct AppState;
class Interaction;
class Tdb_procedures;

// The spreadsheet export: one .xlsx workbook with one sheet named after the list, the title in A1, the
// captions in row 2 and one row per data row from row 3, every value as text.
namespace xlsxexport {

// Writes the list to path under a temporary name and renames it at the end. Throws ExportFehler naming
// path.
void schreiben(const QString& path, const listen::Liste& liste, Interaction* progress = nullptr);

// "Excel-Export" of data set d with the chosen captions: asks for the file and writes it. Returns the
// written path (the dialog offers to open it), empty when cancelled or failed (the failure is shown).
QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir,
                    const listen::Datensatz& d, const QStringList& captions);

} // namespace xlsxexport
