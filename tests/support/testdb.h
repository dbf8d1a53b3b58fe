#pragma once

#include "store/db_procedures.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

// The engines a database test runs on. Server cases are skipped unless the test command started a
// PostgreSQL cluster (VELMORA_TEST_PG=host:port); they are always listed, so the test list is stable.
std::vector<DbKind> testBackends();
inline void PrintTo(DbKind kind, std::ostream* os) { *os << (kind == DbKind::File ? "File" : "Server"); }
QString testServer();
std::string backendName(const ::testing::TestParamInfo<DbKind>& info);

// A fresh tournament database made from db/, removed again at the end of the test.
class TestDatabase {
public:
    explicit TestDatabase(DbKind kind);
    ~TestDatabase();

    Tdb_procedures& db() { return *db_; }
    DbKind kind() const { return kind_; }
    // The file path (file kind) or the server's host:port (server kind).
    QString location() const { return location_; }
    QString databaseName() const { return name_; }
    QString folder() const { return dir_.path(); }
    // Connects a second data module to the same database, like another desk.
    std::unique_ptr<Tdb_procedures> connectAnother() const;

private:
    DbKind kind_;
    QTemporaryDir dir_;
    QString location_;
    QString name_;
    std::unique_ptr<Tdb_procedures> db_;
};

// Skips a server case when no PostgreSQL test server runs; for fixtures that do not derive from DbTest.
#define VELMORA_SKIP_WITHOUT_SERVER(kind) \
    if ((kind) == DbKind::Server && testServer().isEmpty()) GTEST_SKIP() << "no PostgreSQL test server"

// Base for tests that run once per engine.
class DbTest : public ::testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(GetParam());
        tdb = std::make_unique<TestDatabase>(GetParam());
    }
    void TearDown() override { tdb.reset(); }
    Tdb_procedures& db() { return tdb->db(); }
    std::unique_ptr<TestDatabase> tdb;
};

#define VELMORA_INSTANTIATE_DB_TEST(Suite) \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(testBackends()), backendName)
