#include "spieler_fixture.h"

#include "entries/startnummer.h"

namespace {

const QString kSexQuestion =
    QStringLiteral("Der Spieler entspricht nicht den Geschlechtskriterien dieser Klasse\n"
                   "Spieler trotzdem für diese Klasse melden?");
const QString kAgeQuestion =
    QStringLiteral("Der Spieler entspricht nicht den Alterskriterien dieser Klasse.\n"
                   "Spieler trotzdem für diese Klasse melden?");
const QString kBadDate = QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben");
const QString kNameTaken = QStringLiteral("Ein Spieler mit diesem Namen existiert bereits");

// ---------------------------------------------------------------------------------------------------------
// Opening the panel

class SpielerOpen : public SpielerFixture {};

TEST_P(SpielerOpen, ReadsClassesPlayersClubsAndValueListsOfTheTournamentOnly) {
    addClass(10, 0, QStringLiteral("Herren A"), true, false, 5.0);
    addClass(11, 1, QStringLiteral("Herren A"), true, false, 7.5);
    addClass(12, 2, QStringLiteral("Mixed"), true, true);
    addClass(13, 3, QStringLiteral("Mannschaft"), true, true);
    addClass(20, 0, QStringLiteral("Fremd"), true, true, 0.0, QStringLiteral("ohne Beschränkung"), 2);
    addPlayer(1, QStringLiteral("Zander"), QStringLiteral("Ulf"), 0, 1, QStringLiteral("TTC Süd"));
    addPlayer(2, QStringLiteral("Adler"), QStringLiteral("Eva"), 0, 1, QStringLiteral("SV Ost"));
    addPlayer(3, QStringLiteral("Gast"), QStringLiteral("Fremd"), 0, 2, QStringLiteral("Anderer Verein"));
    db().exec(QStringLiteral("UPDATE Spielerdaten SET kverband='Kreis Nord', land='Österreich' WHERE SID=1"));
    db().exec(
        QStringLiteral("UPDATE Spielerdaten SET kverband='Kreis Nord', land='Deutschland' WHERE SID=2"));

    panel->open();

    QStringList classTexts;
    for (const auto& k : panel->klassen())
        classTexts << k.text;
    EXPECT_EQ(classTexts,
              (QStringList{"Einzel - Herren A", "Doppel - Herren A", "Mixed - Mixed", "Team - Mannschaft"}));
    QStringList names;
    for (const auto& z : panel->spielerliste())
        names << z.text;
    EXPECT_EQ(names, (QStringList{"Zander, Ulf", "Adler, Eva"}));
    EXPECT_EQ(panel->vereine(), (QStringList{"SV Ost", "TTC Süd"}));
    EXPECT_EQ(panel->werte(Werteliste::Kreisverband), QStringList{"Kreis Nord"});
    EXPECT_EQ(panel->werte(Werteliste::Land), (QStringList{"Deutschland", "Österreich"}));
    EXPECT_TRUE(panel->werte(Werteliste::Spielklasse).isEmpty());
    EXPECT_FALSE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kSpeichern);
}

VELMORA_INSTANTIATE_DB_TEST(SpielerOpen);

// ---------------------------------------------------------------------------------------------------------
// Entering classes: the sex and age questions

struct EntryCase {
    const char* what;
    bool female;
    QString birth;
    QList<bool> answers;
    QStringList questions;
    bool selected;
    SpielerFeld focus;
};

class SpielerClassQuestions : public SpielerFixture {};

TEST_P(SpielerClassQuestions, LeaveExactlyTheAcceptedEntries) {
    // Class 10: men only, born 1990..1993 ("Jugend"). Class 11: open to all.
    addAgeClass(QStringLiteral("Jugend"), QDate(1990, 1, 1), QDate(1993, 12, 31));
    addClass(10, 0, QStringLiteral("Jungen"), true, false, 0.0, QStringLiteral("Jugend"));
    addClass(11, 0, QStringLiteral("Offen"), true, true);
    const QList<EntryCase> cases{
        {"fits", false, "15.06.1991", {}, {}, true, SpielerFeld::None},
        {"no birth date: no age test", false, "", {}, {}, true, SpielerFeld::None},
        {"woman, answer No", true, "15.06.1991", {false}, {kSexQuestion}, false, SpielerFeld::None},
        {"woman, answer Yes", true, "15.06.1991", {true}, {kSexQuestion}, true, SpielerFeld::None},
        {"too old, answer No",
         false,
         "31.12.1980",
         {false},
         {kAgeQuestion},
         false,
         SpielerFeld::Geburtsdatum},
        {"too old, answer Yes", false, "31.12.1980", {true}, {kAgeQuestion}, true, SpielerFeld::None},
        {"both fail, Yes then No",
         true,
         "1.1.2005",
         {true, false},
         {kSexQuestion, kAgeQuestion},
         false,
         SpielerFeld::Geburtsdatum},
        {"both fail, Yes twice",
         true,
         "1.1.2005",
         {true, true},
         {kSexQuestion, kAgeQuestion},
         true,
         SpielerFeld::None},
        {"birth date that does not exist", false, "31.02.1991", {}, {}, false, SpielerFeld::Geburtsdatum},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        panel->open();
        const QString nachname = QStringLiteral("Spieler%1").arg(++n);
        startNew(nachname, QStringLiteral("Test"));
        if (c.female)
            panel->setFrau(true);
        else
            panel->setMann(true);
        // The open class first: it never asks, and must stay entered whatever happens to class 10.
        EXPECT_TRUE(panel->setClassSelected(classIndex(11), true).done);
        panel->felder().geb = c.birth;
        for (bool a : c.answers)
            ui.answer(a);
        const auto out = panel->setClassSelected(classIndex(10), true);

        EXPECT_EQ(ui.questions, c.questions);
        EXPECT_TRUE(ui.answers.isEmpty()) << "every scripted answer is used";
        EXPECT_EQ(out.focus, c.focus);
        EXPECT_EQ(panel->isClassSelected(classIndex(10)), c.selected);
        if (QString(c.what).contains(u"exist")) {
            EXPECT_EQ(ui.texts(), QStringList{kBadDate});
            // Nothing can be entered with that date, and the player cannot be saved with it either.
            panel->felder().geb = QStringLiteral("15.06.1991");
        }
        ASSERT_TRUE(panel->save().done);
        const QList<int> expected = c.selected ? QList<int>{10, 11} : QList<int>{11};
        EXPECT_EQ(entriesOf(sidOf(nachname, QStringLiteral("Test"))), expected);
    }
}

TEST_P(SpielerClassQuestions, AreAskedOnDeselectingTooAndTheEntryGoesEitherWay) {
    addClass(10, 1, QStringLiteral("Herren"), true, false);
    for (bool answer : {true, false}) {
        SCOPED_TRACE(answer ? "Yes" : "No");
        ui.clear();
        panel->open();
        startNew(answer ? QStringLiteral("Ja") : QStringLiteral("Nein"), QStringLiteral("Frau"));
        panel->setFrau(true);
        ui.answer(true);
        panel->setClassSelected(0, true);
        ASSERT_EQ(panel->partnerLines().size(), 1);

        ui.answer(answer);
        panel->setClassSelected(0, false);
        EXPECT_EQ(ui.questions, (QStringList{kSexQuestion, kSexQuestion}));
        EXPECT_FALSE(panel->isClassSelected(0));
        EXPECT_TRUE(panel->partnerLines().isEmpty());
        EXPECT_EQ(panel->felder().zuzahlen, QStringLiteral("0"));
    }
}

VELMORA_INSTANTIATE_DB_TEST(SpielerClassQuestions);

// ---------------------------------------------------------------------------------------------------------
// Fee total and partner lines

class SpielerFee : public SpielerFixture {};

TEST_P(SpielerFee, SumsTheSelectedClassesInGermanNumberFormat) {
    struct Case {
        QList<double> fees;
        QString shown;
    };
    const QList<Case> cases{
        {{5.0, 7.5}, "12,5"}, {{10.0}, "10"}, {{0.1, 0.2}, "0,3"}, {{1250.0, 0.75}, "1250,75"}};
    int kid = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        QList<int> kids;
        for (double fee : c.fees) {
            ++kid;
            addClass(kid, 0, QStringLiteral("K%1").arg(kid), true, true, fee);
            kids << kid;
        }
        panel->open();
        startNew(QStringLiteral("Geld"), QStringLiteral("Gustav"));
        for (int k : kids)
            panel->setClassSelected(classIndex(k), true);
        EXPECT_EQ(panel->felder().zuzahlen, c.shown);
        db().exec(QStringLiteral("DELETE FROM Turnierklassen"));
    }
}

TEST_P(SpielerFee, IsStoredAsANumberAndShownAgainOnLoad) {
    addClass(10, 0, QStringLiteral("A"), true, true, 5.0);
    addClass(11, 0, QStringLiteral("B"), true, true, 7.5);
    panel->open();
    startNew(QStringLiteral("Geld"), QStringLiteral("Gustav"));
    panel->setClassSelected(0, true);
    panel->setClassSelected(1, true);
    ASSERT_TRUE(panel->save().done);
    EXPECT_DOUBLE_EQ(
        db().selectOne(QStringLiteral("SELECT zubezahlen FROM Spielerdaten")).number(u"zubezahlen"), 12.5);

    panel->open();
    choose(QStringLiteral("Geld"), QStringLiteral("Gustav"));
    EXPECT_EQ(panel->felder().zuzahlen, QStringLiteral("12,5"));
}

TEST_P(SpielerFee, ATypedFeeIsReadInGermanOrWithAPointAndRefusedOtherwise) {
    struct Case {
        QString typed;
        std::optional<double> stored; // nullopt: stored NULL, or refused when `refused`
        bool refused;
    };
    const QList<Case> cases{{"12,5", 12.5, false},         {"12.5", 12.5, false},
                            {" 7 ", 7.0, false},           {"", std::nullopt, false},
                            {"zwölf", std::nullopt, true}, {"1,2,3", std::nullopt, true}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        panel->open();
        const QString nachname = QStringLiteral("Gebühr%1").arg(++n);
        startNew(nachname, QStringLiteral("G"));
        panel->felder().zuzahlen = c.typed;
        const auto out = panel->save();
        EXPECT_EQ(out.done, !c.refused);
        if (c.refused) {
            EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Die Startgebühr muss eine Zahl sein")});
            EXPECT_EQ(out.focus, SpielerFeld::Startgebuehr);
            EXPECT_EQ(sidOf(nachname, QStringLiteral("G")), 0);
            continue;
        }
        const Row r = db().selectOne(QStringLiteral("SELECT zubezahlen FROM Spielerdaten WHERE nachname=:n"),
                                     {{":n", nachname}});
        EXPECT_EQ(r.isNull(u"zubezahlen"), !c.stored.has_value());
        if (c.stored) {
            EXPECT_DOUBLE_EQ(r.number(u"zubezahlen"), *c.stored);
        }
    }
}

VELMORA_INSTANTIATE_DB_TEST(SpielerFee);

class RecordingHook : public PairingHook {
public:
    void openPairing(Spielerverwaltung&, int line, const QString& caption) override {
        opened << qMakePair(line, caption);
    }
    bool prepare(Spielerverwaltung& panel) override {
        prepared << panel.loadedSid();
        lines = panel.partnerLines();
        return true;
    }
    void store(Spielerverwaltung& panel, int sid) override {
        // Inside the save's transaction: the player's own rows are already written.
        EXPECT_GT(panel.db().transactionDepth(), 0);
        stored << sid;
        storedName << panel.db()
                          .selectOne(QStringLiteral("SELECT nachname FROM Spielerdaten WHERE SID=:s"),
                                     {{":s", sid}})
                          .text(u"nachname");
    }
    QList<QPair<int, QString>> opened;
    QList<int> prepared;
    QList<int> stored;
    QStringList storedName;
    QList<PartnerLine> lines;
};

class SpielerPartnerLines : public SpielerFixture {};

TEST_P(SpielerPartnerLines, FollowTheDoublesMixedAndTeamClassesEntered) {
    addClass(10, 0, QStringLiteral("Herren"), true, true);
    addClass(11, 1, QStringLiteral("Herren"), true, true);
    addClass(12, 2, QStringLiteral("Mixed A"), true, true);
    addClass(13, 3, QStringLiteral("Liga"), true, true);
    panel->open();
    startNew(QStringLiteral("Paar"), QStringLiteral("Peter"));
    for (int i = 0; i < 4; ++i)
        panel->setClassSelected(i, true);
    QStringList texts;
    for (const auto& l : panel->partnerLines())
        texts << l.text;
    EXPECT_EQ(texts, (QStringList{"Doppel - Herren: ", "Mixed - Mixed A: ", "Team - Liga: "}));

    panel->setClassSelected(classIndex(12), false);
    texts.clear();
    for (const auto& l : panel->partnerLines())
        texts << l.text;
    EXPECT_EQ(texts, (QStringList{"Doppel - Herren: ", "Team - Liga: "}));
}

TEST_P(SpielerPartnerLines, ShowThePartnerOrTeamOfALoadedPlayer) {
    addClass(11, 1, QStringLiteral("Herren"), true, true);
    addClass(12, 2, QStringLiteral("Mixed"), true, true);
    addClass(13, 3, QStringLiteral("Liga"), true, true);
    addClass(14, 1, QStringLiteral("Senioren"), true, true);
    addPlayer(1, QStringLiteral("Öztürk"), QStringLiteral("Ali"));
    addPlayer(2, QStringLiteral("Brandt"), QStringLiteral("Jörg"));
    // Entered in class 14 without a pair row, as an imported player is.
    for (int k : {11, 12, 13, 14})
        enter(1, k);
    db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (11,1,2,NULL)"));
    db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (12,1,NULL,NULL)"));
    db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (13,1,NULL,'Die \"Löwen\"')"));
    panel->open();
    panel->choosePlayer(1);
    QStringList texts;
    for (const auto& l : panel->partnerLines())
        texts << l.text;
    EXPECT_EQ(texts, (QStringList{"Doppel - Herren: Brandt, Jörg",
                                  "Mixed - Mixed: ", "Team - Liga: Die \"Löwen\"", "Doppel - Senioren: "}));
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kAendern);
    EXPECT_FALSE(panel->saveEnabled());
}

TEST_P(SpielerPartnerLines, OpenThePairingExceptForTeamsAndStoreItWithEverySave) {
    RecordingHook hook;
    panel->setPairingHook(&hook);
    addClass(11, 1, QStringLiteral("Herren"), true, true);
    addClass(13, 3, QStringLiteral("Liga"), true, true);
    panel->open();
    startNew(QStringLiteral("Paar"), QStringLiteral("Peter"));
    panel->setClassSelected(0, true);
    panel->setClassSelected(1, true);

    panel->partnerLineClicked(1);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "Die Teamverwaltung kann nur von im Menüpunkt \"Teamverwaltung\" erfolgen")});
    EXPECT_EQ(ui.messages.value(0).button, Interaction::Button::Ok);
    EXPECT_TRUE(hook.opened.isEmpty());
    panel->partnerLineClicked(0);
    ASSERT_EQ(hook.opened.size(), 1);
    EXPECT_EQ(hook.opened[0], qMakePair(0, QStringLiteral("Doppel - Herren:")));

    // The pairing's choice replaces the line and marks the player changed.
    ASSERT_TRUE(panel->save().done);
    const int sid = sidOf(QStringLiteral("Paar"), QStringLiteral("Peter"));
    panel->replacePartnerLine(0, QStringLiteral("Doppel - Herren: Brandt, Jörg"));
    EXPECT_TRUE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kAendern);
    ASSERT_TRUE(panel->save().done);
    // Asked before each write (none stored yet the first time), then stored with the player's id.
    EXPECT_EQ(hook.prepared, (QList<int>{0, sid}));
    EXPECT_EQ(hook.stored, (QList<int>{sid, sid}));
    EXPECT_EQ(hook.storedName, (QStringList{"Paar", "Paar"}));
    ASSERT_EQ(hook.lines.size(), 2);
    EXPECT_EQ(hook.lines.last().text, QStringLiteral("Doppel - Herren: Brandt, Jörg"));
    EXPECT_EQ(hook.lines.last().kid, 11);
}

VELMORA_INSTANTIATE_DB_TEST(SpielerPartnerLines);

// ---------------------------------------------------------------------------------------------------------
// Saving: names, start numbers, dates

class SpielerNames : public SpielerFixture {};

TEST_P(SpielerNames, DuplicatesAreRefusedButLetterCaseMakesADifferentPlayer) {
    struct Case {
        QString nachname, vorname;
        bool accepted;
    };
    const QList<Case> cases{
        {"Müller", "Hans", false}, {"müller", "Hans", true},       {"Müller", "hans", true},
        {"MÜLLER", "HANS", true},  {"Müller", "Hans-Peter", true},
    };
    addPlayer(1, QStringLiteral("Müller"), QStringLiteral("Hans"));
    addPlayer(2, QStringLiteral("Müller"), QStringLiteral("Hans"), 0, 2); // another tournament's player
    for (const auto& c : cases) {
        SCOPED_TRACE((c.nachname + u'|' + c.vorname).toStdString());
        ui.clear();
        panel->open();
        const int before = players();
        startNew(c.nachname, c.vorname);
        const auto out = panel->save();
        EXPECT_EQ(out.done, c.accepted);
        EXPECT_EQ(players(), before + (c.accepted ? 1 : 0));
        EXPECT_EQ(ui.texts(), c.accepted ? QStringList{} : QStringList{kNameTaken});
    }
}

TEST_P(SpielerNames, RenamingOntoAnotherPlayerIsRefusedKeepingTheOwnNameIsNot) {
    addPlayer(1, QStringLiteral("Alt"), QStringLiteral("Anna"));
    addPlayer(2, QStringLiteral("Berg"), QStringLiteral("Bernd"));
    panel->open();
    panel->choosePlayer(1);
    panel->felder().land = QStringLiteral("Schweiz");
    panel->markChanged();
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT land FROM Spielerdaten WHERE SID=1")).text(u"land"),
              QStringLiteral("Schweiz"));

    panel->felder().nachname = QStringLiteral("Berg");
    panel->felder().vorname = QStringLiteral("Bernd");
    panel->markChanged();
    EXPECT_FALSE(panel->save().done);
    EXPECT_EQ(ui.texts(), QStringList{kNameTaken});
    EXPECT_EQ(
        db().selectOne(QStringLiteral("SELECT nachname FROM Spielerdaten WHERE SID=1")).text(u"nachname"),
        QStringLiteral("Alt"));

    panel->felder().nachname = QStringLiteral("berg");
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(panel->spielerliste()[panel->spielerlisteCurrent()].text, QStringLiteral("berg, Bernd"));
    EXPECT_EQ(panel->loadedName(), QStringLiteral("berg, Bernd"));
}

TEST_P(SpielerNames, RequiredNamesAndTheDefaultClub) {
    struct Case {
        QString nachname, vorname, verein;
        QString message;
        QString storedClub;
    };
    const QList<Case> cases{
        {"  ", "Eva", "X", "Bitte geben Sie einen Nachnamen ein", ""},
        {"Adler", "", "X", "Bitte geben Sie einen Vornamen ein", ""},
        {"Adler", "Eva", "  ", "", "ohne Verein"},
        {"Brandt", "Udo", "TTV Ost", "", "TTV Ost"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nachname.toStdString() + "|" + c.vorname.toStdString());
        ui.clear();
        panel->open();
        startNew(c.nachname, c.vorname);
        panel->felder().verein = c.verein;
        const auto out = panel->save();
        EXPECT_EQ(out.done, c.message.isEmpty());
        EXPECT_EQ(ui.texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        if (out.done) {
            EXPECT_EQ(db().selectOne(QStringLiteral("SELECT verein FROM Spielerdaten WHERE nachname=:n"),
                                     {{":n", c.nachname}})
                          .text(u"verein"),
                      c.storedClub);
        }
    }
    EXPECT_EQ(players(), 2);
}

TEST_P(SpielerNames, UmlautsAccentsApostrophesAndQuotesRoundTrip) {
    const QList<QStringList> cases{
        {"Müller-Lüdenscheidt", "Jürgen", "TTC Groß-Gerau", "Kreis Öhringen", "Ærøskøbing"},
        {"O'Brien", "Seán", "St. Patrick's", "Dublin", "Éire"},
        {"Zoë \"Zizi\"", "Chloé", "Verein \"Blau-Weiß\"", "Bezirk 'Süd'", "Česko"},
        {"Nguyễn", "Thị", "Hà Nội; DROP TABLE Spielerdaten", "--", "Việt Nam"},
    };
    panel->open();
    for (const auto& c : cases) {
        startNew(c[0], c[1]);
        panel->felder().verein = c[2];
        panel->felder().kverband = c[3];
        panel->felder().land = c[4];
        ASSERT_TRUE(panel->save().done) << c[0].toStdString();
    }
    Spielerverwaltung fresh(state, db(), ui);
    fresh.open();
    ASSERT_EQ(fresh.spielerliste().size(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c[0].toStdString());
        EXPECT_EQ(fresh.spielerliste()[i].text, c[0] + QStringLiteral(", ") + c[1]);
        fresh.choosePlayer(fresh.spielerliste()[i].sid);
        EXPECT_EQ(fresh.felder().nachname, c[0]);
        EXPECT_EQ(fresh.felder().vorname, c[1]);
        EXPECT_EQ(fresh.felder().verein, c[2]);
        EXPECT_EQ(fresh.felder().kverband, c[3]);
        EXPECT_EQ(fresh.felder().land, c[4]);
        EXPECT_TRUE(fresh.vereine().contains(c[2]));
    }
}

VELMORA_INSTANTIATE_DB_TEST(SpielerNames);

class SpielerStartNumbers : public SpielerFixture {};

TEST_P(SpielerStartNumbers, NonIntegersAndTakenNumbersAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        QString typed;
        QString message; // empty: accepted
    };
    const QString notInteger = QStringLiteral("Die Rückennummer muss eine ganze Zahl sein");
    const QString taken = QStringLiteral("Diese Rückennummer existiert bereits");
    const QList<Case> cases{
        {"7a", notInteger},
        {"1,5", notInteger},
        {"1.5", notInteger},
        {"sieben", notInteger},
        {"99999999999", notInteger},
        {"7", taken},
        {" 7 ", taken},
        {"8", ""},
        {"", ""},
    };
    addPlayer(1, QStringLiteral("Sieben"), QStringLiteral("Sven"), 7);
    addPlayer(2, QStringLiteral("Fremd"), QStringLiteral("Fritz"), 8,
              2); // 8 is taken in another tournament only
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        panel->open();
        const int before = players();
        startNew(QStringLiteral("Neu%1").arg(++n), QStringLiteral("Nina"));
        panel->felder().nummer = c.typed;
        const auto out = panel->save();
        EXPECT_EQ(out.done, c.message.isEmpty());
        EXPECT_EQ(players(), before + (c.message.isEmpty() ? 1 : 0));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
        EXPECT_EQ(out.focus, SpielerFeld::Rueckennummer);
    }
}

TEST_P(SpielerStartNumbers, ALoadedPlayerKeepsHisOwnNumberButCannotTakeAnother) {
    addPlayer(1, QStringLiteral("Sieben"), QStringLiteral("Sven"), 7);
    addPlayer(2, QStringLiteral("Neun"), QStringLiteral("Nora"), 9);
    panel->open();
    panel->choosePlayer(1);
    EXPECT_EQ(panel->loadedNumber(), 7);
    panel->felder().vorname = QStringLiteral("Sven-Ole");
    panel->markChanged();
    EXPECT_TRUE(panel->save().done);
    EXPECT_TRUE(ui.messages.isEmpty());

    // Saved again after the change: still his own number.
    panel->felder().land = QStringLiteral("Dänemark");
    panel->markChanged();
    EXPECT_TRUE(panel->save().done);

    panel->felder().nummer = QStringLiteral("9");
    panel->markChanged();
    EXPECT_FALSE(panel->save().done);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Diese Rückennummer existiert bereits")});
    EXPECT_EQ(
        db().selectOne(QStringLiteral("SELECT nummer FROM Spielerdaten WHERE SID=1")).integer(u"nummer"), 7);
}

TEST_P(SpielerStartNumbers, TheNextFreeNumberFillsTheSmallestGap) {
    struct Case {
        const char* what;
        QList<int> numbers; // 0: a player without number
        int expected;
    };
    const QList<Case> cases{
        {"no players", {}, 1},
        {"players without numbers", {0, 0}, 1},
        {"gap in the middle", {1, 2, 4}, 3},
        {"gap at the start", {2, 3}, 1},
        {"no gap", {1, 2, 3}, 4},
        {"unordered", {5, 1, 3, 2}, 4},
        {"several gaps", {1, 3, 5}, 2},
        {"zero and negative numbers do not count", {-99, 0, 1}, 2},
        {"a number twice", {1, 1, 2}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        db().exec(QStringLiteral("DELETE FROM Spielerdaten"));
        // Another tournament's numbers never count.
        addPlayer(900, QStringLiteral("Fremd"), QStringLiteral("A"), 1, 2);
        addPlayer(901, QStringLiteral("Fremd"), QStringLiteral("B"), 2, 2);
        int sid = 0;
        for (int nr : c.numbers) {
            ++sid;
            addPlayer(sid, QStringLiteral("P%1").arg(sid), QStringLiteral("X"), 0);
            if (nr != 0)
                db().exec(QStringLiteral("UPDATE Spielerdaten SET nummer=:n WHERE SID=:s"),
                          {{":n", nr}, {":s", sid}});
        }
        EXPECT_EQ(nextFreeStartNumber(db(), 1), c.expected);

        panel->open();
        panel->newPlayer();
        panel->proposeStartNumber();
        EXPECT_EQ(panel->felder().nummer, QString::number(c.expected));
        EXPECT_TRUE(panel->saveEnabled());
    }
}

VELMORA_INSTANTIATE_DB_TEST(SpielerStartNumbers);

class SpielerBirthDates : public SpielerFixture {};

TEST_P(SpielerBirthDates, OnlyExistingDaysInGermanFormAreStored) {
    struct Case {
        QString typed;
        QDate stored; // invalid: refused
    };
    const QList<Case> cases{
        {"31.02.2000", {}},
        {"29.02.2001", {}},
        {"00.01.2000", {}},
        {"1.13.2000", {}},
        {"2000-01-01", {}},
        {"12.5.85", {}},
        {"morgen", {}},
        {"29.02.2000", {2000, 2, 29}},
        {"1.1.1990", {1990, 1, 1}},
        {" 05.06.1990 ", {1990, 6, 5}},
        {"", {}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        panel->open();
        const QString nachname = QStringLiteral("Datum%1").arg(++n);
        startNew(nachname, QStringLiteral("D"));
        panel->felder().geb = c.typed;
        const bool shouldSave = c.stored.isValid() || c.typed.isEmpty();
        const auto out = panel->save();
        EXPECT_EQ(out.done, shouldSave);
        if (!shouldSave) {
            EXPECT_EQ(ui.texts(), QStringList{kBadDate});
            EXPECT_EQ(out.focus, SpielerFeld::Geburtsdatum);
            EXPECT_EQ(sidOf(nachname, QStringLiteral("D")), 0);
            continue;
        }
        const Row r = db().selectOne(QStringLiteral("SELECT geb FROM Spielerdaten WHERE nachname=:n"),
                                     {{":n", nachname}});
        EXPECT_EQ(r.isNull(u"geb"), c.typed.isEmpty());
        EXPECT_EQ(r.date(u"geb"), c.stored);
    }
}

VELMORA_INSTANTIATE_DB_TEST(SpielerBirthDates);

// ---------------------------------------------------------------------------------------------------------
// Insert and update are one transaction each

class SpielerAtomic : public SpielerFixture {
protected:
    // Renaming the entry table makes the save fail after its first statement.
    void breakEntries() { db().exec(QStringLiteral("ALTER TABLE Spieler_im_Turnier RENAME TO sit_weg")); }
    void repairEntries() { db().exec(QStringLiteral("ALTER TABLE sit_weg RENAME TO Spieler_im_Turnier")); }
};

TEST_P(SpielerAtomic, AFailedInsertLeavesNoPlayerAndTheFormAsItWas) {
    addClass(10, 0, QStringLiteral("A"), true, true);
    panel->open();
    startNew(QStringLiteral("Halb"), QStringLiteral("Hugo"));
    panel->setClassSelected(0, true);
    breakEntries();
    EXPECT_THROW(panel->save(), DbError);
    repairEntries();

    EXPECT_EQ(players(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS c FROM Spieler_im_Turnier")), 0);
    EXPECT_TRUE(panel->spielerinfos().isEmpty());
    EXPECT_TRUE(panel->spielerliste().isEmpty());
    EXPECT_TRUE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kSpeichern);
    EXPECT_EQ(db().transactionDepth(), 0);

    // Once the database works again the same form saves.
    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(entriesOf(sidOf(QStringLiteral("Halb"), QStringLiteral("Hugo"))), QList<int>{10});
}

TEST_P(SpielerAtomic, AFailedUpdateKeepsTheStoredPlayerAndHisEntries) {
    addClass(10, 0, QStringLiteral("A"), true, true);
    addClass(11, 0, QStringLiteral("B"), true, true);
    addPlayer(1, QStringLiteral("Fest"), QStringLiteral("Frieda"), 3);
    enter(1, 10);
    panel->open();
    panel->choosePlayer(1);
    panel->felder().nachname = QStringLiteral("Neu");
    panel->felder().nummer = QStringLiteral("4");
    panel->setClassSelected(0, false);
    panel->setClassSelected(1, true);
    breakEntries();
    EXPECT_THROW(panel->save(), DbError);
    repairEntries();

    const Row r = db().selectOne(QStringLiteral("SELECT nachname,nummer FROM Spielerdaten WHERE SID=1"));
    EXPECT_EQ(r.text(u"nachname"), QStringLiteral("Fest"));
    EXPECT_EQ(r.integer(u"nummer"), 3);
    EXPECT_EQ(entriesOf(1), QList<int>{10});
    EXPECT_EQ(panel->loadedName(), QStringLiteral("Fest, Frieda"));
    EXPECT_EQ(panel->spielerliste().value(0).text, QStringLiteral("Fest, Frieda"));

    ASSERT_TRUE(panel->save().done);
    EXPECT_EQ(entriesOf(1), QList<int>{11});
    EXPECT_EQ(panel->spielerliste().value(0).text, QStringLiteral("Neu, Frieda"));
}

VELMORA_INSTANTIATE_DB_TEST(SpielerAtomic);

// ---------------------------------------------------------------------------------------------------------
// Deleting

class SpielerDelete : public SpielerFixture {};

TEST_P(SpielerDelete, RemovesThePlayerHisEntriesAndPairsAfterYes) {
    addClass(11, 1, QStringLiteral("D"), true, true);
    addPlayer(1, QStringLiteral("Weg"), QStringLiteral("Walter"), 0, 1, QStringLiteral("Einzelverein"));
    addPlayer(2, QStringLiteral("Bleib"), QStringLiteral("Berta"));
    enter(1, 11);
    enter(2, 11);
    db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (11,1,2,NULL)"));
    db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (11,2,1,NULL)"));
    panel->open();

    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Ja" : "Nein");
        panel->choosePlayer(1);
        ui.clear();
        ui.answer(yes);
        const auto out = panel->remove();
        EXPECT_EQ(ui.questions,
                  QStringList{QStringLiteral("Wollen Sie den Spieler \"Weg, Walter\" wirklich löschen?")});
        EXPECT_EQ(out.done, yes);
        EXPECT_EQ(players(), yes ? 1 : 2);
    }
    EXPECT_TRUE(entriesOf(1).isEmpty());
    EXPECT_EQ(entriesOf(2), QList<int>{11});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS c FROM Doppelpartner WHERE SID=1")), 0);
    const Row partner = db().selectOne(QStringLiteral("SELECT partner_SID FROM Doppelpartner WHERE SID=2"));
    EXPECT_FALSE(partner.isEmpty());
    EXPECT_TRUE(partner.isNull(u"partner_SID"));

    QStringList names;
    for (const auto& z : panel->spielerliste())
        names << z.text;
    EXPECT_EQ(names, QStringList{QStringLiteral("Bleib, Berta")});
    EXPECT_FALSE(panel->vereine().contains(QStringLiteral("Einzelverein")));
    EXPECT_TRUE(panel->vereine().contains(QStringLiteral("TTC Nord")));
    EXPECT_TRUE(panel->felder().nachname.isEmpty());
    EXPECT_FALSE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kSpeichern);

    // The deleted player's name is free again.
    startNew(QStringLiteral("Weg"), QStringLiteral("Walter"));
    EXPECT_TRUE(panel->save().done);
}

VELMORA_INSTANTIATE_DB_TEST(SpielerDelete);

// ---------------------------------------------------------------------------------------------------------
// Lists: search, clubs, change marking

class SpielerLists : public SpielerFixture {};

TEST_P(SpielerLists, SearchSelectsTheFirstMatchingSurnameWithoutRegardToCase) {
    addPlayer(1, QStringLiteral("Meyer"), QStringLiteral("Zoe"));
    addPlayer(2, QStringLiteral("Meier"), QStringLiteral("Ute"));
    addPlayer(3, QStringLiteral("Meyer"), QStringLiteral("Anna"));
    addPlayer(4, QStringLiteral("Özdemir"), QStringLiteral("Can"));
    panel->open();
    struct Case {
        QString typed;
        QString selected; // empty: selection unchanged
    };
    const QList<Case> cases{{"me", "Meier, Ute"},
                            {"Mey", "Meyer, Anna"},
                            {"MEYER", "Meyer, Anna"},
                            {"öz", "Özdemir, Can"},
                            {"x", "Özdemir, Can"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        panel->searchPlayer(c.typed);
        ASSERT_GE(panel->spielerlisteCurrent(), 0);
        EXPECT_EQ(panel->spielerliste()[panel->spielerlisteCurrent()].text, c.selected);
    }
}

TEST_P(SpielerLists, AClubShowsItsPlayersAndGoesIntoTheClubField) {
    addClass(10, 0, QStringLiteral("A"), true, true);
    addPlayer(1, QStringLiteral("Nord"), QStringLiteral("Nils"), 0, 1, QStringLiteral("TTC Nord"));
    addPlayer(2, QStringLiteral("Süd"), QStringLiteral("Sina"), 0, 1, QStringLiteral("TTC Süd"));
    addPlayer(3, QStringLiteral("Nord"), QStringLiteral("Nora"), 0, 1, QStringLiteral("TTC Nord"));
    panel->open();
    startNew(QStringLiteral("Neu"), QStringLiteral("Nele"));
    panel->setClassSelected(0, true);

    panel->searchClub(QStringLiteral("ttc s"));
    ASSERT_EQ(panel->vereinCurrent(), panel->vereine().indexOf(QStringLiteral("TTC Süd")));
    // A text no club begins with leaves no club selected, not the one found before.
    panel->searchClub(QStringLiteral("ttc sx"));
    EXPECT_EQ(panel->vereinCurrent(), -1);
    panel->takeSearchedClub();
    EXPECT_EQ(panel->spielerliste().size(), 3);
    panel->searchClub(QStringLiteral("ttc n"));
    panel->takeSearchedClub();
    QStringList names;
    for (const auto& z : panel->spielerliste())
        names << z.text;
    EXPECT_EQ(names, (QStringList{"Nord, Nils", "Nord, Nora"}));
    EXPECT_EQ(panel->felder().verein, QStringLiteral("TTC Nord"));
    EXPECT_FALSE(panel->isClassSelected(0));

    panel->showAllPlayers();
    EXPECT_EQ(panel->spielerliste().size(), 3);
}

TEST_P(SpielerLists, ChangeMarkingFollowsWhetherAPlayerIsLoaded) {
    addPlayer(1, QStringLiteral("Da"), QStringLiteral("Dora"));
    panel->open();
    EXPECT_FALSE(panel->saveEnabled());
    panel->markChanged();
    EXPECT_TRUE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kSpeichern);

    panel->choosePlayer(1);
    EXPECT_FALSE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kAendern);
    panel->setFrau(true);
    EXPECT_TRUE(panel->felder().frau);
    EXPECT_FALSE(panel->felder().mann);
    EXPECT_TRUE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kAendern);

    panel->newPlayer();
    EXPECT_TRUE(panel->saveEnabled());
    EXPECT_EQ(panel->saveCaption(), Spielerverwaltung::kSpeichern);
    EXPECT_TRUE(panel->loadedName().isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(SpielerLists);

} // namespace
