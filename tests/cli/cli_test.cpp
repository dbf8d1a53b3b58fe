#include "cli_fixture.h"

#include "draw/gruppe.h"
#include "results/ergebnisverarbeitung.h"
#include "results/satznotation.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>

namespace {

QJsonArray spiele(const Lauf& plan) {
    return plan.json().value(QStringLiteral("spiele")).toArray();
}

// Plays every playable match until none is left; side 1 wins 3:1 unless `zweiter` says side 2 wins.
int allesSpielen(const std::function<Lauf(const QStringList&)>& cli, bool zweiter = false) {
    int gespielt = 0;
    for (;;) {
        const Lauf plan = cli({"plan", "Herren A", "--playable", "--json"});
        EXPECT_EQ(plan.status, 0) << plan.text();
        const QJsonArray offen = spiele(plan);
        if (offen.isEmpty() || plan.status != 0) return gespielt;
        for (const QJsonValue& v : offen) {
            const QString nr = QString::number(v.toObject().value(QStringLiteral("nr")).toInt());
            const QStringList saetze =
                zweiter ? QStringList{"-5", "7", "-9", "-3"} : QStringList{"5", "-7", "9", "3"};
            const Lauf r = cli(QStringList{"result", "Herren A", nr} + saetze);
            EXPECT_EQ(r.status, 0) << r.text();
            if (r.status != 0) return gespielt;
            ++gespielt;
        }
    }
}

// Rows of the tables a refusal must leave alone.
QString fingerabdruck(Tdb_procedures& db) {
    QStringList teile;
    for (const char* sql :
         {"SELECT COUNT(*) AS n FROM Turnierdaten", "SELECT COUNT(*) AS n FROM Turnierklassen",
          "SELECT COUNT(*) AS n FROM Spielerdaten", "SELECT COUNT(*) AS n FROM Spieler_im_Turnier",
          "SELECT COUNT(*) AS n FROM Spielplan", "SELECT COUNT(*) AS n FROM Spielplan WHERE beendet<>0",
          "SELECT COUNT(*) AS n FROM Tabellen WHERE spielanzahl>0",
          "SELECT COUNT(*) AS n FROM Gruppeneinstellungen", "SELECT SUM(angemeldet) AS n FROM Spielerdaten"})
        teile << db.selectOne(QString::fromLatin1(sql)).text(u"n");
    return teile.join(u'|');
}

} // namespace

class CliAblauf : public CliTest {};

TEST_P(CliAblauf, AClassIsPlayedToItsEndAndItsStandingsAgreeWithTheResults) {
    kleineKlasse();
    const Lauf draw = cli({"draw", "Herren A", "--seed", "3", "--json"});
    ASSERT_EQ(draw.status, 0) << draw.text();
    EXPECT_EQ(draw.json().value(QStringLiteral("spiele")).toInt(), 7); // six group matches and the final

    EXPECT_EQ(allesSpielen([this](const QStringList& a) { return cli(a); }), 7);

    const QJsonArray alle = spiele(cli({"plan", "Herren A", "--json"}));
    ASSERT_EQ(alle.size(), 7);
    for (const QJsonValue& v : alle) {
        EXPECT_EQ(v[QStringLiteral("status")].toString(), QStringLiteral("beendet"));
        EXPECT_EQ(v[QStringLiteral("ergebnis")].toString(), QStringLiteral("3:1"));
        EXPECT_EQ(v[QStringLiteral("saetze")].toVariant().toStringList(),
                  QStringList({"+5", "-7", "+9", "+3"}));
    }

    const Lauf stand = cli({"standings", "Herren A", "--json"});
    ASSERT_EQ(stand.status, 0) << stand.text();
    const QJsonArray gruppe = stand.json().value(QStringLiteral("gruppen")).toArray();
    ASSERT_EQ(gruppe.size(), 4);
    int siege = 0;
    QList<int> plaetze;
    for (int i = 0; i < gruppe.size(); ++i) {
        const QJsonObject r = gruppe[i].toObject();
        plaetze << r.value(QStringLiteral("platz")).toInt();
        EXPECT_EQ(r.value(QStringLiteral("spiele")).toInt(), 3);
        siege += r.value(QStringLiteral("siege")).toInt();
        // In the order of the table, nobody has more wins than the one above him.
        if (i > 0) {
            EXPECT_LE(r.value(QStringLiteral("siege")).toInt(),
                      gruppe[i - 1][QStringLiteral("siege")].toInt());
        }
    }
    EXPECT_EQ(plaetze, QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(siege, 6);

    // The final is between the group's first and second; side 1 of the final won it.
    const QJsonObject finale = alle.last().toObject();
    const QStringList ersteZwei = {gruppe[0][QStringLiteral("name")].toString(),
                                   gruppe[1][QStringLiteral("name")].toString()};
    EXPECT_TRUE(ersteZwei.contains(finale[QStringLiteral("spieler1")].toString()));
    EXPECT_TRUE(ersteZwei.contains(finale[QStringLiteral("spieler2")].toString()));
    const QJsonArray endstand = stand.json().value(QStringLiteral("endstand")).toArray();
    ASSERT_EQ(endstand.size(), 2);
    EXPECT_EQ(endstand[0][QStringLiteral("name")].toString(), finale[QStringLiteral("spieler1")].toString());
    EXPECT_EQ(endstand[1][QStringLiteral("name")].toString(), finale[QStringLiteral("spieler2")].toString());
}

TEST_P(CliAblauf, UndoWithdrawsTheFinalsSidesAndTheClassCanBeFinishedAgain) {
    kleineKlasse();
    ASSERT_EQ(cli({"draw", "Herren A", "--seed", "3"}).status, 0);
    ASSERT_EQ(allesSpielen([this](const QStringList& a) { return cli(a); }), 7);

    // Withdrawing a group match reopens the group, so the final loses its two sides.
    const Lauf undo = cli({"undo", "Herren A", "1", "--json"});
    ASSERT_EQ(undo.status, 0) << undo.text();
    QList<int> geaendert;
    for (const QJsonValue& v : undo.json().value(QStringLiteral("geaenderteSpiele")).toArray())
        geaendert << v.toInt();
    EXPECT_EQ(geaendert, QList<int>({1, 7}));
    const QJsonArray nachher = spiele(cli({"plan", "Herren A", "--json"}));
    EXPECT_EQ(nachher[0][QStringLiteral("status")].toString(), QStringLiteral("spielbar"));
    EXPECT_EQ(nachher[6][QStringLiteral("status")].toString(), QStringLiteral("wartet"));

    EXPECT_EQ(allesSpielen([this](const QStringList& a) { return cli(a); }, true), 2);
    const Lauf wieder = cli({"result", "Herren A", "1", "5", "5", "5"});
    EXPECT_EQ(wieder.status, 1);
    EXPECT_TRUE(wieder.err.contains(Ergebnisverarbeitung::kSchonBeendet)) << wieder.text();
}

TEST_P(CliAblauf, TheSameSeedDrawsTheSamePlan) {
    kleineKlasse(QStringLiteral("gruppen:2:4:2"), 8);
    // Clubs kept apart with every club different leave chance nothing to choose: the draw goes by club.
    auto planMit = [this](int seed) {
        const Lauf d = cli({"draw", "Herren A", "--seed", QString::number(seed), "--yes", "--ignore-club"});
        EXPECT_EQ(d.status, 0) << d.text();
        return cli({"plan", "Herren A", "--json"}).out;
    };
    const QString eins = planMit(1);
    EXPECT_EQ(planMit(1), eins);
    bool anders = false;
    for (int seed = 2; seed <= 6 && !anders; ++seed)
        anders = planMit(seed) != eins;
    EXPECT_TRUE(anders) << "five other seeds all drew the same groups";
}

struct Ablehnung {
    const char* name;
    QStringList args;
    QString meldung;
};

TEST_P(CliAblauf, EveryRefusalExitsOneWithTheProgramsMessageAndWritesNothing) {
    kleineKlasse();
    alle({{"draw", "Herren A", "--seed", "3"},
          {"result", "Herren A", "1", "5", "5", "5"},
          {"class", "add", "Klein", "--phase1", "gruppen:1:2:1", "--phase2", "ko"},
          {"player", "add", "Extra", "Eins", "--class", "Klein", "--checked-in"},
          {"player", "add", "Extra", "Zwei", "--class", "Klein", "--checked-in"},
          {"player", "add", "Extra", "Drei", "--class", "Klein", "--checked-in"}});
    const Ablehnung faelle[] = {
        {"tournament without name", {"tournament", "create", " "}, "Bitte geben Sie einen Namen ein"},
        {"class without name", {"class", "add", ""}, "Sie müssen einen Klassennamen eingeben"},
        {"class name taken", {"class", "add", "Herren A"}, "Eine Klasse mit diesem Namen existiert bereits"},
        {"unknown age class",
         {"class", "add", "B", "--age", "U99"},
         "Die angegebene Altersklasse existiert nicht"},
        {"six winning sets",
         {"class", "add", "B", "--sets", "6"},
         "Geben Sie bitte eine Wert für Gewinnsätze <=5 ein"},
        {"fee",
         {"class", "add", "B", "--fee", "zwölf"},
         "Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"},
        {"best placed with every place through",
         {"class", "add", "B", "--phase1", "gruppen:2:4:4:1", "--phase2", "ko"},
         Tgruppe::kBestplazierten},
        {"player name taken",
         {"player", "add", "Spieler01", "Vor"},
         "Ein Spieler mit diesem Namen existiert bereits"},
        {"unknown class", {"plan", "Damen"}, "Die Klasse „Damen“ gibt es in diesem Turnier nicht"},
        {"unknown player at check-in",
         {"checkin", "Niemand, Hans", "Spieler01, Vor"},
         "Den Spieler „Niemand, Hans“ gibt es in diesem Turnier nicht"},
        {"more players than places", {"draw", "Klein"}, Tgruppe::kZuVieleSpieler},
        {"redraw not confirmed", {"draw", "Herren A"}, "Die Klasse ist bereits ausgelost."},
        {"delete not confirmed", {"tournament", "delete", "Stadtmeisterschaft"}, "löschen"},
        {"result not in the list",
         {"result", "Herren A", "2", "5", "-7"},
         satznotation::kUngueltigesErgebnis},
        {"set not in set notation",
         {"result", "Herren A", "2", "5", "x", "9", "3"},
         "Satz 2: Keinen korrekten Wert eingegeben"},
        {"set after the match was decided",
         {"result", "Herren A", "2", "5", "7", "9", "3", "--result", "3:1"},
         "Satz 3 passt nicht zum Endergebnis 3:1"},
        {"finished already", {"result", "Herren A", "1", "5", "5", "5"}, Ergebnisverarbeitung::kSchonBeendet},
        {"final's sides not known",
         {"result", "Herren A", "7", "5", "5", "5"},
         Ergebnisverarbeitung::kSeitenUnbekannt},
        {"no such match", {"result", "Herren A", "99", "5", "5", "5"}, Ergebnisverarbeitung::kSpielFehlt},
        {"undo without result", {"undo", "Herren A", "2"}, Ergebnisverarbeitung::kKeinErgebnis},
    };
    for (const Ablehnung& f : faelle) {
        SCOPED_TRACE(f.name);
        const QString vorher = fingerabdruck(db());
        const Lauf l = cli(f.args);
        EXPECT_EQ(l.status, 1) << l.text();
        EXPECT_TRUE(l.err.contains(f.meldung)) << l.text();
        EXPECT_EQ(fingerabdruck(db()), vorher);
        // With --json the refusal is an object naming it.
        const Lauf j = cli(f.args + QStringList{"--json"});
        EXPECT_EQ(j.status, 1);
        EXPECT_TRUE(j.json().value(QStringLiteral("fehler")).toString().contains(f.meldung)) << j.text();
    }
}

TEST_P(CliAblauf, ATieThatNeedsTheOperatorIsRefusedUnlessTheComputedOrderIsTaken) {
    kleineKlasse(QStringLiteral("gruppen:1:3:1"), 3);
    ASSERT_EQ(cli({"draw", "Herren A", "--seed", "1"}).status, 0);
    // Each beats one and loses to the other with the same sets and points: only the operator can decide.
    QJsonArray plan;
    for (const QJsonValue& v : spiele(cli({"plan", "Herren A", "--json"})))
        if (v[QStringLiteral("phase")].toInt() == 1) plan.append(v);
    ASSERT_EQ(plan.size(), 3);
    QStringList namen;
    for (const QJsonValue& v : plan)
        for (const char* seite : {"spieler1", "spieler2"})
            if (!namen.contains(v[QLatin1String(seite)].toString()))
                namen << v[QLatin1String(seite)].toString();
    namen.sort();
    auto ergebnis = [&](int i) {
        const QJsonObject m = plan[i].toObject();
        const int a = int(namen.indexOf(m[QStringLiteral("spieler1")].toString()));
        const int b = int(namen.indexOf(m[QStringLiteral("spieler2")].toString()));
        const bool ersterGewinnt = (b - a + 3) % 3 == 1;
        const QString nr = QString::number(m[QStringLiteral("nr")].toInt());
        return ersterGewinnt ? QStringList{"result", "Herren A", nr, "5", "5", "5"}
                             : QStringList{"result", "Herren A", nr, "-5", "-5", "-5"};
    };
    alle({ergebnis(0), ergebnis(1)});
    const QString vorher = fingerabdruck(db());
    const Lauf l = cli(ergebnis(2));
    ASSERT_EQ(l.status, 1) << l.text();
    EXPECT_TRUE(l.err.contains(tabelle::Vergleich::kZeile2)) << l.text();
    EXPECT_EQ(fingerabdruck(db()), vorher);
    const Lauf ok = cli(ergebnis(2) + QStringList{"--keep-tie-order"});
    EXPECT_EQ(ok.status, 0) << ok.text();
    EXPECT_TRUE(ok.out.contains(Ergebnisverarbeitung::kGruppeBeendet)) << ok.text();
}

TEST_P(CliAblauf, UsageErrorsExitTwo) {
    kleineKlasse();
    const QList<QStringList> faelle = {
        {"frobnicate"},
        {"plan"},
        {"plan", "Herren A", "--bogus"},
        {"plan", "Herren A", "extra"},
        {"class", "add", "B", "--kind", "quartett"},
        {"class", "add", "B", "--phase1", "gruppen:x"},
        {"result", "Herren A", "abc", "5"},
        {"draw", "Herren A", "--seed", "x"},
        {"export", "csv", "x"},
        {"checkin"},
        {"player", "add", "A", "B", "--partner", "ohne Gleichheitszeichen"},
    };
    for (const QStringList& f : faelle) {
        const Lauf l = cli(f);
        EXPECT_EQ(l.status, 2) << f.join(u' ').toStdString() << "\n" << l.text();
        EXPECT_FALSE(l.err.isEmpty());
    }
}

// A team final entered rubber by rubber: each rubber's result and sets are stored, the team result follows
// from the rubbers won, and a rubber whose sets disagree refuses the whole match.
TEST_P(CliAblauf, ATeamMatchIsEnteredRubberByRubber) {
    alle({{"tournament", "create", "Mannschaftspokal"},
          {"class", "add", "Pokal", "--kind", "team", "--mixed-sex", "--team-players", "2", "--rubbers",
           "A1-B2,A2-B1,D1-D1", "--phase1", "ko"}});
    for (int i = 1; i <= 4; ++i)
        alle({{"player", "add", QStringLiteral("Spieler%1").arg(i), "Vor", "--club", "TTC", "--class",
               "Pokal"}});
    alle({{"team", "add", "Pokal", "Nord", "--club", "TTC", "--players", "Spieler1, Vor;Spieler2, Vor"},
          {"team", "add", "Pokal", "Süd", "--club", "TTC", "--players", "Spieler3, Vor;Spieler4, Vor"},
          {"checkin", "--all"},
          {"draw", "Pokal", "--seed", "1"}});
    const int kid = db().selectOne(QStringLiteral("SELECT KID FROM Turnierklassen")).integer(u"KID");
    const auto spiel = [&] {
        return db().selectOne(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:k AND spielnummer=1"),
                              {{":k", kid}});
    };
    ASSERT_GT(spiel().integer(u"SID1"), 0);

    // Sets belong to the rubbers; rubbers belong to team classes.
    EXPECT_EQ(cli({"result", "Pokal", "1", "5", "5", "5"}).status, 2);
    const QString vorher = fingerabdruck(db());
    const Lauf falsch = cli({"result", "Pokal", "1", "--rubber", "3:0 5 -5 5", "--rubber", "3:0 5 5 5"});
    EXPECT_EQ(falsch.status, 1) << falsch.text();
    EXPECT_TRUE(falsch.err.startsWith(QStringLiteral("Spiel 1: "))) << falsch.text();
    EXPECT_EQ(fingerabdruck(db()), vorher);

    const Lauf l = cli(
        {"result", "Pokal", "1", "--rubber", "3:1 8 -6 9 5", "--rubber", "-9 -9 -9", "--rubber", "5 6 -3 7"});
    ASSERT_EQ(l.status, 0) << l.text();
    const Row m = spiel();
    EXPECT_TRUE(m.boolean(u"beendet"));
    EXPECT_EQ(m.text(u"ergebnis"), "2:1");
    EXPECT_EQ(m.integer(u"siegerSID"), m.integer(u"SID1"));
    const Rows rubbers = db().select(
        QStringLiteral("SELECT nummer,ergebnis,satz1,satz2,satz3,satz4,satz5 FROM Teamspiele WHERE "
                       "KID=:k AND spielnummer=1 ORDER BY nummer"),
        {{":k", kid}});
    ASSERT_EQ(rubbers.size(), 3);
    const struct {
        const char* ergebnis;
        int saetze[5];
        int gespielt;
    } erwartet[] = {
        {"3:1", {8, -6, 9, 5, 0}, 4}, {"0:3", {-9, -9, -9, 0, 0}, 3}, {"3:1", {5, 6, -3, 7, 0}, 4}};
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n + 1);
        EXPECT_EQ(rubbers[n].text(u"ergebnis"), erwartet[n].ergebnis);
        for (int k = 0; k < 5; ++k) {
            const QString spalte = QStringLiteral("satz%1").arg(k + 1);
            if (k < erwartet[n].gespielt)
                EXPECT_EQ(rubbers[n].integer(spalte), erwartet[n].saetze[k]) << spalte.toStdString();
            else
                EXPECT_TRUE(rubbers[n].isNull(spalte)) << spalte.toStdString();
        }
    }
}

TEST_P(CliAblauf, EveryCommandHasItsHelp) {
    const Lauf top = cli({"--help"});
    ASSERT_EQ(top.status, 0);
    static const QRegularExpression zeile(QStringLiteral("^  ([a-z]+(?: [a-z]+)?)(?: [A-Z\\[\"]|\\s{2,})"));
    QStringList befehle;
    for (const QString& z : top.out.split(u'\n')) {
        const auto m = zeile.match(z);
        if (m.hasMatch()) befehle << m.captured(1);
    }
    ASSERT_GE(befehle.size(), 17) << top.text();
    for (const QString& b : befehle) {
        const Lauf l = cli(b.split(u' ') + QStringList{"--help"});
        EXPECT_EQ(l.status, 0) << b.toStdString();
        EXPECT_TRUE(l.out.startsWith(QStringLiteral("velmora-cli ") + b)) << b.toStdString() << l.text();
    }
}

TEST_P(CliAblauf, ListsAndExportsAreWrittenAndReadBack) {
    kleineKlasse();
    alle({{"draw", "Herren A", "--seed", "3"}, {"result", "Herren A", "1", "5", "-7", "9", "3"}});

    const Lauf liste = cli({"tournament", "list", "--json"});
    const QJsonArray turniere = liste.json().value(QStringLiteral("turniere")).toArray();
    ASSERT_EQ(turniere.size(), 1);
    EXPECT_EQ(turniere[0][QStringLiteral("name")].toString(), QStringLiteral("Stadtmeisterschaft"));
    const QJsonArray klassen =
        cli({"class", "list", "--json"}).json().value(QStringLiteral("klassen")).toArray();
    ASSERT_EQ(klassen.size(), 1);
    EXPECT_EQ(klassen[0][QStringLiteral("klasse")].toString(), QStringLiteral("Herren A (Einzel)"));
    EXPECT_EQ(klassen[0][QStringLiteral("meldungen")].toInt(), 4);
    EXPECT_EQ(klassen[0][QStringLiteral("beendet")].toInt(), 1);
    const QJsonArray spieler =
        cli({"player", "list", "--json"}).json().value(QStringLiteral("spieler")).toArray();
    ASSERT_EQ(spieler.size(), 4);
    EXPECT_TRUE(spieler[0][QStringLiteral("angemeldet")].toBool());

    // Text output: a header and one aligned line per match, columns starting at the same place.
    const QStringList zeilen = cli({"plan", "Herren A"}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 8);
    const int spalte = int(zeilen[0].indexOf(QStringLiteral("Status")));
    for (const QString& z : zeilen.mid(1))
        EXPECT_TRUE(
            QStringList({"beendet", "spielbar", "wartet"}).contains(z.mid(spalte).section(u' ', 0, 0)))
            << z.toStdString();

    const QString ordner = tdb->folder() + QStringLiteral("/site");
    ASSERT_EQ(cli({"export", "html", ordner}).status, 0);
    QFile plan(ordner + QStringLiteral("/sp_Herren A0.html"));
    ASSERT_TRUE(plan.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(plan.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("<td>3:1</td>")));
    EXPECT_FALSE(text.contains(QStringLiteral("http-equiv=\"refresh\""))) << "only live pages reload";
    EXPECT_TRUE(QFile::exists(ordner + QStringLiteral("/index.html")));

    for (const char* art : {"xlsx", "pdf"}) {
        const QString datei = tdb->folder() + QStringLiteral("/spielplan.") + QString::fromLatin1(art);
        const Lauf e = cli({"export", art, "spielplan", datei, "--class", "Herren A", "--json"});
        ASSERT_EQ(e.status, 0) << e.text();
        EXPECT_EQ(e.json().value(QStringLiteral("zeilen")).toInt(), 7);
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(4).startsWith(qstrcmp(art, "pdf") == 0 ? "%PDF" : "PK"));
    }
}

TEST_P(CliAblauf, ImportReadsASpreadsheetOnceAndSkipsWhoIsThereAlready) {
    alle({{"tournament", "create", "Stadtmeisterschaft"}});
    const QString csv = tdb->folder() + QStringLiteral("/meldungen.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Nachname;Vorname;Verein\r\nM\xc3\xbcller;Hans;TTC Nord\r\nSchulz;Eva;SV West\r\n");
    }
    const Lauf erst = cli({"import", csv, "--json"});
    ASSERT_EQ(erst.status, 0) << erst.text();
    EXPECT_EQ(erst.json().value(QStringLiteral("importiert")).toInt(), 2);
    const Lauf noch = cli({"import", csv, "--json"});
    ASSERT_EQ(noch.status, 0) << noch.text();
    EXPECT_EQ(noch.json().value(QStringLiteral("importiert")).toInt(), 0);
    EXPECT_EQ(noch.json().value(QStringLiteral("vorhanden")).toVariant().toStringList(),
              QStringList({"Müller, Hans", "Schulz, Eva"}));
    const QJsonArray spieler =
        cli({"player", "list", "--json"}).json().value(QStringLiteral("spieler")).toArray();
    ASSERT_EQ(spieler.size(), 2);
    EXPECT_EQ(spieler[0][QStringLiteral("name")].toString(), QStringLiteral("Müller, Hans"));
    EXPECT_EQ(spieler[0][QStringLiteral("verein")].toString(), QStringLiteral("TTC Nord"));

    // Columns named on the command line: a file without a header row.
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Vogel;Jan\r\n");
    }
    const Lauf ohneKopf = cli({"import", csv, "--columns", "Nachname,Vorname"});
    ASSERT_EQ(ohneKopf.status, 0) << ohneKopf.text();
    EXPECT_EQ(cli({"player", "list", "--json"}).json().value(QStringLiteral("spieler")).toArray().size(), 3);

    const Lauf fehlt = cli({"import", tdb->folder() + QStringLiteral("/fehlt.xlsx")});
    EXPECT_EQ(fehlt.status, 1) << fehlt.text();
    EXPECT_FALSE(fehlt.err.isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(CliAblauf);
