#pragma once

#include "common/interaction.h"

// Prints through the interaction (print dialog or preview). A surface that cannot begin, or a printer that
// fails while drawing, is reported as "Druckerfehler". False when nothing was printed.
bool druckenMitMeldung(Interaction& interaction, const QString& title, QPageLayout::Orientation orientation,
                       const std::function<void(PrintSurface&)>& draw,
                       Interaction::PrintMode mode = Interaction::PrintMode::Dialog);
