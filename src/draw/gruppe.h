#pragma once

#include "draw/myitem.h"

#include <QString>
#include <QVector>
#include <array>

class Interaction;
class Tdb_procedures;

// The phase and group settings of one class and its seed list, as the `Gruppen` panel edits them: up to
// three phases (group phase or knock-out), the counts of each group phase, which phase panels show, the
// entries, the seed slots and, in doubles and mixed classes, the players still without partner. The
// panel shows this state and forwards every change to it; every refusal goes through Interaction and
// writes nothing.
class Tgruppe {
public:
    // Phase systems (`Gruppeneinstellungen.phase`n).
    enum System { Gruppenphase = 0, EinfachesKO = 1, DoppeltesKO = 2 };
    // The kinds laden() distinguishes: mixed classes load as doubles.
    enum Kind { Einzel = 0, Doppel = 1, Team = 3 };

    struct Phase {
        int system = Gruppenphase;
        int gruppenanzahl = 0;  // groups
        int teilnehmer = 0;     // places per group
        int besten = 0;         // places per group that go through directly
        int bestplazierten = 0; // best-placed of the next rank that go through in addition
    };

    static constexpr int kMaxTeilnehmer = 13;
    static const QString kZuVieleSpieler;  // phase 1 capacity
    static const QString kZuVieleSpieler2; // phase 2 capacity
    static const QString kZuVieleSpieler3; // phase 3 capacity
    static const QString kBestplazierten;
    static const QString kKeineSpieler2;
    static const QString kKeineSpieler3;
    static const QString kGleichesGeschlecht;

    Tgruppe(Tdb_procedures& db, Interaction& interaction);

    // The settings of a class without stored settings: phase 1 alone, every phase a group phase, every
    // count and the seed count 0.
    void gruppeneinstellungenreset();
    // Reads the settings, seeds and entries of class kid. kind: Einzel, Doppel (doubles and mixed) or
    // Team; mixed makes pairing check the players' sex.
    void laden(int kid, int kind, bool mixed = false);
    // Replaces the stored settings and seed slots of class kid with these, in one transaction.
    void systemspeichern(int kid);

    // The "Spielsystem" choice of phase 1 to 3.
    void setSpielsystem(int phase, int system);
    // The spin edits of phase 1 to 3; values are raised to 0 and capped as the rules say, and what
    // depends on them follows.
    void setGruppenanzahl(int phase, int value);
    void setTeilnehmer(int phase, int value);
    void setBesten(int phase, int value);
    void setBestplazierten(int phase, int value);
    // The seed count: capped at maxGesetzt(); the seed list grows or shrinks at its end to match.
    void setGesetzt(int value);

    // Drag and drop. Each gives true when the lists changed.
    // An entry dropped on seed slot `slot` (-1: not on a slot).
    bool setzen(int entryIndex, int slot);
    // One seed slot dropped on another: they change places and numbers.
    bool tauschen(int fromSlot, int toSlot);
    // A seed slot dropped on the entry list: the slot is emptied.
    bool entfernen(int slot);
    // A player without partner (index in ohnepartner()) dropped on an entry that is another player
    // without partner: they become a pair, stored in both players' rows at once. Refused with a warning
    // when a mixed pair would be of one sex. DbError leaves lists and database as they were.
    bool paaren(int ohnepartnerIndex, int entryIndex);

    // The checks of "Zur Auslosung -->": the first refusal's text, or empty when the settings can be drawn.
    QString pruefen() const;
    // Runs the checks; a refusal is shown as a warning and nothing is stored; otherwise the settings are
    // stored and the result is true.
    bool zurauslosung();

    int kid() const { return kid_; }
    int kind() const { return kind_; }
    bool mixed() const { return mixed_; }
    // Phases 1 to 3.
    const Phase& phase(int n) const { return phases_[index(n)]; }
    // Whether the panel of phase n shows. Phase 3 lies within phase 2: it never shows without it.
    bool phaseVisible(int n) const;
    // Whether the group counts of phase n show: only for a group phase.
    bool groupSettingsVisible(int n) const { return phase(n).system == Gruppenphase; }
    bool doublesVisible() const { return kind_ == Doppel; }
    int gesetzt() const { return gesetzt_; }
    // (entries + 1) div 2.
    int maxGesetzt() const { return (int(entries_.size()) + 1) / 2; }

    // The entry list, sorted by text; each line's text is what the list shows.
    const QVector<Myitem>& entries() const { return entries_; }
    // The seed slots; each text reads the slot number, "." and the entry, or the number alone when empty.
    const QVector<Myitem>& seeds() const { return seeds_; }
    // Doubles players without partner, with their full names.
    const QVector<Myitem>& ohnepartner() const { return ohnepartner_; }
    // The count shown beside the entry list.
    QString anzahlText() const { return QString::number(entries_.size()); }

private:
    static int index(int n);
    Phase& phaseRef(int n) { return phases_[index(n)]; }
    void setPanel(int n, bool visible) { panel_[index(n)] = visible; }
    void followQualifiers(int n);
    void addEntry(const Myitem& item);
    void loadSettings();
    void loadSingles();
    void loadDoubles();
    void loadTeams();
    void placeSeed(int position, Myitem item);
    bool seeded(const Myitem& entry) const;

    Tdb_procedures& db_;
    Interaction& interaction_;
    int kid_ = 0;
    int kind_ = Einzel;
    bool mixed_ = false;
    std::array<Phase, 3> phases_{};
    // The panels' own visibility; phase 1's is always set.
    std::array<bool, 3> panel_{true, false, false};
    int gesetzt_ = 0;
    QVector<Myitem> entries_;
    QVector<Myitem> seeds_;
    QVector<Myitem> ohnepartner_;
};
