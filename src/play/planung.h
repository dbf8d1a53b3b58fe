#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>
#include <map>
#include <optional>
#include <tuple>

class Interaction;
class Tdb_procedures;

// The match scheduler ("Spieleplaner"): matches of every class of a tournament planned onto a grid of
// days × ten-minute rows × tables. This is the grid without its window: which cells a planned match
// occupies, what a drop unplans, and the writes of every drop. The window only shows it.
//
// Rows: 1 … 143 stand for 00:10 … 23:50 (row r is r · 10 minutes after midnight). A planned match takes
// the row of its time (top cell, side 1) and the row below (bottom cell, side 2) of its table's column.
// Columns: 1 … n are the tournament's tables; column 0 is the time column and holds no match.
namespace planung {
constexpr int kErsteZeile = 1;
constexpr int kLetzteZeile = 143; // 23:50: no row below it, so no match can start there
constexpr int kStartZeile = 75;   // 12:30, where the grid opens
// The row of a time of day; 0 before 00:10 (no row).
int zeileVon(const QTime& zeit);
QTime zeitVon(int zeile);
} // namespace planung

// A class as the class choice offers it.
struct PlanungsKlasse {
    int KID = 0;
    int system = 0;
    QString kbezeichnung;
    QString farbe; // the colour's name, empty when none was chosen
    bool team() const { return system == 3; }
    // kbezeichnung and the kind: "Herren A (Einzel)".
    QString anzeige() const;
};

// A match, or a rubber of a team match, as a list line or a planned grid item.
struct PlanSpiel {
    int KID = 0;
    int spielnummer = 0;
    int nummer = -1; // the rubber's number; -1 for a match of a class that is not a team class
    QString spieler1;
    QString spieler2;
    QString schiri;
    // Where it is planned (empty for a list line).
    QDate tag;
    QString tisch;
    QTime zeit;

    bool rubber() const { return nummer >= 0; }
    auto key() const { return std::tuple(KID, spielnummer, nummer); }
    bool operator==(const PlanSpiel&) const = default;
};

// What a cell of the grid holds.
struct PlanZelle {
    const PlanSpiel* spiel = nullptr;
    bool oben = false; // the top cell (side 1); otherwise the bottom cell (side 2)
};

class Planung {
public:
    Planung(Tdb_procedures& db, Interaction& ui, int tid);
    // The grid points into the planned matches it owns.
    Planung(const Planung&) = delete;
    Planung& operator=(const Planung&) = delete;

    // Opening the window: the tournament's days (the first day is shown), its classes and tables, and
    // every planned match of the tournament (one statement per table). DbError propagates.
    void laden();

    QDate von() const { return von_; }
    QDate bis() const { return bis_; }
    QDate tag() const { return tag_; }
    // The arrows: false, and nothing changes, at the first / last day.
    bool vorherigerTag();
    bool naechsterTag();
    // Shows another day of the tournament (false outside von … bis).
    bool tagZeigen(const QDate& tag);

    const QVector<PlanungsKlasse>& klassen() const { return klassen_; }
    const PlanungsKlasse* klasse(int kid) const;
    // The colour name of a class: the same on every day.
    QString farbe(int kid) const;
    // "UPDATE Turnierklassen SET farbe=:f WHERE KID=:ID"; the class's matches take it on every day.
    void farbeSetzen(int kid, const QString& farbe);

    const QStringList& tische() const { return tische_; }
    int spalten() const { return int(tische_.size()); }

    // The cell of the day shown; an empty cell (or one outside the grid) holds no match.
    PlanZelle zelle(int spalte, int zeile) const;
    // Every planned match of the day shown.
    QVector<const PlanSpiel*> spieleDesTages() const;
    // Every planned match of the tournament, whatever the day.
    int geplanteSpiele() const { return int(geplant_.size()); }

    // The class's matches (or a team class's rubbers) without a planned time and with both names: the list.
    QVector<PlanSpiel> ungeplant(int kid);

    // The matches a match dropped at (spalte, zeile) would push out: the match whose top or bottom cell is
    // the target, and the match whose top cell is the row below. `ausser` (the match being moved) is not
    // in its own way.
    QVector<PlanSpiel> imWeg(int spalte, int zeile, const PlanSpiel* ausser = nullptr) const;

    // A list line dropped on a cell: the matches in the way are unplanned and the match is planned for the
    // day shown, the column's table and the row's time, all in one transaction. Refused with a message on
    // the last row. False when nothing was written.
    bool einplanen(const PlanSpiel& spiel, int spalte, int zeile);
    // A planned match dragged from one cell (either of its two) to another.
    bool verschieben(int vonSpalte, int vonZeile, int spalte, int zeile);
    // A planned match dragged back to the list: its planning (umpire, day, table, time) is cleared.
    std::optional<PlanSpiel> ausplanen(int spalte, int zeile);

    // The umpire menu of a planned cell: the umpires entered for class kid, as "snname, svname".
    QStringList schiris(int kid);
    // The umpire chosen in that menu for the match in cell (spalte, zeile), or with an empty text no
    // umpire: one statement, in a transaction with the check of the match's state. Refused with a
    // message, writing nothing: an umpire not entered for the match's class, an umpire planned for a match
    // of the same day whose rows overlap this one's, and a match that is called, started or finished (its
    // umpire belongs to the call and the free lists then).
    bool schiriSetzen(int spalte, int zeile, const QString& schiri);

    static QString letzteZeileText();
    static QString keinTagText();
    static QString schiriFremdText(const QString& schiri);
    static QString schiriBelegtText(const PlanSpiel& anderes);
    static QString schiriAufgerufenText();

private:
    using Key = std::tuple<int, int, int>;
    void zellenAufbauen();
    void belegen(const PlanSpiel& s);
    bool zielPruefen(int spalte, int zeile);
    // Writes: the move of `spiel` to the target after clearing `weg`, in one transaction.
    void schreiben(const PlanSpiel& spiel, const QVector<PlanSpiel>& weg, const QString& tisch,
                   const QTime& zeit);
    void zeitzurueck(const PlanSpiel& s);
    int index(int spalte, int zeile) const { return (spalte - 1) * planung::kLetzteZeile + (zeile - 1); }
    bool imGitter(int spalte, int zeile) const {
        return spalte >= 1 && spalte <= spalten() && zeile >= planung::kErsteZeile &&
               zeile <= planung::kLetzteZeile;
    }

    Tdb_procedures& db_;
    Interaction& ui_;
    int tid_;
    QDate von_, bis_, tag_;
    QVector<PlanungsKlasse> klassen_;
    QStringList tische_;
    std::map<Key, PlanSpiel> geplant_; // every planned match of the tournament
    struct Zelle {
        const PlanSpiel* spiel = nullptr;
        bool oben = false;
    };
    QVector<Zelle> zellen_; // the day shown, column by column
};
