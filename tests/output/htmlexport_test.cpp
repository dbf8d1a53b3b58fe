#include "output/htmlexport.h"

#include "draw/fertigstellen.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr int kTid = 1;
constexpr int kEinzel = 10;
constexpr int kDoppel = 11;

class HtmlExport : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(dir.isValid());
        state.tid = kTid;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
    }

    void turnier(const QString& name, const QString& ort = {}) {
        db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername,austragungsort,tvon) VALUES (:t,:n,:o,:v)"),
                  {{":t", kTid},
                   {":n", name},
                   {":o", ort.isEmpty() ? QVariant() : QVariant(ort)},
                   {":v", ort.isEmpty() ? QVariant() : QVariant(QDate(2026, 5, 9))}});
        state.turniername = name;
    }
    void klasse(int kid, int system, const QString& name) {
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung,mann,frau,saetze,gebuehr) "
                                 "VALUES (:k,:t,:s,:n,:m,:f,3,7.5)"),
                  {{":k", kid}, {":t", kTid}, {":s", system}, {":n", name}, {":m", true}, {":f", false}});
    }
    void spieler(int sid, const QString& nachname, const QString& vorname, const QString& verein, int kid) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID,SID,nachname,vorname,verein,geb,nummer) "
                                 "VALUES (:t,:s,:n,:v,:ve,:g,:nr)"),
                  {{":t", kTid},
                   {":s", sid},
                   {":n", nachname},
                   {":v", vorname},
                   {":ve", verein},
                   {":g", QDate(2001, 3, 4)},
                   {":nr", sid}});
        db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier (TID,KID,SID) VALUES (:t,:k,:s)"),
                  {{":t", kTid}, {":k", kid}, {":s", sid}});
    }
    // Writes the plan of one group of the given players through draw completion.
    void gruppe(int kid, const QList<QPair<int, QString>>& eintraege) {
        DrawPlan plan;
        plan.kid = kid;
        plan.tid = kTid;
        plan.phases[0].system = PhasePlan::Gruppenphase;
        QVector<PlanSlot> linien;
        for (const auto& [sid, text] : eintraege)
            linien << PlanSlot{sid, text};
        plan.phases[0].groups << linien;
        const QString files = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
        Fertigstellen f(db(), ui, Datendateien{files + "system.txt", files + "ko_system.txt"});
        ASSERT_TRUE(f.fertigstellen(plan).geschrieben);
    }

    // A small tournament: a drawn singles class with one result, a doubles class, a team and an umpire.
    void kleinesTurnier() {
        turnier(QStringLiteral("Stadtmeisterschaft"), QStringLiteral("Sporthalle Süd"));
        klasse(kEinzel, 0, QStringLiteral("Herren A"));
        klasse(kDoppel, 1, QStringLiteral("Herren Doppel"));
        spieler(101, QStringLiteral("Meier"), QStringLiteral("Anna"), QStringLiteral("TTC Grün"), kEinzel);
        spieler(102, QStringLiteral("Zander"), QStringLiteral("Bert"), QStringLiteral("SV Ost"), kEinzel);
        spieler(103, QStringLiteral("Huber"), QStringLiteral("Carl"), QStringLiteral("TTC Grün"), kEinzel);
        spieler(104, QStringLiteral("Wolf"), QStringLiteral("Dora"), QStringLiteral("SV Ost"), kDoppel);
        spieler(105, QStringLiteral("Graf"), QStringLiteral("Emil"), QStringLiteral("SV Ost"), kDoppel);
        db().exec(QStringLiteral("INSERT INTO Doppelpartner (KID,SID,partner_SID,mannschaft) VALUES (:k,104,105,'')"),
                  {{":k", kDoppel}});
        db().exec(QStringLiteral("INSERT INTO Teams (TID,KID,MID,teamname,verein,s1,s2,s3,s4,r1,r2,d1_1,d1_2,d2_1,d2_2) "
                                 "VALUES (:t,:k,200,'Grün I','TTC Grün',101,103,0,0,0,0,101,103,0,0)"),
                  {{":t", kTid}, {":k", kEinzel}});
        db().exec(QStringLiteral("INSERT INTO Schiri (TID,SCHIRIID,snname,svname,sverein) VALUES (:t,300,'Roth','Ida','SV Ost')"),
                  {{":t", kTid}});
        gruppe(kEinzel, {{101, "Meier, Anna"}, {102, "Zander, Bert"}, {103, "Huber, Carl"}});
        // The first match finished; its second set was won by side 2 at 11:0, which is stored as -100.
        db().exec(QStringLiteral("UPDATE Spielplan SET satz1=5,satz2=-100,satz3=8,ergebnis='2:1',an_platte='3',"
                                 "spielstart=:s WHERE KID=:k AND spielnummer=1"),
                  {{":k", kEinzel}, {":s", QDateTime(QDate(2026, 5, 9), QTime(10, 15))}});
    }

    bool exportieren() {
        ui.chooseFile(dir.filePath(QStringLiteral("Stadt.htm")));
        return !htmlexport::exportieren(state, db(), ui, dir.path()).isEmpty();
    }
    QString seite(const QString& name) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll());
    }
    QStringList dateien() {
        QStringList l = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        return l;
    }
    QStringList zeilen(const QString& name) { return seite(name).split(QStringLiteral("\r\n")); }

    AppState state;
    ScriptedInteraction ui;
    QTemporaryDir dir;
};

// Every page of the site is there and every link or frame source points at a page that was written.
TEST_P(HtmlExport, WritesEveryPageAndEveryLinkLeadsToOne) {
    kleinesTurnier();
    ASSERT_TRUE(exportieren());
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join('|').toStdString();
    EXPECT_EQ(ui.fileFilters.value(0), QStringLiteral("HTML (*.htm)"));

    const QStringList erwartet{"Herren A0.html",     "Herren Doppel1.html",  "Stadt.htm.html",
                               "klassenindex.html",  "navigation.html",      "schiri.html",
                               "sp_Herren A0.html",  "sp_Herren Doppel1.html", "spielerdaten.html",
                               "spielplanindex.html", "titel.html",          "turnierdaten.html",
                               "velmora.css"};
    EXPECT_EQ(dateien(), erwartet);

    static const QRegularExpression linkRe(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    int links = 0;
    for (const QString& datei : erwartet) {
        if (datei.endsWith(u".css")) continue;
        const QString text = seite(datei);
        EXPECT_TRUE(text.endsWith(QStringLiteral("</html>\r\n"))) << datei.toStdString();
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\r]\n")))) << datei.toStdString();
        auto it = linkRe.globalMatch(text);
        while (it.hasNext()) {
            const QString ziel = QUrl::fromPercentEncoding(it.next().captured(1).toUtf8());
            EXPECT_TRUE(QFile::exists(dir.filePath(ziel))) << datei.toStdString() << " -> " << ziel.toStdString();
            ++links;
        }
    }
    EXPECT_EQ(links, 3 + 5 + 2 + 2 + 11 /* and a stylesheet link on each page but the frameset */);

    EXPECT_TRUE(zeilen("klassenindex.html").contains(QStringLiteral("<a href=\"Herren%20A0.html\">Herren A (Einzel)</a><br>")));
    EXPECT_TRUE(zeilen("spielplanindex.html")
                    .contains(QStringLiteral("<a href=\"sp_Herren%20Doppel1.html\">Herren Doppel (Doppel)</a><br>")));
    EXPECT_TRUE(seite("navigation.html").toUtf8().contains("Spielpl\xC3\xA4ne")); // UTF-8, as the page declares

    // The tournament page: the name and the two values that are set, in the order of the labels.
    const QStringList turnier = zeilen("turnierdaten.html");
    const int ort = int(turnier.indexOf(QStringLiteral("<td>Austragungsort")));
    ASSERT_GE(ort, 0);
    EXPECT_EQ(turnier.value(ort + 2), QStringLiteral("<td>Sporthalle Süd"));
    EXPECT_EQ(turnier.value(ort + 8), QStringLiteral("<td>09.05.2026"));

    // A doubles page names the partner; a singles page has an empty line in that place.
    const QStringList doppel = zeilen("Herren Doppel1.html");
    const int wolf = int(doppel.indexOf(QStringLiteral("<td>Wolf, Dora</td>")));
    ASSERT_GE(wolf, 0);
    EXPECT_EQ(doppel.value(wolf + 2), QStringLiteral("<td>Graf, Emil</td>"));
    const int graf = int(doppel.indexOf(QStringLiteral("<td>Graf, Emil</td>")));
    EXPECT_EQ(doppel.value(graf + 2), QStringLiteral("<td>&nbsp;</td>")); // Graf has no partner row
    const QStringList einzel = zeilen("Herren A0.html");
    const int huber = int(einzel.indexOf(QStringLiteral("<td>Huber, Carl</td>")));
    ASSERT_GE(huber, 0);
    EXPECT_EQ(einzel.value(huber + 1), QStringLiteral("<td>TTC Grün</td>"));
    EXPECT_EQ(einzel.value(huber + 2), QString());
    EXPECT_EQ(einzel.value(huber + 3), QStringLiteral("</tr>"));
    EXPECT_TRUE(einzel.contains(QStringLiteral("<td>Gebühr</td>")));
    EXPECT_TRUE(einzel.contains(QStringLiteral("<td>7,50</td>")));

    // The plan: three matches, the finished one with its sets as entered.
    const QStringList plan = zeilen("sp_Herren A0.html");
    EXPECT_EQ(plan.count(QStringLiteral("<tr>")), 3);
    const int erstes = int(plan.indexOf(QStringLiteral("<td>1</td>")));
    ASSERT_GE(erstes, 0);
    EXPECT_EQ(plan.mid(erstes + 3, 3), (QStringList{"<td>5</td>", "<td>-0</td>", "<td>8</td>"}));
    EXPECT_EQ(plan.value(erstes + 12), QStringLiteral("<td>2:1</td>"));
    EXPECT_EQ(plan.value(erstes + 13), QStringLiteral("<td>3</td>"));
    EXPECT_EQ(plan.value(erstes + 14), QStringLiteral("<td>09.05.2026 10:15</td>"));
    EXPECT_EQ(plan.value(erstes + 15), QStringLiteral("<td>&nbsp;</td>"));
    EXPECT_EQ(zeilen("sp_Herren Doppel1.html").count(QStringLiteral("<tr>")), 0);

    // Players, teams (two empty places, one pair) and umpires.
    const QStringList sp = zeilen("spielerdaten.html");
    EXPECT_TRUE(sp.contains(QStringLiteral("<tr><td>Zander, Bert</td>")));
    EXPECT_TRUE(sp.contains(QStringLiteral("<td>04.03.2001</td>")));
    const int team = int(sp.indexOf(QStringLiteral("<tr><td valign=\"top\">Grün I</td>")));
    ASSERT_GE(team, 0);
    EXPECT_EQ(sp.mid(team + 3, 4), (QStringList{"Meier, Anna<br>", "Huber, Carl<br>", "<br><br>", "<br><br>"}));
    EXPECT_EQ(sp.value(team + 9), QStringLiteral("Meier, Anna - Huber, Carl<br>"));
    EXPECT_EQ(sp.value(team + 10), QStringLiteral("</td>"));
    EXPECT_TRUE(zeilen("schiri.html").contains(QStringLiteral("<tr><td>Roth, Ida</td>")));
}

// Names are shown as typed: nothing a club or the desk types can become markup or a path.
TEST_P(HtmlExport, HostileNamesAreShownAsTypedAndInjectNothing) {
    const QString boese = QStringLiteral("<b>Meier & Söhne</b>");
    const QString sicher = QStringLiteral("&lt;b&gt;Meier &amp; Söhne&lt;/b&gt;");
    turnier(boese, QStringLiteral("\"Halle\" <script>alert(1)</script>"));
    klasse(kEinzel, 0, QStringLiteral("A/../<i>x</i>"));
    spieler(101, boese, QStringLiteral("O'Neil"), boese, kEinzel);
    spieler(102, QStringLiteral("Zander"), QStringLiteral("Bert"), QStringLiteral("SV"), kEinzel);
    db().exec(QStringLiteral("INSERT INTO Schiri (TID,SCHIRIID,snname,svname) VALUES (:t,300,:n,'x')"),
              {{":t", kTid}, {":n", boese}});
    gruppe(kEinzel, {{101, boese + ", O'Neil"}, {102, "Zander, Bert"}});
    ASSERT_TRUE(exportieren());

    const QString schluessel = QStringLiteral("A_.._<i>x<_i>0").replace('<', '_').replace('>', '_');
    EXPECT_EQ(htmlexport::klassenschluessel(QStringLiteral("A/../<i>x</i>"), 0), schluessel);
    EXPECT_TRUE(QFile::exists(dir.filePath(schluessel + ".html")));
    EXPECT_TRUE(QFile::exists(dir.filePath("sp_" + schluessel + ".html")));

    for (const QString& datei : dateien()) {
        const QString text = seite(datei);
        EXPECT_FALSE(text.contains(QStringLiteral("<b>"))) << datei.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("<script"))) << datei.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("<i>"))) << datei.toStdString();
    }
    EXPECT_TRUE(seite("turnierdaten.html").contains(QStringLiteral("<h1>") + sicher + QStringLiteral("</h1><br>")));
    EXPECT_TRUE(seite("turnierdaten.html").contains(QStringLiteral("&quot;Halle&quot; &lt;script&gt;")));
    EXPECT_TRUE(zeilen("spielerdaten.html").contains(QStringLiteral("<tr><td>") + sicher + QStringLiteral(", O&#39;Neil</td>")));
    EXPECT_TRUE(zeilen("sp_" + schluessel + ".html").contains(QStringLiteral("<td>") + sicher + QStringLiteral(", O&#39;Neil</td>")));
    EXPECT_TRUE(zeilen("schiri.html").contains(QStringLiteral("<tr><td>") + sicher + QStringLiteral(", x</td>")));
    EXPECT_TRUE(seite("klassenindex.html").contains(QStringLiteral(">A/../&lt;i&gt;x&lt;/i&gt; (Einzel)</a><br>")));
}

TEST_P(HtmlExport, TournamentWithoutClassesHasEmptyIndexesAndNoClassPages) {
    turnier(QStringLiteral("Stadtmeisterschaft"));
    ASSERT_TRUE(exportieren());
    EXPECT_EQ(dateien(), (QStringList{"Stadt.htm.html", "klassenindex.html", "navigation.html", "schiri.html",
                                      "spielerdaten.html", "spielplanindex.html", "titel.html", "turnierdaten.html",
                                      "velmora.css"}));
    EXPECT_FALSE(seite("klassenindex.html").contains(QStringLiteral("<a ")));
    EXPECT_FALSE(seite("spielplanindex.html").contains(QStringLiteral("<a ")));
}

TEST_P(HtmlExport, TournamentPageWithOnlyANameHasOneRow) {
    turnier(QStringLiteral("Stadtmeisterschaft"));
    ASSERT_TRUE(exportieren());
    const QStringList z = zeilen("turnierdaten.html");
    EXPECT_EQ(z.count(QStringLiteral("<tr>")), 1);
    const int i = int(z.indexOf(QStringLiteral("<tr>")));
    EXPECT_EQ(z.mid(i, 6), (QStringList{"<tr>", "<td>Turniername", "</td>", "<td>Stadtmeisterschaft", "</td>", "</tr>"}));
}

// A side emptied again (a withdrawn result) leaves one known player: such a match is not on the page.
TEST_P(HtmlExport, MatchWithOneKnownPlayerIsLeftOut) {
    kleinesTurnier();
    db().exec(QStringLiteral("UPDATE Spielplan SET spieler2='',SID2=-1 WHERE KID=:k AND spielnummer=2"), {{":k", kEinzel}});
    ASSERT_TRUE(exportieren());
    const QStringList plan = zeilen("sp_Herren A0.html");
    EXPECT_EQ(plan.count(QStringLiteral("<tr>")), 2);
    EXPECT_TRUE(plan.contains(QStringLiteral("<td>1</td>")));
    EXPECT_FALSE(plan.contains(QStringLiteral("<td>2</td>")));
}

TEST_P(HtmlExport, CancelledSaveDialogWritesNothing) {
    kleinesTurnier();
    ui.chooseFile(QString());
    EXPECT_TRUE(htmlexport::exportieren(state, db(), ui, dir.path()).isEmpty());
    EXPECT_TRUE(dateien().isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

// A folder that cannot be written: a German message naming the file, and no stray temporary files.
TEST_P(HtmlExport, UnwritableTargetIsReportedByFileName) {
    turnier(QStringLiteral("Stadtmeisterschaft"));
    // A regular file where the folder should be: no user, root included, can create files inside it.
    QFile blocker(dir.filePath("belegt"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ui.chooseFile(dir.filePath("belegt/Stadt.htm"));
    EXPECT_TRUE(htmlexport::exportieren(state, db(), ui, dir.path()).isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.")
                                       .arg(QDir::toNativeSeparators(dir.filePath("belegt/Stadt.htm.html"))));
    EXPECT_EQ(dateien(), QStringList{"belegt"});
    EXPECT_EQ(ui.lastProgressMaximum, 0);
}

// A page that cannot be replaced part-way through: the run stops there with its name, the pages before it
// are complete and no temporary file is left behind.
TEST_P(HtmlExport, FailurePartWayNamesThePageAndLeavesNoTemporaryFile) {
    turnier(QStringLiteral("Stadtmeisterschaft"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("turnierdaten.html"));
    ASSERT_FALSE(exportieren());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.")
                                       .arg(QDir::toNativeSeparators(dir.filePath("turnierdaten.html"))));
    EXPECT_EQ(dateien(), (QStringList{"Stadt.htm.html", "navigation.html", "titel.html", "turnierdaten.html"}));
    EXPECT_TRUE(seite("titel.html").endsWith(QStringLiteral("</html>\r\n")));
}

// The site as a browser sees it: every page loads (frames included) without a message on the console.
TEST_P(HtmlExport, EveryPageLoadsInHeadlessChromiumWithoutConsoleErrors) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) GTEST_SKIP() << "Chromium is not installed";
    kleinesTurnier();
    ASSERT_TRUE(exportieren());
    for (const QString& datei : dateien()) {
        if (!datei.endsWith(u".html")) continue;
        SCOPED_TRACE(datei.toStdString());
        QTemporaryDir profil;
        QProcess p;
        p.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                           QStringLiteral("--user-data-dir=") + profil.path(), QStringLiteral("--enable-logging=stderr"),
                           QStringLiteral("--v=0"), QStringLiteral("--virtual-time-budget=2000"),
                           QStringLiteral("--dump-dom"), QUrl::fromLocalFile(dir.filePath(datei)).toString()});
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString dom = QString::fromUtf8(p.readAllStandardOutput());
        const QStringList konsole = QString::fromUtf8(p.readAllStandardError())
                                        .split(u'\n')
                                        .filter(QRegularExpression(QStringLiteral(":CONSOLE|ERR_FILE_NOT_FOUND")));
        EXPECT_TRUE(konsole.isEmpty()) << konsole.join(u'\n').toStdString();
        EXPECT_TRUE(dom.contains(QStringLiteral("</html>"))) << dom.left(300).toStdString();
    }
}

VELMORA_INSTANTIATE_DB_TEST(HtmlExport);

TEST(HtmlEscape, EscapesEveryCharacterThatIsSpecialInHtml) {
    EXPECT_EQ(htmlexport::escape(QStringLiteral("a<b>&\"c'")), QStringLiteral("a&lt;b&gt;&amp;&quot;c&#39;"));
    EXPECT_EQ(htmlexport::escape(QStringLiteral("Söhne")), QStringLiteral("Söhne"));
}

} // namespace
