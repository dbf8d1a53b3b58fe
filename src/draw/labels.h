#pragma once

#include <QString>
#include <QStringList>

// Group names and qualifier labels. A later phase is drawn before anyone has qualified: its places hold
// labels that say where the entrant will come from ("Sieger Gruppe A", "2. Bestplatzierter 3. Platz"), and
// the stored rows carry the decoded source (group index and position) so results can fill them in later.
namespace labels {

// The letter of group index gid: 0 is "A". Indices run on across the phases of a class.
QString gruppenbuchstabe(int gid);
// "Gruppe A".
QString gruppentitel(int gid);

// The label of the entrant placed `rang` (1-based) in group gid: "Sieger Gruppe A", "Zweiter Gruppe A",
// "Dritter Gruppe A", from 4 on "4. Gruppe A".
QString platzlabel(int rang, int gid);
// The label of the k-th (1-based) best of all entrants placed `platz` in their groups:
// "2. Bestplatzierter 3. Platz".
QString bestplatziertenlabel(int k, int platz);

// The participants of the phase after a group phase whose groups have indices ersteGid ..
// ersteGid + gruppenanzahl - 1: for each rank 1 .. besten every group in index order, then the
// bestplazierten best-placed of rank besten + 1.
QStringList qualifikanten(int ersteGid, int gruppenanzahl, int besten, int bestplazierten);

// The group a label's entrant comes from: -1 for an empty text, -3 for the best-placed pool (the text ends
// in "Platz"), -2 when the text ends in a blank (an empty group line "2. "), otherwise the group index of
// the last letter.
int getparentGID(const QString& text);
// The position of a label's entrant in its source group (0 = winner) or its rank in the best-placed pool:
// -1 for an empty text; "S..." 0, "Z..." 1, "D..." 2, "F..." (a bye) -2; otherwise the number written
// before the first "." minus 1, or -1 when no digit stands there.
int getparentpos(const QString& text);

// A group line as shown: its number (from 1), ". " and the text; an empty line reads "2. ".
QString zeilentext(int zeile, const QString& text);
// The text of a shown line after its first ". " (the label or entry); empty when there is none.
QString zeileninhalt(const QString& zeile);

} // namespace labels
