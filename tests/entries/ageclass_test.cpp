#include "entries/ageclass.h"

#include "support/testdb.h"

namespace {

struct AdmitCase {
    const char* what;
    AgeClass ageClass;
    QDate birth;
    bool admitted;
};

const QDate kVon(1990, 1, 1);
const QDate kBis(1993, 12, 31);

class AgeAdmission : public ::testing::TestWithParam<AdmitCase> {};

TEST_P(AgeAdmission, AppliesTheBoundsAndFlags) {
    const AdmitCase& c = GetParam();
    EXPECT_EQ(admitsBirthDate(c.ageClass, c.birth), c.admitted) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AgeAdmission,
    ::testing::Values(AdmitCase{"no bounds", {"offen", {}, {}, false, false}, QDate(1950, 5, 5), true},
                      AdmitCase{"inside", {"J", kVon, kBis, false, false}, QDate(1991, 6, 15), true},
                      AdmitCase{"first day", {"J", kVon, kBis, false, false}, kVon, true},
                      AdmitCase{"last day", {"J", kVon, kBis, false, false}, kBis, true},
                      AdmitCase{"day before", {"J", kVon, kBis, false, false}, kVon.addDays(-1), false},
                      AdmitCase{"day after", {"J", kVon, kBis, false, false}, kBis.addDays(1), false},
                      AdmitCase{"older admitted", {"S", kVon, {}, true, false}, QDate(1960, 1, 1), true},
                      AdmitCase{"older bound day", {"S", kVon, {}, true, false}, kVon, true},
                      AdmitCase{"not older", {"S", kVon, {}, true, false}, kVon.addDays(1), false},
                      AdmitCase{"only von, no flag", {"S", kVon, {}, false, false}, QDate(1960, 1, 1), false},
                      AdmitCase{"younger admitted", {"U", {}, kBis, false, true}, QDate(2010, 3, 3), true},
                      AdmitCase{"younger bound day", {"U", {}, kBis, false, true}, kBis, true},
                      AdmitCase{"not younger", {"U", {}, kBis, false, true}, kBis.addDays(-1), false},
                      AdmitCase{"both bounds and younger", {"J", kVon, kBis, false, true}, QDate(2005, 1, 1), true},
                      AdmitCase{"both bounds and older", {"J", kVon, kBis, true, false}, QDate(1980, 1, 1), true}));

class AgeClassLookup : public DbTest {};

TEST_P(AgeClassLookup, FindsTheClassesAgeClassInItsOwnTournamentOnly) {
    db().exec(QStringLiteral("INSERT INTO Altersklasse VALUES (1, 'Jugend', :v, :b, :a, :j)"),
              {{":v", kVon}, {":b", kBis}, {":a", false}, {":j", true}});
    db().exec(QStringLiteral("INSERT INTO Altersklasse VALUES (2, 'Jugend', NULL, NULL, :a, :j)"),
              {{":a", false}, {":j", false}});
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, altersklasseID) VALUES (10, 1, 'Jugend')"));
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, altersklasseID) VALUES (11, 1, 'ohne Beschränkung')"));

    const auto a = ageClassOfClass(db(), 10);
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->von, kVon);
    EXPECT_EQ(a->bis, kBis);
    EXPECT_FALSE(a->aelter);
    EXPECT_TRUE(a->juenger);
    EXPECT_FALSE(ageClassOfClass(db(), 11).has_value());
}

VELMORA_INSTANTIATE_DB_TEST(AgeClassLookup);

} // namespace
