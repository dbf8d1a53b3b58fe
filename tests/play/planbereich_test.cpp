// What the plan area asks the database: whether a phase may be redrawn, and the player card.
#include "play/planbereich.h"

#include "draw/auslosungsdb.h"

namespace {

constexpr int kKid = 7;

class Planbereich : public Auslosungsdb {
protected:
    void SetUp() override {
        Auslosungsdb::SetUp();
        if (IsSkipped()) return;
        klasse(kKid, 0);
    }
    void beenden(int nr) {
        db().exec(QStringLiteral("UPDATE Spielplan SET beendet=:t WHERE KID=:k AND spielnummer=:n"),
                  {{":t", true}, {":k", kKid}, {":n", nr}});
    }
};

const QString kPhase1 = QStringLiteral("Phase 1 muss abgeschlossen sein um Phase 2 neu auszulosen");
const QString kPhase2 = QStringLiteral("Phase 2 muss abgeschlossen sein um Phase 3 neu auszulosen");

TEST_P(Planbereich, APhaseIsRedrawnOnlyWhenEveryRealMatchOfThePhaseBeforeIsFinished) {
    spiel(kKid, 1, 1, 11, "Anna", 12, "Berta");
    spiel(kKid, 2, 1, 13, "Carla", -2, "Freilos");       // a bye: stays open for good
    spiel(kKid, 3, 1, -1, "Sieger Spiel 1", 13, "Carla"); // waits for match 1
    spiel(kKid, 6, 1, -1, "", -1, "");                    // a side emptied again: no match
    spiel(kKid, 4, 2, -1, "Sieger Spiel 3", -1, "Sieger Gruppe A"); // waits for phase 1
    spiel(kKid, 5, 3, -1, "", -1, "");
    // As draw completion writes them: open, not NULL.
    db().exec(QStringLiteral("UPDATE Spielplan SET beendet=0 WHERE KID=:k"), {{":k", kKid}});

    EXPECT_TRUE(planbereich::neulosenVerweigert(db(), kKid, 1).isEmpty()) << "phase 1 is always redrawn";
    EXPECT_EQ(planbereich::neulosenVerweigert(db(), kKid, 2), kPhase1);
    EXPECT_EQ(planbereich::neulosenVerweigert(db(), kKid, 3), kPhase2);

    beenden(1);
    EXPECT_EQ(planbereich::neulosenVerweigert(db(), kKid, 2), kPhase1) << "match 3 is still to be played";
    beenden(3);
    EXPECT_TRUE(planbereich::neulosenVerweigert(db(), kKid, 2).isEmpty()) << "the bye match keeps nothing back";
    EXPECT_EQ(planbereich::neulosenVerweigert(db(), kKid, 3), kPhase2) << "phase 2 has not begun";
    beenden(4);
    EXPECT_TRUE(planbereich::neulosenVerweigert(db(), kKid, 3).isEmpty());
}

TEST_P(Planbereich, TheCardShowsNameClubBirthDateAndClassesAndThePartnerIsFound) {
    spieler(21, "Öztürk", "Zoë", "TTC Süd");
    db().exec(QStringLiteral("UPDATE Spielerdaten SET geb=:g WHERE SID=21"), {{":g", QDate(2009, 3, 4)}});
    spieler(22, "O'Neill", "Sean", "TSV");
    klasse(8, 1);
    db().exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung='Doppel U18' WHERE KID=8"));
    db().exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung='Einzel U18' WHERE KID=7"));
    melden(kKid, 21);
    paar(8, 21, 22);

    const planbereich::Spielerkarte k = planbereich::spielerkarte(db(), 21);
    ASSERT_TRUE(k.gefunden);
    EXPECT_EQ(k.name, QStringLiteral("Öztürk, Zoë"));
    EXPECT_EQ(k.verein, QStringLiteral("TTC Süd"));
    EXPECT_EQ(k.geburtsdatum, QStringLiteral("04.03.2009"));
    EXPECT_EQ(k.klassen, (QStringList{"Doppel U18", "Einzel U18"}));
    EXPECT_TRUE(planbereich::spielerkarte(db(), 22).geburtsdatum.isEmpty());
    EXPECT_FALSE(planbereich::spielerkarte(db(), 99).gefunden);

    EXPECT_EQ(planbereich::partner(db(), 21, 8), 22);
    EXPECT_EQ(planbereich::partner(db(), 22, 8), 21);
    EXPECT_EQ(planbereich::partner(db(), 21, kKid), 0);
}

VELMORA_INSTANTIATE_DB_TEST(Planbereich);

} // namespace
