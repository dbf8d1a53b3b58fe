#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Tdb_procedures;

// The lists of the PDF and spreadsheet exports: which data sets a tournament offers, which columns each
// offers, and the rows of one data set with the chosen columns, as texts.
namespace listen {

enum class Art { Spieler, Spielplan, Schiri, Team, Tabellen };

// A caption offered in the column choice and the table column behind it.
struct Spalte {
    QString caption;
    QString column;
    bool vorgewaehlt = false;
};

// The captions of a kind in the catalogue's order.
const QList<Spalte>& katalog(Art art);
// The pre-chosen captions of a kind, in order.
QStringList vorgewaehlt(Art art);

// One entry of "Zu exportierende Daten".
struct Datensatz {
    QString text; // "Spielerliste (Herren A (Einzel))"
    int kid = 0;  // 0: the whole tournament
    Art art = Art::Spieler;
    QString klassenname; // kbezeichnung of the class; empty for the whole tournament
};

// The data sets of tournament tid, sorted by their text. Group tables are offered only for a class that
// has standings rows.
QList<Datensatz> datensaetze(Tdb_procedures& db, int tid);

// A list ready to be written: sheet name, title, header and rows.
struct Liste {
    Art art = Art::Spieler;
    QString blattname;  // sheet name: the list's word, or the class name for a class list
    QString titel;      // "Spielerliste für " + class or tournament name
    QStringList kopf;   // the chosen captions
    QList<QStringList> zeilen;
    QList<int> kids;    // match plans: the class of each row (a new page per class)
    QList<int> gruppen; // match plans and group tables: the group of each row (-1 none)
    QHash<int, QString> klassennamen; // match plans: kbezeichnung by KID
};

// The list of data set d with the chosen captions (unknown captions are refused with std::invalid_argument).
Liste liste(Tdb_procedures& db, int tid, const QString& turniername, const Datensatz& d, const QStringList& captions);

// A sheet name the spreadsheet accepts: at most 31 characters, none of []:*?/\ .
QString blattname(const QString& name);

} // namespace listen
