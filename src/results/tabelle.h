#pragma once

#include "play/matchrecord.h"
#include "results/tabellenrow.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>
#include <utility>

// Group standings as pure functions over plain rows: what a result adds to the two rows, the ranking
// chain with its head-to-head comparison, shared positions, and the ranking of the best placed across
// the groups of a phase. The database side lives in tabellen_db.h.
namespace tabelle {

// Single and doubles classes compare matches, sets, points; team classes one level higher: team
// matches, rubbers, sets, points.
enum class Kette { Einzel, Team };

// The counters one finished match adds to (or, withdrawn, takes from) one row.
struct Zaehler {
    int spielanzahl = 0;
    int spielegewonnen = 0; // team classes: rubbers
    int spieleverloren = 0;
    int saetzegewonnen = 0;
    int saetzeverloren = 0;
    int punktegewonnen = 0;
    int punkteverloren = 0;
    int matchegewonnen = 0; // team classes only: team matches
    int matcheverloren = 0;
    bool operator==(const Zaehler&) const = default;
};

struct Beitrag {
    Zaehler erster;
    Zaehler zweiter;
    bool operator==(const Beitrag&) const = default;
};

// A single or doubles match finished a:b with these sets.
Beitrag einzelBeitrag(int a, int b, const Saetze& saetze);

// One rubber of a team match: its result "a:b" and sets.
struct Rubber {
    QString ergebnis;
    Saetze satz{};
};
// A team match finished a:b (rubbers) with these rubbers: team matches, rubbers from a:b, sets summed
// from the rubber results, points from the sets of all rubbers — of each rubber the sets its result says
// were played, so a rubber not played ("0:0", sets 0) adds nothing.
Beitrag teamBeitrag(int a, int b, const QVector<Rubber>& rubbers);

void addieren(TabellenRow& row, const Zaehler& z);
void abziehen(TabellenRow& row, const Zaehler& z);

// The mutual results within a group: for every pair of entries the first match between them.
class Direktvergleich {
public:
    Direktvergleich() = default;
    // From the matches of one group, in match-number order.
    explicit Direktvergleich(const QVector<SpielplanRow>& spiele);
    // Records the match of x and y (either order) unless one is recorded already.
    void eintragen(int x, int y, int siegerSID, int verliererSID);
    // Winner and loser of the match of x and y; nothing when they have none or it has no result.
    std::optional<std::pair<int, int>> ergebnis(int x, int y) const;

private:
    QHash<std::pair<int, int>, std::pair<int, int>> ergebnisse_;
};

// Ranks the rows of a group (only filled slots: SID > -1), taken in the given order (the previous
// positions): each is inserted before the first ranked row it beats by the chain; rows the chain and the
// head-to-head cannot separate share a position, and the next row follows after the gap (0, 0, 2).
QVector<TabellenRow> rangliste(const QVector<TabellenRow>& zeilen, Kette kette, const Direktvergleich& dv);

// Marks (markiert) every row whose position is shared; true when there is one.
bool geteilteMarkieren(QVector<TabellenRow>& rangliste);

// Ranks the candidates from the groups of a phase by the chain without head-to-head (they played in
// different groups). Candidates the chain cannot separate are both marked; true when any are.
bool bestplatzierte(const QVector<TabellenRow>& kandidaten, Kette kette, QVector<TabellenRow>* rangliste);

// The list of the dialog "Direkter Vergleich": the entries to order, the marked ones red. Only marked
// entries move, and only past each other, so the order the criteria decided is never overturned.
class Vergleich {
public:
    static const QString kTitel;  // "Direkter Vergleich"
    static const QString kZeile1; // "Die rotmarkierten Einträge sind nicht eindeutige"
    static const QString kZeile2; // "Tabellenplätze und müssen von Hand bestimmt werden"

    explicit Vergleich(QVector<TabellenRow> eintraege) : eintraege_(std::move(eintraege)) {}

    const QVector<TabellenRow>& eintraege() const { return eintraege_; }
    int size() const { return int(eintraege_.size()); }
    bool markiert(int i) const { return eintraege_[i].markiert; }

    // "Rauf" / "Runter" on entry i: exchanges it with its neighbour when both are marked. True when
    // the entries moved.
    bool rauf(int i);
    bool runter(int i);

    // The hint over entry i: "Spiele: 2:1 Sätze: 7:4 Punkte: 98:80".
    QString hinweis(int i) const;

private:
    QVector<TabellenRow> eintraege_;
};

// Decides the marked entries by hand: gets the list and leaves the chosen order in it. The program
// shows the dialog; tests answer directly. Never called while a transaction is open.
using Entscheider = std::function<void(Vergleich&)>;

} // namespace tabelle
