// The match dialog without widgets: the page each click opens, the result list of the class, the
// refusals with their German texts, correcting a result, and a class played to its end through it.
#include "betrieb_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace betriebtest;

// The results offered for 1 … 5 winning sets, and the set fields in use.
struct Liste {
    int saetze;
    QStringList ergebnisse;
};
class ErgebnislisteTest : public BetriebT<Liste> {};

TEST_P(ErgebnislisteTest, FollowsTheWinningSetsOfTheClass) {
    gruppeMitFinale(GetParam().saetze);
    oeffnen();
    dialog->spielplanen(1);
    EXPECT_EQ(dialog->ergebnisItems, GetParam().ergebnisse);
    EXPECT_EQ(dialog->satzFelder, 2 * GetParam().saetze - 1);
    // Choosing the longest result enables every field in use; a shorter one empties them all.
    dialog->satz[0] = QStringLiteral("5");
    dialog->ergebnisGewaehlt(GetParam().ergebnisse.first());
    EXPECT_EQ(dialog->satzAktiv, 2 * GetParam().saetze - 1);
    EXPECT_TRUE(dialog->satz[0].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Gewinnsaetze, ErgebnislisteTest,
    ::testing::Values(Liste{1, {"1:0", "0:1"}}, Liste{2, {"2:1", "2:0", "0:2", "1:2"}},
                      Liste{3, {"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"}},
                      Liste{4, {"4:3", "4:2", "4:1", "4:0", "0:4", "1:4", "2:4", "3:4"}},
                      Liste{5, {"5:4", "5:3", "5:2", "5:1", "5:0", "0:5", "1:5", "2:5", "3:5", "4:5"}}),
    [](const auto& i) { return std::to_string(i.param.saetze); });

class DialogTest : public BetriebTest {};

// A left click opens the page of the match's next step.
TEST_P(DialogTest, ClickOpensThePageOfTheNextStep) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    oeffnen();
    struct Schritt {
        Dialogmodus modus;
        int seite;
    };
    EXPECT_EQ(dialog->statusClick(1), Dialogmodus::Uebernehmen); // not started: waiting
    EXPECT_EQ(dialog->seite(), 0);
    EXPECT_EQ(dialog->gruppeLabel, QStringLiteral("Gruppe : A"));
    EXPECT_EQ(dialog->plattenItems, (QStringList{"1", "2"}));
    EXPECT_EQ(dialog->schiriItems, QStringList{"Huber, Eva"});
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    EXPECT_EQ(dialog->statusClick(1), Dialogmodus::Aufrufen);
    EXPECT_EQ(dialog->okText(), QStringLiteral("Aufrufen"));
    EXPECT_EQ(dialog->platteLabel, QStringLiteral("An Tisch : 1"));
    dialog->schiricombo = QStringLiteral("Huber, Eva");
    ASSERT_TRUE(dialog->okClick().geschlossen);
    EXPECT_EQ(dialog->statusClick(1), Dialogmodus::SpielStarten);
    EXPECT_EQ(dialog->seite(), 1);
    EXPECT_EQ(dialog->schiriLabel, QStringLiteral("Schiedsrichter: Huber, Eva"));
    // A second call is written at once and taken back by unticking.
    dialog->aufrufGeklickt(matchrecord::Recall::aufruf2_sch, true);
    EXPECT_EQ(spiel(1).aufruf2_sch, t0);
    dialog->aufrufGeklickt(matchrecord::Recall::aufruf3_sp2, true);
    dialog->aufrufGeklickt(matchrecord::Recall::aufruf3_sp2, false);
    EXPECT_FALSE(spiel(1).aufruf3_sp2.isValid());
    dialog->spielaufgerufen(1);
    EXPECT_TRUE(dialog->aufruf[2]);
    EXPECT_FALSE(dialog->aufruf[4]);
    EXPECT_FALSE(dialog->aufrufHinweis[2].isEmpty());
    ASSERT_TRUE(dialog->okClick().geschlossen);
    EXPECT_EQ(stateOf(spiel(1)), MatchState::Started);
    EXPECT_EQ(dialog->statusClick(1, true), Dialogmodus::SpielBeendet);
    EXPECT_EQ(dialog->platteHinweis, QStringLiteral("x"));
    EXPECT_EQ(dialog->seite(), 2);
    dialog->ergebnisGewaehlt(QStringLiteral("3:2"));
    EXPECT_EQ(dialog->satzAktiv, 5);
    dialog->satz[4] = QStringLiteral("7");
    dialog->ergebnisGewaehlt(QStringLiteral("3:0"));
    EXPECT_EQ(dialog->satzAktiv, 3);
    EXPECT_TRUE(dialog->satz[4].isEmpty());
    dialog->ergebnisGewaehlt(QStringLiteral("3:2"));
    dialog->satz = {"-0", "9", "-12", "+0", "11", "", "", "", ""};
    ASSERT_TRUE(dialog->okClick().geschlossen);
    EXPECT_EQ(dialog->statusClick(1), Dialogmodus::Korrigieren);
    EXPECT_EQ(dialog->ergebniscombo, QStringLiteral("3:2"));
    EXPECT_EQ(dialog->satz[0], QStringLiteral("-0"));
    EXPECT_EQ(dialog->satz[1], QStringLiteral("+9"));
    EXPECT_EQ(dialog->satz[3], QStringLiteral("+0"));
    EXPECT_EQ(spiel(1).satz[0], -100);
}

// Every refusal: its German text, the dialog stays open, nothing is written.
struct Ablehnung {
    const char* name;
    std::function<void(Tergebnis&)> eingabe;
    QString text;
};
class AblehnungTest : public BetriebT<Ablehnung> {};

TEST_P(AblehnungTest, IsShownAndWritesNothing) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1")).geschlossen);
    ASSERT_TRUE(starten(1).geschlossen);
    const QVector<SpielplanRow> vorher = spiele(db());
    const Freilisten listenVorher = sb->listen();
    GetParam().eingabe(*dialog);
    EXPECT_FALSE(dialog->okClick().geschlossen);
    EXPECT_EQ(ui.texts().value(ui.texts().size() - 1), GetParam().text) << str(ui.texts().join(u'\n'));
    EXPECT_EQ(spiele(db()), vorher);
    EXPECT_EQ(sb->listen(), listenVorher);
}

void ergebnisSeite(Tergebnis& d, const QString& erg, const QStringList& saetze) {
    d.spielstarten(1);
    d.ergebnisGewaehlt(erg);
    for (int k = 0; k < saetze.size(); ++k)
        d.satz[k] = saetze[k];
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, AblehnungTest,
    ::testing::Values(
        Ablehnung{"PlanungAufFremdemTisch",
                  [](Tergebnis& d) {
                      d.spielplanen(2);
                      d.plattenGewaehlt(QStringLiteral("Tisch 9"));
                  },
                  QStringLiteral("Wählen Sie eine gültige Platte")},
        Ablehnung{"AufrufOhneFreienTisch",
                  [](Tergebnis& d) {
                      d.spielaufrufen1(6);
                      d.plattenGewaehlt(QStringLiteral("1"));
                  },
                  QStringLiteral("Wählen Sie eine gültige Platte")},
        Ablehnung{"ErgebnisNichtInListe",
                  [](Tergebnis& d) { ergebnisSeite(d, QStringLiteral("4:1"), {}); },
                  QStringLiteral("Wählen Sie ein gültiges Satzergebnis")},
        Ablehnung{"SatzKeineZahl",
                  [](Tergebnis& d) { ergebnisSeite(d, QStringLiteral("3:0"), {"5", "x7", "9"}); },
                  QStringLiteral("Satz 2: Keinen korrekten Wert eingegeben")},
        Ablehnung{"SatzWiderspruch",
                  [](Tergebnis& d) { ergebnisSeite(d, QStringLiteral("3:0"), {"5", "-7", "9"}); },
                  QStringLiteral("Satz 2 passt nicht zum Endergebnis 3:0")},
        Ablehnung{"SatzNachEntscheidung",
                  [](Tergebnis& d) { ergebnisSeite(d, QStringLiteral("3:1"), {"5", "-7", "9", "3", "4"}); },
                  QStringLiteral("Satz 5 passt nicht zum Endergebnis 3:1")}),
    [](const auto& i) { return std::string(i.param.name); });

// Leaving a field with a wrong entry empties it at once.
TEST_P(DialogTest, FieldChecksOnLeaving) {
    gruppeMitFinale();
    oeffnen();
    dialog->spielplanen(1);
    dialog->startzeit = QStringLiteral("25:99");
    EXPECT_FALSE(dialog->startzeitVerlassen());
    EXPECT_TRUE(dialog->startzeit.isEmpty());
    dialog->startzeit = QStringLiteral("9:30");
    EXPECT_TRUE(dialog->startzeitVerlassen());
    dialog->satz[2] = QStringLiteral("+x");
    EXPECT_FALSE(dialog->satzVerlassen(2));
    EXPECT_TRUE(dialog->satz[2].isEmpty());
    dialog->satz[2] = QStringLiteral("-0");
    EXPECT_TRUE(dialog->satzVerlassen(2));
    EXPECT_EQ(ui.texts(), (QStringList{"Geben Sie eine gültige Uhrzeit ein", "Keinen korrekten Wert eingegeben"}));
    // Planning stores table, day, time and umpire.
    dialog->plattenGewaehlt(QStringLiteral("2"));
    EXPECT_EQ(dialog->geplanterTischLabel, QStringLiteral("2"));
    dialog->jetztButton();
    EXPECT_EQ(dialog->startzeit, QStringLiteral("10:00"));
    ASSERT_TRUE(dialog->okClick().geschlossen);
    const SpielplanRow m = spiel(1);
    EXPECT_EQ(m.geplanter_tisch, QStringLiteral("2"));
    EXPECT_EQ(m.geplanter_tag, t0.date());
    EXPECT_EQ(m.geplante_zeit.time(), QTime(10, 0));
    EXPECT_EQ(stateOf(m), MatchState::Open);
}

// What the scheduler planned (day, time, table, umpire) is what the dialog offers: on the planning page
// all four, on the calling page the planned table as label, on the called page day and time beside the
// table actually called. A group table and a table of the tournament outside the group's tables.
TEST_P(DialogTest, OffersThePlannedValues) {
    for (const QString& tisch : {QStringLiteral("2"), QStringLiteral("Tisch 9")}) {
        SCOPED_TRACE(str(tisch));
        tdb = std::make_unique<TestDatabase>(GetParam());
        ui.clear();
        gruppeMitFinale();
        schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
        const QDate tag(2026, 5, 2);
        matchrecord::schedule(db(), kKid, 1, tag, tisch, QDateTime(tag, QTime(14, 30)));
        db().exec(QStringLiteral("UPDATE Spielplan SET schiri='Huber, Eva' WHERE spielnummer=1"));
        oeffnen();

        dialog->spielplanen(1);
        EXPECT_EQ(dialog->starttag, tag);
        EXPECT_EQ(dialog->startzeit, QStringLiteral("14:30"));
        EXPECT_EQ(dialog->plattencombo, tisch);
        EXPECT_EQ(dialog->geplanterTischLabel, tisch);
        EXPECT_EQ(dialog->schiricombo, QStringLiteral("Huber, Eva"));
        // Confirmed unchanged, the plan is stored as it was, whatever table the scheduler chose.
        ASSERT_TRUE(dialog->okClick().geschlossen) << str(ui.texts().join(u'|'));
        SpielplanRow m = spiel(1);
        EXPECT_EQ(m.geplanter_tag, tag);
        EXPECT_EQ(m.geplante_zeit.time(), QTime(14, 30));
        EXPECT_EQ(m.geplanter_tisch.value_or(QString()), tisch);
        EXPECT_EQ(m.schiri.value_or(QString()), QStringLiteral("Huber, Eva"));

        ASSERT_TRUE(sb->turniergo([](int) { return false; }));
        dialog->spielaufrufen1(1);
        EXPECT_EQ(dialog->starttag, tag);
        EXPECT_EQ(dialog->startzeit, QStringLiteral("14:30"));
        EXPECT_EQ(dialog->geplanterTischLabel, tisch);
        EXPECT_EQ(dialog->schiricombo, QStringLiteral("Huber, Eva"));
        // The table box takes the planned table only when it is free for the group.
        EXPECT_EQ(dialog->plattencombo, dialog->plattenItems.contains(tisch) ? tisch : QStringLiteral("1"));
        // The next match has no plan: nothing of match 1 is left in the dialog.
        dialog->spielaufrufen1(2);
        EXPECT_EQ(dialog->geplanterTischLabel, QStringLiteral("Geplanter Tisch: "));
        EXPECT_TRUE(dialog->startzeit.isEmpty());
        EXPECT_TRUE(dialog->schiricombo.isEmpty());

        ASSERT_TRUE(aufrufen(1, QStringLiteral("1"), QStringLiteral("Huber, Eva")).geschlossen);
        dialog->spielaufgerufen(1);
        EXPECT_EQ(dialog->starttag, tag);
        EXPECT_EQ(dialog->startzeit, QStringLiteral("14:30"));
        EXPECT_EQ(dialog->plattencombo, QStringLiteral("1")) << "the table it was called to";
        EXPECT_EQ(dialog->schiricombo, QStringLiteral("Huber, Eva"));
        TearDown();
    }
}

// The match actions of the right button.
TEST_P(DialogTest, ManualStartAndResetRefusals) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    EXPECT_FALSE(dialog->spielMauellStarten(7)); // the final waits for the group
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("Dieses Spiel kann nicht gestartet werden"));
    EXPECT_EQ(ui.messages.last().icon, Interaction::Icon::Error);
    EXPECT_EQ(ui.messages.last().button, Interaction::Button::Ok);
    EXPECT_FALSE(sb->spielZuruecksetzen(2, *ev));
    EXPECT_EQ(ui.texts().last(), QStringLiteral("Spiel kann nicht weiter zurückgesetzt werden"));
    // A manual start works while a player is on another table.
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1")).geschlossen);
    int mitSpieler = 0;
    for (int s = 2; s <= 6 && !mitSpieler; ++s)
        if (spiel(s).SID1 == spiel(1).SID1 || spiel(s).SID2 == spiel(1).SID1) mitSpieler = s;
    ASSERT_GT(mitSpieler, 0);
    EXPECT_EQ(tag(mitSpieler), StateTag::Waiting);
    ASSERT_TRUE(dialog->spielMauellStarten(mitSpieler));
    EXPECT_EQ(dialog->manuell, 1);
    EXPECT_EQ(dialog->plattenItems, QStringList{"2"});
    ASSERT_TRUE(dialog->okClick().geschlossen);
    EXPECT_EQ(stateOf(spiel(mitSpieler)), MatchState::Called);
    EXPECT_FALSE(spiel(mitSpieler).manuell);
}

// Resetting a finished match asks first; Cancel changes nothing, OK leaves it started with its players
// and table still taken, and withdraws what the result had filled.
TEST_P(DialogTest, ResetOfFinishedMatchAsksFirst) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1")).geschlossen);
    ASSERT_TRUE(starten(1).geschlossen);
    ASSERT_TRUE(ergebnis(1, QStringLiteral("3:0"), {"5", "7", "9"}).geschlossen);
    const QVector<SpielplanRow> vorher = spiele(db());
    ui.answer(false);
    EXPECT_FALSE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_EQ(ui.questions.last(), QStringLiteral("Es können mehrere Spiele betroffen sein. Fortsetzten?"));
    EXPECT_EQ(spiele(db()), vorher);
    EXPECT_EQ(tag(1), StateTag::Finished);
    ui.answer(true);
    EXPECT_TRUE(sb->spielZuruecksetzen(1, *ev));
    const SpielplanRow m = spiel(1);
    EXPECT_EQ(stateOf(m), MatchState::Started);
    EXPECT_FALSE(m.ergebnis.has_value());
    EXPECT_EQ(tag(1), StateTag::Started);
    EXPECT_FALSE(liste(Freilisten::sliste(0)).contains(QString::number(m.SID1)));
    EXPECT_FALSE(liste(Freilisten::platte(0)).contains(QStringLiteral("1")));
}

// "Korrigieren" of the last group match: the result is withdrawn and stored again in one go, and the
// final is filled from the new standings.
TEST_P(DialogTest, CorrectingTheLastGroupMatchRefillsTheFinal) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    // Every group match won by the smaller number, so 101 and 102 reach the final.
    for (int s = 1; s <= 6; ++s) {
        ASSERT_TRUE(aufrufen(s).geschlossen) << s;
        ASSERT_TRUE(starten(s).geschlossen);
        const SpielplanRow m = spiel(s);
        const bool erster = m.SID1 < m.SID2;
        ASSERT_TRUE(ergebnis(s, erster ? "3:0" : "0:3", erster ? QStringList{"5", "5", "5"} : QStringList{"-5", "-5", "-5"})
                        .geschlossen)
            << s;
    }
    EXPECT_TRUE(ui.texts().contains(QStringLiteral("Gruppe beendet")));
    const SpielplanRow finale = spiel(7);
    EXPECT_EQ(finale.SID1, 101); // "Sieger Gruppe A"
    EXPECT_EQ(finale.SID2, 102); // "Zweiter Gruppe A"
    EXPECT_EQ(tag(7), StateTag::Playable);
    EXPECT_EQ(sb->naechstesAngebot(2), 7);
    // 102 beat 101 after all: 102 wins the group, 101 is second.
    int snr = 0;
    for (int s = 1; s <= 6; ++s)
        if (QSet<int>({spiel(s).SID1, spiel(s).SID2}) == QSet<int>({101, 102})) snr = s;
    ASSERT_GT(snr, 0);
    ASSERT_EQ(dialog->statusClick(snr), Dialogmodus::Korrigieren);
    EXPECT_EQ(dialog->okText(), QStringLiteral("Korrigieren"));
    const bool ersterIst102 = spiel(snr).SID1 == 102;
    dialog->ergebnisGewaehlt(ersterIst102 ? "3:0" : "0:3");
    for (int k = 0; k < 3; ++k)
        dialog->satz[k] = ersterIst102 ? "5" : "-5";
    const Tergebnis::Ausgang a = dialog->okClick();
    ASSERT_TRUE(a.geschlossen);
    EXPECT_TRUE(a.neuGezeichnet);
    EXPECT_EQ(spiel(snr).siegerSID, 102);
    EXPECT_EQ(spiel(7).SID1, 102);
    EXPECT_EQ(spiel(7).SID2, 101);
    EXPECT_EQ(tag(7), StateTag::Playable);
    EXPECT_EQ(tag(snr), StateTag::Finished);
}

// A whole class played at the desk through the dialog alone: every match offered and called in
// match-number order, started and finished, until the final is decided.
TEST_P(DialogTest, ClassPlayedToTheEnd) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    schiri(902, QStringLiteral("Berg"), QStringLiteral("Jan"));
    oeffnen();
    auto anbieten = [&](int s) {
        dialog->spielaufrufen1(s);
        dialog->schiricombo = dialog->schiriItems.value(0);
        EXPECT_TRUE(dialog->okClick().geschlossen);
        return dialog->next1;
    };
    ASSERT_TRUE(sb->turniergo(anbieten));
    int runden = 0;
    while (runden++ < 20) {
        QVector<int> laufend;
        for (const SpielplanRow& m : spiele(db()))
            if (m.in_planung) laufend << m.spielnummer;
        if (laufend.isEmpty()) break;
        for (int s : laufend) {
            ASSERT_TRUE(starten(s).geschlossen);
            const SpielplanRow m = spiel(s);
            const bool erster = m.SID1 < m.SID2;
            const Tergebnis::Ausgang a =
                ergebnis(s, erster ? "3:1" : "1:3",
                         erster ? QStringList{"5", "-7", "9", "3"} : QStringList{"-5", "7", "-9", "-3"}, true);
            ASSERT_TRUE(a.geschlossen);
            ASSERT_TRUE(a.angebotePhase.has_value());
            // The last group match ends the phase: the offers go on with the final.
            bool gruppeFertig = true;
            for (const SpielplanRow& g : matchrecord::matchesOfPhase(db(), spielklasse::kKid, 1))
                gruppeFertig = gruppeFertig && g.beendet;
            EXPECT_EQ(*a.angebotePhase, m.phase == 1 && gruppeFertig ? 2 : m.phase) << s;
            sb->possiblegames(*a.angebotePhase, anbieten);
        }
    }
    for (const SpielplanRow& m : spiele(db()))
        EXPECT_TRUE(m.beendet) << m.spielnummer;
    EXPECT_EQ(spiel(7).siegerSID, 101);
    EXPECT_EQ(tag(7), StateTag::Finished);
    EXPECT_EQ(liste(Freilisten::schiri).size(), 2);
    EXPECT_EQ(liste(Freilisten::platte(0)).size(), 2);
}

VELMORA_INSTANTIATE_DB_TEST(DialogTest);

} // namespace
