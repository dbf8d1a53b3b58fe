#pragma once

#include "entries/klassen.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QDate>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>

// A fresh database with tournament 1 ("Pokal", first day 4.5.2024) open; the classes tests start here.
inline void openTournament(Tdb_procedures& db, AppState& state, int tid = 1) {
    db.exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername, tvon) VALUES (:t, :n, :v)"),
            {{":t", tid}, {":n", QStringLiteral("Pokal %1").arg(tid)}, {":v", QDate(2024, 5, 4)}});
    state.tid = tid;
    state.turniername = QStringLiteral("Pokal %1").arg(tid);
    state.trueValue = db.trueValue();
    state.dbKind = db.kind();
}

// A form that passes every check: a singles class on two tables.
inline KlassenFormular validForm(const QString& name, int system = klassen::Einzel) {
    KlassenFormular f;
    f.system = system;
    f.kbezeichnung = name;
    f.gebuehr = QStringLiteral("8,50");
    f.min = QStringLiteral("4");
    f.max = QStringLiteral("16");
    f.platten = QStringLiteral("2");
    f.tische = {QStringLiteral("Tisch 1"), QStringLiteral("Tisch 2")};
    f.atag = QDate(2024, 5, 4);
    f.beginn = QStringLiteral("09:30");
    return f;
}

// Runs each case of a table once per engine: parameter (engine, case). Server cases are skipped unless
// a PostgreSQL test server is given.
template <class Case> class EngineCases : public ::testing::TestWithParam<std::tuple<DbKind, Case>> {
protected:
    void SetUp() override {
        const DbKind kind = std::get<0>(this->GetParam());
        if (kind == DbKind::Server && testServer().isEmpty()) GTEST_SKIP() << "no PostgreSQL test server";
        tdb = std::make_unique<TestDatabase>(kind);
        openTournament(db(), state);
    }
    void TearDown() override { tdb.reset(); }
    const Case& param() const { return std::get<1>(this->GetParam()); }
    Tdb_procedures& db() { return tdb->db(); }

    std::unique_ptr<TestDatabase> tdb;
    AppState state;
    ScriptedInteraction ui;
};

// Test names "<Engine>_<case id>" for cases with an `id` member.
struct EngineCaseName {
    template <class P> std::string operator()(const ::testing::TestParamInfo<P>& info) const {
        return std::string(std::get<0>(info.param) == DbKind::File ? "File_" : "Server_") +
               std::get<1>(info.param).id;
    }
};

#define VELMORA_INSTANTIATE_ENGINE_CASES(Suite, cases)                                                       \
    INSTANTIATE_TEST_SUITE_P(                                                                                \
        Engines, Suite, ::testing::Combine(::testing::ValuesIn(testBackends()), ::testing::ValuesIn(cases)), \
        EngineCaseName())

// Readable values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
