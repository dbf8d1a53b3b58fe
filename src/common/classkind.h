#pragma once

#include <QString>

// The kind of a competition class (`Turnierklassen.system`) and the captions of its navigation items,
// "Herren A (Doppel)": the class name, a blank and the kind word in parentheses.
namespace classkind {

enum Kind { Einzel = 0, Doppel = 1, Mixed = 2, Team = 3 };

// "Einzel", "Doppel", "Mixed", "Team"; empty for an unknown kind.
QString word(int kind);
// " (Einzel)" ...; empty for an unknown kind.
QString suffix(int kind);
// The item caption of a class.
QString caption(const QString& name, int kind);
// The kind named at the end of a caption, -1 when the caption names none ("Klassen verwalten").
int kindOfCaption(const QString& caption);
// The class name of a caption: everything before the last " (".
QString nameOfCaption(const QString& caption);

} // namespace classkind
