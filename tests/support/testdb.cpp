#include "testdb.h"

#include "store/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>

namespace {
QAtomicInt serial;
}

QString testServer() { return qEnvironmentVariable("VELMORA_TEST_PG"); }

std::vector<DbKind> testBackends() { return {DbKind::File, DbKind::Server}; }

std::string backendName(const ::testing::TestParamInfo<DbKind>& info) {
    return info.param == DbKind::File ? "File" : "Server";
}

TestDatabase::TestDatabase(DbKind kind) : kind_(kind), db_(std::make_unique<Tdb_procedures>()) {
    if (kind == DbKind::File) {
        location_ = dir_.filePath(QStringLiteral("turnier_db.sqlite"));
        schema::createFile(location_);
        db_->connectFile(location_);
    } else {
        location_ = testServer();
        name_ = QStringLiteral("vt_%1_%2").arg(QCoreApplication::applicationPid()).arg(serial.fetchAndAddRelaxed(1));
        schema::createServerDatabase(location_, name_);
        db_->connectServer(location_, name_);
    }
}

TestDatabase::~TestDatabase() {
    db_.reset();
    if (kind_ == DbKind::Server) {
        try {
            Tdb_procedures admin;
            admin.connectServer(location_, QStringLiteral("postgres"));
            admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
        } catch (...) {
        }
    }
}

std::unique_ptr<Tdb_procedures> TestDatabase::connectAnother() const {
    auto other = std::make_unique<Tdb_procedures>();
    if (kind_ == DbKind::File)
        other->connectFile(location_);
    else
        other->connectServer(location_, name_);
    return other;
}
