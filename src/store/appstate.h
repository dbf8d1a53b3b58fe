#pragma once

#include <QString>

enum class DbKind { File, Server };

// What every part of the program reads about the session: the open tournament, the class in work,
// and which database the data module talks to.
struct AppState {
    int tid = 0;                   // current tournament id, 0 = none
    QString turniername;           // current tournament name; empty = no tournament open
    int kid = 0;                   // current class id
    DbKind dbKind = DbKind::Server;
    QString filePath;              // file database path
    QString serverName;            // server computer name (host or host:port)
    int trueValue = 0;             // the dialect's TRUE: -1 file, 1 server
    QString lastClassCaption;      // caption of the class item opened last

    bool tournamentOpen() const { return !turniername.isEmpty(); }
};
