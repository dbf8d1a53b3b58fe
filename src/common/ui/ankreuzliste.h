#pragma once

class QListWidget;

// A list in which several lines are chosen: a click (or Space) toggles a line without Ctrl, and every
// line shows a check box that follows its selection. The selection stays what the code reads and sets.
void alsAnkreuzliste(QListWidget* list);
