// The draw of a class from loading to the written plan, as the draw dialog drives it, on both engines.
#include "draw/auslosung.h"

#include "common/clock.h"
#include "common/random.h"
#include "draw/auslosungsdb.h"
#include "draw/labels.h"
#include "support/scripted_interaction.h"

#include <QDateTime>

namespace {

using Ort = Auslosung::Ort;

constexpr int kKid = 10;

Datendateien shippedFiles() {
    const QString dir = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
    return {dir + QStringLiteral("system.txt"), dir + QStringLiteral("ko_system.txt")};
}

Ort liste(Ort::Art art, int phase = 1) {
    return {art, phase, 0, 0};
}
Ort listenzeile(Ort::Art art, int zeile, int phase = 1) {
    return {art, phase, 0, zeile};
}
Ort gruppe(int phase, int index, int zeile) {
    return {Ort::Gruppe, phase, index, zeile};
}
Ort slot(int phase, int zeile) {
    return {Ort::Slot, phase, 0, zeile};
}

class AuslosungTest : public Auslosungsdb {
protected:
    void SetUp() override {
        Auslosungsdb::SetUp();
        if (IsSkipped()) return;
        klasse(kKid, 0);
        tisch(kKid, "T1");
        tisch(kKid, "T2");
        model = std::make_unique<Auslosung>(db(), ui, clock, random);
    }
    Auslosung& a() { return *model; }

    // n players of four clubs, all present and entered; the first `seeds` of them seeded in order.
    void spielerMelden(int n, int seeds) {
        static const char* const clubs[] = {"TTC Nord", "TSV Ost", "SV Sued", "TV West"};
        for (int sid = 1; sid <= n; ++sid) {
            spieler(sid, QStringLiteral("Spieler%1").arg(sid, 2, 10, QLatin1Char('0')), QStringLiteral("Vor"),
                    QLatin1String(clubs[sid % 4]));
            melden(kKid, sid);
        }
        for (int i = 0; i < seeds; ++i) gesetzt(kKid, i, i + 1);
    }
    // Phase 1 in four groups of three with two qualifiers each, phase 2 a single knock-out.
    void gruppenUndKo() {
        einstellungen(kKid, {0, 1, QVariant()},
                      {4, QVariant(), QVariant(), 3, QVariant(), QVariant(), 2, QVariant(), QVariant(), 0,
                       QVariant(), QVariant()},
                      3);
    }

    int count(const QString& table, const QString& where = QString()) {
        return db()
            .selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM %1 WHERE KID=:k %2").arg(table, where),
                       {{":k", kKid}})
            .integer(u"c");
    }

    // Loads the class, draws every phase at once and completes it.
    Fertigstellen::Ergebnis ganzeAuslosung() {
        a().neu(kKid);
        for (int n = 1; n <= 3; ++n)
            if (a().vorhanden(n)) {
                EXPECT_TRUE(a().losen(n)) << "phase " << n;
            }
        return a().fertigstellen(1, shippedFiles());
    }

    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 5, 1), QTime(9, 0))};
    Random random{1};
    std::unique_ptr<Auslosung> model;
};

} // namespace

TEST_P(AuslosungTest, GroupsThenKnockOutAreDrawnAndWrittenAsOnePlan) {
    spielerMelden(12, 3);
    gruppenUndKo();
    a().neu(kKid);
    EXPECT_EQ(a().listentexte(Ort::Gesetzte),
              QStringList({"1. Spieler01, Vor (1)", "2. Spieler02, Vor (2)", "3. Spieler03, Vor (3)"}));
    EXPECT_EQ(a().listentexte(Ort::Angemeldete).size(), 9);
    EXPECT_EQ(a().listentexte(Ort::Teilnehmer, 2),
              QStringList({"Sieger Gruppe A", "Sieger Gruppe B", "Sieger Gruppe C", "Sieger Gruppe D",
                           "Zweiter Gruppe A", "Zweiter Gruppe B", "Zweiter Gruppe C", "Zweiter Gruppe D"}));
    EXPECT_EQ(a().bracket(2).size(), 8);
    EXPECT_TRUE(a().vereinAktiv());
    EXPECT_TRUE(a().vereinBeachten);

    a().vereinBeachten = false;
    ASSERT_TRUE(a().losen(1));
    EXPECT_FALSE(a().losenAktiv(1));
    EXPECT_FALSE(a().losen(1)) << "Losen waits for Alles löschen";
    // Seeds fixed: seed n heads group n; the seed list keeps its numbered empty lines.
    for (int g = 0; g < 3; ++g)
        EXPECT_EQ(a().gruppen(1)[g].zeilentext(0), QStringLiteral("1. Spieler%1, Vor (%2)").arg(g + 1, 2, 10, QLatin1Char('0')).arg(g + 1));
    EXPECT_EQ(a().listentexte(Ort::Gesetzte), QStringList({"1.", "2.", "3."}));
    EXPECT_TRUE(a().listentexte(Ort::Angemeldete).isEmpty());

    a().weiter();
    ASSERT_EQ(a().schritt(), 2);
    ASSERT_TRUE(a().losen(2));
    EXPECT_TRUE(a().listentexte(Ort::Teilnehmer, 2).isEmpty());
    a().weiter();
    ASSERT_EQ(a().schritt(), Auslosung::kTischseite);
    EXPECT_TRUE(a().fertigAktiv());

    const Fertigstellen::Ergebnis e = a().fertigstellen(1, shippedFiles());
    ASSERT_TRUE(e.geschrieben) << ui.texts().join(u'\n').toStdString();
    EXPECT_TRUE(e.planleiste);
    EXPECT_EQ(count("Gruppen"), 12);
    EXPECT_EQ(count("Tabellen"), 12);
    // Both tables for each of the four groups, and both for the knock-out phase.
    EXPECT_EQ(count("Platten", "AND GID>=0"), 8);
    EXPECT_EQ(count("Platten", "AND GID=-1 AND phase=2"), 2);
    // Three matches in each group of three, then seven for the bracket of eight.
    EXPECT_EQ(count("Spielplan", "AND phase=1"), 12);
    EXPECT_EQ(count("Spielplan", "AND phase=2"), 7);
    const Row first = db().selectOne(
        "SELECT spieler1,SID1,parentGID1,parentpos1 FROM Spielplan WHERE KID=:k AND spielnummer=13", {{":k", kKid}});
    const QString label = a().bracket(2)[0].text;
    EXPECT_EQ(first.text(u"spieler1"), label);
    EXPECT_EQ(first.integer(u"SID1"), -1);
    EXPECT_EQ(first.integer(u"parentGID1"), labels::getparentGID(label));
    EXPECT_EQ(first.integer(u"parentpos1"), labels::getparentpos(label));
}

struct WegCase {
    const char* id;
    QVariantList phasen;
    QVector<int> vorwaerts; // the steps "Weiter -->" passes, from 1
};

class AuslosungWeg : public AuslosungTest {};

TEST_P(AuslosungWeg, WeiterAndZurueckVisitOnlyTheExistingPhases) {
    const std::vector<WegCase> cases = {
        {"one phase", {0, QVariant(), QVariant()}, {1, 4}},
        {"two phases", {0, 1, QVariant()}, {1, 2, 4}},
        {"three phases", {0, 0, 2}, {1, 2, 3, 4}},
    };
    int kid = 20;
    for (const WegCase& c : cases) {
        SCOPED_TRACE(c.id);
        klasse(++kid, 0);
        einstellungen(kid, c.phasen, {2, 1, 1, 2, 2, 2, 1, 1, 1, 0, 0, 0});
        a().neu(kid);
        QVector<int> visited{a().schritt()};
        EXPECT_FALSE(a().zurueckAktiv());
        EXPECT_FALSE(a().fertigAktiv());
        while (a().weiterAktiv()) {
            a().weiter();
            visited << a().schritt();
        }
        EXPECT_EQ(visited, c.vorwaerts);
        EXPECT_TRUE(a().fertigAktiv());
        QVector<int> back{a().schritt()};
        while (a().zurueckAktiv()) {
            a().zurueck();
            back << a().schritt();
        }
        std::reverse(back.begin(), back.end());
        EXPECT_EQ(back, c.vorwaerts);
    }
}

TEST_P(AuslosungTest, PlacementsByHandFollowTheListsAndAllesLoeschenUndoesThem) {
    spielerMelden(12, 3);
    gruppenUndKo();
    a().neu(kKid);
    const QStringList angemeldet = a().listentexte(Ort::Angemeldete);
    const QStringList gesetzt = a().listentexte(Ort::Gesetzte);

    // An entry onto an empty line; onto a filled line nothing happens.
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Angemeldete, 0), gruppe(1, 0, 0)));
    EXPECT_EQ(a().gruppen(1)[0].zeilentext(0), "1. " + angemeldet[0]);
    EXPECT_FALSE(a().ablegen(listenzeile(Ort::Angemeldete, 0), gruppe(1, 0, 0)));
    EXPECT_EQ(a().listentexte(Ort::Angemeldete), angemeldet.mid(1));
    // A seed leaves its numbered line empty; an empty seed line cannot be dropped.
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Gesetzte, 1), gruppe(1, 1, 0)));
    EXPECT_EQ(a().listentexte(Ort::Gesetzte)[1], "2.");
    EXPECT_FALSE(a().ablegen(listenzeile(Ort::Gesetzte, 1), gruppe(1, 2, 0)));
    // Two lines of one group change places; lines of two groups do not.
    ASSERT_TRUE(a().ablegen(gruppe(1, 0, 0), gruppe(1, 0, 2)));
    EXPECT_EQ(a().gruppen(1)[0].zeilentext(0), "1. ");
    EXPECT_EQ(a().gruppen(1)[0].zeilentext(2), "3. " + angemeldet[0]);
    EXPECT_FALSE(a().ablegen(gruppe(1, 0, 2), gruppe(1, 3, 0)));
    // Back out of a group: a seed to its own seed line, an unseeded entry to the entries (Delete key).
    ASSERT_TRUE(a().ablegen(gruppe(1, 1, 0), liste(Ort::Angemeldete)));
    EXPECT_EQ(a().listentexte(Ort::Gesetzte), gesetzt);
    EXPECT_EQ(a().listentexte(Ort::Angemeldete).size(), 8);
    ASSERT_TRUE(a().entfernen(0, 2));
    EXPECT_EQ(a().listentexte(Ort::Angemeldete).size(), 9);
    EXPECT_FALSE(a().entfernen(0, 2)) << "an empty line has nothing to give back";

    // Labels of phase 2 onto the bracket and back; a drop onto an occupied slot is ignored.
    const QStringList labels2 = a().listentexte(Ort::Teilnehmer, 2);
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Teilnehmer, 3, 2), slot(2, 5)));
    EXPECT_EQ(a().bracket(2)[5].text, labels2[3]);
    EXPECT_FALSE(a().ablegen(listenzeile(Ort::Teilnehmer, 0, 2), slot(2, 5)));
    EXPECT_FALSE(a().ablegen(listenzeile(Ort::Teilnehmer, 0, 2), slot(1, 0))) << "phase 1 is no bracket";
    ASSERT_TRUE(a().ablegen(slot(2, 5), liste(Ort::Teilnehmer, 2)));
    EXPECT_TRUE(a().bracket(2)[5].empty());

    ASSERT_TRUE(a().losen(1));
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Teilnehmer, 0, 2), slot(2, 0)));
    a().allesLoeschen(1);
    a().allesLoeschen(2);
    EXPECT_EQ(a().listentexte(Ort::Angemeldete), angemeldet);
    EXPECT_EQ(a().listentexte(Ort::Gesetzte), gesetzt);
    EXPECT_EQ(a().listentexte(Ort::Teilnehmer, 2), labels2);
    for (const Gruppenliste& g : a().gruppen(1)) EXPECT_EQ(g.belegt(), 0);
    EXPECT_TRUE(std::all_of(a().bracket(2).begin(), a().bracket(2).end(), [](const koinfo& k) { return k.empty(); }));
    EXPECT_TRUE(a().losenAktiv(1));
}

TEST_P(AuslosungTest, AnUnplacedEntryRefusesAndLeavesThePreviousPlan) {
    spielerMelden(12, 3);
    gruppenUndKo();
    ASSERT_TRUE(ganzeAuslosung().geschrieben);
    const int matches = count("Spielplan");
    const int groups = count("Gruppen");

    a().neu(kKid);
    ASSERT_TRUE(a().losen(1));
    // One label of phase 2 stays in its list.
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(a().ablegen(listenzeile(Ort::Teilnehmer, 0, 2), slot(2, i)));
    ui.clear();
    EXPECT_FALSE(a().fertigstellen(1, shippedFiles()).geschrieben);
    EXPECT_EQ(ui.texts(), QStringList({"Nicht alle Spieler wurden gelost"}));
    EXPECT_EQ(count("Spielplan"), matches);
    EXPECT_EQ(count("Gruppen"), groups);
}

TEST_P(AuslosungTest, KnockOutPhase1TakesSeedsByHandAndDrawsTheRestWithByes) {
    spielerMelden(5, 2);
    einstellungen(kKid, {1, QVariant(), QVariant()}, QVariantList(12), 2);
    a().neu(kKid);
    ASSERT_EQ(a().bracket(1).size(), 8);
    EXPECT_EQ(a().listentexte(Ort::Angemeldete).size(), 3);

    // Seed 2 by hand onto slot 3, and back to its line.
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Gesetzte, 1), slot(1, 3)));
    EXPECT_EQ(a().listentexte(Ort::Gesetzte)[1], "2.");
    ASSERT_TRUE(a().ablegen(slot(1, 3), liste(Ort::Gesetzte)));
    EXPECT_EQ(a().listentexte(Ort::Gesetzte)[1], "2. Spieler02, Vor (2)");

    a().vereinBeachten = false;
    ASSERT_TRUE(a().losen(1));
    int byes = 0;
    for (const koinfo& k : a().bracket(1)) byes += k.bye() ? 1 : 0;
    EXPECT_EQ(byes, 3);
    a().weiter();
    ASSERT_EQ(a().schritt(), Auslosung::kTischseite);
    ASSERT_TRUE(a().fertigstellen(1, shippedFiles()).geschrieben) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(count("Spielplan"), 7);
    EXPECT_EQ(count("Gruppen"), 0);
    EXPECT_EQ(count("Platten", "AND GID=-1 AND phase=1"), 2);
}

TEST_P(AuslosungTest, RedrawOfPhase2KeepsPhase1AndDrawsTheQualifiedPlayers) {
    spielerMelden(12, 3);
    gruppenUndKo();
    ASSERT_TRUE(ganzeAuslosung().geschrieben);
    const QStringList phase1Gruppen = gruppenRows(kKid, "AND phase=1");
    const QStringList phase1Spiele =
        dump("SELECT * FROM Spielplan WHERE KID=:k AND phase=1 ORDER BY spielnummer", {{":k", kKid}});
    // Result processing has filled the knock-out's first stage with the winners and seconds.
    const Rows gruppenzeilen =
        db().select("SELECT SID,bez FROM Gruppen WHERE KID=:k AND phase=1 AND pos<2 ORDER BY GID,pos", {{":k", kKid}});
    ASSERT_EQ(gruppenzeilen.size(), 8);
    for (int m = 0; m < 4; ++m) {
        const Row& x = gruppenzeilen[2 * m];
        const Row& y = gruppenzeilen[(2 * m + 3) % 8];
        db().exec("UPDATE Spielplan SET SID1=:a,spieler1=:sa,SID2=:b,spieler2=:sb WHERE KID=:k AND spielnummer=:n",
                  {{":a", x.integer(u"SID")},
                   {":sa", x.text(u"bez")},
                   {":b", y.integer(u"SID")},
                   {":sb", y.text(u"bez")},
                   {":k", kKid},
                   {":n", 13 + m}});
    }

    EXPECT_FALSE(a().neuauslosen(kKid, 3)) << "the class has no phase 3";
    EXPECT_EQ(a().modus(), Auslosung::Modus::Neu);
    ASSERT_TRUE(a().neuauslosen(kKid, 2));
    EXPECT_EQ(a().modus(), Auslosung::Modus::Neuauslosung);
    EXPECT_EQ(a().schritt(), 2);
    EXPECT_FALSE(a().zurueckAktiv()) << "a redraw never goes back before its phase";
    a().zurueck();
    EXPECT_EQ(a().schritt(), 2);
    const QStringList spieler = a().listentexte(Ort::Teilnehmer, 2);
    ASSERT_EQ(spieler.size(), 8);
    EXPECT_TRUE(spieler[0].startsWith("Spieler"));

    ASSERT_TRUE(a().losen(2));
    a().weiter();
    const Fertigstellen::Ergebnis e = a().fertigstellen(1, shippedFiles());
    ASSERT_TRUE(e.geschrieben) << ui.texts().join(u'\n').toStdString();
    EXPECT_TRUE(e.planAnzeigen);
    EXPECT_EQ(gruppenRows(kKid, "AND phase=1"), phase1Gruppen);
    EXPECT_EQ(dump("SELECT * FROM Spielplan WHERE KID=:k AND phase=1 ORDER BY spielnummer", {{":k", kKid}}),
              phase1Spiele);
    // The new first stage holds the qualified players, numbered on after phase 1.
    const Rows stage = db().select(
        "SELECT spielnummer,SID1,SID2 FROM Spielplan WHERE KID=:k AND phase=2 ORDER BY spielnummer", {{":k", kKid}});
    ASSERT_EQ(stage.size(), 7);
    EXPECT_EQ(stage[0].integer(u"spielnummer"), 13);
    for (int m = 0; m < 4; ++m) {
        EXPECT_GT(stage[m].integer(u"SID1"), 0);
        EXPECT_GT(stage[m].integer(u"SID2"), 0);
    }
}

TEST_P(AuslosungTest, TablesFixedPerGroupAreStoredForTheirGroupsOnly) {
    spielerMelden(12, 3);
    gruppenUndKo();
    a().neu(kKid);
    a().setTischmodus(Tischaufteilung::fest);
    EXPECT_EQ(a().tischgruppen(), QVector<int>({0, 1, 2, 3}));
    a().tischeZuordnen(0, {"T1", "T2"});
    a().tischeZuordnen(1, {"T2", "unbekannt"});
    a().tischeZuordnen(7, {"T1"}); // no such group
    ASSERT_TRUE(a().ablegen({Ort::Gruppentische, 1, 1, 0}, liste(Ort::Tische)));
    EXPECT_EQ(a().tischeVon(0), QStringList({"T1", "T2"}));
    EXPECT_TRUE(a().tischeVon(1).isEmpty());
    ASSERT_TRUE(a().ablegen(listenzeile(Ort::Tische, 0), {Ort::Gruppentische, 1, 2, 0}));
    EXPECT_EQ(a().tischeVon(2), QStringList({"T1"}));

    ASSERT_TRUE(a().losen(1));
    ASSERT_TRUE(a().losen(2));
    ASSERT_TRUE(a().fertigstellen(1, shippedFiles()).geschrieben);
    EXPECT_EQ(plattenRows(kKid, "AND GID>=0"),
              QStringList({QString("%1|0|T1|1").arg(kKid), QString("%1|0|T2|1").arg(kKid),
                           QString("%1|2|T1|1").arg(kKid)}));
    EXPECT_EQ(db().selectOne("SELECT DISTINCT plattensystem FROM Gruppen WHERE KID=:k", {{":k", kKid}}).integer(u"plattensystem"),
              1);
}

VELMORA_INSTANTIATE_DB_TEST(AuslosungTest);
VELMORA_INSTANTIATE_DB_TEST(AuslosungWeg);

// Every kind of class with every system, drawn and completed as the dialog does it: eight present
// entries, phase settings that fit them.
struct ArtCase {
    const char* id;
    QVariantList phasen;
    QVariantList zahlen;
    int spiele; // matches of the whole plan
};

class AuslosungArten : public AuslosungTest {
protected:
    // Eight entries of class kid of the given kind, all present.
    void eintraege(int kid, int kind) {
        for (int i = 1; i <= 16; ++i)
            db().exec("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet, mann, frau) "
                      "VALUES (1,:s,:n,'Vor',:c,:a,:m,:f)",
                      {{":s", kid * 100 + i},
                       {":n", QStringLiteral("K%1S%2").arg(kid).arg(i)},
                       {":c", i % 3 ? "TTC" : "TSV"},
                       {":a", true},
                       {":m", i % 2 == 1},
                       {":f", i % 2 == 0}});
        for (int e = 0; e < 8; ++e) {
            const int a = kid * 100 + 2 * e + 1, b = a + 1;
            if (kind == 0) {
                melden(kid, a);
            } else if (kind == 3) {
                melden(kid, a);
                melden(kid, b);
                team(kid, kid * 100 + e + 1, QStringLiteral("Team %1").arg(e + 1), "TTC", a);
            } else {
                paar(kid, a, b);
            }
        }
        if (kind == 3)
            db().exec("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) "
                      "VALUES (1, :k, 2, 0, 1, 2, 11, 11)",
                      {{":k", kid}});
    }
};

TEST_P(AuslosungArten, EveryKindAndSystemIsDrawnAndCompleted) {
    const QVariant n;
    const std::vector<ArtCase> cases = {
        {"groups", {0, n, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}, 12},
        {"single knock-out", {1, n, n}, QVariantList(12), 7},
        {"double knock-out", {2, n, n}, QVariantList(12), 0},
        {"groups then single knock-out", {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}, 12 + 3},
        {"groups, groups, double knock-out", {0, 0, 2}, {2, 2, n, 4, 2, n, 2, 2, n, 0, 0, n}, 12 + 2 + 0},
    };
    const QString kinds[] = {"singles", "doubles", "mixed", "team"};
    int kid = 30;
    for (int kind = 0; kind < 4; ++kind) {
        for (const ArtCase& c : cases) {
            SCOPED_TRACE(kinds[kind].toStdString() + ", " + c.id);
            ++kid;
            klasse(kid, kind);
            tisch(kid, "T1");
            eintraege(kid, kind);
            einstellungen(kid, c.phasen, c.zahlen);
            ui.clear();
            a().neu(kid);
            EXPECT_EQ(a().listentexte(Ort::Angemeldete).size(), 8);
            a().vereinBeachten = kind != 3;
            for (int p = 1; p <= 3; ++p)
                if (a().vorhanden(p)) {
                    EXPECT_TRUE(a().losen(p)) << "phase " << p;
                }
            const Fertigstellen::Ergebnis e = a().fertigstellen(1, shippedFiles());
            ASSERT_TRUE(e.geschrieben) << ui.texts().join(u'\n').toStdString();
            const int matches =
                db().selectOne("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=:k", {{":k", kid}}).integer(u"c");
            // A double knock-out's size comes from the plan file: at least the entries' bracket.
            if (c.spiele > 0 && QString(c.id).indexOf("double") < 0)
                EXPECT_EQ(matches, c.spiele);
            else
                EXPECT_GT(matches, c.spiele);
            const int rubbers =
                db().selectOne("SELECT COUNT(*) AS c FROM Teamspiele WHERE KID=:k", {{":k", kid}}).integer(u"c");
            EXPECT_EQ(rubbers, kind == 3 ? 2 * matches : 0);
        }
    }
}

VELMORA_INSTANTIATE_DB_TEST(AuslosungArten);
