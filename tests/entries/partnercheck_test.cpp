#include "entries/partnercheck_fixture.h"

namespace {

// ---------------------------------------------------------------------------------------------------------
// Storing the pairs when a loaded player is saved

struct PairCase {
    const char* name;
    QList<PaarZeile> before;
    int player;          // the loaded player (0: a new player "Neu, Nina" is entered)
    QString partner;     // chosen for class 11 "Herren"; empty takes the partner away
    QList<bool> answers; // to the question whether the partner changes sides
    QStringList questions;
    QList<PaarZeile> after; // sid -1 stands for the new player's id
};

const QList<PairCase> kPairCases{
    {"NewPartner", {{11, 1, 0}, {11, 2, 0}}, 1, "Brandt, Bernd", {}, {}, {{11, 1, 2}, {11, 2, 1}}},
    {"NewPlayerWithPartner", {{11, 2, 0}}, 0, "Brandt, Bernd", {}, {}, {{11, 2, -1}, {11, -1, 2}}},
    {"RePairKeepsThePair",
     {{11, 1, 2}, {11, 2, 1}, {11, 3, 0}},
     1,
     "Brandt, Bernd",
     {},
     {},
     {{11, 1, 2}, {11, 2, 1}, {11, 3, 0}}},
    {"ChangeOfPartnerFreesTheOldOne",
     {{11, 1, 2}, {11, 2, 1}, {11, 3, 0}},
     1,
     "Claus, Carl",
     {},
     {},
     {{11, 1, 3}, {11, 2, 0}, {11, 3, 1}}},
    {"PartnerTakenAndSwapped",
     {{11, 1, 0}, {11, 2, 3}, {11, 3, 2}, {14, 2, 3}, {14, 3, 2}},
     1,
     "Brandt, Bernd",
     {true},
     {"2 spielt schon mit 3 .Tauschen?"},
     {{11, 1, 2}, {11, 2, 1}, {11, 3, 0}, {14, 2, 3}, {14, 3, 2}}},
    {"PartnerTakenAndKept",
     {{11, 1, 0}, {11, 2, 3}, {11, 3, 2}},
     1,
     "Brandt, Bernd",
     {false},
     {"2 spielt schon mit 3 .Tauschen?"},
     {{11, 1, 0}, {11, 2, 3}, {11, 3, 2}}},
    {"PartnerRemoved", {{11, 1, 2}, {11, 2, 1}}, 1, "", {}, {}, {{11, 1, 0}, {11, 2, 0}}},
    {"NameOfNoPlayer", {{11, 1, 0}, {11, 2, 0}}, 1, "Niemand, Nils", {}, {}, {{11, 1, 0}, {11, 2, 0}}},
    {"PartnerEnteredWithoutRowIsPaired", {{11, 1, 0}}, 1, "Claus, Carl", {}, {}, {{11, 1, 3}, {11, 3, 1}}},
    {"PartnerNotEnteredIsIgnored", {{11, 1, 0}}, 1, "Ernst, Emma", {}, {}, {{11, 1, 0}}},
};

class PartnercheckStore : public PartnerFixture {};

TEST_P(PartnercheckStore, LeavesThePairRowsOfEachCase) {
    for (const PairCase& c : kPairCases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("DELETE FROM Spieler_im_Turnier WHERE SID>5"));
        db().exec(QStringLiteral("DELETE FROM Spielerdaten WHERE SID>5"));
        setRows(c.before);
        ui.clear();
        panel->open();
        if (c.player) {
            panel->choosePlayer(c.player);
        } else {
            startNew(QStringLiteral("Neu"), QStringLiteral("Nina"));
            ASSERT_TRUE(panel->setClassSelected(classIndex(11), true).done);
        }
        choosePartner(11, c.partner);
        for (bool a : c.answers)
            ui.answer(a);

        ASSERT_TRUE(panel->save().done);

        EXPECT_EQ(ui.questions, c.questions);
        EXPECT_TRUE(ui.answers.isEmpty());
        const int newSid = sidOf(QStringLiteral("Neu"), QStringLiteral("Nina"));
        QList<PaarZeile> expected;
        for (PaarZeile z : c.after) {
            if (z.sid == -1) z.sid = newSid;
            if (z.partner == -1) z.partner = newSid;
            expected << z;
        }
        std::sort(expected.begin(), expected.end(), [](const PaarZeile& a, const PaarZeile& b) {
            return std::tie(a.kid, a.sid) < std::tie(b.kid, b.sid);
        });
        EXPECT_EQ(rows(), expected);
    }
}

TEST_P(PartnercheckStore, RewritesEveryClassOfThePlayerAndKeepsHisTeam) {
    enterSenioren();
    enter(1, 13);
    setRows({{11, 1, 2},
             {11, 2, 1},
             {13, 1, 0, QStringLiteral("Die Löwen")},
             {14, 1, 3},
             {14, 3, 1},
             {14, 2, 4},
             {14, 4, 2}});
    panel->open();
    panel->choosePlayer(1);
    // Anton leaves "Senioren" and his partner there; nothing else of his changes.
    ASSERT_TRUE(panel->setClassSelected(classIndex(14), false).done);
    ASSERT_TRUE(panel->save().done);

    EXPECT_EQ(rows(), (QList<PaarZeile>{{11, 1, 2},
                                        {11, 2, 1},
                                        {13, 1, 0, QStringLiteral("Die Löwen")},
                                        {14, 2, 4},
                                        {14, 3, 0},
                                        {14, 4, 2}}));
    QStringList lines;
    for (const auto& l : panel->partnerLines())
        lines << l.text;
    EXPECT_EQ(lines, (QStringList{"Doppel - Herren: Brandt, Bernd", "Team - Liga: Die Löwen"}));
}

TEST_P(PartnercheckStore, APlayerSavedUnchangedStoresHisChosenPartner) {
    setRows({{11, 1, 0}, {11, 2, 0}});
    panel->open();
    panel->choosePlayer(1);
    choosePartner(11, QStringLiteral("Brandt, Bernd"));
    // The choice alone marks the player changed; saving stores his data and the pair together.
    EXPECT_TRUE(panel->saveEnabled());
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(rows(), (QList<PaarZeile>{{11, 1, 2}, {11, 2, 1}}));
    EXPECT_FALSE(panel->saveEnabled());

    // Saved once more with the button disabled: only the pairs are written again, the same ones.
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(rows(), (QList<PaarZeile>{{11, 1, 2}, {11, 2, 1}}));
}

VELMORA_INSTANTIATE_DB_TEST(PartnercheckStore);

// ---------------------------------------------------------------------------------------------------------
// Mixed classes: partners of the other sex only

struct CandidateCase {
    const char* name;
    int player;
    int kid;
    QStringList candidates;
};

const QList<CandidateCase> kCandidateCases{
    {"DoublesOffersEveryoneEnteredButHimself", 1, 11, {"Brandt, Bernd", "Claus, Carl", "Dietz, Dora"}},
    {"MixedOffersAManTheWomen", 1, 12, {"Dietz, Dora", "Ernst, Emma"}},
    {"MixedOffersAWomanTheMen", 5, 12, {"Albers, Anton", "Brandt, Bernd", "Claus, Carl"}},
};

class PartnerMixed : public PartnerFixture {};

TEST_P(PartnerMixed, TheDialogOffersTheEnteredPlayersOfTheRightSex) {
    enterMixed();
    panel->open();
    for (const CandidateCase& c : kCandidateCases) {
        SCOPED_TRACE(c.name);
        panel->choosePlayer(c.player);
        const int line = lineOf(c.kid);
        ASSERT_GE(line, 0);
        const QString text = panel->partnerLines()[line].text;
        const Doppelauswahl auswahl(*panel, line, text.left(text.indexOf(u':') + 1));
        EXPECT_EQ(auswahl.kandidatenTexte(), c.candidates);
        EXPECT_EQ(auswahl.caption(), text.left(text.indexOf(u':') + 1));
    }
}

TEST_P(PartnerMixed, APairOfOneSexIsRefusedAndNothingIsWritten) {
    enterMixed();
    setRows({{11, 1, 0}, {11, 2, 3}, {11, 3, 2}, {12, 1, 4}, {12, 4, 1}});
    const QList<PaarZeile> before = rows();
    panel->open();
    panel->choosePlayer(1);

    // Typed in the dialog: refused there, the line stays.
    const int line = lineOf(12);
    const QString lineText = panel->partnerLines()[line].text;
    Doppelauswahl auswahl(*panel, line, QStringLiteral("Mixed - Mixed:"));
    EXPECT_FALSE(auswahl.take(QStringLiteral("Claus, Carl")));
    EXPECT_EQ(ui.texts(), QStringList{Partnercheck::kGleichesGeschlecht});
    EXPECT_EQ(ui.messages.value(0).icon, Interaction::Icon::Warning);
    EXPECT_EQ(ui.messages.value(0).button, Interaction::Button::Cancel);
    EXPECT_EQ(panel->partnerLines()[line].text, lineText);

    // Anton is made a woman while Dora is his mixed partner, and he also asks for Bernd in "Herren":
    // the save is refused before the question about Bernd and writes neither the player nor a pair.
    ui.clear();
    choosePartner(11, QStringLiteral("Brandt, Bernd"));
    panel->setFrau(true);
    panel->felder().verein = QStringLiteral("TSV Süd");
    EXPECT_FALSE(panel->save().done);
    EXPECT_EQ(ui.texts(), QStringList{Partnercheck::kGleichesGeschlecht});
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(rows(), before);
    const Row stored = db().selectOne(QStringLiteral("SELECT verein,frau FROM Spielerdaten WHERE SID=1"));
    EXPECT_EQ(stored.text(u"verein"), QStringLiteral("TTC Nord"));
    EXPECT_FALSE(stored.boolean(u"frau"));

    // With a partner of the other sex the same save goes through.
    ui.clear();
    choosePartner(12, QStringLiteral("Brandt, Bernd"));
    ui.answer(true);
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(ui.questions, QStringList{"2 spielt schon mit 3 .Tauschen?"});
    EXPECT_EQ(rows(),
              (QList<PaarZeile>{{11, 1, 2}, {11, 2, 1}, {11, 3, 0}, {12, 1, 2}, {12, 2, 1}, {12, 4, 0}}));
}

VELMORA_INSTANTIATE_DB_TEST(PartnerMixed);

// ---------------------------------------------------------------------------------------------------------
// A failure while the pairs are written

class PartnerFailure : public PartnerFixture {};

TEST_P(PartnerFailure, LeavesThePreviousPairingAndThePlayerAsTheyWere) {
    setRows({{11, 1, 2}, {11, 2, 1}, {11, 3, 0}, {14, 1, 4}, {14, 4, 1}, {14, 2, 0}});
    enterSenioren();
    const QList<PaarZeile> before = rows();
    failInsertsInClass(14);

    struct Attempt {
        const char* name;
        bool newPlayer;
    };
    for (const Attempt& a : {Attempt{"ChangedPlayer", false}, Attempt{"NewPlayer", true}}) {
        SCOPED_TRACE(a.name);
        panel->open();
        if (a.newPlayer) {
            startNew(QStringLiteral("Neu"), QStringLiteral("Nina"));
            ASSERT_TRUE(panel->setClassSelected(classIndex(11), true).done);
            ASSERT_TRUE(panel->setClassSelected(classIndex(14), true).done);
        } else {
            panel->choosePlayer(1);
            panel->felder().verein = QStringLiteral("TSV Süd");
            panel->markChanged();
        }
        // The first class is written before the second one fails.
        choosePartner(11, QStringLiteral("Claus, Carl"));
        choosePartner(14, QStringLiteral("Brandt, Bernd"));
        EXPECT_THROW(panel->save(), DbError);

        EXPECT_EQ(db().transactionDepth(), 0);
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(sidOf(QStringLiteral("Neu"), QStringLiteral("Nina")), 0);
        EXPECT_EQ(
            db().selectOne(QStringLiteral("SELECT verein FROM Spielerdaten WHERE SID=1")).text(u"verein"),
            QStringLiteral("TTC Nord"));
        EXPECT_EQ(entriesOf(1), (QList<int>{11, 14}));
        // The panel still holds the unsaved choice, so the user can save again once the fault is gone.
        EXPECT_TRUE(panel->saveEnabled());
    }
}

VELMORA_INSTANTIATE_DB_TEST(PartnerFailure);

} // namespace
