#include "draw/teams.h"

#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kNameFehlt = QStringLiteral("Sie müssen einen Mannschaftsname eingeben");
const QString kVereinFehlt = QStringLiteral("Sie müssen einen Verein eingeben");
const QString kUeberschreiben = QStringLiteral("Dieser Mannschaftsname existiert bereits!\nÜberschreiben?");
const QString kLoeschen = QStringLiteral("Wollen Sie das Team wirklich löschen?");

// Tournament 1: team class 10 (three players, one reserve) with six entered players, one of them (Zahn)
// entered without his row of the class, as an import leaves him; team class 11 (two players, no reserve);
// a singles class 12. Tournament 2 has a team class 20 with a team whose MID is the highest of all.
class TeamsTest : public DbTest {
protected:
    // SIDs of the players of class 10, in the order of the list "gemeldete Spieler".
    enum { Adler = 1, Berg = 2, Christ = 3, Dorn = 4, Eck = 5, Zahn = 6 };

    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES "
                                 "(10, 1, 3, 'Herren'), (11, 1, 3, 'Damen'), (12, 1, 0, 'Einzel'), "
                                 "(20, 2, 3, 'Fremd')"));
        db().exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler, reserve) VALUES "
                                 "(1, 10, 3, 1), (1, 11, 2, 0), (2, 20, 4, 2)"));
        addPlayer(Dorn, "Dorn", "Dana", "TTC Nord", {10});
        addPlayer(Berg, "Berg", "Ben", "SV Süd", {10, 11});
        addPlayer(Adler, "Adler", "Anna", "TTC Nord", {10, 12});
        addPlayer(Eck, "Eck", "Emil", "Post SV", {10});
        addPlayer(Christ, "Christ", "Carl", "SV Süd", {10});
        addPlayer(Zahn, "Zahn", "Zoe", "", {10}, false);
        addPlayer(7, "Fremd", "Fritz", "Gast", {11});
        db().exec(QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, s1, angemeldet, verein) VALUES "
                                 "(2, 20, 40, 'Gäste', 9, 0, 'Gast')"));
        auswahl = std::make_unique<Teamauswahl>(state, db(), ui);
    }

    void addPlayer(int sid, const char* nachname, const char* vorname, const char* verein, QList<int> kids,
                   bool withRow = true) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (1, :s, :n, :v, :ve, 0)"),
                  {{":s", sid},
                   {":n", QString::fromUtf8(nachname)},
                   {":v", QString::fromUtf8(vorname)},
                   {":ve", QString::fromUtf8(verein)}});
        for (const int kid : kids) {
            db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1, :k, :s)"),
                      {{":k", kid}, {":s", sid}});
            if (withRow && kid != 12)
                db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k, :s, NULL, NULL)"),
                          {{":k", kid}, {":s", sid}});
        }
    }

    // The row of a player in "gemeldete Spieler".
    int row(int sid) {
        for (int i = 0; i < auswahl->players().size(); ++i)
            if (auswahl->players()[i].sid == sid) return i;
        ADD_FAILURE() << "player " << sid << " not listed";
        return -1;
    }

    void put(TeamListe liste, int pos, int sid) {
        ASSERT_TRUE(auswahl->drop(liste, pos, TeamListe::Gemeldet, row(sid))) << sid;
    }

    // Builds and stores a team of class 10 the way the dialog does.
    void storeTeam(const QString& name, const QString& verein, QList<int> spieler, QList<int> reserve = {}) {
        auswahl->newTeam(name);
        auswahl->setVerein(verein);
        for (int i = 0; i < spieler.size(); ++i)
            put(TeamListe::Spieler, i, spieler[i]);
        for (int i = 0; i < reserve.size(); ++i)
            put(TeamListe::Reserve, i, reserve[i]);
        ASSERT_TRUE(auswahl->save()) << ui.texts().join(u'\n').toStdString();
    }

    // Every team and every player-per-class row, to compare states.
    QStringList snapshot() {
        QStringList out;
        for (const Row& r : db().select(QStringLiteral("SELECT * FROM Teams ORDER BY MID"))) {
            QStringList cells;
            for (int i = 0; i < r.columnCount(); ++i)
                cells << (r.at(i).isNull() ? "NULL" : r.at(i).toString());
            out << cells.join(u'|');
        }
        for (const Row& r : db().select(QStringLiteral("SELECT * FROM Doppelpartner ORDER BY KID, SID")))
            out << QStringLiteral("D %1 %2 %3")
                       .arg(r.integer(u"KID"))
                       .arg(r.integer(u"SID"))
                       .arg(r.isNull(u"mannschaft") ? QStringLiteral("NULL") : r.text(u"mannschaft"));
        return out;
    }

    // The team name of each player of a class who has his row there, NULL for none.
    QMap<int, QString> mannschaft(int kid) {
        QMap<int, QString> m;
        for (const Row& r : db().select(
                 QStringLiteral("SELECT SID, mannschaft FROM Doppelpartner WHERE KID=:k"), {{":k", kid}}))
            m.insert(r.integer(u"SID"),
                     r.isNull(u"mannschaft") ? QStringLiteral("NULL") : r.text(u"mannschaft"));
        return m;
    }

    Row team(const QString& name, int kid = 10) {
        const Rows rows = db().select(QStringLiteral("SELECT * FROM Teams WHERE teamname=:t AND KID=:k"),
                                      {{":t", name}, {":k", kid}});
        EXPECT_EQ(rows.size(), 1) << name.toStdString();
        return rows.firstOrEmpty();
    }

    AppState state;
    ScriptedInteraction ui;
    std::unique_ptr<Teamauswahl> auswahl;
};

TEST_P(TeamsTest, OpeningShowsTheTeamClassesAndTheFirstClassesPlayersClubsAndTeams) {
    db().exec(
        QStringLiteral("INSERT INTO Teams VALUES (1, 10, 5, 'Erste', 2, 1, 0, NULL, 4, NULL, 1, 2, 0, 0, "
                       "0, 'SV Süd')"));
    auswahl->open();

    ASSERT_EQ(auswahl->classes().size(), 2);
    EXPECT_EQ(auswahl->classes()[0].name, QStringLiteral("Herren"));
    EXPECT_EQ(auswahl->classes()[1].kid, 11);
    EXPECT_EQ(auswahl->kid(), 10);
    QStringList names;
    QList<bool> inTeam;
    for (const TeamMitglied& p : auswahl->players()) {
        names << p.text;
        inTeam << p.imTeam;
    }
    EXPECT_EQ(names, QStringList({"Adler, Anna", "Berg, Ben", "Christ, Carl", "Dorn, Dana", "Eck, Emil",
                                  "Zahn, Zoe"}));
    EXPECT_EQ(inTeam, QList<bool>({true, true, false, true, false, false}));
    EXPECT_EQ(auswahl->clubs(), QStringList({"Post SV", "SV Süd", "TTC Nord"}));
    ASSERT_EQ(auswahl->teams().size(), 1);

    // The first team is shown: stored values of 0 or NULL are empty positions.
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Erste"));
    EXPECT_EQ(auswahl->verein(), QStringLiteral("SV Süd"));
    EXPECT_EQ(auswahl->positions(TeamListe::Spieler), QVector<int>({Berg, Adler, 0}));
    EXPECT_EQ(auswahl->positions(TeamListe::Reserve), QVector<int>({Dorn}));
    EXPECT_EQ(auswahl->positions(TeamListe::Doppel1), QVector<int>({Adler, Berg}));
    EXPECT_EQ(auswahl->positions(TeamListe::Doppel2), QVector<int>({0, 0}));

    // The second class has its own sizes and players, and no team yet.
    auswahl->chooseClass(1);
    EXPECT_EQ(auswahl->players().size(), 2);
    EXPECT_TRUE(auswahl->teamname().isEmpty());
    EXPECT_EQ(auswahl->positions(TeamListe::Spieler), QVector<int>({0, 0}));
    EXPECT_TRUE(auswahl->positions(TeamListe::Reserve).isEmpty());
}

TEST_P(TeamsTest, ANewTeamIsInsertedWithItsPositionsAndItsPlayersTeamName) {
    auswahl->open();
    auswahl->newTeam(QStringLiteral("  Nord I "));
    auswahl->setVerein(QStringLiteral("TTC Nord"));
    put(TeamListe::Spieler, 0, Adler);
    put(TeamListe::Spieler, 1, Dorn);
    put(TeamListe::Reserve, 0, Zahn);
    ASSERT_TRUE(auswahl->drop(TeamListe::Doppel2, 0, TeamListe::Spieler, 1));
    ASSERT_TRUE(auswahl->drop(TeamListe::Doppel2, 1, TeamListe::Reserve, 0));

    ASSERT_TRUE(auswahl->save());

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_TRUE(ui.questions.isEmpty());
    const Row r = team(QStringLiteral("Nord I"));
    EXPECT_EQ(r.integer(u"TID"), 1);
    EXPECT_EQ(r.integer(u"MID"), 41) << "one more than the highest MID of all tournaments";
    EXPECT_EQ(r.integer(u"s1"), Adler);
    EXPECT_EQ(r.integer(u"s2"), Dorn);
    EXPECT_FALSE(r.isNull(u"s3")) << "an empty position inside the team is 0";
    EXPECT_EQ(r.integer(u"s3"), 0);
    EXPECT_TRUE(r.isNull(u"s4")) << "a position beyond the team size";
    EXPECT_EQ(r.integer(u"r1"), Zahn);
    EXPECT_TRUE(r.isNull(u"r2"));
    EXPECT_EQ(r.integer(u"d1_1"), 0);
    EXPECT_EQ(r.integer(u"d2_1"), Dorn);
    EXPECT_EQ(r.integer(u"d2_2"), Zahn);
    EXPECT_FALSE(r.boolean(u"angemeldet"));
    EXPECT_FALSE(r.isNull(u"angemeldet"));
    EXPECT_EQ(r.text(u"verein"), QStringLiteral("TTC Nord"));

    const QMap<int, QString> expected = {{Adler, "Nord I"}, {Berg, "NULL"}, {Christ, "NULL"},
                                         {Dorn, "Nord I"},  {Eck, "NULL"},  {Zahn, "Nord I"}};
    EXPECT_EQ(mannschaft(10), expected) << "Zahn's missing row is added";
    EXPECT_EQ(mannschaft(11), (QMap<int, QString>{{Berg, "NULL"}, {7, "NULL"}}));

    ASSERT_EQ(auswahl->teams().size(), 1);
    EXPECT_EQ(auswahl->teams()[0].mid, 41);
    EXPECT_EQ(auswahl->teamIndex(), 0);
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Nord I"));
    EXPECT_TRUE(auswahl->players()[row(Adler)].imTeam);
    EXPECT_FALSE(auswahl->players()[row(Berg)].imTeam);
}

TEST_P(TeamsTest, SavingUnderAnExistingNameAsksAndOverwritesOnlyOnOk) {
    auswahl->open();
    storeTeam(QStringLiteral("Süd"), QStringLiteral("SV Süd"), {Berg, Christ, Eck}, {Dorn});
    const int mid = team(QStringLiteral("Süd")).integer(u"MID");
    const QStringList stored = snapshot();

    // Eck leaves the team, Adler takes his place; reserve Dorn moves up.
    ASSERT_TRUE(auswahl->drop(TeamListe::Gemeldet, -1, TeamListe::Spieler, 2));
    put(TeamListe::Spieler, 2, Adler);
    ASSERT_TRUE(auswahl->drop(TeamListe::Spieler, 0, TeamListe::Reserve, 0));
    auswahl->setVerein(QStringLiteral("SV Süd 2"));
    EXPECT_EQ(auswahl->positions(TeamListe::Spieler), QVector<int>({Dorn, Christ, Adler}));
    EXPECT_EQ(auswahl->positions(TeamListe::Reserve), QVector<int>({0}));
    EXPECT_EQ(snapshot(), stored) << "moving players writes nothing before Übernehmen";

    ui.answer(false);
    EXPECT_FALSE(auswahl->save());
    EXPECT_EQ(ui.questions, QStringList({kUeberschreiben}));
    EXPECT_EQ(snapshot(), stored);

    ui.clear();
    ui.answer(true);
    ASSERT_TRUE(auswahl->save());
    EXPECT_EQ(ui.questions, QStringList({kUeberschreiben}));
    const Row r = team(QStringLiteral("Süd"));
    EXPECT_EQ(r.integer(u"MID"), mid);
    EXPECT_EQ(r.integer(u"s1"), Dorn);
    EXPECT_EQ(r.integer(u"s2"), Christ);
    EXPECT_EQ(r.integer(u"s3"), Adler);
    EXPECT_FALSE(r.isNull(u"r1"));
    EXPECT_EQ(r.integer(u"r1"), 0);
    EXPECT_EQ(r.text(u"verein"), QStringLiteral("SV Süd 2"));
    EXPECT_EQ(db().select(QStringLiteral("SELECT MID FROM Teams WHERE KID=10")).size(), 1);
    const QMap<int, QString> expected = {
        {Adler, "Süd"}, {Berg, "NULL"}, {Christ, "Süd"}, {Dorn, "Süd"}, {Eck, "NULL"}};
    EXPECT_EQ(mannschaft(10), expected) << "Berg (displaced) and Eck (dragged out) lose the name";
}

TEST_P(TeamsTest, ATeamOfTheSameNameInAnotherClassIsAnotherTeam) {
    auswahl->open();
    storeTeam(QStringLiteral("Süd"), QStringLiteral("SV Süd"), {Berg});
    auswahl->chooseClass(1);
    auswahl->newTeam(QStringLiteral("Süd"));
    auswahl->setVerein(QStringLiteral("SV Süd"));
    ASSERT_TRUE(auswahl->drop(TeamListe::Spieler, 0, TeamListe::Gemeldet, 0));

    ASSERT_TRUE(auswahl->save());
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(team(QStringLiteral("Süd"), 10).integer(u"s1"), Berg);
    EXPECT_EQ(team(QStringLiteral("Süd"), 11).integer(u"MID"), 42);
    EXPECT_EQ(mannschaft(11).value(Berg), QStringLiteral("Süd"));
}

TEST_P(TeamsTest, DeletingATeamAfterConfirmationClearsItsPlayersTeamName) {
    auswahl->open();
    storeTeam(QStringLiteral("Nord"), QStringLiteral("TTC Nord"), {Adler, Dorn}, {Zahn});
    storeTeam(QStringLiteral("Süd"), QStringLiteral("SV Süd"), {Berg, Christ});
    auswahl->chooseTeam(0);
    ASSERT_EQ(auswahl->teamname(), QStringLiteral("Nord"));
    const QStringList stored = snapshot();

    ui.answer(false);
    EXPECT_FALSE(auswahl->deleteTeam());
    EXPECT_EQ(ui.questions, QStringList({kLoeschen}));
    EXPECT_EQ(snapshot(), stored);
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Nord"));

    ui.answer(true);
    ASSERT_TRUE(auswahl->deleteTeam());
    EXPECT_TRUE(db().select(QStringLiteral("SELECT MID FROM Teams WHERE teamname='Nord'")).isEmpty());
    const QMap<int, QString> expected = {{Adler, "NULL"}, {Berg, "Süd"}, {Christ, "Süd"},
                                         {Dorn, "NULL"},  {Eck, "NULL"}, {Zahn, "NULL"}};
    EXPECT_EQ(mannschaft(10), expected) << "the players stay in the class, without team";
    EXPECT_EQ(db().select(QStringLiteral("SELECT SID FROM Spieler_im_Turnier WHERE KID=10")).size(), 6);
    ASSERT_EQ(auswahl->teams().size(), 1);
    EXPECT_EQ(auswahl->teams()[0].name, QStringLiteral("Süd"));
    EXPECT_TRUE(auswahl->teamname().isEmpty());
    EXPECT_EQ(auswahl->positions(TeamListe::Spieler), QVector<int>({0, 0, 0}));
    EXPECT_FALSE(auswahl->players()[row(Adler)].imTeam);

    // A name that is no team of the class deletes nothing and asks nothing.
    ui.clear();
    auswahl->newTeam(QStringLiteral("Nord"));
    EXPECT_FALSE(auswahl->deleteTeam());
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_P(TeamsTest, ClickingAPlayerShowsTheTeamHePlaysFor) {
    auswahl->open();
    storeTeam(QStringLiteral("Nord"), QStringLiteral("TTC Nord"), {Adler, Dorn});
    storeTeam(QStringLiteral("Süd"), QStringLiteral("SV Süd"), {Berg}, {Christ});
    auswahl->newTeam();

    auswahl->playerClicked(row(Christ));
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Süd"));
    EXPECT_EQ(auswahl->positions(TeamListe::Reserve), QVector<int>({Christ}));
    auswahl->playerClicked(row(Dorn));
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Nord"));
    EXPECT_EQ(auswahl->verein(), QStringLiteral("TTC Nord"));
    auswahl->playerClicked(row(Eck));
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Nord")) << "a player without team changes nothing";
}

// Refusals: the exact message, the field that gets the focus, and nothing written.
struct RefusalCase {
    const char* what;
    QString name;
    QString verein;
    QList<int> spieler;
    QString message;
    Teamauswahl::Feld focus;
};

class TeamsRefusal : public TeamsTest {};

TEST_P(TeamsRefusal, RefusesWithTheMessageAndWritesNothing) {
    const RefusalCase cases[] = {
        {"no name", "", "TTC Nord", {Adler}, kNameFehlt, Teamauswahl::Feld::Teamname},
        {"blank name", "   ", "TTC Nord", {Adler}, kNameFehlt, Teamauswahl::Feld::Teamname},
        {"name and club missing: the name first", "", "", {Adler}, kNameFehlt, Teamauswahl::Feld::Teamname},
        {"no club", "Nord", "", {Adler}, kVereinFehlt, Teamauswahl::Feld::Verein},
        {"blank club", "Nord", " ", {Adler}, kVereinFehlt, Teamauswahl::Feld::Verein},
        {"a player of another team",
         "Nord",
         "TTC Nord",
         {Adler, Berg},
         QStringLiteral("Der Spieler \"Berg, Ben\" spielt bereits im Team \"Süd\""),
         Teamauswahl::Feld::Keines},
        {"a player of another team, even under an existing name",
         "Erste",
         "TTC Nord",
         {Berg},
         QStringLiteral("Der Spieler \"Berg, Ben\" spielt bereits im Team \"Süd\""),
         Teamauswahl::Feld::Keines},
    };
    auswahl->open();
    storeTeam(QStringLiteral("Süd"), QStringLiteral("SV Süd"), {Berg});
    storeTeam(QStringLiteral("Erste"), QStringLiteral("TTC Nord"), {Eck});
    const QStringList stored = snapshot();
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        auswahl->newTeam(c.name);
        auswahl->setVerein(c.verein);
        for (int i = 0; i < c.spieler.size(); ++i)
            put(TeamListe::Spieler, i, c.spieler[i]);

        EXPECT_FALSE(auswahl->save());

        EXPECT_EQ(ui.texts(), QStringList({c.message}));
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
        EXPECT_TRUE(ui.questions.isEmpty());
        EXPECT_EQ(auswahl->focus(), c.focus);
        EXPECT_EQ(snapshot(), stored);
        EXPECT_EQ(auswahl->teams().size(), 2);
    }
}

// A write that fails half way leaves the previous team and every team name as they were.
class TeamsFailure : public TeamsTest {
protected:
    void breakTeamNames() {
        if (GetParam() == DbKind::File) {
            db().exec(QStringLiteral("CREATE TRIGGER dp_upd BEFORE UPDATE ON Doppelpartner "
                                     "BEGIN SELECT RAISE(ABORT, 'kaputt'); END"));
        } else {
            db().exec(QStringLiteral("CREATE FUNCTION dp_fail() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                     "'kaputt'; END $$ LANGUAGE plpgsql"));
            db().exec(QStringLiteral("CREATE TRIGGER dp_fail BEFORE UPDATE ON Doppelpartner "
                                     "FOR EACH ROW EXECUTE FUNCTION dp_fail()"));
        }
    }
};

TEST_P(TeamsFailure, AFailedSaveOrDeleteLeavesThePreviousTeamIntact) {
    auswahl->open();
    storeTeam(QStringLiteral("Nord"), QStringLiteral("TTC Nord"), {Adler, Dorn}, {Zahn});
    breakTeamNames();
    const QStringList stored = snapshot();

    // Overwrite with other players.
    ASSERT_TRUE(auswahl->drop(TeamListe::Gemeldet, 0, TeamListe::Spieler, 0));
    put(TeamListe::Spieler, 2, Eck);
    ui.answer(true);
    EXPECT_THROW(auswahl->save(), DbError);
    EXPECT_EQ(db().transactionDepth(), 0);
    EXPECT_EQ(snapshot(), stored);

    // A new team.
    auswahl->newTeam(QStringLiteral("Neu"));
    auswahl->setVerein(QStringLiteral("Post SV"));
    put(TeamListe::Spieler, 0, Eck);
    EXPECT_THROW(auswahl->save(), DbError);
    EXPECT_EQ(snapshot(), stored);
    EXPECT_EQ(auswahl->teams().size(), 1);

    // Deleting.
    auswahl->chooseTeam(0);
    ui.answer(true);
    EXPECT_THROW(auswahl->deleteTeam(), DbError);
    EXPECT_EQ(snapshot(), stored);
    EXPECT_EQ(auswahl->teamname(), QStringLiteral("Nord"));
}

// Dragging players: each case starts with a new team of class 10 (three players, one reserve) holding
// Adler, Berg in "Spieler" 1 and 2, Christ as reserve and Adler with Christ as "Doppel 1", then drops.
struct Drop {
    TeamListe target;
    int targetPos;
    TeamListe source;
    int sourcePos; // for "gemeldete Spieler" a SID (the test finds its row)
    bool accepted;
};

struct DropCase {
    const char* what;
    QList<Drop> drops;
    QVector<int> spieler, reserve, doppel1, doppel2;
};

class TeamsDrop : public TeamsTest {};

TEST_P(TeamsDrop, PlayersMoveAsTheRulesOfTheListsSay) {
    using L = TeamListe;
    const DropCase cases[] = {
        {"an entered player takes an empty position",
         {{L::Spieler, 2, L::Gemeldet, Eck, true}},
         {Adler, Berg, Eck},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"the same player twice into Spieler is ignored",
         {{L::Spieler, 2, L::Gemeldet, Adler, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"an entered player replaces the player of the position, who leaves the pairs",
         {{L::Spieler, 0, L::Gemeldet, Dorn, true}},
         {Dorn, Berg, 0},
         {Christ},
         {0, Christ},
         {0, 0}},
        {"within a list two positions exchange",
         {{L::Spieler, 2, L::Spieler, 0, true}},
         {0, Berg, Adler},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"a reserve dragged into Spieler leaves his place",
         {{L::Spieler, 2, L::Reserve, 0, true}},
         {Adler, Berg, Christ},
         {0},
         {Adler, Christ},
         {0, 0}},
        {"a player dragged into the reserve leaves his place; the reserve he replaces leaves the team",
         {{L::Reserve, 0, L::Spieler, 1, true}},
         {Adler, 0, 0},
         {Berg},
         {Adler, 0},
         {0, 0}},
        {"an entered reserve dragged into Spieler keeps one place only",
         {{L::Spieler, 2, L::Gemeldet, Christ, true}},
         {Adler, Berg, Christ},
         {0},
         {Adler, Christ},
         {0, 0}},
        {"a drop below the last line takes the first empty position",
         {{L::Spieler, -1, L::Gemeldet, Eck, true}, {L::Spieler, -1, L::Gemeldet, Dorn, false}},
         {Adler, Berg, Eck},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"a player keeps his singles position in a pair",
         {{L::Doppel2, 0, L::Spieler, 1, true}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {Berg, 0}},
        {"a reserve can play a pair",
         {{L::Doppel2, 1, L::Reserve, 0, true}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, Christ}},
        {"the pairs take no entered player",
         {{L::Doppel2, 0, L::Gemeldet, Berg, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"the same player twice in a pair is ignored",
         {{L::Doppel1, 1, L::Spieler, 0, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"within a pair the two exchange",
         {{L::Doppel1, 0, L::Doppel1, 1, true}},
         {Adler, Berg, 0},
         {Christ},
         {Christ, Adler},
         {0, 0}},
        {"a pair takes nobody from the other pair",
         {{L::Doppel2, 0, L::Doppel1, 0, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"the positions take nobody from a pair",
         {{L::Spieler, 2, L::Doppel1, 1, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
        {"a player dragged back to the entered players leaves the team and its pairs",
         {{L::Gemeldet, -1, L::Spieler, 0, true}},
         {0, Berg, 0},
         {Christ},
         {0, Christ},
         {0, 0}},
        {"a pair's player dragged back keeps his singles position",
         {{L::Gemeldet, 3, L::Doppel1, 1, true}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, 0},
         {0, 0}},
        {"an empty position drags nothing",
         {{L::Reserve, 0, L::Spieler, 2, false}},
         {Adler, Berg, 0},
         {Christ},
         {Adler, Christ},
         {0, 0}},
    };
    auswahl->open();
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.what);
        auswahl->newTeam(QStringLiteral("T"));
        put(TeamListe::Spieler, 0, Adler);
        put(TeamListe::Spieler, 1, Berg);
        put(TeamListe::Reserve, 0, Christ);
        ASSERT_TRUE(auswahl->drop(TeamListe::Doppel1, 0, TeamListe::Spieler, 0));
        ASSERT_TRUE(auswahl->drop(TeamListe::Doppel1, 1, TeamListe::Reserve, 0));

        for (const Drop& d : c.drops) {
            const int from = d.source == TeamListe::Gemeldet ? row(d.sourcePos) : d.sourcePos;
            EXPECT_EQ(auswahl->drop(d.target, d.targetPos, d.source, from), d.accepted);
        }
        EXPECT_EQ(auswahl->positions(TeamListe::Spieler), c.spieler);
        EXPECT_EQ(auswahl->positions(TeamListe::Reserve), c.reserve);
        EXPECT_EQ(auswahl->positions(TeamListe::Doppel1), c.doppel1);
        EXPECT_EQ(auswahl->positions(TeamListe::Doppel2), c.doppel2);
    }
    EXPECT_TRUE(db().select(QStringLiteral("SELECT MID FROM Teams WHERE TID=1")).isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(TeamsTest);
VELMORA_INSTANTIATE_DB_TEST(TeamsRefusal);
VELMORA_INSTANTIATE_DB_TEST(TeamsFailure);
VELMORA_INSTANTIATE_DB_TEST(TeamsDrop);

} // namespace
