// The rows draw completion writes, compared with recorded files: for a fixed draw of each phase system,
// every Spielplan and Teamspiele row of the class, all columns in key order, on both engines. Any change
// to how a plan is written (the order of statements, settling byes in memory) must leave them alike.
//
// To record the files again after an intended change: VELMORA_WRITE_GOLDEN=1 test_draw
// --gtest_filter='*Golden*File*', then read the difference before committing it.
#include "common/clock.h"
#include "common/random.h"
#include "draw/auslosung.h"
#include "draw/auslosungsdb.h"
#include "support/scripted_interaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlRecord>
#include <QSqlDatabase>
#include <QFile>
#include <QSet>
#include <QVariant>
#include <array>
#include <vector>

namespace {

Datendateien shippedFiles() {
    const QString dir = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
    return {dir + QStringLiteral("system.txt"), dir + QStringLiteral("ko_system.txt")};
}

QString goldenPath(const QString& id) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/tests/draw/golden/") + id + QStringLiteral(".txt");
}

struct GoldenCase {
    const char* id;
    int kind;    // class kind: 0 singles, 1 doubles, 2 mixed, 3 team
    int entries; // players, pairs or teams, all present
    QVariantList phasen;
    QVariantList zahlen; // gruppenanzahl1..3, teilnehmer1..3, besten1..3, bestplazierten1..3
    std::array<bool, 3> freiloseZufaellig;
    int rubbers; // team classes: rubbers of the team system
    int minute;  // the clock the draw is seeded from
};

const QVariant n;

const GoldenCase kGoldenCases[] = {
    // Ten entries in three groups of four: the last two groups have an empty line.
    {"groups_singles", 0, 10, {0, n, n}, {3, n, n, 4, n, n, 2, n, n, 0, n, n}, {}, 0, 1},
    // Three groups of four, two go on: six labels in a bracket of eight, two label byes.
    {"groups_then_ko_singles", 0, 12, {0, 1, n}, {3, n, n, 4, n, n, 2, n, n, 0, n, n}, {}, 0, 2},
    // Nine entries in a bracket of sixteen with the byes drawn at random.
    {"ko_random_byes_singles", 0, 9, {1, n, n}, QVariantList(12), {true, false, false}, 0, 3},
    // Eleven entries in a double knock-out of sixteen: the byes' losers run through the losers' bracket.
    {"double_ko_byes_singles", 0, 11, {2, n, n}, QVariantList(12), {true, false, false}, 0, 4},
    // Six teams with three rubbers in a double knock-out of eight: byes move into the rubbers too.
    {"team_double_ko_rubbers", 3, 6, {2, n, n}, QVariantList(12), {true, false, false}, 3, 5},
    // Teams in two groups, then a single knock-out of the four qualifiers, two rubbers each.
    {"team_groups_then_ko_rubbers", 3, 7, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}, {}, 2, 6},
    // Doubles: groups, then a double knock-out of the qualifiers with a bye.
    {"doubles_groups_then_double_ko", 1, 9, {0, 2, n}, {3, n, n, 3, n, n, 2, n, n, 0, n, n}, {}, 0, 7},
    // Mixed over three phases: groups, groups of the qualifiers, a single knock-out.
    {"mixed_groups_groups_ko", 2, 8, {0, 0, 1}, {2, 2, n, 4, 2, n, 2, 2, n, 0, 0, n}, {}, 0, 8},
};

// Columns that hold a boolean: written as the dialect's TRUE (-1 file, 1 server) or 0.
const QSet<QString> kBooleans{QStringLiteral("parentsieger1"), QStringLiteral("parentsieger2"),
                              QStringLiteral("in_planung"),    QStringLiteral("begonnen"),
                              QStringLiteral("beendet"),       QStringLiteral("manuell")};

} // namespace

class FertigstellenGoldenTest : public Auslosungsdb {
protected:
    // Entries of class kid of the given kind, all present: players kid*100+1 … of alternating sex, in
    // pairs for doubles and mixed, two to a team for teams.
    void eintraege(int kid, int kind, int count, int rubbers) {
        const int players = kind == 0 ? count : 2 * count;
        for (int i = 1; i <= players; ++i)
            db().exec("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet, mann, frau) "
                      "VALUES (1,:s,:n,'Vor',:c,:a,:m,:f)",
                      {{":s", kid * 100 + i},
                       {":n", QStringLiteral("K%1S%2").arg(kid).arg(i, 2, 10, QLatin1Char('0'))},
                       {":c", i % 3 ? "TTC" : "TSV"},
                       {":a", true},
                       {":m", i % 2 == 1},
                       {":f", i % 2 == 0}});
        for (int e = 0; e < count; ++e) {
            if (kind == 0) {
                melden(kid, kid * 100 + e + 1);
                continue;
            }
            const int a = kid * 100 + 2 * e + 1, b = a + 1;
            if (kind == 3) {
                melden(kid, a);
                melden(kid, b);
                team(kid, kid * 100 + e + 1, QStringLiteral("Team %1").arg(e + 1), e % 2 ? "TTC" : "TSV", a);
            } else {
                paar(kid, a, b);
            }
        }
        if (kind == 3) {
            QStringList columns{"TID", "KID", "spieler", "reserve"};
            QStringList values{"1", ":k", "2", "0"};
            for (int r = 1; r <= rubbers; ++r) {
                columns << QStringLiteral("s%1a").arg(r) << QStringLiteral("s%1b").arg(r);
                values << QString::number(r % 2 + 1) << QString::number((r + 1) % 2 + 1);
            }
            db().exec(QStringLiteral("INSERT INTO Teamsystem (%1) VALUES (%2)")
                          .arg(columns.join(u','), values.join(u',')),
                      {{":k", kid}});
        }
    }

    // Every row of the class in both tables, in key order, each column as name=value: NULL spelt out,
    // booleans as T/F when they hold what the engine writes for them (anything else shows as stored).
    QStringList dumpClass(int kid) {
        QStringList out;
        for (const QString& table : {QStringLiteral("Spielplan"), QStringLiteral("Teamspiele")}) {
            QStringList names;
            const QSqlRecord rec = db().database().record(db().kind() == DbKind::Server ? table.toLower() : table);
            for (int i = 0; i < rec.count(); ++i)
                names << rec.fieldName(i).toLower();
            const QString order = table == u"Teamspiele" ? QStringLiteral("KID,spielnummer,nummer")
                                                         : QStringLiteral("KID,spielnummer");
            const Rows rs =
                db().select(QStringLiteral("SELECT * FROM %1 WHERE KID=:k ORDER BY %2").arg(table, order),
                            {{":k", kid}});
            out << QStringLiteral("# %1: %2 rows").arg(table).arg(rs.size());
            for (const Row& r : rs) {
                EXPECT_EQ(r.columnCount(), names.size()) << table.toStdString();
                QStringList fields;
                for (int i = 0; i < r.columnCount(); ++i) {
                    const QString name = i < names.size() ? names[i] : QStringLiteral("?");
                    const QVariant v = r.at(i);
                    QString text;
                    if (!v.isValid() || v.isNull())
                        text = QStringLiteral("NULL");
                    else if (kBooleans.contains(name) && v.toLongLong() == db().trueValue())
                        text = QStringLiteral("T");
                    else if (kBooleans.contains(name) && v.toLongLong() == 0)
                        text = QStringLiteral("F");
                    else
                        text = v.toString();
                    fields << name + u'=' + text;
                }
                out << fields.join(u'|');
            }
        }
        return out;
    }

    // Loads the class, draws every phase with the clock's seed and completes it.
    void auslosen(int kid, const GoldenCase& c) {
        klasse(kid, c.kind);
        tisch(kid, "T1");
        eintraege(kid, c.kind, c.entries, c.rubbers);
        einstellungen(kid, c.phasen, c.zahlen);
        clock.set(QDateTime(QDate(2026, 5, 1), QTime(9, c.minute)));
        ui.clear();
        Auslosung a(db(), ui, clock, random);
        a.neu(kid);
        a.vereinBeachten = c.kind != 3;
        a.freiloseZufaellig = c.freiloseZufaellig;
        for (int p = 1; p <= 3; ++p)
            if (a.vorhanden(p)) {
                EXPECT_TRUE(a.losen(p)) << "phase " << p;
            }
        ASSERT_TRUE(a.fertigstellen(1, shippedFiles()).geschrieben) << ui.texts().join(u'\n').toStdString();
    }

    // Compares with the recorded file, or records it when asked to (file engine only).
    void compare(const QString& id, const QStringList& lines) {
        const QString path = goldenPath(id);
        if (!qEnvironmentVariableIsEmpty("VELMORA_WRITE_GOLDEN") && GetParam() == DbKind::File) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
            f.write((lines.join(u'\n') + u'\n').toUtf8());
            return;
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
        QStringList expected = QString::fromUtf8(f.readAll()).split(u'\n');
        if (!expected.isEmpty() && expected.last().isEmpty()) expected.removeLast();
        const int common = qMin(expected.size(), lines.size());
        for (int i = 0; i < common; ++i)
            if (expected[i] != lines[i]) {
                ADD_FAILURE() << id.toStdString() << ", line " << i + 1 << ":\n  expected " << expected[i].toStdString()
                              << "\n  written  " << lines[i].toStdString();
                return;
            }
        EXPECT_EQ(lines.size(), expected.size()) << id.toStdString() << ": number of lines";
    }

    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 5, 1), QTime(9, 0))};
    Random random{1};
};

TEST_P(FertigstellenGoldenTest, EveryPhaseSystemWritesTheRecordedRows) {
    int kid = 40;
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.id);
        ++kid;
        auslosen(kid, c);
        if (HasFatalFailure()) return;
        compare(QLatin1String(c.id), dumpClass(kid));
    }
}

// Brackets laid out by hand, so byes meet byes and run on for several stages: a bye's winner moved on as
// a placeholder, byes passed to both next matches, the losers' bracket of a double knock-out, rubbers.
struct HandCase {
    const char* id;
    int system;
    const char* layout; // one letter per slot: an entry, or '.' for a bye
    int rubbers;       // > 0: a team class with that many rubbers
};

const HandCase kHandCases[] = {
    {"ko16_chains_of_byes", PhasePlan::EinfachesKO, "A.......BC..D.EF", 0},
    {"double_ko16_chains_of_byes", PhasePlan::DoppeltesKO, "A.......BC..D.EF", 0},
    {"team_double_ko8_chains_of_byes", PhasePlan::DoppeltesKO, "A...B.C.", 2},
};

TEST_P(FertigstellenGoldenTest, HandLaidBracketsWriteTheRecordedRows) {
    int kid = 70;
    for (const HandCase& c : kHandCases) {
        SCOPED_TRACE(c.id);
        ++kid;
        klasse(kid, c.rubbers > 0 ? 3 : 0);
        if (c.rubbers > 0)
            db().exec("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) VALUES (1,:k,2,0,1,2,2,1)",
                      {{":k", kid}});
        DrawPlan d;
        d.kid = kid;
        d.tid = 1;
        d.kind = c.rubbers > 0 ? 3 : 0;
        d.phases[0].system = c.system;
        for (const char* p = c.layout; *p; ++p)
            d.phases[0].bracket << (*p == '.' ? PlanSlot{}
                                              : PlanSlot{kid * 100 + (*p - 'A' + 1), QStringLiteral("Eintrag %1").arg(QLatin1Char(*p))});
        Fertigstellen f(db(), ui, shippedFiles());
        ASSERT_TRUE(f.fertigstellen(d).geschrieben) << ui.texts().join(u'\n').toStdString();
        compare(QLatin1String(c.id), dumpClass(kid));
    }
}

// A redraw of phase 2 keeps phase 1 (here a bracket with byes, settled again with the rest) and writes the
// redrawn bracket with the qualified players and a bye.
TEST_P(FertigstellenGoldenTest, RedrawWritesTheRecordedRows) {
    constexpr int kid = 60;
    klasse(kid, 0);
    DrawPlan d;
    d.kid = kid;
    d.tid = 1;
    PhasePlan& p1 = d.phases[0];
    p1.system = PhasePlan::EinfachesKO;
    for (int i = 0; i < 8; ++i)
        p1.bracket << (i == 1 || i == 5 || i == 7 ? PlanSlot{} : PlanSlot{kid * 100 + i, QStringLiteral("Spieler %1").arg(i)});
    PhasePlan& p2 = d.phases[1];
    p2.system = PhasePlan::EinfachesKO;
    p2.firstGid = 0;
    p2.bracket = {PlanSlot{-1, QStringLiteral("Q1"), 0, 0}, PlanSlot{}, PlanSlot{-1, QStringLiteral("Q2"), 0, 1},
                  PlanSlot{-1, QStringLiteral("Q3"), 1, 0}};
    Fertigstellen f(db(), ui, shippedFiles());
    ASSERT_TRUE(f.fertigstellen(d).geschrieben) << ui.texts().join(u'\n').toStdString();
    // Standings of phase 1 as result processing would leave them.
    for (int i : {0, 2, 4, 6})
        db().exec("INSERT INTO Tabellen (KID, GID, pos, SID, bez, phase) VALUES (:k,:g,:p,:s,:b,1)",
                  {{":k", kid}, {":g", i / 4}, {":p", (i / 2) % 2}, {":s", kid * 100 + i},
                   {":b", QStringLiteral("Spieler %1").arg(i)}});
    DrawPlan r;
    r.kid = kid;
    r.tid = 1;
    r.redraw = true;
    r.redrawPhase = 2;
    r.phases[0] = p1;
    r.phases[1].system = PhasePlan::EinfachesKO;
    r.phases[1].bracket = {PlanSlot{kid * 100 + 0, QStringLiteral("Spieler 0")}, PlanSlot{},
                           PlanSlot{kid * 100 + 4, QStringLiteral("Spieler 4")},
                           PlanSlot{kid * 100 + 6, QStringLiteral("Spieler 6")}};
    ASSERT_TRUE(f.fertigstellen(r).geschrieben) << ui.texts().join(u'\n').toStdString();
    compare(QStringLiteral("redraw_phase2_with_byes"), dumpClass(kid));
}

VELMORA_INSTANTIATE_DB_TEST(FertigstellenGoldenTest);
