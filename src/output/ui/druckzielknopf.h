#pragma once

#include "output/druckauftrag.h"

#include <functional>

class QToolButton;
class QWidget;

// The small arrow button beside a "Drucken" button: its menu sends the same printout to the printer,
// a print preview or a PDF file.
QToolButton* druckzielKnopf(QWidget* parent, const std::function<void(Druckziel)>& drucken);
