#pragma once

#include "output/druckauftrag.h"

#include <QStringList>
#include <array>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

// What the two match dialogs "Spielverwaltung" (single and team matches) build alike.
namespace spielverwaltung {

struct Knoepfe {
    QPushButton* drucken;
    QPushButton* ok;
    QPushButton* cancel;
    QToolButton* druckziel; // beside "Drucken": the slip to the preview or a PDF
};
// The row under a match dialog: "Drucken" with its destinations, the confirm button (caption set per step)
// and "Zurück". `drucken(ziel)` prints the slip.
Knoepfe knopfzeile(QWidget* dialog, QBoxLayout* layout, const std::function<void(Druckziel)>& drucken);

// Shows the page of the dialog's step (the others cannot be chosen) and readies the button row for it.
void schrittZeigen(QTabWidget* seiten, int seite, const Knoepfe& k, const QString& okText,
                   bool druckenEnabled);

// The page "Spiel aufgerufen": one row per caption with the boxes "2. Aufruf" and "3. Aufruf", named as the
// columns they write, in the order of matchrecord::Recall. `geklickt(i, checked)` follows a click on box i.
QWidget* aufrufSeite(const QStringList& zeilen, std::array<QCheckBox*, 6>& boxen,
                     const std::function<void(int, bool)>& geklickt);

// An editable combo box showing `text` over `items`, whether or not the text is one of them.
void liste(QComboBox* box, const QStringList& items, const QString& text);

} // namespace spielverwaltung
