// Loading a class for the group draw and storing the drawn groups, on both engines.
#include "draw/gruppenauslosung.h"

#include "draw/auslosungsdb.h"
#include "support/testdb.h"

#include <QStringList>

namespace {

QStringList texts(const QVector<Myitem>& items) {
    QStringList result;
    for (const Myitem& m : items)
        result << QStringLiteral("%1/%2 %3 [%4] #%5")
                      .arg(m.id)
                      .arg(m.partnerId)
                      .arg(m.text, m.club)
                      .arg(m.seedNumber);
    return result;
}

// The standings row of a group line as the draw writes it: its statistics 0.
QString tabelle(const QString& head, const QString& parents) {
    return head + QStringLiteral("|0|0|0|0|0|0|0|0|0|0|") + parents;
}

// ---------------------------------------------------------------------------------------------------------

using Laden = Auslosungsdb;

TEST_P(Laden, SinglesLeaveAbsentEntrantsOutAndCloseTheSeedGaps) {
    klasse(10, 0);
    spieler(1, "Adam", "Anna", "TTC A");
    spieler(2, "Berg", "Bernd", "TTC B", false); // absent seed 2
    spieler(3, "Cram", "Clara", "TTC C");
    spieler(4, "Dorn", "Dieter", "TTC A");
    spieler(5, "Ehlers", "Eva", "TTC B", false); // absent
    spieler(6, "äbel", "Uwe", "TTC C");
    spieler(7, "Fuchs", "Fritz", "TTC A"); // present, but in another class
    for (int sid : {1, 2, 3, 4, 5, 6})
        melden(10, sid);
    klasse(11, 0);
    melden(11, 7);
    gesetzt(10, 0, 1);
    gesetzt(10, 1, 2);
    gesetzt(10, 2, 3);
    gesetzt(10, 3, -1); // an empty slot
    einstellungen(10, {0, 0, QVariant()},
                  {3, 1, QVariant(), 3, 4, QVariant(), 2, 2, QVariant(), 0, 0, QVariant()}, 4);
    tisch(10, "Tisch 1");
    tisch(10, "Halle 2");
    tisch(11, "Tisch 9");

    const Auslosungsdaten d = phase1laden(db(), 10);
    EXPECT_EQ(texts(d.gesetzte),
              QStringList({"1/0 Adam, Anna (1) [TTC A] #1", "3/0 Cram, Clara (2) [TTC C] #2"}));
    EXPECT_EQ(texts(d.angemeldete),
              QStringList({"6/0 äbel, Uwe [TTC C] #-1", "4/0 Dorn, Dieter [TTC A] #-1"}));
    EXPECT_EQ(setzlistentext(1, d.gesetzte[1]), QStringLiteral("2. Cram, Clara (2)"));
    EXPECT_EQ(d.tische, QStringList({"Tisch 1", "Halle 2"}));
    EXPECT_EQ(d.infos.phase, (std::array<int, 3>{0, 0, -1}));
    EXPECT_EQ(d.infos.gruppenanzahl, (std::array<int, 3>{3, 1, -1}));
    EXPECT_EQ(d.infos.teilnehmer, (std::array<int, 3>{3, 4, -1}));
    EXPECT_EQ(d.infos.besten, (std::array<int, 3>{2, 2, -1}));
    EXPECT_EQ(d.infos.bestplazierten, (std::array<int, 3>{0, 0, -1}));
    EXPECT_EQ(d.infos.plattenbez, QStringLiteral("Platte"));
    EXPECT_EQ(d.infos.kind, 0);
    EXPECT_EQ(d.infos.platten, 4);
    EXPECT_TRUE(d.infos.gruppenphase(2));
    EXPECT_FALSE(d.infos.vorhanden(3));
    EXPECT_EQ(d.infos.ersteGid(2), 3);
}

TEST_P(Laden, PairsAreListedOnceWithTheirFirstPlayersClub) {
    for (const int kind : {1, 2}) {
        SCOPED_TRACE(kind == 1 ? "doubles" : "mixed");
        const int kid = 10 + kind;
        const int b = kind * 100;
        klasse(kid, kind);
        spieler(b + 1, "Adam", "Anna", "TTC A");
        spieler(b + 2, "Berg", "Bernd", "TTC B");
        spieler(b + 3, "Cram", "Clara", "TTC C");
        spieler(b + 4, "Dorn", "Dieter", "TTC D");
        spieler(b + 5, "Ehlers", "Eva", "TTC E");
        spieler(b + 6, "Fuchs", "Fritz", "TTC F", false);
        spieler(b + 7, "Graf", "Gerd", "TTC G");
        spieler(b + 8, "Haas", "Hanna", "TTC H");
        paar(kid, b + 2, b + 1); // stored by the second player first
        paar(kid, b + 3, b + 4);
        paar(kid, b + 5, b + 6); // one player absent
        paar(kid, b + 7, b + 8);
        // A player without partner is no entry yet.
        spieler(b + 9, "Ickx", "Ida", "TTC I");
        melden(kid, b + 9);
        db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,NULL,NULL)"),
                  {{":k", kid}, {":s", b + 9}});
        gesetzt(kid, 0, b + 8, b + 7); // seeded as stored on the panel: either player may come first
        gesetzt(kid, 1, b + 5, b + 6); // absent seed
        einstellungen(kid, {0, QVariant(), QVariant()},
                      {2, QVariant(), QVariant(), 4, QVariant(), QVariant(), 0, QVariant(), QVariant(), 0,
                       QVariant(), QVariant()},
                      2);

        const Auslosungsdaten d = phase1laden(db(), kid);
        EXPECT_EQ(
            texts(d.gesetzte),
            QStringList({QStringLiteral("%1/%2 Haas, H. / Graf, G (1) [TTC H] #1").arg(b + 8).arg(b + 7)}));
        EXPECT_EQ(
            texts(d.angemeldete),
            QStringList({QStringLiteral("%1/%2 Adam, A. / Berg, B [TTC A] #-1").arg(b + 1).arg(b + 2),
                         QStringLiteral("%1/%2 Cram, C. / Dorn, D [TTC C] #-1").arg(b + 3).arg(b + 4)}));
        EXPECT_EQ(d.infos.kind, kind);
    }
}

TEST_P(Laden, TeamsCarryTheirFirstPlayerAndClub) {
    klasse(10, 3);
    team(10, 501, "Nord", "TV Nord", 11);
    team(10, 502, "Süd", "TV Süd", 12);
    team(10, 503, "Ost", "TV Ost", 13, false);
    team(10, 504, "Alpen", "TV Alpen", 14);
    team(11, 505, "Fremd", "TV Fremd", 15);
    gesetzt(10, 0, 503); // absent
    gesetzt(10, 1, 502);
    einstellungen(10, {1, QVariant(), QVariant()},
                  {0, QVariant(), QVariant(), 0, QVariant(), QVariant(), 0, QVariant(), QVariant(), 0,
                   QVariant(), QVariant()},
                  2);

    const Auslosungsdaten d = phase1laden(db(), 10);
    EXPECT_EQ(texts(d.gesetzte), QStringList({"502/12 Süd (1) [TV Süd] #1"}));
    EXPECT_EQ(texts(d.angemeldete),
              QStringList({"504/14 Alpen [TV Alpen] #-1", "501/11 Nord [TV Nord] #-1"}));
    EXPECT_FALSE(d.infos.gruppenphase(1));
    EXPECT_TRUE(d.infos.vorhanden(1));
}

TEST_P(Laden, ClubsMostPresentEntrantsFirst) {
    klasse(10, 0);
    const struct {
        int sid;
        const char* verein;
        bool present;
    } players[] = {{1, "TTC B", true},  {2, "TTC B", true},  {3, "TTC A", true}, {4, "TTC C", true},
                   {5, "TTC C", true},  {6, "TTC C", false}, {7, "TTC A", true}, {8, "TTC A", true},
                   {9, "TTC D", false}, {10, "TTC B", false}};
    for (const auto& p : players) {
        spieler(p.sid, QStringLiteral("N%1").arg(p.sid), "V", p.verein, p.present);
        melden(10, p.sid);
    }
    spieler(20, "Z", "Z", "TTC C");
    spieler(21, "Z", "Z", "TTC C");
    klasse(11, 0);
    melden(11, 20);
    melden(11, 21);
    EXPECT_EQ(vereineladen(db(), 10, 0), QStringList({"TTC A", "TTC B", "TTC C"}));

    klasse(12, 3);
    team(12, 501, "Eins", "TV Z", 1);
    team(12, 502, "Zwei", "TV Y", 1);
    team(12, 503, "Drei", "TV Y", 1);
    team(12, 504, "Vier", "TV X", 1, false);
    EXPECT_EQ(vereineladen(db(), 12, 3), QStringList({"TV Y", "TV Z"}));
}

TEST_P(Laden, RedrawParticipantsComeFromThePlanInMatchOrder) {
    klasse(10, 0);
    spieler(1, "Adam", "Anna", "TTC A");
    spieler(2, "Berg", "Bernd", "TTC B");
    spieler(3, "Cram", "Clara", "TTC C");
    spieler(4, "Dorn", "Dieter", "TTC D");
    spiel(10, 3, 1, 4, "Dorn, Dieter", 3, "Cram, Clara");
    spiel(10, 6, 2, 2, "Berg, Bernd", 1, "Adam, Anna (1)");
    spiel(10, 4, 2, 1, "Adam, Anna (1)", -2, "Freilos");
    spiel(10, 5, 2, 3, "Cram, Clara", 2, "Berg, Bernd");
    spiel(10, 7, 3, -1, "Sieger Spiel 5", -1, "Sieger Spiel 6");
    EXPECT_EQ(texts(qualifikantenladen(db(), 10, 2)),
              QStringList({"1/0 Adam, Anna (1) [TTC A] #-1", "3/0 Cram, Clara [TTC C] #-1",
                           "2/0 Berg, Bernd [TTC B] #-1"}));
    EXPECT_TRUE(qualifikantenladen(db(), 10, 3).isEmpty());

    // Teams stand in the plan with their MID.
    klasse(20, 3);
    team(20, 501, "Nord", "TV Nord", 1);
    team(20, 502, "Süd", "TV Süd", 2);
    spiel(20, 9, 2, 502, "Süd", 501, "Nord");
    EXPECT_EQ(texts(qualifikantenladen(db(), 20, 2)),
              QStringList({"502/0 Süd [TV Süd] #-1", "501/0 Nord [TV Nord] #-1"}));
}

VELMORA_INSTANTIATE_DB_TEST(Laden);

// ---------------------------------------------------------------------------------------------------------

Myitem zeile(int id, const QString& text) {
    Myitem m = leereZeile();
    m.id = id;
    m.partnerId = 0;
    m.text = text;
    return m;
}

Myitem label(const QString& text) {
    Myitem m = leereZeile();
    m.text = text;
    return m;
}

// Phase 1: groups A and B of 2 with one qualifier each and one best-placed; then phase 2 (a group of 3, or
// a knock-out) and optionally phase 3 (a group of 1 after one winner).
Gruppenauslosung auslosung(int kid, int phase2, bool phase3 = false) {
    Gruppenauslosung a;
    a.kid = kid;
    a.infos.phase = {0, phase2, phase3 ? 0 : -1};
    const bool g2 = phase2 == gruppeninfos::Gruppenphase;
    a.infos.gruppenanzahl = {2, g2 ? 1 : 0, phase3 ? 1 : -1};
    a.infos.teilnehmer = {2, g2 ? 3 : 0, phase3 ? 1 : -1};
    a.infos.besten = {1, g2 && phase3 ? 1 : 0, phase3 ? 0 : -1};
    a.infos.bestplazierten = {1, 0, phase3 ? 0 : -1};
    for (int n = 1; n <= 3; ++n)
        a.gruppen[n - 1] = gruppenanlegen(a.infos, n);
    a.gruppen[0][0].zeilen = {zeile(1, "Adam, Anna (1)"), zeile(2, "Berg, Bernd")};
    a.gruppen[0][1].zeilen = {zeile(3, "Cram, Clara"), leereZeile()};
    if (g2)
        a.gruppen[1][0].zeilen = {label("Sieger Gruppe B"), label("1. Bestplatzierter 2. Platz"),
                                  leereZeile()};
    if (phase3) a.gruppen[2][0].zeilen = {label("Sieger Gruppe C")};
    a.tische.tische = {"Tisch 1", "Tisch 2", "Tisch 3"};
    return a;
}

using Speichern = Auslosungsdb;

TEST_P(Speichern, NewDrawWritesGroupsStandingsAndSharedTables) {
    gruppenspeichern(db(), auslosung(10, gruppeninfos::Gruppenphase));
    EXPECT_EQ(gruppenRows(10),
              QStringList({"10|0|0|1|Adam, Anna (1)|-1|-1|0|0|1", "10|0|1|2|Berg, Bernd|-1|-1|0|0|1",
                           "10|1|0|3|Cram, Clara|-1|-1|0|0|1", "10|1|1|-1||-1|-1|0|0|1",
                           "10|2|0|-3|Sieger Gruppe B|1|0|0|0|2",
                           "10|2|1|-3|1. Bestplatzierter 2. Platz|-3|0|0|0|2", "10|2|2|-3||-2|-1|0|0|2"}));
    EXPECT_EQ(
        tabellenRows(10),
        QStringList({tabelle("10|0|0|1|Adam, Anna (1)", "-1|-1|1"),
                     tabelle("10|0|1|2|Berg, Bernd", "-1|-1|1"), tabelle("10|1|0|3|Cram, Clara", "-1|-1|1"),
                     tabelle("10|1|1|-1|", "-1|-1|1"), tabelle("10|2|0|-3|Sieger Gruppe B", "1|0|2"),
                     tabelle("10|2|1|-3|1. Bestplatzierter 2. Platz", "-3|0|2"),
                     tabelle("10|2|2|-3|", "-2|-1|2")}));
    // Every group gets every table: 3 tables for each of 3 groups.
    QStringList platten;
    for (const auto& [gid, phase] : {std::pair{0, 1}, std::pair{1, 1}, std::pair{2, 2}})
        for (int t = 1; t <= 3; ++t)
            platten << QStringLiteral("10|%1|Tisch %2|%3").arg(gid).arg(t).arg(phase);
    EXPECT_EQ(plattenRows(10), platten);
    // An empty line is stored with an empty text, not NULL.
    for (const char* table : {"Gruppen", "Tabellen"})
        EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE bez IS NULL")
                                     .arg(QLatin1String(table)))
                      .integer(u"n"),
                  0)
            << table;
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(Speichern, FixedTablesAndAKnockOutPhase) {
    Gruppenauslosung a = auslosung(10, gruppeninfos::EinfachesKO);
    a.tische.modus = Tischaufteilung::fest;
    a.tische.zuordnen(0, {"Tisch 2"});
    a.tische.zuordnen(1, {"Tisch 3", "Tisch 1"});
    gruppenspeichern(db(), a);
    EXPECT_EQ(gruppenRows(10),
              QStringList({"10|0|0|1|Adam, Anna (1)|-1|-1|0|1|1", "10|0|1|2|Berg, Bernd|-1|-1|0|1|1",
                           "10|1|0|3|Cram, Clara|-1|-1|0|1|1", "10|1|1|-1||-1|-1|0|1|1"}));
    EXPECT_EQ(tabellenRows(10).size(), 4);
    // The knock-out phase plays on all tables of the class.
    EXPECT_EQ(plattenRows(10), QStringList({"10|0|Tisch 2|1", "10|1|Tisch 1|1", "10|1|Tisch 3|1",
                                            "10|-1|Tisch 1|2", "10|-1|Tisch 2|2", "10|-1|Tisch 3|2"}));
}

TEST_P(Speichern, NewDrawReplacesAllRowsOfTheClassOnly) {
    for (const int kid : {10, 11}) {
        for (const int phase : {1, 2, 3}) {
            db().exec(QStringLiteral("INSERT INTO Gruppen VALUES (:k,7,0,99,'alt',-1,-1,0,0,:p)"),
                      {{":k", kid}, {":p", phase}});
            db().exec(QStringLiteral(
                          "INSERT INTO Tabellen VALUES (:k,7,0,99,'alt',1,1,0,3,0,33,20,0,0,0,-1,-1,:p)"),
                      {{":k", kid}, {":p", phase}});
            db().exec(QStringLiteral("INSERT INTO Platten VALUES (:k,7,'alt',:p)"),
                      {{":k", kid}, {":p", phase}});
        }
    }
    const QStringList other = allRows(11);
    gruppenspeichern(db(), auslosung(10, gruppeninfos::Gruppenphase));
    EXPECT_EQ(gruppenRows(10, "AND bez='alt'").size() + tabellenRows(10, "AND bez='alt'").size() +
                  plattenRows(10, "AND platte='alt'").size(),
              0);
    EXPECT_EQ(gruppenRows(10).size(), 7);
    EXPECT_EQ(allRows(11), other);
}

// A statement failing midway (after the old rows are deleted and the first group is written): the stored
// draw stays as it was.
TEST_P(Speichern, AFailureMidwayLeavesTheOldRows) {
    gruppenspeichern(db(), auslosung(10, gruppeninfos::Gruppenphase));
    const QStringList before = allRows(10);
    ASSERT_EQ(before.size(), 7 + 7 + 9);

    if (GetParam() == DbKind::File) {
        db().exec(
            QStringLiteral("CREATE TRIGGER fail_tab BEFORE INSERT ON Tabellen WHEN NEW.GID=1 BEGIN SELECT "
                           "RAISE(ABORT, 'kaputt'); END"));
    } else {
        db().exec(
            QStringLiteral("CREATE FUNCTION fail_tab() RETURNS trigger AS $$ BEGIN IF NEW.gid=1 THEN RAISE "
                           "EXCEPTION 'kaputt'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
        db().exec(
            QStringLiteral("CREATE TRIGGER fail_tab BEFORE INSERT ON Tabellen FOR EACH ROW EXECUTE FUNCTION "
                           "fail_tab()"));
    }
    Gruppenauslosung again = auslosung(10, gruppeninfos::EinfachesKO);
    std::swap(again.gruppen[0][0].zeilen, again.gruppen[0][1].zeilen);
    EXPECT_THROW(gruppenspeichern(db(), again), DbError);
    EXPECT_EQ(allRows(10), before);
    EXPECT_EQ(db().transactionDepth(), 0);
}

// A redraw of phase 2 after phase 1 has finished: phase 1 keeps its rows; the qualified players take
// their group and final place in phase 1's standings as their source; phase 3 waits for its qualifiers
// again.
TEST_P(Speichern, RedrawOfPhase2KeepsPhase1) {
    gruppenspeichern(db(), auslosung(10, gruppeninfos::Gruppenphase, true));
    // Phase 1 ended with Berg ahead of Adam in group A.
    db().exec(QStringLiteral("UPDATE Tabellen SET pos=1-pos WHERE KID=10 AND GID=0"));
    const QString phase1 = QStringLiteral("AND phase=1");
    const QStringList before = gruppenRows(10, phase1) + tabellenRows(10, phase1) + plattenRows(10, phase1);

    Gruppenauslosung redraw = auslosung(10, gruppeninfos::Gruppenphase, true);
    redraw.abPhase = 2;
    redraw.gruppen[0].clear(); // phase 1 is not drawn again
    redraw.gruppen[1][0].zeilen = {zeile(2, "Berg, Bernd"), zeile(3, "Cram, Clara"), leereZeile()};
    redraw.tische.tische = {"Tisch 4"};
    gruppenspeichern(db(), redraw);

    EXPECT_EQ(gruppenRows(10, phase1) + tabellenRows(10, phase1) + plattenRows(10, phase1), before);
    EXPECT_EQ(gruppenRows(10, "AND phase>1"),
              QStringList({"10|2|0|2|Berg, Bernd|0|0|0|0|2", "10|2|1|3|Cram, Clara|1|0|0|0|2",
                           "10|2|2|-3||-2|-1|0|0|2", "10|3|0|-3|Sieger Gruppe C|2|0|0|0|3"}));
    EXPECT_EQ(tabellenRows(10, "AND phase>1"),
              QStringList({tabelle("10|2|0|2|Berg, Bernd", "0|0|2"), tabelle("10|2|1|3|Cram, Clara", "1|0|2"),
                           tabelle("10|2|2|-3|", "-2|-1|2"), tabelle("10|3|0|-3|Sieger Gruppe C", "2|0|3")}));
    EXPECT_EQ(plattenRows(10, "AND phase>1"), QStringList({"10|2|Tisch 4|2", "10|3|Tisch 4|3"}));
}

// A redraw of phase 3 keeps phases 1 and 2 and takes its players' sources from phase 2's standings.
TEST_P(Speichern, RedrawOfPhase3KeepsPhases1And2) {
    gruppenspeichern(db(), auslosung(10, gruppeninfos::Gruppenphase, true));
    // Phase 2 ended: its qualifiers have moved in, Cram won.
    db().exec(QStringLiteral("UPDATE Tabellen SET SID=3,bez='Cram, Clara',pos=0 WHERE KID=10 AND GID=2 AND "
                             "bez='1. Bestplatzierter 2. Platz'"));
    db().exec(QStringLiteral("UPDATE Tabellen SET SID=2,bez='Berg, Bernd',pos=1 WHERE KID=10 AND GID=2 AND "
                             "bez='Sieger Gruppe B'"));
    const QString kept = QStringLiteral("AND phase<3");
    const QStringList before = gruppenRows(10, kept) + tabellenRows(10, kept) + plattenRows(10, kept);

    Gruppenauslosung redraw = auslosung(10, gruppeninfos::Gruppenphase, true);
    redraw.abPhase = 3;
    redraw.gruppen[2][0].zeilen = {zeile(3, "Cram, Clara")};
    redraw.tische.modus = Tischaufteilung::fest;
    redraw.tische.zuordnen(3, {"Tisch 2"});
    gruppenspeichern(db(), redraw);

    EXPECT_EQ(gruppenRows(10, kept) + tabellenRows(10, kept) + plattenRows(10, kept), before);
    EXPECT_EQ(gruppenRows(10, "AND phase=3"), QStringList({"10|3|0|3|Cram, Clara|2|0|0|1|3"}));
    EXPECT_EQ(tabellenRows(10, "AND phase=3"), QStringList({tabelle("10|3|0|3|Cram, Clara", "2|0|3")}));
    EXPECT_EQ(plattenRows(10, "AND phase=3"), QStringList({"10|3|Tisch 2|3"}));
}

VELMORA_INSTANTIATE_DB_TEST(Speichern);

} // namespace
