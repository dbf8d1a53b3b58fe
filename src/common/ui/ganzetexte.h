#pragma once

class QWidget;

// Lists of a panel never hide a name behind a horizontal scroll bar: a line that is wider than its list
// is cut with "…" and shows its whole text as tooltip. Applies to every list below `panel`.
void ganzeTexteZeigen(QWidget* panel);
