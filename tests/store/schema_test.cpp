#include "support/testdb.h"

#include "store/schema.h"

#include <QFile>
#include <QSet>
#include <QSqlRecord>

namespace {

struct TableColumns {
    const char* table;
    QStringList columns;
};

QStringList numbered(const QString& prefix, int from, int to, const QString& suffix = {}) {
    QStringList l;
    for (int i = from; i <= to; ++i) l << prefix + QString::number(i) + suffix;
    return l;
}

// The column orders the program's positional inserts depend on.
QList<TableColumns> expectedTables() {
    QStringList teamsystem{"TID", "KID", "spieler", "reserve"};
    for (int i = 1; i <= 9; ++i) teamsystem << QStringLiteral("s%1a").arg(i) << QStringLiteral("s%1b").arg(i);
    teamsystem << "frei";
    return {
        {"Einstellungen", {"TID", "einstellung1", "einstellung2", "einstellung3", "einstellung4", "version", "liveordner"}},
        {"Turnierdaten",
         {"TID", "turniername", "zusatz", "austragungsort", "tvon", "tbis", "startberechtigung", "turniermodus",
          "veranstalter", "homepage", "gesamtleitung", "turnierleitung", "schiedsrichter", "osr", "meldeschluss",
          "auslosung", "meldeinfo", "meldung_an", "ainfo", "tische", "baelle", "netze", "zaehlgeraete", "banden",
          "preise", "verpflegung", "weg", "verschiedenes", "erstehilfe"}},
        {"Turnierklassen",
         {"KID", "TID", "system", "kbezeichnung", "kbeschreibung", "spielberechtigung", "mann", "frau", "gebuehr",
          "min", "max", "saetze", "platten", "altersklasseID", "atag", "uhrzeit", "farbe"}},
        {"Altersklasse", {"TID", "name", "von", "bis", "aelter", "juenger"}},
        {"Spielerdaten",
         {"TID", "SID", "nachname", "vorname", "verein", "geb", "nummer", "kverband", "bverband", "lverband", "land",
          "zubezahlen", "bezahlt", "angemeldet", "mann", "frau", "spklasse"}},
        {"Spieler_im_Turnier", {"TID", "KID", "SID"}},
        {"Schiri",
         {"TID", "SCHIRIID", "snname", "svname", "sgeb", "sverein", "sangemeldet", "skverband", "sbverband",
          "slverband", "sland", "smemo", "sklasse"}},
        {"Schiri_im_turnier", {"TID", "SCHIRIID", "KID"}},
        {"Platten1", {"KID", "platte", "TID"}},
        {"Import", {"nachname", "vorname", "KID", "verein", "klassen"}},
        {"Doppelpartner", {"KID", "SID", "partner_SID", "mannschaft"}},
        {"Teams",
         {"TID", "KID", "MID", "teamname", "s1", "s2", "s3", "s4", "r1", "r2", "d1_1", "d1_2", "d2_1", "d2_2",
          "angemeldet", "verein"}},
        {"Teamsystem", teamsystem},
        {"Gruppeneinstellungen",
         QStringList{"KID", "phase1", "phase2", "phase3"} + numbered("gruppenanzahl", 1, 3) +
             numbered("teilnehmer", 1, 3) + numbered("besten", 1, 3) + numbered("bestplazierten", 1, 3) +
             QStringList{"gesetzt", "plattenbez"}},
        {"Gesetzt", {"KID", "position", "SID", "partner_SID"}},
        {"KO_System", {"spieler", "gesetzt", "position"}},
        {"Gruppen",
         {"KID", "GID", "pos", "SID", "bez", "parentGID", "parentpos", "markiert", "plattensystem", "phase"}},
        {"Platten", {"KID", "GID", "platte", "phase"}},
        {"Spielplan",
         QStringList{"KID", "spielnummer", "SID1", "spieler1", "SID2", "spieler2"} + numbered("satz", 1, 9) +
             QStringList{"ergebnis", "parentspiel1", "parentsieger1", "parentspiel2", "parentsieger2", "parentGID1",
                         "parentpos1", "parentGID2", "parentpos2", "in_planung", "begonnen", "beendet", "manuell",
                         "spielstart", "spielende", "siegerSID", "verliererSID", "phase", "gruppe"} +
             QStringList{"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch", "aufruf2_sp1", "aufruf2_sp2", "aufruf2_sch",
                         "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch", "an_platte", "schiri", "geplanter_tisch",
                         "geplanter_tag", "geplante_zeit", "reserve", "platz", "TID"}},
        {"Teamspiele",
         QStringList{"KID", "spielnummer", "nummer", "MID1", "SID1", "spieler1", "MID2", "SID2", "spieler2"} +
             numbered("satz", 1, 9) +
             QStringList{"ergebnis", "in_planung", "begonnen", "beendet", "manuell", "spielstart", "spielende",
                         "siegerSID", "verliererSID", "phase", "gruppe", "an_platte", "schiri", "geplanter_tisch",
                         "geplanter_tag", "geplante_zeit", "TID", "sbez1", "sbez2", "p1", "p2", "parentspiel1",
                         "parentsieger1", "parentspiel2", "parentsieger2", "parentGID1", "parentpos1", "parentGID2",
                         "parentpos2"}},
        {"Tabellen",
         {"KID", "GID", "pos", "SID", "bez", "spielanzahl", "spielegewonnen", "spieleverloren", "saetzegewonnen",
          "saetzeverloren", "punktegewonnen", "punkteverloren", "matchegewonnen", "markiert", "matcheverloren",
          "parentGID", "parentpos", "phase"}},
    };
}

QStringList lower(const QStringList& l) {
    QStringList out;
    for (const auto& s : l) out << s.toLower();
    return out;
}

class SchemaTest : public DbTest {};

TEST_P(SchemaTest, EveryTableHasItsColumnsInOrderAndTakesAPositionalInsert) {
    const QList<TableColumns> tables = expectedTables();
    for (const auto& t : tables) {
        const QSqlRecord rec = db().database().record(QString::fromLatin1(t.table).toLower());
        QStringList actual;
        for (int i = 0; i < rec.count(); ++i) actual << rec.fieldName(i);
        EXPECT_EQ(lower(actual), lower(t.columns)) << t.table;

        // Key columns get ids far from anything else; the rest NULL, which every column type takes.
        static const QStringList keys{"tid", "kid", "sid", "schiriid", "mid", "spielnummer", "nummer"};
        QStringList placeholders;
        Params params;
        for (int i = 0; i < t.columns.size(); ++i) {
            placeholders << QStringLiteral(":p%1").arg(i);
            const bool key = keys.contains(t.columns[i].toLower());
            params << qMakePair(QStringLiteral(":p%1").arg(i), key ? QVariant(7000 + i) : QVariant());
        }
        if (QString::fromLatin1(t.table) == u"KO_System") continue; // shipped rows, read only
        EXPECT_NO_THROW(db().exec(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(t.table, placeholders.join(u',')),
                                  params))
            << t.table;
    }
}

TEST_P(SchemaTest, DeclaredKeysRefuseDuplicates) {
    struct Case {
        const char* insert;
    };
    const Case cases[] = {
        {"INSERT INTO Turnierdaten (TID, turniername) VALUES (5, 'a')"},
        {"INSERT INTO Turnierklassen (KID, TID) VALUES (5, 1)"},
        {"INSERT INTO Spielerdaten (TID, SID) VALUES (1, 5)"},
        {"INSERT INTO Schiri (TID, SCHIRIID) VALUES (1, 5)"},
        {"INSERT INTO Teams (TID, KID, MID) VALUES (1, 1, 5)"},
        {"INSERT INTO Spielplan (KID, spielnummer, TID) VALUES (5, 1, 1)"},
        {"INSERT INTO Teamspiele (KID, spielnummer, nummer, TID) VALUES (5, 1, 1, 1)"},
    };
    for (const auto& c : cases) {
        db().exec(QString::fromLatin1(c.insert));
        EXPECT_THROW(db().exec(QString::fromLatin1(c.insert)), DbError) << c.insert;
    }
    // Same match number in another class is fine.
    EXPECT_NO_THROW(db().exec(QStringLiteral("INSERT INTO Spielplan (KID, spielnummer, TID) VALUES (6, 1, 1)")));
}

TEST_P(SchemaTest, DatabaseWideRowHoldsVersionThree) {
    const Rows rows = db().select(QStringLiteral("SELECT * FROM Einstellungen WHERE TID=-999"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].integer(u"version"), schema::kCurrentVersion);
}

TEST_P(SchemaTest, SeedingTableKeepsTheBestSeedsApart) {
    for (int size = 2; size <= 256; size *= 2) {
        const Rows rows = db().select(QStringLiteral("SELECT * FROM KO_System WHERE spieler=:s ORDER BY gesetzt"),
                                      {{":s", size}});
        ASSERT_EQ(rows.size(), size / 2) << size;
        QSet<int> slots_;
        for (int i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].integer(u"gesetzt"), i + 1);
            slots_.insert(rows[i].integer(u"position"));
        }
        EXPECT_EQ(slots_.size(), rows.size()) << "two seeds on one slot, size " << size;
        for (int seeds = 2; seeds <= size / 2; seeds *= 2) {
            QSet<int> blocks;
            for (int s = 0; s < seeds; ++s) blocks.insert((rows[s].integer(u"position") - 1) / (size / seeds));
            EXPECT_EQ(blocks.size(), seeds) << "size " << size << ", best " << seeds;
        }
    }
}

TEST_P(SchemaTest, IdentifiersMatchWithoutRegardToCase) {
    db().exec(QStringLiteral("INSERT INTO spieler_im_turnier VALUES (:t,:k,:s)"), {{":t", 1}, {":k", 2}, {":s", 3}});
    const Row r = db().selectOne(QStringLiteral("SELECT sid FROM Spieler_im_Turnier WHERE kid=:k"), {{":k", 2}});
    EXPECT_EQ(r.integer(u"SID"), 3);
    EXPECT_EQ(r.integer(u"sid"), 3);
}

VELMORA_INSTANTIATE_DB_TEST(SchemaTest);

TEST(SchemaFile, CreateRefusesAnExistingFileAndLeavesItUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.sqlite"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    EXPECT_THROW(schema::createFile(path), DbError);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST(SchemaFile, BuildShipsACurrentFileDatabase) {
    const QString path = QStringLiteral(VELMORA_PROGRAM_DIR "/turnier_db.sqlite");
    ASSERT_TRUE(QFile::exists(path));
    // Read through a copy: the shipped file holds the user's tournaments and is never written by tests.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
    ASSERT_TRUE(QFile::copy(path, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    Tdb_procedures db;
    db.connectFile(copy);
    EXPECT_EQ(db.selectOne(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")).integer(u"version"), schema::kCurrentVersion);
    EXPECT_GT(db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM KO_System")).integer(u"n"), 0);
}

} // namespace
