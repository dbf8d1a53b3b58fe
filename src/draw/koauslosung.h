#pragma once

#include "draw/myitem.h"

#include <QString>
#include <QStringList>
#include <QVector>

class Random;
class Tdb_procedures;

// The knock-out pages of the draw dialog without the widgets: a bracket of first-stage slots, the lists
// its entries come from, the automatic draws and the placements by hand. The dialog shows these records
// and forwards every drop and button to the operations below.

// One first-stage slot of a bracket. Slots count from 0 at the top; slots 2j and 2j+1 meet in first-stage
// match j+1.
struct koinfo {
    // Entry id (SID or MID); -1 for a qualifier label or an empty slot, -2 for a bye, 0 for a slot a seed
    // was dragged back from.
    int id = -1;
    int partnerId = -1;
    // What the slot shows: entry text, label, "Freilos", or empty.
    QString text;
    QString club;
    // Phase 1: the entry's seed number, -1 unseeded. Phases 2 and 3: the order in which a winner label was
    // seeded (0, 1, ...), -1 otherwise.
    int seedNumber = -1;

    bool empty() const { return text.isEmpty(); }
    bool bye() const;
    // Takes a drop: empty or a bye.
    bool free() const { return empty() || bye(); }
    // Holds an entry or a qualifier label.
    bool occupied() const { return !empty() && !bye(); }
};
using KoSlots = QVector<koinfo>;

// A line of the participant list of phase 2 or 3: a qualifier label (or a player in a redraw) and the
// half it should go to while a draw runs (0 none, 1 upper, 2 lower).
struct KoTeilnehmer {
    QString text;
    int marker = 0;
    QString club;
};
using KoTeilnehmerliste = QVector<KoTeilnehmer>;

// The knock-out page of phase 1: its bracket, the present unseeded entries ("angemeldete Spieler") and the
// seed list ("gesetzte Spieler", one line per seed in seed order), with the lists as loaded for
// "Alles löschen". An empty seed line has id -1 and keeps its number in seedNumber; a seed's text carries
// its number, as "Meier, Hans (1)".
struct KoPhase1 {
    KoSlots koslots;
    QVector<Myitem> ungesetzt;
    QVector<Myitem> gesetzt;
    QVector<Myitem> ungesetztKopie;
    QVector<Myitem> gesetztKopie;
};

// The knock-out page of phase 2 or 3: its bracket and the phase's participant list.
struct KoPhase {
    KoSlots koslots;
    KoTeilnehmerliste teilnehmer;
    KoTeilnehmerliste teilnehmerKopie;
};

// What an automatic draw needs besides the page.
struct KoLosdaten {
    // Slots (from 1) of seeds 1, 2, ... in a bracket of the page's size, from the seeding table.
    QVector<int> setzplaetze;
    // "Freilose zufällig verteilen": byes are drawn with the entries instead of going beside the seeds.
    bool freiloseZufaellig = false;
    // The club-separated draw: the clubs of the class's present players, largest first.
    QStringList vereine;
};

struct KoErgebnis {
    enum Status { Gelost, NichtsZuLosen, ZuVieleGesetzte };
    Status status = NichtsZuLosen;
    // The refusal to show, for ZuVieleGesetzte.
    QString meldung;
};

namespace ko {

extern const QString kFreilos; // "Freilos"

// The smallest power of two that holds `teilnehmer` participants, at least 2.
int groesse(int teilnehmer);
// The slot a slot meets in the first stage.
inline int partner(int slot) {
    return slot % 2 == 0 ? slot + 1 : slot - 1;
}
inline bool obereHaelfte(int slot, int groesse) {
    return slot < groesse / 2;
}
// The refusal when a page has more seeds than the seeding table has slots for its size.
QString zuVieleGesetzte(int groesse, int setzplaetze);
// A seed list line as the list shows it: "1. Meier, Hans (1)", or "1." when empty.
QString setzzeile(const Myitem& line, int index);

// How the later phases read their participant texts. Labels are made by the group draw; the knock-out
// draw only needs these two facts of them.
// A winner label ("Sieger Gruppe A"): the later phases seed these.
bool istSieger(const QString& text);
// The group a label comes from, as its last character (the group letter); labels of one group share it.
QChar herkunft(const QString& text);

} // namespace ko

// Building a page: empty slots for all participants, the lists kept as loaded.
// Phase 1 participants are the unseeded entries and the seeds (seed lines with an id above 0).
KoPhase1 kophase1(QVector<Myitem> ungesetzt, QVector<Myitem> gesetzt);
// The knock-out branch of phase2laden/phase3laden.
KoPhase kophaseladen(KoTeilnehmerliste teilnehmer);

// The automatic draws. mode 0 places the seeds (phases 2 and 3: the winner labels) in their order, mode 1
// in random order. Every draw keeps entries placed by hand unless a seed's slot needs the place; such an
// entry is drawn again. No bye is put opposite a bye while an entry can take the slot instead.
// Phase 1 without club separation.
KoErgebnis kolosenfest(KoPhase1& page, int mode, const KoLosdaten& daten, Random& random);
// Phase 1 keeping the players of one club apart: they alternate between the bracket's halves.
KoErgebnis kolosenfestverein(KoPhase1& page, int mode, const KoLosdaten& daten, Random& random);
// Phases 2 and 3: winner labels seeded, labels of one group apart.
KoErgebnis kolosenfest2(KoPhase& page, int mode, const KoLosdaten& daten, Random& random);
KoErgebnis kolosenfest3(KoPhase& page, int mode, const KoLosdaten& daten, Random& random);

// Placements by hand. Each gives true when something changed; a drop onto an occupied slot, an index
// outside the lists or a line without a seed changes nothing.
// An unseeded entry (index in ungesetzt) dropped on a free slot.
bool koablegen(KoPhase1& page, int index, int slot);
// A seed (index in gesetzt) dropped on a free slot; its seed line becomes empty.
bool koablegenGesetzt(KoPhase1& page, int index, int slot);
// A participant line dropped on a free slot of its phase.
bool koablegen(KoPhase& page, int index, int slot);
// A slot dropped on the unseeded list: an unseeded entry goes back (a bye vanishes), the slot empties.
bool kozurueck(KoPhase1& page, int slot);
// A slot dropped on the seed list: a seed goes back to its own line; the slot empties with id 0.
bool kozurueckGesetzt(KoPhase1& page, int slot);
// A slot dropped on the participant list: its text goes back (a bye vanishes), the slot empties.
bool kozurueck(KoPhase& page, int slot);
// One slot dropped on another: they change places.
bool kotauschen(KoSlots& koslots, int a, int b);
// "Alles löschen": every slot empty, the lists as loaded.
void koallesloeschen(KoPhase1& page);
void koallesloeschen(KoPhase& page);
// Nothing is left to place: the lists hold no entry and no seed.
bool kogelost(const KoPhase1& page);
bool kogelost(const KoPhase& page);

// From the database.
// Slots of seeds 1, 2, ... for a bracket of `spieler` slots (empty when the table has no rows for it).
QVector<int> kosetzplaetze(Tdb_procedures& db, int spieler);
// The clubs of the present players entered in class kid, largest first (ties by name).
QStringList kovereine(Tdb_procedures& db, int kid);
