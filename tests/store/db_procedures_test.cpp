#include "support/gegenplatz.h"
#include "support/testdb.h"

#include <QDate>
#include <QFile>
#include <QSqlRecord>
#include <string>
#include <vector>

namespace {

class DataModuleTest : public DbTest {
protected:
    void insertPlayer(int tid, int sid, const QString& name, const QVariant& paid) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten VALUES (:t,:s,:n,'Anna','TTC',NULL,NULL,'','','','',NULL,:b,"
                                 ":a,:m,:f,'')"),
                  {{":t", tid}, {":s", sid}, {":n", name}, {":b", paid}, {":a", false}, {":m", false}, {":f", true}});
    }
};

TEST_P(DataModuleTest, BooleansAreStoredAsTheEnginesTrueAndReadBackAsTrue) {
    insertPlayer(1, 1, QStringLiteral("A"), true);
    insertPlayer(1, 2, QStringLiteral("B"), false);
    const int expectedRaw = GetParam() == DbKind::File ? -1 : 1;
    EXPECT_EQ(db().trueValue(), expectedRaw);

    const Row raw = db().selectOne(QStringLiteral("SELECT bezahlt, angemeldet FROM Spielerdaten WHERE SID=1"));
    EXPECT_EQ(raw.integer(u"bezahlt"), expectedRaw);
    EXPECT_TRUE(raw.boolean(u"bezahlt"));
    EXPECT_FALSE(raw.boolean(u"angemeldet"));

    // Bound booleans and the literals true/false select the same rows.
    for (const QString& sql : {QStringLiteral("SELECT SID FROM Spielerdaten WHERE bezahlt=:b"),
                               QStringLiteral("SELECT SID FROM Spielerdaten WHERE bezahlt=true AND :b=:b")}) {
        const Rows rows = db().select(sql, {{":b", true}});
        ASSERT_EQ(rows.size(), 1) << sql.toStdString();
        EXPECT_EQ(rows[0].integer(u"SID"), 1);
    }
    EXPECT_EQ(db().select(QStringLiteral("SELECT SID FROM Spielerdaten WHERE bezahlt=false")).size(), 1);
}

TEST_P(DataModuleTest, NullsAndMissingRowsReadAsEmptyZeroFalse) {
    insertPlayer(1, 1, QStringLiteral("A"), QVariant());
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE SID=1"));
    ASSERT_FALSE(r.isEmpty());
    EXPECT_TRUE(r.isNull(u"geb"));
    EXPECT_EQ(r.text(u"geb"), QString());
    EXPECT_EQ(r.integer(u"nummer"), 0);
    EXPECT_DOUBLE_EQ(r.number(u"zubezahlen"), 0.0);
    EXPECT_FALSE(r.boolean(u"bezahlt"));
    EXPECT_FALSE(r.date(u"geb").isValid());

    const Row none = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE SID=99"));
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(none.text(u"nachname"), QString());
    EXPECT_EQ(none.integer(u"SID"), 0);

    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT MAX(TID) as TID FROM Turnierdaten")).integer(u"TID"), 0);
}

TEST_P(DataModuleTest, TextDatesAndTimesRoundTripExactly) {
    const QString name = QStringLiteral("Müller-Lüdenscheidt 'O''Brien' \"Zitat\" Ærø Çelik ß €");
    const QDate born(2000, 2, 29);
    const QDateTime start(QDate(2026, 12, 9), QTime(14, 35, 10));
    db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, geb) VALUES (1, 1, :n, :g)"),
              {{":n", name}, {":g", born}});
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, atag, uhrzeit) VALUES (1, 1, :d, :u)"),
              {{":d", born}, {":u", QTime(9, 30)}});
    db().exec(QStringLiteral("INSERT INTO Spielplan (KID, spielnummer, spielstart, TID) VALUES (1, 1, :s, 1)"),
              {{":s", start}});

    const Row p = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE nachname=:n"), {{":n", name}});
    EXPECT_EQ(p.text(u"nachname"), name);
    EXPECT_EQ(p.date(u"geb"), born);
    const Row k = db().selectOne(QStringLiteral("SELECT * FROM Turnierklassen WHERE KID=1"));
    EXPECT_EQ(k.date(u"atag"), born);
    EXPECT_EQ(k.time(u"uhrzeit"), QTime(9, 30));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT spielstart FROM Spielplan")).dateTime(u"spielstart"), start);

    // Dates compare in order on both engines.
    EXPECT_EQ(db().select(QStringLiteral("SELECT SID FROM Spielerdaten WHERE geb < :d"), {{":d", QDate(2000, 3, 1)}})
                  .size(),
              1);
    EXPECT_EQ(db().select(QStringLiteral("SELECT SID FROM Spielerdaten WHERE geb > :d"), {{":d", QDate(2000, 3, 1)}})
                  .size(),
              0);
}

TEST_P(DataModuleTest, AClassWithoutStartTimeShowsNone) {
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, uhrzeit) VALUES (1, 1, :u)"), {{":u", QVariant()}});
    const Row k = db().selectOne(QStringLiteral("SELECT * FROM Turnierklassen"));
    EXPECT_FALSE(k.time(u"uhrzeit").isValid());
    EXPECT_EQ(k.text(u"uhrzeit"), QString());
}

TEST_P(DataModuleTest, BracketedColumnsAndLikeWorkOnBothEngines) {
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung) VALUES (1, 1, 'Herren A')"));
    db().exec(QStringLiteral("UPDATE Turnierklassen SET [min]=:a, [max]=:b, [system]=:c WHERE [KID]=:k"),
              {{":a", 4}, {":b", 16}, {":c", 1}, {":k", 1}});
    const Row k = db().selectOne(QStringLiteral("SELECT * FROM Turnierklassen WHERE kbezeichnung LIKE :p"),
                                 {{":p", QStringLiteral("herren%")}});
    EXPECT_EQ(k.integer(u"min"), 4);
    EXPECT_EQ(k.integer(u"max"), 16);
    EXPECT_EQ(k.integer(u"system"), 1);
}

TEST_P(DataModuleTest, IdsAreOneMoreThanTheLargestAcrossTournamentsAndDesks) {
    auto other = tdb->connectAnother();
    QSet<int> seen;
    for (int i = 0; i < 6; ++i) {
        Tdb_procedures& desk = i % 2 ? *other : db();
        Transaction t(desk);
        const int sid = desk.nextId(QStringLiteral("Spielerdaten"), QStringLiteral("SID"));
        desk.exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID) VALUES (:t, :s)"), {{":t", 1 + i % 3}, {":s", sid}});
        t.commit();
        EXPECT_FALSE(seen.contains(sid));
        seen.insert(sid);
    }
    EXPECT_EQ(seen, (QSet<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_THROW(db().nextId(QStringLiteral("Spielerdaten"), QStringLiteral("SID")), DbError)
        << "an id outside a transaction could be taken twice";
}

// A desk that keeps a transaction open (a result dialog left standing mid-write, a hung desk) must not make
// the other desk wait for ever: after the lock wait the write is refused in German and nothing is written.
TEST_P(DataModuleTest, AWriteWaitingTooLongForAnotherDeskIsRefusedAndWritesNothing) {
    db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung) VALUES (1, 1, 'alt')"));
    if (db().kind() == DbKind::Server)
        EXPECT_EQ(db().selectOne(QStringLiteral("SELECT current_setting('lock_timeout') AS t")).text(u"t"),
                  "10s");
    auto other = tdb->connectAnother();
    other->begin();
    other->exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung='B' WHERE KID=1"));

    db().setLockWait(200);
    try {
        inTransaction(db(), [&] {
            db().exec(
                QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung) VALUES (2, 1, 'neu')"));
            db().exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung='A' WHERE KID=1"));
        });
        ADD_FAILURE() << "the write did not wait for the other desk's lock";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Locked);
        EXPECT_EQ(e.message(), kDbGesperrt);
    }
    EXPECT_EQ(db().transactionDepth(), 0);
    other->commit();

    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Turnierklassen")).integer(u"n"), 1);
    db().exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung='A' WHERE KID=1"));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT kbezeichnung FROM Turnierklassen")).text(u"kbezeichnung"),
              "A");
}

TEST_P(DataModuleTest, AFailedMultiStatementWriteLeavesNothingBehind) {
    try {
        Transaction t(db());
        insertPlayer(1, 1, QStringLiteral("A"), true);
        insertPlayer(1, 2, QStringLiteral("B"), true);
        insertPlayer(1, 1, QStringLiteral("duplicate key"), true);
        t.commit();
        FAIL() << "the duplicate key was accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datenbankfehler")));
    }
    EXPECT_EQ(db().transactionDepth(), 0);
    EXPECT_TRUE(db().select(QStringLiteral("SELECT * FROM Spielerdaten")).isEmpty());
    // The connection is usable afterwards.
    insertPlayer(1, 3, QStringLiteral("C"), true);
    EXPECT_EQ(db().select(QStringLiteral("SELECT * FROM Spielerdaten")).size(), 1);
}

TEST_P(DataModuleTest, AnInnerTransactionRollsBackAloneAndTheOuterCommits) {
    Transaction outer(db());
    insertPlayer(1, 1, QStringLiteral("kept"), true);
    {
        Transaction inner(db());
        insertPlayer(1, 2, QStringLiteral("dropped"), true);
    }
    insertPlayer(1, 3, QStringLiteral("kept too"), true);
    outer.commit();
    const Rows rows = db().select(QStringLiteral("SELECT SID FROM Spielerdaten ORDER BY SID"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].integer(u"SID"), 1);
    EXPECT_EQ(rows[1].integer(u"SID"), 3);
}

TEST_P(DataModuleTest, StatementErrorsBecomeGermanMessagesNotCrashes) {
    EXPECT_THROW(db().select(QStringLiteral("SELECT * FROM GibtEsNicht")), DbError);
    EXPECT_THROW(db().exec(QStringLiteral("INSERT INTO Spielerdaten VALUES (1)")), DbError);
    // The data module still works after the failures.
    EXPECT_NO_THROW(db().select(QStringLiteral("SELECT * FROM Spielerdaten")));
}

// A statement text is prepared once and run again and again with new values: names with or without their
// colon, in any order, a name used twice in the text, and values of every kind, each call with its own.
struct BindCase {
    const char* id;
    QString sql;
    Params params;
    QStringList expected; // SID|nachname of the rows found, in SID order
};

class StatementPath : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        if (IsSkipped()) return;
        insertPlayer(1, 1, QStringLiteral("Alt"), true);
        insertPlayer(1, 2, QStringLiteral("Berg"), false);
        insertPlayer(2, 3, QStringLiteral("Alt"), QVariant());
    }
    QStringList found(const QString& sql, const Params& p) {
        QStringList out;
        for (const Row& r : db().select(sql, p)) out << QStringLiteral("%1|%2").arg(r.integer(u"SID")).arg(r.text(u"nachname"));
        return out;
    }
};

TEST_P(StatementPath, EachCallBindsItsOwnValuesWhateverTheOrderOfTheNames) {
    const QString byName =
        QStringLiteral("SELECT SID,nachname FROM Spielerdaten WHERE nachname=:n AND (TID=:t OR SID=:t) ORDER BY SID");
    const std::vector<BindCase> cases = {
        {"with colons", byName, {{":n", "Alt"}, {":t", 1}}, {"1|Alt"}},
        {"other order, other values", byName, {{":t", 2}, {":n", "Alt"}}, {"3|Alt"}},
        {"without colons", byName, {{"n", "Berg"}, {"t", 1}}, {"2|Berg"}},
        {"a name the statement lacks is left alone", byName, {{":n", "Alt"}, {":x", 7}, {":t", 3}}, {"3|Alt"}},
        {"a name used twice takes its value at both places", byName, {{":n", "Berg"}, {":t", 2}}, {"2|Berg"}},
        {"no row", byName, {{":n", "Zorn"}, {":t", 1}}, {}},
        {"a boolean as the engine stores it", QStringLiteral("SELECT SID,nachname FROM Spielerdaten WHERE bezahlt=:b ORDER BY SID"),
         {{":b", true}}, {"1|Alt"}},
        {"false", QStringLiteral("SELECT SID,nachname FROM Spielerdaten WHERE bezahlt=:b ORDER BY SID"), {{":b", false}},
         {"2|Berg"}},
        {"a null text matches nothing", byName, {{":n", QString()}, {":t", 1}}, {}},
    };
    // Twice through the table: the second round runs every text from the prepared statement.
    for (int round = 0; round < 2; ++round)
        for (const BindCase& c : cases) {
            SCOPED_TRACE(std::string(c.id) + (round ? " (again)" : ""));
            EXPECT_EQ(found(c.sql, c.params), c.expected);
        }
}

// A value left out is an error on both engines, never the value of the call before, and writes nothing.
TEST_P(StatementPath, AMissingValueFailsInsteadOfReusingTheLastOne) {
    const QString sql = QStringLiteral("UPDATE Spielerdaten SET vorname=:v WHERE SID=:s");
    EXPECT_EQ(db().exec(sql, {{":v", "Clara"}, {":s", 1}}), 1);
    EXPECT_THROW(db().exec(sql, {{":v", "Dora"}}), DbError);
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT vorname FROM Spielerdaten WHERE SID=1")).text(u"vorname"), "Clara");
    // Still usable with all its values.
    EXPECT_EQ(db().exec(sql, {{":v", "Dora"}, {":s", 2}}), 1);
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT vorname FROM Spielerdaten WHERE SID=2")).text(u"vorname"), "Dora");
}

// Empty text stays text, a null text is NULL; numbers, dates and NULLs read back as written, run after run.
TEST_P(StatementPath, WrittenValuesReadBackTheSameFromThePreparedStatement) {
    const QString insert = QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, geb, nummer) "
                                          "VALUES (5, :s, :n, :v, :g, :nr)");
    const QString read = QStringLiteral("SELECT * FROM Spielerdaten WHERE SID=:s");
    for (int sid = 10; sid < 13; ++sid) {
        db().exec(insert, {{":s", sid},
                           {":n", QStringLiteral("Name %1 ä€").arg(sid)},
                           {":v", sid == 11 ? QVariant(QString()) : QVariant(QStringLiteral(""))},
                           {":g", sid == 12 ? QVariant() : QVariant(QDate(1990, 1, sid))},
                           {":nr", qlonglong(sid) * 1000}});
        const Row r = db().selectOne(read, {{":s", sid}});
        SCOPED_TRACE(sid);
        EXPECT_EQ(r.integer(u"SID"), sid);
        EXPECT_EQ(r.text(u"nachname"), QStringLiteral("Name %1 ä€").arg(sid));
        EXPECT_EQ(r.isNull(u"vorname"), sid == 11);
        EXPECT_EQ(r.text(u"vorname"), QString());
        EXPECT_EQ(r.date(u"geb"), sid == 12 ? QDate() : QDate(1990, 1, sid));
        EXPECT_EQ(r.integer(u"nummer"), sid * 1000);
        EXPECT_EQ(r.integer(u"NUMMER"), sid * 1000) << "names without regard to case";
    }
}

// A failed run leaves the prepared statement ready for the next; a schema change forgets the prepared
// statements, so SELECT * shows the new column.
TEST_P(StatementPath, AStatementRecoversFromAnErrorAndFollowsASchemaChange) {
    const QString insert = QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname) VALUES (1, :s, 'X')");
    EXPECT_THROW(db().exec(insert, {{":s", 1}}), DbError) << "SID 1 exists";
    EXPECT_EQ(db().exec(insert, {{":s", 9}}), 1);
    const QString all = QStringLiteral("SELECT * FROM Import");
    const int before = db().database().record(GetParam() == DbKind::Server ? "import" : "Import").count();
    db().select(all);
    db().exec(QStringLiteral("ALTER TABLE Import ADD extra INTEGER"));
    db().exec(QStringLiteral("INSERT INTO Import (extra) VALUES (:e)"), {{":e", 4}});
    const Row r = db().selectOne(all);
    EXPECT_EQ(r.columnCount(), before + 1);
    EXPECT_EQ(r.integer(u"extra"), 4);
}

// Every statement counts once, whether prepared anew or taken from the cache.
TEST_P(StatementPath, CountsEveryStatementOnce) {
    db().resetStatementCount();
    for (int i = 0; i < 3; ++i) db().select(QStringLiteral("SELECT SID FROM Spielerdaten WHERE SID=:s"), {{":s", i}});
    db().exec(QStringLiteral("UPDATE Spielerdaten SET nummer=1 WHERE SID=:s"), {{":s", 1}});
    EXPECT_EQ(db().statementCount(), 4);
}

VELMORA_INSTANTIATE_DB_TEST(DataModuleTest);
VELMORA_INSTANTIATE_DB_TEST(StatementPath);

TEST(DataModuleConnect, RefusesMissingFilesAndUnreachableServers) {
    Tdb_procedures db;
    try {
        db.connectFile(QStringLiteral("/nonexistent/turnier_db.sqlite"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Connect);
        EXPECT_EQ(e.message(), QStringLiteral("Datenbankdatei nicht vorhanden"));
    }
    EXPECT_FALSE(db.isConnected());
    try {
        db.connectServer(QStringLiteral("127.0.0.1:1"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Connect);
    }
    EXPECT_FALSE(db.isConnected());
}

TEST(DataModuleConnect, AFileThatIsNoDatabaseFailsOnTheFirstRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.sqlite"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Tdb_procedures db;
    db.connectFile(path);
    EXPECT_THROW(db.select(QStringLiteral("SELECT * FROM Einstellungen WHERE TID=-999")), DbError);
}

struct AdaptCase {
    const char* sql;
    const char* file;
    const char* server;
};

class DialectAdapt : public ::testing::TestWithParam<AdaptCase> {};

TEST_P(DialectAdapt, RewritesOnlyWhatTheEngineNeeds) {
    const AdaptCase c = GetParam();
    EXPECT_EQ(Dialect(DbKind::File).adapt(QString::fromUtf8(c.sql)), QString::fromUtf8(c.file));
    EXPECT_EQ(Dialect(DbKind::Server).adapt(QString::fromUtf8(c.sql)), QString::fromUtf8(c.server));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialectAdapt,
    ::testing::Values(
        AdaptCase{"UPDATE Turnierklassen SET [min]=:a, [TID]=:t", "UPDATE Turnierklassen SET [min]=:a, [TID]=:t",
                  "UPDATE Turnierklassen SET \"min\"=:a, \"tid\"=:t"},
        AdaptCase{"SELECT * FROM s WHERE beendet=true AND begonnen=false",
                  "SELECT * FROM s WHERE beendet=-1 AND begonnen=0", "SELECT * FROM s WHERE beendet=1 AND begonnen=0"},
        AdaptCase{"SELECT * FROM s WHERE n LIKE :p", "SELECT * FROM s WHERE n LIKE :p",
                  "SELECT * FROM s WHERE n ILIKE :p"},
        AdaptCase{"SELECT 'true [x] like' AS t, :true FROM s", "SELECT 'true [x] like' AS t, :true FROM s",
                  "SELECT 'true [x] like' AS t, :true FROM s"},
        AdaptCase{"SELECT 'it''s true' FROM s WHERE truename=1", "SELECT 'it''s true' FROM s WHERE truename=1",
                  "SELECT 'it''s true' FROM s WHERE truename=1"}));

// A desk that loses a deadlock to another desk: on its own the whole transaction runs again and gets
// through; inside an outer transaction there is nothing to repeat and the desk is told in German.
class DeadlockTest : public ::testing::TestWithParam<bool> {};

TEST_P(DeadlockTest, TheLoserRunsAgainOrIsToldInGerman) {
    VELMORA_SKIP_WITHOUT_SERVER(DbKind::Server);
    const bool innen = GetParam();
    TestDatabase t(DbKind::Server);
    Tdb_procedures& db = t.db();
    db.exec(
        QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung) VALUES (1, 1, ''), (2, 1, '')"));
    // The other desk holds class 2 and then wants class 1, which the test's desk holds while it waits.
    Gegenplatz anderer(
        t, QStringLiteral("UPDATE Turnierklassen SET kbezeichnung=kbezeichnung || 'B' WHERE KID=2"),
        QStringLiteral("UPDATE Turnierklassen SET kbezeichnung=kbezeichnung || 'B' WHERE KID=1"));
    anderer.gesperrt();
    int laeufe = 0;
    const auto schreiben = [&] {
        ++laeufe;
        db.exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung=kbezeichnung || 'A' WHERE KID=1"));
        db.exec(QStringLiteral("UPDATE Turnierklassen SET kbezeichnung=kbezeichnung || 'A' WHERE KID=2"));
    };
    if (innen) {
        db.begin();
        try {
            inTransaction(db, schreiben);
            ADD_FAILURE() << "the deadlock was not reported";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::Conflict);
            EXPECT_EQ(e.message(), kDbKonflikt);
        }
        db.rollback();
    } else {
        inTransaction(db, schreiben);
    }
    EXPECT_EQ(anderer.ende().toStdString(), "");
    // On its own it runs at least twice: its run may be given up again when it takes class 1 back before
    // the other desk, which was waiting for it.
    if (innen)
        EXPECT_EQ(laeufe, 1);
    else
        EXPECT_GE(laeufe, 2);
    // What the given-up run wrote is gone: each desk's mark is there once, the loser's after the winner's.
    const QString erwartet = innen ? QStringLiteral("B") : QStringLiteral("BA");
    for (const Row& r : db.select(QStringLiteral("SELECT kbezeichnung FROM Turnierklassen ORDER BY KID")))
        EXPECT_EQ(r.text(u"kbezeichnung"), erwartet);
}

INSTANTIATE_TEST_SUITE_P(Desks, DeadlockTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) {
                             return std::string(i.param ? "InsideAnOuterTransaction" : "OnItsOwn");
                         });

} // namespace
