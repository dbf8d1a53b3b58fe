#include "store/tournamentrecord.h"
#include "support/testdb.h"

#include <vector>

namespace {

struct TextColumn {
    const char* column;
    QString TournamentRecord::*field;
    bool memo;
};

struct DateColumn {
    const char* column;
    QDate TournamentRecord::*field;
};

const std::vector<TextColumn> kTextColumns = {
    {"turniername", &TournamentRecord::turniername, false},
    {"zusatz", &TournamentRecord::zusatz, false},
    {"austragungsort", &TournamentRecord::austragungsort, false},
    {"startberechtigung", &TournamentRecord::startberechtigung, true},
    {"turniermodus", &TournamentRecord::turniermodus, true},
    {"veranstalter", &TournamentRecord::veranstalter, false},
    {"homepage", &TournamentRecord::homepage, false},
    {"gesamtleitung", &TournamentRecord::gesamtleitung, false},
    {"turnierleitung", &TournamentRecord::turnierleitung, true},
    {"schiedsrichter", &TournamentRecord::schiedsrichter, true},
    {"osr", &TournamentRecord::osr, false},
    {"meldeinfo", &TournamentRecord::meldeinfo, true},
    {"meldung_an", &TournamentRecord::meldung_an, true},
    {"ainfo", &TournamentRecord::ainfo, true},
    {"tische", &TournamentRecord::tische, false},
    {"baelle", &TournamentRecord::baelle, false},
    {"netze", &TournamentRecord::netze, false},
    {"zaehlgeraete", &TournamentRecord::zaehlgeraete, false},
    {"banden", &TournamentRecord::banden, false},
    {"preise", &TournamentRecord::preise, true},
    {"verpflegung", &TournamentRecord::verpflegung, true},
    {"weg", &TournamentRecord::weg, true},
    {"verschiedenes", &TournamentRecord::verschiedenes, true},
    {"erstehilfe", &TournamentRecord::erstehilfe, false},
};

const std::vector<DateColumn> kDateColumns = {
    {"tvon", &TournamentRecord::tvon},
    {"tbis", &TournamentRecord::tbis},
    {"meldeschluss", &TournamentRecord::meldeschluss},
    {"auslosung", &TournamentRecord::auslosung},
};

// A record whose every field differs from every other field and from records with another tag.
TournamentRecord distinctRecord(const QString& tag, const QDate& firstDay) {
    TournamentRecord r;
    for (const auto& c : kTextColumns) {
        r.*c.field = tag + u' ' + QString::fromLatin1(c.column);
        if (c.memo) r.*c.field += QStringLiteral("\r\nzweite Zeile");
    }
    int offset = 0;
    for (const auto& c : kDateColumns)
        r.*c.field = firstDay.addDays(offset++);
    return r;
}

TournamentRecord named(const QString& name) {
    TournamentRecord r;
    r.turniername = name;
    r.tvon = r.tbis = r.meldeschluss = r.auslosung = QDate(2024, 3, 1);
    return r;
}

class TournamentRecordTest : public DbTest {
protected:
    Row rawRow(int tid) {
        return db().selectOne(QStringLiteral("SELECT * FROM Turnierdaten WHERE TID=:k"), {{":k", tid}});
    }

    // Compares every stored column with the record, by column name.
    void expectStored(int tid, const TournamentRecord& expected) {
        const Row row = rawRow(tid);
        ASSERT_FALSE(row.isEmpty()) << "no row for TID " << tid;
        for (const auto& c : kTextColumns) {
            SCOPED_TRACE(c.column);
            EXPECT_FALSE(row.isNull(QString::fromLatin1(c.column)));
            EXPECT_EQ(row.text(QString::fromLatin1(c.column)), expected.*c.field);
        }
        for (const auto& c : kDateColumns) {
            SCOPED_TRACE(c.column);
            EXPECT_EQ(row.date(QString::fromLatin1(c.column)), expected.*c.field);
        }
    }

    int turnierdatenRows() {
        return db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Turnierdaten")).integer(u"n");
    }
};

TEST_P(TournamentRecordTest, IdsCountUpAndStayUniqueAcrossDesks) {
    const auto other = tdb->connectAnother();
    EXPECT_EQ(insertTournament(db(), named("Erstes"), {}), 1);
    EXPECT_EQ(insertTournament(*other, named("Zweites"), {}), 2);
    EXPECT_EQ(insertTournament(db(), named("Drittes"), {}), 3);

    const Rows rows = db().select(QStringLiteral("SELECT TID, turniername FROM Turnierdaten ORDER BY TID"));
    ASSERT_EQ(rows.size(), 3);
    const QStringList names{"Erstes", "Zweites", "Drittes"};
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].integer(u"TID"), i + 1);
        EXPECT_EQ(rows[i].text(u"turniername"), names[i]);
        EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Einstellungen WHERE TID=:k"),
                                 {{":k", i + 1}})
                      .integer(u"n"),
                  1);
    }
}

TEST_P(TournamentRecordTest, NewIdFollowsTheLargestNotTheNumberOfRows) {
    db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (41, 'alt')"));
    EXPECT_EQ(insertTournament(db(), named("neu"), {}), 42);
}

TEST_P(TournamentRecordTest, OptionsAreStoredAsTheEnginesBooleans) {
    const int trueAsNumber = GetParam() == DbKind::File ? -1 : 1;
    const std::vector<TournamentOptions> cases = {
        {true, false, false, false}, {false, true, false, false}, {false, false, true, false},
        {false, false, false, true}, {true, true, true, true},    {false, false, false, false},
    };
    for (const auto& options : cases) {
        const int tid = insertTournament(db(), named("Optionen"), options);
        const Row row =
            db().selectOne(QStringLiteral("SELECT * FROM Einstellungen WHERE TID=:k"), {{":k", tid}});
        ASSERT_FALSE(row.isEmpty());
        for (int i = 0; i < 4; ++i) {
            const QString column = QStringLiteral("einstellung%1").arg(i + 1);
            SCOPED_TRACE(column.toStdString() + " of TID " + std::to_string(tid));
            EXPECT_EQ(row.boolean(column), options[i]);
            EXPECT_EQ(row.integer(column), options[i] ? trueAsNumber : 0);
        }
        EXPECT_TRUE(row.isNull(u"version"));
    }
}

TEST_P(TournamentRecordTest, InsertAndUpdateWriteEveryColumn) {
    const TournamentRecord first = distinctRecord("A", QDate(2024, 5, 10));
    const TournamentRecord changed = distinctRecord("B", QDate(2025, 1, 20));
    const TournamentRecord bystander = distinctRecord("C", QDate(2023, 9, 2));

    const int tid = insertTournament(db(), first, {});
    const int otherTid = insertTournament(db(), bystander, {});
    {
        SCOPED_TRACE("after insert");
        expectStored(tid, first);
    }

    updateTournament(db(), tid, changed);
    {
        SCOPED_TRACE("after update");
        expectStored(tid, changed);
    }
    {
        SCOPED_TRACE("other tournament");
        expectStored(otherTid, bystander);
    }
    EXPECT_EQ(readTournament(db(), tid), changed);
    EXPECT_EQ(readTournament(db(), otherTid), bystander);
}

TEST_P(TournamentRecordTest, ReadingAnUnknownTournamentGivesNothing) {
    insertTournament(db(), named("da"), {});
    EXPECT_FALSE(readTournament(db(), 2).has_value());
}

struct TrimCase {
    const char* what;
    QString input;
    QString storedText; // in a one-line column (zusatz)
    QString storedMemo; // in a memo column (preise)
};

TEST_P(TournamentRecordTest, TextsAreTrimmedAndNeverNull) {
    const std::vector<TrimCase> cases = {
        {"blanks around", "  Kreis Nord  ", "Kreis Nord", "Kreis Nord"},
        {"tab and line break around", "\tKreis\n", "Kreis", "Kreis"},
        {"empty", "", "", ""},
        {"null string", QString(), "", ""},
        {"only blanks", "   ", "", ""},
        {"memo lines", " \n Pokal\n Urkunden \n\n", "Pokal\n Urkunden", "Pokal\r\n Urkunden"},
        {"memo already CR LF", "Pokal\r\nUrkunden", "Pokal\r\nUrkunden", "Pokal\r\nUrkunden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TournamentRecord r = named("Trim");
        r.zusatz = c.input;
        r.preise = c.input;
        const int tid = insertTournament(db(), r, {});
        Row row = rawRow(tid);
        EXPECT_FALSE(row.isNull(u"zusatz"));
        EXPECT_FALSE(row.isNull(u"preise"));
        EXPECT_EQ(row.text(u"zusatz"), c.storedText);
        EXPECT_EQ(row.text(u"preise"), c.storedMemo);

        updateTournament(db(), tid, r);
        row = rawRow(tid);
        EXPECT_FALSE(row.isNull(u"zusatz"));
        EXPECT_FALSE(row.isNull(u"preise"));
        EXPECT_EQ(row.text(u"zusatz"), c.storedText);
        EXPECT_EQ(row.text(u"preise"), c.storedMemo);
    }
}

TEST_P(TournamentRecordTest, NullMemosReadEmptyAndSaveBackAsEmptyText) {
    const int tid = insertTournament(db(), distinctRecord("A", QDate(2024, 5, 10)), {});
    QStringList memoColumns;
    for (const auto& c : kTextColumns)
        if (c.memo) memoColumns << QString::fromLatin1(c.column) + QStringLiteral("=NULL");
    db().exec(QStringLiteral("UPDATE Turnierdaten SET %1 WHERE TID=:k").arg(memoColumns.join(u", ")),
              {{":k", tid}});

    const std::optional<TournamentRecord> read = readTournament(db(), tid);
    ASSERT_TRUE(read.has_value());
    for (const auto& c : kTextColumns) {
        SCOPED_TRACE(c.column);
        if (c.memo)
            EXPECT_TRUE(((*read).*c.field).isEmpty());
        else
            EXPECT_FALSE(((*read).*c.field).isEmpty());
    }

    updateTournament(db(), tid, *read);
    const Row row = rawRow(tid);
    for (const auto& c : kTextColumns) {
        if (!c.memo) continue;
        SCOPED_TRACE(c.column);
        EXPECT_FALSE(row.isNull(QString::fromLatin1(c.column)));
        EXPECT_EQ(row.text(QString::fromLatin1(c.column)), QString());
    }
}

TEST_P(TournamentRecordTest, UmlautsAccentsAndQuotesRoundTripExactly) {
    const QStringList values = {
        QStringLiteral("Müller-Lüdenscheidt: Ärger, Öl, Übel, Straße"),
        QStringLiteral("Café Crème, naïve, Škoda, Øresund"),
        QStringLiteral("O'Brien's Turnier"),
        QStringLiteral("Das \"große\" Finale"),
        QStringLiteral("'); DELETE FROM Turnierdaten; --"),
        QStringLiteral("Zeile 1 mit '\r\nZeile 2 mit \"€\""),
    };
    const int tid = insertTournament(db(), named("Start"), {});
    for (const QString& v : values) {
        SCOPED_TRACE(v.toStdString());
        TournamentRecord r = named(v);
        r.austragungsort = v;
        r.verschiedenes = v;
        const int newTid = insertTournament(db(), r, {});
        EXPECT_EQ(readTournament(db(), newTid), r);

        updateTournament(db(), tid, r);
        EXPECT_EQ(readTournament(db(), tid), r);
    }
}

TEST_P(TournamentRecordTest, FailedInsertLeavesNoRecordBehind) {
    // Without the settings table the second statement of the insert fails.
    db().exec(QStringLiteral("DROP TABLE Einstellungen"));
    EXPECT_THROW(insertTournament(db(), named("Halb"), {}), DbError);
    EXPECT_EQ(db().transactionDepth(), 0);
    EXPECT_EQ(turnierdatenRows(), 0);
}

VELMORA_INSTANTIATE_DB_TEST(TournamentRecordTest);

TEST(MemoText, LineBreaksConvertBothWays) {
    struct Case {
        QString plain;
        QString memo;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"eine Zeile", "eine Zeile"},
        {"a\nb", "a\r\nb"},
        {"a\n\nb\n", "a\r\n\r\nb\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        EXPECT_EQ(memoFromPlainText(c.plain), c.memo);
        EXPECT_EQ(memoFromPlainText(c.memo), c.memo); // already stored form stays as it is
        EXPECT_EQ(memoToPlainText(c.memo), c.plain);
    }
}

} // namespace
