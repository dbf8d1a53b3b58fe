#pragma once

#include "support/testdb.h"

#include <QString>
#include <future>
#include <thread>

// Another desk on the test's server database, in a thread of its own, that makes the test's desk lose a
// deadlock: it runs `zuerst` in its transaction and reports that it holds those locks; once the test's
// desk waits behind them, it runs `danach`, which waits for a lock the test's desk holds, and commits.
// Its own deadlock check comes late, so the server gives up the test's desk (checked after the usual
// second) and this desk goes through.
class Gegenplatz {
public:
    Gegenplatz(const TestDatabase& t, const QString& zuerst, const QString& danach);
    ~Gegenplatz();
    // Returns once `zuerst` holds its locks.
    void gesperrt();
    // Waits for the end; gives what went wrong on this desk, empty when it committed.
    QString ende();

private:
    std::promise<void> gesperrt_;
    std::future<void> gesperrtFuture_;
    QString fehler_;
    std::thread thread_;
};
