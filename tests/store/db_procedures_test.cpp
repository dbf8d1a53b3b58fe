#include "support/testdb.h"

#include <QFile>

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

VELMORA_INSTANTIATE_DB_TEST(DataModuleTest);

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

} // namespace
