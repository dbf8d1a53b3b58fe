#pragma once

#include "output/printsurface.h"

#include <QString>
#include <functional>

// Draws a document into a PDF file on A4 pages with the same drawing code as printing.
// Returns false (and leaves no file) when the file cannot be written.
bool printToPdf(const QString& path, QPageLayout::Orientation orientation,
                const std::function<void(PrintSurface&)>& draw);
