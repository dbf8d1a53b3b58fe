#pragma once

#include <QString>

// Where the program finds its data files and where it keeps the user's file database.
//
// Run from the build directory (or any copy of it) the data files, pictures and the file database sit
// beside the executable. Installed as a package the executable is in /usr/bin, its data files in
// /usr/share/velmora, and the user cannot write to either: the file database then lives in the user's
// data folder and is copied there from the shipped, empty one on first start.
namespace programmordner {

struct Ordner {
    QString daten;  // Files/, images/ and the shipped turnier_db.sqlite
    QString arbeit; // the user's turnier_db.sqlite and the first folder offered for exports and imports
};

// The folders for an executable in `programmDir`; `benutzerDaten` is the user's data folder (taken when
// the program's own folder cannot hold the database, or the program is installed).
Ordner finden(const QString& programmDir, bool programmDirBeschreibbar, const QString& benutzerDaten);
// The same for this program: its executable's folder and QStandardPaths::AppDataLocation.
Ordner fuerDiesesProgramm();

// The user's file database: the shipped one is copied into the work folder when it is not there yet.
// Gives an error in German, or an empty text when the database is there.
QString datenbankBereitstellen(const Ordner& ordner);

inline QString datenbankName() {
    return QStringLiteral("turnier_db.sqlite");
}

} // namespace programmordner
