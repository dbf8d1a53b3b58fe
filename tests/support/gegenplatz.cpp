#include "support/gegenplatz.h"

#include <QElapsedTimer>
#include <QThread>

Gegenplatz::Gegenplatz(const TestDatabase& t, const QString& zuerst, const QString& danach)
    : gesperrtFuture_(gesperrt_.get_future()) {
    const QString server = t.location(), name = t.databaseName();
    thread_ = std::thread([this, server, name, zuerst, danach] {
        bool gemeldet = false;
        try {
            Tdb_procedures db;
            db.connectServer(server, name);
            db.select(QStringLiteral("SELECT set_config('deadlock_timeout', '20s', 1 <> 1)"));
            Transaction tr(db);
            db.exec(zuerst);
            gesperrt_.set_value();
            gemeldet = true;
            QElapsedTimer uhr;
            uhr.start();
            while (db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM pg_stat_activity WHERE "
                                               "datname=current_database() AND wait_event_type='Lock' AND "
                                               "pid<>pg_backend_pid()"))
                       .integer(u"n") == 0) {
                if (uhr.hasExpired(30000))
                    throw DbError(DbError::Kind::Statement, QStringLiteral("no desk waits"));
                QThread::msleep(10);
            }
            db.exec(danach);
            tr.commit();
        } catch (const DbError& e) {
            fehler_ = e.message() + u' ' + e.detail();
        }
        if (!gemeldet) gesperrt_.set_value();
    });
}

Gegenplatz::~Gegenplatz() {
    if (thread_.joinable()) thread_.join();
}

void Gegenplatz::gesperrt() {
    gesperrtFuture_.wait();
}

QString Gegenplatz::ende() {
    if (thread_.joinable()) thread_.join();
    return fehler_;
}
