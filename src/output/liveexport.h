#pragma once

#include "store/appstate.h"

#include <QHash>
#include <QList>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class Tdb_procedures;

// "Live-Ergebnisse": a folder (stored with the tournament's settings) that holds the tournament's HTML
// site while the day runs. After a result, an undo or a draw the class's pages are written there again,
// each by temporary file and rename, so a browser or a hall screen never reads half a page; every page
// but the frameset reloads itself every 30 seconds.
namespace liveexport {

constexpr int kNachladenSekunden = 30;
inline const QString kStartseite = QStringLiteral("index.html");

// The live folder of tournament tid; empty when live results are off.
QString ordner(Tdb_procedures& db, int tid);
// Empty text switches live results off.
void setOrdner(Tdb_procedures& db, int tid, const QString& ordner);

// The whole site into ordner; with nachladen > 0 its pages reload themselves after that many seconds.
void allesSchreiben(Tdb_procedures& db, int tid, const QString& ordner, int nachladen);
// The two pages of class kid (reloading); the whole site when the folder has no start page yet.
void klasseSchreiben(Tdb_procedures& db, int tid, int kid, const QString& ordner);
// After a confirmed write to class kid: its pages (ganz: the whole site, as after a draw that may have
// added the class) into its tournament's live folder, if there is one. Throws ExportFehler or DbError.
void klasseGeschrieben(Tdb_procedures& db, int kid, bool ganz = false);

// The classes whose matches changed since the last look, for a desk that only watches a server
// database another desk writes to. One statement per look.
class Beobachter {
public:
    explicit Beobachter(int tid) : tid_(tid) {}
    // Classes changed since the last call (every class with matches on the first call).
    QList<int> aenderungen(Tdb_procedures& db);

private:
    int tid_;
    QHash<int, QString> stand_;
};

// The program's live export: runs off the user-interface thread on a connection of its own, so a
// result is confirmed at the desk without waiting for the pages. Requests that pile up while a class
// is written are merged.
class Hintergrund {
public:
    struct Verbindung {
        DbKind kind = DbKind::File;
        QString datei;
        QString server;
        QString datenbank = QStringLiteral("turnier_db");
        bool operator==(const Verbindung&) const = default;
    };
    // The database the desk's data module is connected to.
    static Verbindung von(const Tdb_procedures& db);

    Hintergrund();
    ~Hintergrund(); // writes what is asked for still, then ends the thread

    void geaendert(const Verbindung& v, int kid, bool ganz = false);
    // Blocks until every request so far has been written (tests, closing).
    void warten();
    // The German message of the last failed export; empty when none failed.
    QString letzterFehler() const;

private:
    struct Auftrag {
        Verbindung v;
        int kid = 0;
        bool ganz = false;
    };
    void lauf();

    mutable std::mutex m_;
    std::condition_variable cv_;
    std::condition_variable fertig_;
    QList<Auftrag> auftraege_;
    bool beschaeftigt_ = false;
    bool ende_ = false;
    QString fehler_;
    std::thread thread_;
};

} // namespace liveexport
