#include "play/matchrecord.h"

#include "store/db_procedures.h"
#include "support/testdb.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// --- Column-wise comparison, so a failure names the columns that differ --------------------------------

QString show(int v) {
    return QString::number(v);
}
QString show(bool v) {
    return v ? QStringLiteral("true") : QStringLiteral("false");
}
QString show(const QString& v) {
    return u'"' + v + u'"';
}
QString show(const std::optional<QString>& v) {
    return v ? show(*v) : QStringLiteral("NULL");
}
QString show(const std::optional<int>& v) {
    return v ? show(*v) : QStringLiteral("NULL");
}
QString show(const QDateTime& v) {
    return v.isValid() ? v.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QStringLiteral("NULL");
}
QString show(const QDate& v) {
    return v.isValid() ? v.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("NULL");
}

template <class R> using Columns = std::vector<std::pair<QString, std::function<QString(const R&)>>>;

#define COLUMN(R, name)                                                                                      \
    {                                                                                                        \
        QStringLiteral(#name), [](const R& r) { return show(r.name); }                                       \
    }

template <class R> void addSets(Columns<R>& c) {
    for (int k = 0; k < 9; ++k)
        c.push_back({QStringLiteral("satz%1").arg(k + 1), [k](const R& r) { return show(r.satz[k]); }});
}

const Columns<SpielplanRow>& matchColumns() {
    static const Columns<SpielplanRow> c = [] {
        using M = SpielplanRow;
        Columns<M> c{COLUMN(M, KID),      COLUMN(M, spielnummer), COLUMN(M, SID1),
                     COLUMN(M, spieler1), COLUMN(M, SID2),        COLUMN(M, spieler2)};
        addSets(c);
        c.insert(c.end(), {COLUMN(M, ergebnis),
                           COLUMN(M, parentspiel1),
                           COLUMN(M, parentsieger1),
                           COLUMN(M, parentspiel2),
                           COLUMN(M, parentsieger2),
                           COLUMN(M, parentGID1),
                           COLUMN(M, parentpos1),
                           COLUMN(M, parentGID2),
                           COLUMN(M, parentpos2),
                           COLUMN(M, in_planung),
                           COLUMN(M, begonnen),
                           COLUMN(M, beendet),
                           COLUMN(M, manuell),
                           COLUMN(M, spielstart),
                           COLUMN(M, spielende),
                           COLUMN(M, siegerSID),
                           COLUMN(M, verliererSID),
                           COLUMN(M, phase),
                           COLUMN(M, gruppe),
                           COLUMN(M, aufruf1_sp1),
                           COLUMN(M, aufruf1_sp2),
                           COLUMN(M, aufruf1_sch),
                           COLUMN(M, aufruf2_sp1),
                           COLUMN(M, aufruf2_sp2),
                           COLUMN(M, aufruf2_sch),
                           COLUMN(M, aufruf3_sp1),
                           COLUMN(M, aufruf3_sp2),
                           COLUMN(M, aufruf3_sch),
                           COLUMN(M, an_platte),
                           COLUMN(M, schiri),
                           COLUMN(M, geplanter_tisch),
                           COLUMN(M, geplanter_tag),
                           COLUMN(M, geplante_zeit),
                           COLUMN(M, platz),
                           COLUMN(M, TID)});
        return c;
    }();
    return c;
}

const Columns<TeamspielRow>& rubberColumns() {
    static const Columns<TeamspielRow> c = [] {
        using T = TeamspielRow;
        Columns<T> c{COLUMN(T, KID),  COLUMN(T, spielnummer), COLUMN(T, nummer),
                     COLUMN(T, MID1), COLUMN(T, SID1),        COLUMN(T, spieler1),
                     COLUMN(T, MID2), COLUMN(T, SID2),        COLUMN(T, spieler2)};
        addSets(c);
        c.insert(c.end(), {COLUMN(T, ergebnis),
                           COLUMN(T, in_planung),
                           COLUMN(T, begonnen),
                           COLUMN(T, beendet),
                           COLUMN(T, spielstart),
                           COLUMN(T, siegerSID),
                           COLUMN(T, verliererSID),
                           COLUMN(T, phase),
                           COLUMN(T, gruppe),
                           COLUMN(T, an_platte),
                           COLUMN(T, schiri),
                           COLUMN(T, geplanter_tisch),
                           COLUMN(T, geplanter_tag),
                           COLUMN(T, geplante_zeit),
                           COLUMN(T, TID),
                           COLUMN(T, sbez1),
                           COLUMN(T, sbez2),
                           COLUMN(T, p1),
                           COLUMN(T, p2),
                           COLUMN(T, parentspiel1),
                           COLUMN(T, parentsieger1),
                           COLUMN(T, parentspiel2),
                           COLUMN(T, parentsieger2),
                           COLUMN(T, parentGID1),
                           COLUMN(T, parentpos1),
                           COLUMN(T, parentGID2),
                           COLUMN(T, parentpos2)});
        return c;
    }();
    return c;
}

// "" when equal, else every column that differs with both values. Falls back on the struct's own
// comparison, so a column missing from the list above cannot hide a difference.
template <class R> std::string differences(const Columns<R>& columns, const R& expected, const R& actual) {
    QStringList out;
    for (const auto& [name, get] : columns) {
        const QString e = get(expected), a = get(actual);
        if (e != a) out << QStringLiteral("%1: expected %2, got %3").arg(name, e, a);
    }
    if (out.isEmpty() && !(expected == actual)) out << QStringLiteral("a column outside the comparison list");
    return out.join(QStringLiteral("; ")).toStdString();
}

std::string diff(const SpielplanRow& e, const SpielplanRow& a) {
    return differences(matchColumns(), e, a);
}
std::string diff(const TeamspielRow& e, const TeamspielRow& a) {
    return differences(rubberColumns(), e, a);
}

// --- Rows with a distinct value in every column ----------------------------------------------------------

QDateTime at(int day, int hour, int minute, int second) {
    return QDateTime(QDate(2024, 5, day), QTime(hour, minute, second));
}

// Every integer, text and time differs from every other, so values written into a wrong column show.
// The two patterns give the four flags and the two parentsieger columns different pairs of values.
SpielplanRow fullMatch(int kid, int snr, bool pattern) {
    SpielplanRow m;
    m.KID = kid;
    m.spielnummer = snr;
    m.SID1 = 101;
    m.spieler1 = QStringLiteral("Müller, Jörg");
    m.SID2 = 102;
    m.spieler2 = QStringLiteral("Weiß, Ute / \"Kern\", Bea");
    m.satz = {8, -9, -100, 13, -4, 6, 10, -14, std::nullopt};
    m.ergebnis = QStringLiteral("3:2");
    m.parentspiel1 = 11;
    m.parentsieger1 = pattern;
    m.parentspiel2 = 12;
    m.parentsieger2 = !pattern;
    m.parentGID1 = 21;
    m.parentpos1 = 22;
    m.parentGID2 = 23;
    m.parentpos2 = 24;
    m.in_planung = true;
    m.begonnen = pattern;
    m.beendet = !pattern;
    m.manuell = false;
    m.spielstart = at(11, 10, 0, 1);
    m.spielende = at(11, 10, 40, 2);
    m.siegerSID = 31;
    m.verliererSID = 32;
    m.phase = 2;
    m.gruppe = 15;
    m.aufruf1_sp1 = at(11, 9, 1, 3);
    m.aufruf1_sp2 = at(11, 9, 2, 4);
    m.aufruf1_sch = at(11, 9, 3, 5);
    m.aufruf2_sp1 = at(11, 9, 4, 6);
    m.aufruf2_sp2 = at(11, 9, 5, 7);
    m.aufruf2_sch = at(11, 9, 6, 8);
    m.aufruf3_sp1 = at(11, 9, 7, 9);
    m.aufruf3_sp2 = at(11, 9, 8, 10);
    m.aufruf3_sch = at(11, 9, 9, 11);
    m.an_platte = QStringLiteral("Tisch 3");
    m.schiri = QStringLiteral("Meier, Eva");
    m.geplanter_tisch = QStringLiteral("Tisch 7");
    m.geplanter_tag = QDate(2024, 5, 12);
    m.geplante_zeit = at(12, 9, 30, 12);
    m.platz = 3;
    m.TID = 4;
    return m;
}

TeamspielRow fullRubber(int kid, int snr, int nummer, bool pattern) {
    TeamspielRow r;
    r.KID = kid;
    r.spielnummer = snr;
    r.nummer = nummer;
    r.MID1 = 201;
    r.SID1 = 101;
    r.spieler1 = QStringLiteral("Müller, Jörg");
    r.MID2 = 202;
    r.SID2 = 102;
    r.spieler2 = QStringLiteral("Weiß, Ute");
    r.satz = {8, -9, -100, 13, -4, 6, 10, -14, std::nullopt};
    r.ergebnis = QStringLiteral("3:2");
    r.in_planung = true;
    r.begonnen = pattern;
    r.beendet = !pattern;
    r.spielstart = at(11, 10, 0, 1);
    r.siegerSID = 31;
    r.verliererSID = 32;
    r.phase = 2;
    r.gruppe = 15;
    r.an_platte = QStringLiteral("Tisch 3");
    r.schiri = QStringLiteral("Meier, Eva");
    r.geplanter_tisch = QStringLiteral("Tisch 7");
    r.geplanter_tag = QDate(2024, 5, 12);
    r.geplante_zeit = at(12, 9, 30, 12);
    r.TID = 4;
    r.sbez1 = QStringLiteral("A");
    r.sbez2 = QStringLiteral("Y");
    r.p1 = 41;
    r.p2 = 42;
    r.parentspiel1 = 11;
    r.parentsieger1 = pattern;
    r.parentspiel2 = 12;
    r.parentsieger2 = !pattern;
    r.parentGID1 = 21;
    r.parentpos1 = 22;
    r.parentGID2 = 23;
    r.parentpos2 = 24;
    return r;
}

// A match whose every column that may be NULL is NULL.
SpielplanRow nullMatch(int kid, int snr) {
    SpielplanRow m;
    m.KID = kid;
    m.spielnummer = snr;
    m.satz = {};
    m.ergebnis.reset();
    m.TID = 4;
    return m;
}

TeamspielRow nullRubber(int kid, int snr, int nummer) {
    TeamspielRow r;
    r.KID = kid;
    r.spielnummer = snr;
    r.nummer = nummer;
    r.satz = {};
    r.ergebnis.reset();
    r.TID = 4;
    return r;
}

// --- Writing and reading rows ----------------------------------------------------------------------

using MatchRecordTest = DbTest;

TEST_P(MatchRecordTest, EveryMatchColumnReadsBackAsWritten) {
    const std::vector<SpielplanRow> rows{fullMatch(7, 1, true), fullMatch(7, 2, false), nullMatch(7, 3)};
    for (const SpielplanRow& m : rows)
        matchrecord::insertMatch(db(), m);
    for (const SpielplanRow& m : rows) {
        const auto read = matchrecord::readMatch(db(), m.KID, m.spielnummer);
        ASSERT_TRUE(read.has_value()) << "match " << m.spielnummer;
        EXPECT_EQ(diff(m, *read), "") << "match " << m.spielnummer;
    }
    EXPECT_FALSE(matchrecord::readMatch(db(), 7, 4).has_value());
    EXPECT_FALSE(matchrecord::readMatch(db(), 8, 1).has_value());
}

TEST_P(MatchRecordTest, EveryRubberColumnReadsBackAsWritten) {
    const std::vector<TeamspielRow> rows{fullRubber(7, 1, 1, true), fullRubber(7, 1, 2, false),
                                         nullRubber(7, 1, 3)};
    for (const TeamspielRow& r : rows)
        matchrecord::insertRubber(db(), r);
    const auto read = matchrecord::rubbersOfMatch(db(), 7, 1);
    ASSERT_EQ(read.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(diff(rows[i], read[i]), "") << "rubber " << i + 1;
}

// What the store holds for a new match, read column by column without the row type in between.
struct StoredValue {
    const char* column;
    const char* value; // nullptr: NULL
};

void expectStored(const Row& row, const std::vector<StoredValue>& expected, int trueValue) {
    for (const auto& [column, value] : expected) {
        const QString name = QString::fromLatin1(column);
        if (!value) {
            EXPECT_TRUE(row.isNull(name)) << column << " is " << row.text(name).toStdString();
            continue;
        }
        ASSERT_FALSE(row.isNull(name)) << column << " is NULL";
        QString want = QString::fromUtf8(value);
        if (want == u"TRUE") want = QString::number(trueValue);
        EXPECT_EQ(row.text(name).toStdString(), want.toStdString()) << column;
    }
}

TEST_P(MatchRecordTest, NewMatchStartsOpenWithNoResultCallOrPlan) {
    SpielplanRow m;
    m.KID = 7;
    m.spielnummer = 5;
    m.SID1 = 101;
    m.spieler1 = QStringLiteral("Müller, Jörg");
    m.parentspiel2 = 3;
    m.parentsieger2 = true;
    m.TID = 4;
    // side 2 is left as it is: open, with an empty name (stored as empty text, not NULL)
    matchrecord::insertMatch(db(), m);

    const Row row = db().selectOne(QStringLiteral("SELECT * FROM Spielplan WHERE KID=7 AND spielnummer=5"));
    std::vector<StoredValue> expected{{"KID", "7"},
                                      {"spielnummer", "5"},
                                      {"SID1", "101"},
                                      {"spieler1", "Müller, Jörg"},
                                      {"SID2", "-1"},
                                      {"spieler2", ""},
                                      {"ergebnis", "0:0"},
                                      {"parentspiel1", "-1"},
                                      {"parentsieger1", "0"},
                                      {"parentspiel2", "3"},
                                      {"parentsieger2", "TRUE"},
                                      {"parentGID1", "-1"},
                                      {"parentpos1", "-1"},
                                      {"parentGID2", "-1"},
                                      {"parentpos2", "-1"},
                                      {"in_planung", "0"},
                                      {"begonnen", "0"},
                                      {"beendet", "0"},
                                      {"manuell", "0"},
                                      {"spielstart", nullptr},
                                      {"spielende", nullptr},
                                      {"siegerSID", "-1"},
                                      {"verliererSID", "-1"},
                                      {"phase", "1"},
                                      {"gruppe", "-1"},
                                      {"aufruf1_sp1", nullptr},
                                      {"aufruf1_sp2", nullptr},
                                      {"aufruf1_sch", nullptr},
                                      {"aufruf2_sp1", nullptr},
                                      {"aufruf2_sp2", nullptr},
                                      {"aufruf2_sch", nullptr},
                                      {"aufruf3_sp1", nullptr},
                                      {"aufruf3_sp2", nullptr},
                                      {"aufruf3_sch", nullptr},
                                      {"an_platte", nullptr},
                                      {"schiri", nullptr},
                                      {"geplanter_tisch", nullptr},
                                      {"geplanter_tag", nullptr},
                                      {"geplante_zeit", nullptr},
                                      {"reserve", nullptr},
                                      {"platz", "-1"},
                                      {"TID", "4"}};
    for (const char* satz : {"satz1", "satz2", "satz3", "satz4", "satz5", "satz6", "satz7", "satz8", "satz9"})
        expected.push_back({satz, "0"});
    expectStored(row, expected, db().trueValue());
    EXPECT_EQ(row.columnCount(), 51);
    EXPECT_EQ(stateOf(*matchrecord::readMatch(db(), 7, 5)), MatchState::Open);
}

TEST_P(MatchRecordTest, TeamMatchGetsItsRubbersNumberedFromOne) {
    SpielplanRow m;
    m.KID = 7;
    m.spielnummer = 9;
    m.SID1 = 201;
    m.spieler1 = QStringLiteral("TTC Nord");
    m.SID2 = -1;
    m.spieler2 = QStringLiteral("Sieger Spiel 4");
    m.parentspiel2 = 4;
    m.parentsieger2 = true;
    m.parentGID1 = 2;
    m.parentpos1 = 0;
    m.phase = 2;
    m.gruppe = -1;
    m.TID = 4;
    matchrecord::insertMatchWithRubbers(db(), m, 5);

    const Rows rows =
        db().select(QStringLiteral("SELECT * FROM Teamspiele WHERE KID=7 AND spielnummer=9 ORDER BY nummer"));
    ASSERT_EQ(rows.size(), 5);
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QByteArray nummer = QByteArray::number(i + 1);
        std::vector<StoredValue> expected{{"KID", "7"},
                                          {"spielnummer", "9"},
                                          {"nummer", nummer.constData()},
                                          {"MID1", "201"},
                                          {"SID1", "-1"},
                                          {"spieler1", "TTC Nord"},
                                          {"MID2", "-1"},
                                          {"SID2", "-1"},
                                          {"spieler2", "Sieger Spiel 4"},
                                          {"ergebnis", "0:0"},
                                          {"in_planung", "0"},
                                          {"begonnen", "0"},
                                          {"beendet", "0"},
                                          {"manuell", "0"},
                                          {"spielstart", nullptr},
                                          {"spielende", nullptr},
                                          {"siegerSID", "-1"},
                                          {"verliererSID", "-1"},
                                          {"phase", "2"},
                                          {"gruppe", "-1"},
                                          {"an_platte", nullptr},
                                          {"schiri", nullptr},
                                          {"geplanter_tisch", nullptr},
                                          {"geplanter_tag", nullptr},
                                          {"geplante_zeit", nullptr},
                                          {"TID", "4"},
                                          {"sbez1", nullptr},
                                          {"sbez2", nullptr},
                                          {"p1", nullptr},
                                          {"p2", nullptr},
                                          {"parentspiel1", "-1"},
                                          {"parentsieger1", "0"},
                                          {"parentspiel2", "4"},
                                          {"parentsieger2", "TRUE"},
                                          {"parentGID1", "2"},
                                          {"parentpos1", "0"},
                                          {"parentGID2", "-1"},
                                          {"parentpos2", "-1"}};
        for (const char* satz :
             {"satz1", "satz2", "satz3", "satz4", "satz5", "satz6", "satz7", "satz8", "satz9"})
            expected.push_back({satz, "0"});
        expectStored(rows[i], expected, db().trueValue());
        EXPECT_EQ(rows[i].columnCount(), 47);
    }
}

TEST_P(MatchRecordTest, ListsHoldTheirClassAndPhaseInNumberOrder) {
    // Written out of order, across two classes, phases and team matches.
    const int numbers[] = {4, 1, 6, 2, 5, 3};
    for (int n : numbers) {
        SpielplanRow m = fullMatch(7, n, n % 2 == 0);
        m.phase = n <= 3 ? 1 : 2;
        matchrecord::insertMatchWithRubbers(db(), m, n == 2 ? 3 : 0);
        matchrecord::insertMatchWithRubbers(db(), fullMatch(8, n, true), n == 2 ? 2 : 0);
    }
    auto numbersOf = [](const QVector<SpielplanRow>& rows) {
        std::vector<int> out;
        for (const auto& r : rows)
            out.push_back(r.KID * 100 + r.spielnummer);
        return out;
    };
    EXPECT_EQ(numbersOf(matchrecord::matchesOfClass(db(), 7)),
              (std::vector<int>{701, 702, 703, 704, 705, 706}));
    EXPECT_EQ(numbersOf(matchrecord::matchesOfPhase(db(), 7, 2)), (std::vector<int>{704, 705, 706}));
    EXPECT_EQ(numbersOf(matchrecord::matchesOfPhase(db(), 7, 3)), (std::vector<int>{}));

    std::vector<int> rubbers;
    for (const auto& r : matchrecord::rubbersOfClass(db(), 7))
        rubbers.push_back(r.KID * 100 + r.spielnummer * 10 + r.nummer);
    EXPECT_EQ(rubbers, (std::vector<int>{721, 722, 723}));
    EXPECT_EQ(matchrecord::rubbersOfMatch(db(), 8, 2).size(), 2);
    EXPECT_TRUE(matchrecord::rubbersOfMatch(db(), 8, 3).isEmpty());
}

TEST_P(MatchRecordTest, AMoveThatFailsHalfwayLeavesTheMatchAsItWas) {
    const SpielplanRow before = fullMatch(7, 2, true);
    matchrecord::insertMatch(db(), before);
    // Without the rubber table every move that also writes the rubbers fails after its first statement.
    db().exec(QStringLiteral("DROP TABLE Teamspiele"));
    const std::vector<std::pair<const char*, std::function<void()>>> moves{
        {"called to open", [&] { matchrecord::resetCalledToOpen(db(), 7, 2); }},
        {"started to called", [&] { matchrecord::resetStartedToCalled(db(), 7, 2); }},
        {"withdraw with rubbers",
         [&] { matchrecord::withdrawResult(db(), 7, 2, matchrecord::Rubbers::Withdraw); }},
        {"new team match", [&] { matchrecord::insertMatchWithRubbers(db(), fullMatch(7, 3, true), 2); }},
    };
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        EXPECT_THROW(move(), DbError);
        EXPECT_EQ(db().transactionDepth(), 0);
        EXPECT_EQ(diff(before, *matchrecord::readMatch(db(), 7, 2)), "");
        EXPECT_FALSE(matchrecord::readMatch(db(), 7, 3).has_value());
    }
}

VELMORA_INSTANTIATE_DB_TEST(MatchRecordTest);

// --- Moving a match between states -------------------------------------------------------------------

const QDateTime kNow = at(11, 14, 7, 31);

struct Move {
    std::string name;
    // The state every match and rubber of the fixture is in before the move.
    std::function<void(SpielplanRow&, TeamspielRow&)> before;
    std::function<void(Tdb_procedures&)> act; // on match 2 of class 7
    std::function<void(SpielplanRow&)> changesMatch;
    std::function<void(TeamspielRow&)> changesRubbers; // empty: the rubbers stay as they are
    MatchState after;
};

void PrintTo(const Move& m, std::ostream* os) {
    *os << m.name;
}

void asCalled(SpielplanRow& m, TeamspielRow& r) {
    m.in_planung = r.in_planung = true;
    m.begonnen = r.begonnen = m.beendet = r.beendet = false;
}
void asStarted(SpielplanRow& m, TeamspielRow& r) {
    m.begonnen = r.begonnen = true;
    m.in_planung = r.in_planung = m.beendet = r.beendet = false;
}
void asFinished(SpielplanRow& m, TeamspielRow& r) {
    m.beendet = r.beendet = true;
    m.in_planung = r.in_planung = m.begonnen = r.begonnen = false;
}
void asOpen(SpielplanRow& m, TeamspielRow& r) {
    m.in_planung = r.in_planung = m.begonnen = r.begonnen = m.beendet = r.beendet = false;
    m.aufruf1_sp1 = m.aufruf1_sp2 = m.aufruf1_sch = QDateTime();
    m.aufruf2_sp1 = m.aufruf2_sp2 = m.aufruf2_sch = QDateTime();
    m.aufruf3_sp1 = m.aufruf3_sp2 = m.aufruf3_sch = QDateTime();
}

QDateTime& recallColumn(SpielplanRow& m, matchrecord::Recall r) {
    using matchrecord::Recall;
    switch (r) {
    case Recall::aufruf2_sp1:
        return m.aufruf2_sp1;
    case Recall::aufruf2_sp2:
        return m.aufruf2_sp2;
    case Recall::aufruf2_sch:
        return m.aufruf2_sch;
    case Recall::aufruf3_sp1:
        return m.aufruf3_sp1;
    case Recall::aufruf3_sp2:
        return m.aufruf3_sp2;
    case Recall::aufruf3_sch:
        return m.aufruf3_sch;
    }
    return m.aufruf2_sp1;
}

std::vector<Move> moves() {
    using namespace matchrecord;
    std::vector<Move> out{
        {"Plan",
         asOpen,
         [](Tdb_procedures& db) {
             plan(db, 7, 2, QStringLiteral("Tisch 4"), QDate(2024, 5, 13), at(13, 15, 30, 0),
                  QStringLiteral("Ohm, Kai"));
         },
         [](SpielplanRow& m) {
             m.geplanter_tisch = QStringLiteral("Tisch 4");
             m.geplanter_tag = QDate(2024, 5, 13);
             m.geplante_zeit = at(13, 15, 30, 0);
             m.schiri = QStringLiteral("Ohm, Kai");
         },
         {},
         MatchState::Open},
        {"PlanWithoutTableTimeOrUmpire",
         asCalled,
         [](Tdb_procedures& db) { plan(db, 7, 2, QString(), QDate(2024, 5, 13), QDateTime(), QString()); },
         [](SpielplanRow& m) {
             m.geplanter_tisch.reset();
             m.geplanter_tag = QDate(2024, 5, 13);
             m.geplante_zeit = QDateTime();
             m.schiri.reset();
         },
         {},
         MatchState::Called},
        {"Schedule",
         asOpen,
         [](Tdb_procedures& db) {
             schedule(db, 7, 2, QDate(2024, 5, 14), QStringLiteral("Tisch 9"), at(14, 8, 0, 0));
         },
         [](SpielplanRow& m) {
             m.geplanter_tag = QDate(2024, 5, 14);
             m.geplanter_tisch = QStringLiteral("Tisch 9");
             m.geplante_zeit = at(14, 8, 0, 0);
         },
         {},
         MatchState::Open},
        {"ClearSchedule",
         asFinished,
         [](Tdb_procedures& db) { clearSchedule(db, 7, 2); },
         [](SpielplanRow& m) {
             m.schiri.reset();
             m.geplanter_tag = QDate();
             m.geplanter_tisch.reset();
             m.geplante_zeit = QDateTime();
         },
         {},
         MatchState::Finished},
        {"Call",
         // an earlier call that was reset left its table, umpire and manual mark behind
         [](SpielplanRow& m, TeamspielRow& r) {
             asOpen(m, r);
             m.manuell = true;
         },
         [](Tdb_procedures& db) {
             call(db, 7, 2, kNow, QStringLiteral("Tisch 5"), QStringLiteral("Ohm, Kai"), false);
         },
         [](SpielplanRow& m) {
             m.aufruf1_sp1 = m.aufruf1_sp2 = m.aufruf1_sch = kNow;
             m.in_planung = true;
             m.an_platte = QStringLiteral("Tisch 5");
             m.schiri = QStringLiteral("Ohm, Kai");
             m.manuell = false;
         },
         {},
         MatchState::Called},
        {"CallManuallyWithoutUmpire",
         asOpen,
         [](Tdb_procedures& db) { call(db, 7, 2, kNow, QStringLiteral("Halle 2"), QString(), true); },
         [](SpielplanRow& m) {
             m.aufruf1_sp1 = m.aufruf1_sp2 = m.aufruf1_sch = kNow;
             m.in_planung = true;
             m.an_platte = QStringLiteral("Halle 2");
             m.schiri.reset();
             m.manuell = true;
         },
         {},
         MatchState::Called},
        {"Start",
         asCalled,
         [](Tdb_procedures& db) { start(db, 7, 2, kNow); },
         [](SpielplanRow& m) {
             m.spielstart = kNow;
             m.in_planung = false;
             m.begonnen = true;
         },
         {},
         MatchState::Started},
        {"Finish",
         [](SpielplanRow& m, TeamspielRow& r) {
             asStarted(m, r);
             m.satz = {};
             m.ergebnis = QStringLiteral("0:0");
             m.siegerSID = m.verliererSID = -1;
         },
         [](Tdb_procedures& db) {
             finish(db, 7, 2, kNow, Saetze{-5, 9, -100, 12, std::nullopt}, QStringLiteral("2:3"), 102, 101);
         },
         [](SpielplanRow& m) {
             m.spielende = kNow;
             m.beendet = true;
             m.begonnen = false;
             m.satz = {-5, 9, -100, 12, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
             m.ergebnis = QStringLiteral("2:3");
             m.siegerSID = 102;
             m.verliererSID = 101;
         },
         {},
         MatchState::Finished},
        {"WithdrawResultKeepsRubbers",
         asFinished,
         [](Tdb_procedures& db) { withdrawResult(db, 7, 2, Rubbers::Keep); },
         [](SpielplanRow& m) {
             m.beendet = false;
             m.satz = {};
             m.ergebnis.reset();
             m.siegerSID = m.verliererSID = -1;
         },
         {},
         MatchState::Open},
        {"WithdrawResultWithRubbers", asFinished,
         [](Tdb_procedures& db) { withdrawResult(db, 7, 2, Rubbers::Withdraw); },
         [](SpielplanRow& m) {
             m.beendet = false;
             m.satz = {};
             m.ergebnis.reset();
             m.siegerSID = m.verliererSID = -1;
         },
         [](TeamspielRow& r) {
             r.beendet = false;
             r.satz = {};
             r.ergebnis.reset();
             r.siegerSID = r.verliererSID = -1;
         },
         MatchState::Open},
        {"ResetCalledToOpen", asCalled, [](Tdb_procedures& db) { resetCalledToOpen(db, 7, 2); },
         [](SpielplanRow& m) {
             m.aufruf1_sp1 = m.aufruf1_sp2 = m.aufruf1_sch = QDateTime();
             m.aufruf2_sp1 = m.aufruf2_sp2 = m.aufruf2_sch = QDateTime();
             m.aufruf3_sp1 = m.aufruf3_sp2 = m.aufruf3_sch = QDateTime();
             m.in_planung = false; // an_platte, schiri and manuell stay for the next call to overwrite
         },
         [](TeamspielRow& r) { r.in_planung = false; }, MatchState::Open},
        {"ResetStartedToCalled", asStarted, [](Tdb_procedures& db) { resetStartedToCalled(db, 7, 2); },
         [](SpielplanRow& m) {
             m.spielstart = QDateTime();
             m.begonnen = false;
             m.in_planung = true;
         },
         [](TeamspielRow& r) {
             r.spielstart = QDateTime();
             r.begonnen = false;
             r.in_planung = true;
         },
         MatchState::Called},
        {"ResetFinishedToStartedKeepsFirstStartAndEnd",
         // the result has been withdrawn already
         [](SpielplanRow& m, TeamspielRow& r) {
             asFinished(m, r);
             m.beendet = false;
             m.satz = {};
             m.ergebnis.reset();
         },
         [](Tdb_procedures& db) { resetFinishedToStarted(db, 7, 2); },
         [](SpielplanRow& m) {
             m.begonnen = true;
             m.in_planung = false;
             m.beendet = false;
         },
         {},
         MatchState::Started},
    };
    for (Recall r : {Recall::aufruf2_sp1, Recall::aufruf2_sp2, Recall::aufruf2_sch, Recall::aufruf3_sp1,
                     Recall::aufruf3_sp2, Recall::aufruf3_sch}) {
        const std::string column = columnName(r).toStdString();
        out.push_back({"Record_" + column,
                       [r](SpielplanRow& m, TeamspielRow& t) {
                           asCalled(m, t);
                           recallColumn(m, r) = QDateTime();
                       },
                       [r](Tdb_procedures& db) { recordRecall(db, 7, 2, r, kNow); },
                       [r](SpielplanRow& m) { recallColumn(m, r) = kNow; },
                       {},
                       MatchState::Called});
        out.push_back({"Unrecord_" + column,
                       asCalled,
                       [r](Tdb_procedures& db) { recordRecall(db, 7, 2, r, QDateTime()); },
                       [r](SpielplanRow& m) { recallColumn(m, r) = QDateTime(); },
                       {},
                       MatchState::Called});
    }
    return out;
}

class MoveTest : public ::testing::TestWithParam<std::tuple<DbKind, Move>> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(std::get<0>(GetParam()));
        tdb = std::make_unique<TestDatabase>(std::get<0>(GetParam()));
    }
    Tdb_procedures& db() { return tdb->db(); }
    std::unique_ptr<TestDatabase> tdb;
};

// Matches 1 to 3 of class 7 and match 2 of class 8, each with two rubbers, all in the same state, so a
// statement that reached beyond its match would show on the others.
TEST_P(MoveTest, ChangesExactlyItsColumnsOfItsMatch) {
    const Move& move = std::get<1>(GetParam());
    std::vector<SpielplanRow> matches;
    std::vector<TeamspielRow> rubbers;
    for (auto [kid, snr] : {std::pair{7, 1}, {7, 2}, {7, 3}, {8, 2}}) {
        for (int n = 1; n <= 2; ++n) {
            SpielplanRow m = fullMatch(kid, snr, snr != 3);
            TeamspielRow r = fullRubber(kid, snr, n, n == 1);
            move.before(m, r);
            if (n == 1) matches.push_back(m);
            rubbers.push_back(r);
        }
    }
    for (const auto& m : matches)
        matchrecord::insertMatch(db(), m);
    for (const auto& r : rubbers)
        matchrecord::insertRubber(db(), r);

    move.act(db());

    for (SpielplanRow expected : matches) {
        const bool target = expected.KID == 7 && expected.spielnummer == 2;
        if (target) move.changesMatch(expected);
        const auto actual = matchrecord::readMatch(db(), expected.KID, expected.spielnummer);
        ASSERT_TRUE(actual.has_value());
        EXPECT_EQ(diff(expected, *actual), "") << "match " << expected.KID << "/" << expected.spielnummer;
        if (target) {
            EXPECT_EQ(stateOf(*actual), move.after);
        }
    }
    for (TeamspielRow expected : rubbers) {
        if (expected.KID == 7 && expected.spielnummer == 2 && move.changesRubbers)
            move.changesRubbers(expected);
        const auto actual = matchrecord::rubbersOfMatch(db(), expected.KID, expected.spielnummer);
        ASSERT_GE(actual.size(), expected.nummer);
        EXPECT_EQ(diff(expected, actual[expected.nummer - 1]), "")
            << "rubber " << expected.KID << "/" << expected.spielnummer << "/" << expected.nummer;
    }
    // Flags are stored as the engine's TRUE or 0, whichever statement wrote them.
    for (const QString& table : {QStringLiteral("Spielplan"), QStringLiteral("Teamspiele")}) {
        for (const Row& r :
             db().select(QStringLiteral("SELECT in_planung,begonnen,beendet FROM %1").arg(table))) {
            for (const char* flag : {"in_planung", "begonnen", "beendet"}) {
                const int v = r.integer(QString::fromLatin1(flag));
                EXPECT_TRUE(v == 0 || v == db().trueValue())
                    << table.toStdString() << "." << flag << " = " << v;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveTest, ::testing::Combine(::testing::ValuesIn(testBackends()), ::testing::ValuesIn(moves())),
    [](const ::testing::TestParamInfo<MoveTest::ParamType>& info) {
        return std::get<1>(info.param).name + (std::get<0>(info.param) == DbKind::File ? "_File" : "_Server");
    });

// --- States and state tags -------------------------------------------------------------------------

struct TagCase {
    const char* name;
    bool in_planung, begonnen, beendet;
    int sid1, sid2;
    bool resourcesFree;
    MatchState state;
    StateTag tag;
};

class StateTagTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(StateTagTest, FollowsTheStoredFlagsAndForAnOpenMatchItsSidesAndResources) {
    const TagCase& c = GetParam();
    SpielplanRow m;
    m.in_planung = c.in_planung;
    m.begonnen = c.begonnen;
    m.beendet = c.beendet;
    m.SID1 = c.sid1;
    m.SID2 = c.sid2;
    EXPECT_EQ(stateOf(m), c.state);
    EXPECT_EQ(stateTag(m, c.resourcesFree), c.tag);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StateTagTest,
    ::testing::Values(
        TagCase{"OpenAndFree", false, false, false, 11, 12, true, MatchState::Open, StateTag::Playable},
        TagCase{"OpenButBusy", false, false, false, 11, 12, false, MatchState::Open, StateTag::Waiting},
        TagCase{"OpenSideStillOpen", false, false, false, 11, -1, true, MatchState::Open, StateTag::Waiting},
        TagCase{"OpenAgainstBye", false, false, false, -2, 12, true, MatchState::Open, StateTag::Waiting},
        TagCase{"Called", true, false, false, 11, 12, true, MatchState::Called, StateTag::Called},
        TagCase{"CalledWhileBusy", true, false, false, 11, 12, false, MatchState::Called, StateTag::Called},
        TagCase{"Started", false, true, false, 11, 12, false, MatchState::Started, StateTag::Started},
        TagCase{"Finished", false, false, true, 11, 12, true, MatchState::Finished, StateTag::Finished},
        // a damaged row with two flags counts as the further state, never as open
        TagCase{"CalledAndFinished", true, false, true, 11, 12, true, MatchState::Finished,
                StateTag::Finished},
        TagCase{"CalledAndStarted", true, true, false, 11, 12, true, MatchState::Started, StateTag::Started}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
