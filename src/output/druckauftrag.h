#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class Interaction;
class PrintSurface;

// Where a printout goes: the printer after the print dialog, a print preview, or a PDF file the user
// chooses. The drawing is the same for all three.
enum class Druckziel { Drucker, Vorschau, Pdf };

// Puts one document on `ziel`. For a PDF the user chooses the file first (`pdfVorschlag` is the name
// offered); it is written beside the target and renamed at the end, and a file that cannot be written is
// reported by name. A printer or preview that fails is reported as "Druckerfehler" (OK button).
// `zeichnen` must not read the database: it may run more than once (a preview repaints) and inside the
// platform's dialogs. False when cancelled or failed.
bool druckauftrag(Interaction& ui, const QString& titel, QPageLayout::Orientation orientation,
                  const std::function<void(PrintSurface&)>& zeichnen, Druckziel ziel,
                  const QString& pdfVorschlag = {});

// "Druckerfehler", as every guarded printout reports a failure.
void druckerfehler(Interaction& ui);
