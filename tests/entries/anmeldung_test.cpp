#include "entries/anmeldung.h"

#include "store/appstate.h"
#include "support/testdb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

namespace {

struct Player {
    int sid;
    const char* nachname;
    const char* vorname;
    const char* verein;
    bool angemeldet;
};

// Tournament 1: names in mixed case and with umlauts, so the order and the search cannot lean on code
// points; tournament 2 has a player and a team that must never show up or change.
const Player kPlayers[] = {
    {1, "Zorn", "Eva", "TTC Süd", true},    {2, "Özdemir", "Can", "SV Ost", false},
    {3, "adler", "Tom", "TTC Nord", false}, {4, "Meier", "Anton", "ATSV", true},
    {5, "Meier", "Anna", "TSV", false},     {6, "Meister", "Bernd", "TTC Nord", false},
    {7, "Mei", "Zoe", "SV Ost", false},     {8, "Bäcker", "Udo", "ATSV", false},
};

class AnmeldungTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Vereinsmeisterschaft");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        for (const Player& p : kPlayers)
            addPlayer(1, p.sid, QString::fromUtf8(p.nachname), QString::fromUtf8(p.vorname),
                      QString::fromUtf8(p.verein), p.angemeldet);
        addPlayer(2, 50, QStringLiteral("Meier"), QStringLiteral("Aaron"), QStringLiteral("Fremd"), false);
        // Team "TTC Nord I": players 3 and 6, reserve 8; player 6 also in a doubles position and twice
        // in the line-up, an empty position as 0 and one as NULL.
        addTeam(1, 30, QStringLiteral("TTC Nord I"), {3, 6, 0, QVariant(), 8, 6}, false);
        addTeam(1, 31, QStringLiteral("ATSV"),
                {4, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, true);
        addTeam(1, 32, QStringLiteral("äußerst schnell"),
                {1, 2, QVariant(), QVariant(), QVariant(), QVariant()}, false);
        addTeam(2, 40, QStringLiteral("Anderswo"),
                {50, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, false);
        anmeldung = std::make_unique<Anmeldung>(state, db());
    }

    void addPlayer(int tid, int sid, const QString& nachname, const QString& vorname, const QString& verein,
                   bool angemeldet) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten VALUES (:t,:s,:n,:v,:c,:g,:nr,'KV','BV','LV','DE',"
                                 "12.5,:b,:a,:m,:f,'Kreisliga')"),
                  {{":t", tid},
                   {":s", sid},
                   {":n", nachname},
                   {":v", vorname},
                   {":c", verein},
                   {":g", QDate(1990, 1, 1).addDays(sid)},
                   {":nr", sid + 100},
                   {":b", true},
                   {":a", angemeldet},
                   {":m", true},
                   {":f", false}});
    }

    // positions: s1..s4, r1, r2; the doubles pair 1 repeats s1 and s2.
    void addTeam(int tid, int mid, const QString& name, const QList<QVariant>& positions, bool angemeldet) {
        db().exec(
            QStringLiteral("INSERT INTO Teams VALUES (:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,"
                           ":d12,:d13,:d14,:d15)"),
            {{":d0", tid},
             {":d1", 99},
             {":d2", mid},
             {":d3", name},
             {":d4", positions[0]},
             {":d5", positions[1]},
             {":d6", positions[2]},
             {":d7", positions[3]},
             {":d8", positions[4]},
             {":d9", positions[5]},
             {":d10", positions[0]},
             {":d11", positions[1]},
             {":d12", 0},
             {":d13", QVariant()},
             {":d14", angemeldet},
             {":d15", QStringLiteral("Verein %1").arg(mid)}});
    }

    // Every cell of every player and team row, keyed "table id column".
    QMap<QString, QString> snapshot() {
        QMap<QString, QString> cells;
        const auto add = [&](const QString& table, const QString& key) {
            QSqlQuery q(db().database());
            EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1").arg(table)));
            while (q.next()) {
                const QSqlRecord rec = q.record();
                const QString id = rec.value(key).toString();
                for (int i = 0; i < rec.count(); ++i)
                    cells.insert(cell(table, id.toInt(), rec.fieldName(i)),
                                 rec.isNull(i) ? QStringLiteral("NULL") : rec.value(i).toString());
            }
        };
        add(QStringLiteral("Spielerdaten"), QStringLiteral("SID"));
        add(QStringLiteral("Teams"), QStringLiteral("MID"));
        return cells;
    }

    static QString cell(const QString& table, int id, const QString& column) {
        return QStringLiteral("%1 %2 %3").arg(table).arg(id).arg(column.toLower());
    }

    // The cells that differ between two snapshots, as "key: old -> new".
    static QStringList diff(const QMap<QString, QString>& before, const QMap<QString, QString>& after) {
        QStringList out;
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value())
                out << it.key() + QStringLiteral(": ") + before.value(it.key()) + QStringLiteral(" -> ") +
                           it.value();
        if (before.size() != after.size()) out << QStringLiteral("rows added or removed");
        return out;
    }

    QString stored(int trueOrFalse) { return QString::number(trueOrFalse ? db().trueValue() : 0); }

    QStringList names(const QVector<AnmeldeEintrag>& list) {
        QStringList out;
        for (const AnmeldeEintrag& e : list)
            out << e.name;
        return out;
    }

    QString selectedPlayerName() {
        const int i = anmeldung->selectedPlayer();
        return i < 0 ? QString() : anmeldung->players()[i].name;
    }

    AppState state;
    std::unique_ptr<Anmeldung> anmeldung;
};

TEST_P(AnmeldungTest, OpeningListsTheTournamentsEntrantsInGermanOrder) {
    anmeldung->open();

    EXPECT_EQ(names(anmeldung->players()),
              QStringList({"adler, Tom", "Bäcker, Udo", "Mei, Zoe", "Meier, Anna", "Meier, Anton",
                           "Meister, Bernd", "Özdemir, Can", "Zorn, Eva"}));
    const AnmeldeEintrag& meier = anmeldung->players()[4];
    EXPECT_EQ(meier.id, 4);
    EXPECT_EQ(meier.text, QStringLiteral("Meier, Anton (ATSV)"));
    EXPECT_EQ(meier.verein, QStringLiteral("ATSV"));
    EXPECT_TRUE(meier.angemeldet);
    EXPECT_FALSE(anmeldung->players()[3].angemeldet);
    EXPECT_EQ(anmeldung->selectedPlayer(), 0);

    EXPECT_EQ(names(anmeldung->teams()), QStringList({"ATSV", "äußerst schnell", "TTC Nord I"}));
    EXPECT_EQ(anmeldung->teams()[0].id, 31);
    EXPECT_EQ(anmeldung->teams()[0].text, QStringLiteral("ATSV"));
    EXPECT_TRUE(anmeldung->teams()[0].angemeldet);
    EXPECT_FALSE(anmeldung->teams()[2].angemeldet);
    EXPECT_EQ(anmeldung->selectedTeam(), 0);
}

TEST_P(AnmeldungTest, SortingByClubOrdersByClubThenName) {
    anmeldung->open();
    anmeldung->selectPlayer(5);
    anmeldung->sortPlayers(Anmeldung::Sortierung::Verein);

    EXPECT_EQ(names(anmeldung->players()),
              QStringList({"Bäcker, Udo", "Meier, Anton", "Mei, Zoe", "Özdemir, Can", "Meier, Anna",
                           "adler, Tom", "Meister, Bernd", "Zorn, Eva"}));
    EXPECT_EQ(anmeldung->selectedPlayer(), 0);
    // The search still finds by surname, whatever the order of the lines.
    anmeldung->searchPlayer(QStringLiteral("Mei"));
    EXPECT_EQ(selectedPlayerName(), QStringLiteral("Mei, Zoe"));
    anmeldung->searchPlayer(QStringLiteral("meier"));
    EXPECT_EQ(selectedPlayerName(), QStringLiteral("Meier, Anna"));

    anmeldung->sortPlayers(Anmeldung::Sortierung::Nachname);
    EXPECT_EQ(anmeldung->players().first().name, QStringLiteral("adler, Tom"));
}

// Search as the operator types: the first entrant in the order of surname and first name whose surname
// starts with the text; no match keeps the line selected before.
struct SearchCase {
    const char* text;
    const char* expected;
};

TEST_P(AnmeldungTest, SearchSelectsTheFirstMatchingSurname) {
    const SearchCase cases[] = {
        {"M", "Mei, Zoe"},          {"Mei", "Mei, Zoe"},   {"Meie", "Meier, Anna"}, {"MEIER", "Meier, Anna"},
        {"meis", "Meister, Bernd"}, {"ö", "Özdemir, Can"}, {"Öz", "Özdemir, Can"},  {"bä", "Bäcker, Udo"},
        {"A", "adler, Tom"},        {"", "adler, Tom"},    {"Ba", "Zorn, Eva"},     {"Meier, A", "Zorn, Eva"},
        {"%", "Zorn, Eva"},         {"M_i", "Zorn, Eva"},  {" Mei", "Zorn, Eva"},   {"Meier ", "Zorn, Eva"},
        {"Oz", "Zorn, Eva"},
    };
    anmeldung->open();
    const int zorn = names(anmeldung->players()).indexOf(QStringLiteral("Zorn, Eva"));
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.text);
        anmeldung->selectPlayer(zorn);
        const int result = anmeldung->searchPlayer(QString::fromUtf8(c.text));
        EXPECT_EQ(result, anmeldung->selectedPlayer());
        EXPECT_EQ(selectedPlayerName(), QString::fromUtf8(c.expected));
    }
}

TEST_P(AnmeldungTest, TeamSearchMatchesTheTeamName) {
    struct TeamCase {
        const char* text;
        const char* before; // the team selected before the search
        const char* expected;
    };
    const TeamCase cases[] = {
        {"a", "TTC Nord I", "ATSV"},
        {"ttc", "ATSV", "TTC Nord I"},
        {"Ä", "ATSV", "äußerst schnell"},
        {"ÄU", "TTC Nord I", "äußerst schnell"},
        {"Nord", "äußerst schnell", "äußerst schnell"},
        {"x", "ATSV", "ATSV"},
    };
    anmeldung->open();
    const QStringList teams = names(anmeldung->teams());
    for (const TeamCase& c : cases) {
        SCOPED_TRACE(c.text);
        anmeldung->selectTeam(teams.indexOf(QString::fromUtf8(c.before)));
        anmeldung->searchTeam(QString::fromUtf8(c.text));
        ASSERT_GE(anmeldung->selectedTeam(), 0);
        EXPECT_EQ(anmeldung->teams()[anmeldung->selectedTeam()].name, QString::fromUtf8(c.expected));
    }
}

TEST_P(AnmeldungTest, ToggleWritesExactlyTheFlagOfTheSelectedPlayer) {
    struct ToggleCase {
        const char* search;
        int sid;
        bool before;
    };
    const ToggleCase cases[] = {{"Meier", 5, false}, {"Meier", 5, true}, {"Zo", 1, true}, {"Zo", 1, false}};
    anmeldung->open();
    for (const ToggleCase& c : cases) {
        SCOPED_TRACE(c.search + std::to_string(c.before));
        anmeldung->searchPlayer(QString::fromUtf8(c.search));
        const int line = anmeldung->selectedPlayer();
        ASSERT_EQ(anmeldung->players()[line].id, c.sid);
        ASSERT_EQ(anmeldung->players()[line].angemeldet, c.before);
        const auto before = snapshot();

        EXPECT_TRUE(anmeldung->togglePlayer());

        EXPECT_EQ(diff(before, snapshot()),
                  QStringList({cell(QStringLiteral("Spielerdaten"), c.sid, QStringLiteral("angemeldet")) +
                               ": " + stored(c.before) + " -> " + stored(!c.before)}));
        EXPECT_EQ(anmeldung->players()[line].angemeldet, !c.before);
        EXPECT_EQ(anmeldung->selectedPlayer(), line);
        // The stored mark reads back as the line shows it.
        EXPECT_EQ(db().selectOne(QStringLiteral("SELECT angemeldet FROM Spielerdaten WHERE SID=:s"),
                                 {{":s", c.sid}})
                      .boolean(u"angemeldet"),
                  !c.before);
    }
}

TEST_P(AnmeldungTest, SettingAMarkTwiceKeepsIt) {
    anmeldung->open();
    const auto before = snapshot();
    anmeldung->spieleranmeldung(4, true); // already present
    EXPECT_TRUE(diff(before, snapshot()).isEmpty());
    anmeldung->spieleranmeldung(3, true);
    anmeldung->spieleranmeldung(3, true);
    EXPECT_EQ(diff(before, snapshot()),
              QStringList({cell(QStringLiteral("Spielerdaten"), 3, QStringLiteral("angemeldet")) + ": 0 -> " +
                           stored(true)}));
    EXPECT_TRUE(anmeldung->players()[0].angemeldet);
}

TEST_P(AnmeldungTest, ToggleWithoutEntrantsDoesNothing) {
    state.tid = 3; // a tournament without players and teams
    anmeldung->open();
    const auto before = snapshot();
    EXPECT_EQ(anmeldung->selectedPlayer(), -1);
    EXPECT_EQ(anmeldung->selectedTeam(), -1);
    EXPECT_FALSE(anmeldung->togglePlayer());
    EXPECT_FALSE(anmeldung->toggleTeam().has_value());
    EXPECT_EQ(anmeldung->searchPlayer(QStringLiteral("M")), -1);
    EXPECT_EQ(diff(before, snapshot()), QStringList());
}

TEST_P(AnmeldungTest, TeamToggleMarksTheTeamAndOffersItsPlayers) {
    anmeldung->open();
    anmeldung->searchTeam(QStringLiteral("TTC"));
    const auto before = snapshot();

    const std::optional<TeamMeldung> meldung = anmeldung->toggleTeam();

    ASSERT_TRUE(meldung.has_value());
    EXPECT_EQ(meldung->mid, 30);
    EXPECT_EQ(meldung->teamname, QStringLiteral("TTC Nord I"));
    EXPECT_TRUE(meldung->angemeldet);
    // Positions s1, s2 and r1 hold players; 0, NULL and the repeated player offer nobody.
    QStringList offered;
    for (const TeamPosition& p : meldung->positionen)
        offered << QStringLiteral("%1 %2 %3").arg(p.position).arg(p.sid).arg(p.name);
    EXPECT_EQ(offered, QStringList({"0 3 adler, Tom", "1 6 Meister, Bernd", "4 8 Bäcker, Udo"}));
    // So far only the team's own mark is written.
    EXPECT_EQ(diff(before, snapshot()),
              QStringList({cell(QStringLiteral("Teams"), 30, QStringLiteral("angemeldet")) + ": 0 -> " +
                           stored(true)}));
    EXPECT_TRUE(anmeldung->teams()[anmeldung->selectedTeam()].angemeldet);

    // The players ticked in the dialog follow the team, nobody else.
    anmeldung->teamSpielerMelden({3, 8}, meldung->angemeldet);
    QStringList expected = {
        cell(QStringLiteral("Spielerdaten"), 3, QStringLiteral("angemeldet")) + ": 0 -> " + stored(true),
        cell(QStringLiteral("Spielerdaten"), 8, QStringLiteral("angemeldet")) + ": 0 -> " + stored(true),
        cell(QStringLiteral("Teams"), 30, QStringLiteral("angemeldet")) + ": 0 -> " + stored(true)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(diff(before, snapshot()), expected);
    EXPECT_TRUE(anmeldung->players()[anmeldung->indexOfPlayer(3)].angemeldet);
    EXPECT_TRUE(anmeldung->players()[anmeldung->indexOfPlayer(8)].angemeldet);
    EXPECT_FALSE(anmeldung->players()[anmeldung->indexOfPlayer(6)].angemeldet);

    // Checking the team out again offers the same players, now to be checked out.
    const std::optional<TeamMeldung> ab = anmeldung->toggleTeam();
    ASSERT_TRUE(ab.has_value());
    EXPECT_FALSE(ab->angemeldet);
    EXPECT_EQ(ab->positionen.size(), 3);
    anmeldung->teamSpielerMelden({3, 6, 8}, ab->angemeldet);
    EXPECT_EQ(diff(before, snapshot()), QStringList());
}

TEST_P(AnmeldungTest, ATeamWithoutPlayersOffersNobody) {
    db().exec(QStringLiteral("DELETE FROM Spielerdaten WHERE SID=4")); // the only player of "ATSV" is gone
    anmeldung->open();
    anmeldung->searchTeam(QStringLiteral("ATSV"));
    const std::optional<TeamMeldung> meldung = anmeldung->toggleTeam();
    ASSERT_TRUE(meldung.has_value());
    EXPECT_EQ(meldung->mid, 31);
    EXPECT_FALSE(meldung->angemeldet);
    EXPECT_TRUE(meldung->positionen.isEmpty());
    EXPECT_FALSE(
        db().selectOne(QStringLiteral("SELECT angemeldet FROM Teams WHERE MID=31")).boolean(u"angemeldet"));
}

// A statement failing inside each write: the database and the lists stay as they were.
class AnmeldungFailure : public AnmeldungTest {
protected:
    // Every further update of the rows that match `condition` fails, as a broken connection would.
    void breakUpdates(const QString& table, const QString& condition) {
        const QString name = table + QStringLiteral("_kaputt");
        if (GetParam() == DbKind::File) {
            db().exec(
                QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE ON %2 WHEN %3 BEGIN SELECT RAISE(ABORT, "
                               "'kaputt'); END")
                    .arg(name, table, condition));
        } else {
            db().exec(
                QStringLiteral("CREATE FUNCTION %1() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'kaputt'; "
                               "END $$ LANGUAGE plpgsql")
                    .arg(name));
            db().exec(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE ON %2 FOR EACH ROW WHEN (%3) EXECUTE "
                                     "FUNCTION %1()")
                          .arg(name, table, condition));
        }
    }
};

TEST_P(AnmeldungFailure, AFailedWriteLeavesThePreviousState) {
    struct FailCase {
        const char* what;
        std::function<void(Anmeldung&)> act;
    };
    const FailCase cases[] = {
        {"toggle player",
         [](Anmeldung& a) {
             a.searchPlayer(QStringLiteral("Meister"));
             a.togglePlayer();
         }},
        {"check box player", [](Anmeldung& a) { a.spieleranmeldung(6, true); }},
        {"toggle team",
         [](Anmeldung& a) {
             a.searchTeam(QStringLiteral("TTC"));
             a.toggleTeam();
         }},
        // Player 6 fails after player 3 was written: neither mark stays.
        {"team players",
         [](Anmeldung& a) {
             a.teamSpielerMelden({3, 6, 8}, true);
         }},
    };
    anmeldung->open();
    breakUpdates(QStringLiteral("Spielerdaten"), QStringLiteral("NEW.SID = 6"));
    breakUpdates(QStringLiteral("Teams"), QStringLiteral("NEW.MID = 30"));

    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = snapshot();
        const QVector<AnmeldeEintrag> players = anmeldung->players();
        const QVector<AnmeldeEintrag> teams = anmeldung->teams();

        EXPECT_THROW(c.act(*anmeldung), DbError);

        EXPECT_EQ(db().transactionDepth(), 0);
        EXPECT_EQ(diff(before, snapshot()), QStringList());
        for (int i = 0; i < players.size(); ++i)
            EXPECT_EQ(anmeldung->players()[i].angemeldet, players[i].angemeldet)
                << players[i].name.toStdString();
        for (int i = 0; i < teams.size(); ++i)
            EXPECT_EQ(anmeldung->teams()[i].angemeldet, teams[i].angemeldet) << teams[i].name.toStdString();
    }
    // Writes that touch none of the broken rows still go through.
    anmeldung->teamSpielerMelden({3, 8}, true);
    EXPECT_TRUE(db().selectOne(QStringLiteral("SELECT angemeldet FROM Spielerdaten WHERE SID=8"))
                    .boolean(u"angemeldet"));
}

VELMORA_INSTANTIATE_DB_TEST(AnmeldungTest);
VELMORA_INSTANTIATE_DB_TEST(AnmeldungFailure);

// Ctrl+ENTER in the player field: how the typed text becomes surname and first name.
struct SplitCase {
    const char* text;
    const char* nachname;
    const char* vorname;
};

class NameSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(NameSplit, GivesSurnameAndFirstName) {
    const SplitCase& c = GetParam();
    const NeuerSpielerName name = splitSpielerName(QString::fromUtf8(c.text));
    EXPECT_EQ(name.nachname, QString::fromUtf8(c.nachname));
    EXPECT_EQ(name.vorname, QString::fromUtf8(c.vorname));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameSplit,
    ::testing::Values(SplitCase{"Meier, Anna", "Meier", "Anna"}, SplitCase{"Meier Anna", "Meier", "Anna"},
                      SplitCase{"Meier", "Meier", ""}, SplitCase{"Meier,Anna", "Meier", "Anna"},
                      SplitCase{"  Meier  ,   Anna  ", "Meier", "Anna"},
                      SplitCase{"  Meier    Anna  ", "Meier", "Anna"}, SplitCase{"  Meier  ", "Meier", ""},
                      SplitCase{"Meier,", "Meier", ""}, SplitCase{", Anna", "", "Anna"},
                      SplitCase{"", "", ""}, SplitCase{"   ", "", ""},
                      // The comma wins over blanks; only the first comma or blank splits.
                      SplitCase{"von Bülow, Anna Lena", "von Bülow", "Anna Lena"},
                      SplitCase{"Müller-Lüdenscheidt Jörg Peter", "Müller-Lüdenscheidt", "Jörg Peter"},
                      SplitCase{"Groß, Änne, Ute", "Groß", "Änne, Ute"}, SplitCase{"Öztürk", "Öztürk", ""},
                      SplitCase{"Weiß Ülkü", "Weiß", "Ülkü"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return "Case" + std::to_string(info.index); });

} // namespace
