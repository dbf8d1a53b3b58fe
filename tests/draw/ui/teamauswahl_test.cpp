#include "draw/ui/teamauswahl.h"

#include "common/clock.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Team class 10 (two players, one reserve) with players Adler, Berg, Christ; team class 11 (one player)
// with Dorn.
class TeamauswahlTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES "
                                 "(10, 1, 3, 'Herren'), (11, 1, 3, 'Damen'), (12, 1, 1, 'Doppel')"));
        db().exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler, reserve) VALUES (1, 10, 2, 1), "
                                 "(1, 11, 1, 0)"));
        const struct {
            int sid;
            const char* name;
            const char* verein;
            int kid;
        } players[] = {{3, "Christ", "SV Süd", 10},
                       {1, "Adler", "TTC Nord", 10},
                       {2, "Berg", "TTC Nord", 10},
                       {4, "Dorn", "Post SV", 11}};
        for (const auto& p : players) {
            db().exec(
                QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                               "VALUES (1, :s, :n, 'Vorname', :v, 0)"),
                {{":s", p.sid}, {":n", QString::fromUtf8(p.name)}, {":v", QString::fromUtf8(p.verein)}});
            db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1, :k, :s)"),
                      {{":k", p.kid}, {":s", p.sid}});
            db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k, :s, NULL, NULL)"),
                      {{":k", p.kid}, {":s", p.sid}});
        }
        dialog = std::make_unique<Tteamauswahl>(state, db(), ui, clock);
    }
    void TearDown() override {
        dialog.reset();
        DbTest::TearDown();
    }

    template <typename W> W* child(const char* name) {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* list(const char* name) { return child<QListWidget>(name); }
    QComboBox* teamname() { return child<QComboBox>("ComboBox1"); }
    QComboBox* verein() { return child<QComboBox>("ComboBox2"); }
    void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    static QStringList texts(const QListWidget* l) {
        QStringList t;
        for (int i = 0; i < l->count(); ++i)
            t << l->item(i)->text();
        return t;
    }

    // Drops what a drag from row `fromRow` of list `from` carries onto row `toRow` of list `to` (-1: below
    // the last line), through the list's own drop handling.
    void dragDrop(const char* from, int fromRow, const char* to, int toRow) {
        QListWidget* source = list(from);
        QListWidget* target = list(to);
        ASSERT_TRUE(source && target);
        const QMap<QString, TeamListe> kinds = {{"ListBox3", TeamListe::Gemeldet},
                                                {"ListBox1", TeamListe::Spieler},
                                                {"ListBox2", TeamListe::Reserve},
                                                {"ListBox4", TeamListe::Doppel1},
                                                {"ListBox5", TeamListe::Doppel2}};
        const std::unique_ptr<QMimeData> data =
            Tteamauswahl::dragData(kinds.value(QString::fromLatin1(from)), fromRow);
        const QPoint at = toRow >= 0 ? target->visualItemRect(target->item(toRow)).center()
                                     : QPoint(5, target->viewport()->height() - 2);
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &drop);
        EXPECT_TRUE(drop.isAccepted());
    }

    QString mannschaft(int sid, int kid = 10) {
        const Row r =
            db().selectOne(QStringLiteral("SELECT mannschaft FROM Doppelpartner WHERE SID=:s AND KID=:k"),
                           {{":s", sid}, {":k", kid}});
        return r.isNull(u"mannschaft") ? QStringLiteral("NULL") : r.text(u"mannschaft");
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<Tteamauswahl> dialog;
};

TEST_P(TeamauswahlTest, OpeningShowsTheFirstTeamClassWithItsPlayersAndEmptyPositions) {
    dialog->oeffnen();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Team bearbeiten"));
    EXPECT_EQ(texts(list("ListBox6")), QStringList({"Herren", "Damen"}));
    EXPECT_EQ(list("ListBox6")->currentRow(), 0);
    EXPECT_EQ(texts(list("ListBox3")), QStringList({"Adler, Vorname", "Berg, Vorname", "Christ, Vorname"}));
    EXPECT_EQ(verein()->count(), 2);
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1.", "2."}));
    EXPECT_EQ(texts(list("ListBox2")), QStringList({"1."}));
    EXPECT_EQ(texts(list("ListBox4")), QStringList({"1.", "2."}));
    EXPECT_EQ(texts(list("ListBox5")), QStringList({"1.", "2."}));

    // Each list and field is found by its label; each button by its caption.
    const QMap<QString, QString> buddies = {{"Spielklassen", "ListBox6"}, {"gemeldete Spieler", "ListBox3"},
                                            {"Teamname", "ComboBox1"},    {"Verein", "ComboBox2"},
                                            {"Spieler", "ListBox1"},      {"Reservespieler", "ListBox2"},
                                            {"Doppel 1", "ListBox4"},     {"Doppel 2", "ListBox5"}};
    for (const QLabel* l : dialog->findChildren<QLabel*>()) {
        ASSERT_TRUE(buddies.contains(l->text())) << l->text().toStdString();
        ASSERT_NE(l->buddy(), nullptr);
        EXPECT_EQ(l->buddy()->objectName(), buddies.value(l->text()));
    }
    QStringList captions;
    for (const QPushButton* b : dialog->findChildren<QPushButton*>())
        captions << b->text();
    EXPECT_EQ(captions, QStringList({"Neues Team", "Team löschen", "Übernehmen", "Zurück"}));

    list("ListBox6")->setCurrentRow(1);
    EXPECT_EQ(texts(list("ListBox3")), QStringList({"Dorn, Vorname"}));
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1."}));
    EXPECT_TRUE(texts(list("ListBox2")).isEmpty());
}

TEST_P(TeamauswahlTest, ATeamIsFormedByDraggingPlayersAndStoredWithUebernehmen) {
    dialog->oeffnen();
    QSignalSpy changed(dialog.get(), &Tteamauswahl::teamsChanged);

    dragDrop("ListBox3", 1, "ListBox1", 1);  // Berg to position 2
    dragDrop("ListBox3", 0, "ListBox1", -1); // Adler below the last line: the first empty position
    dragDrop("ListBox3", 0, "ListBox1", 1);  // Adler twice: ignored
    dragDrop("ListBox3", 2, "ListBox2", 0);  // Christ as reserve
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Adler, Vorname", "2. Berg, Vorname"}));
    EXPECT_EQ(texts(list("ListBox2")), QStringList({"1. Christ, Vorname"}));

    dragDrop("ListBox1", 1, "ListBox4", 0); // Berg into doubles 1, keeping his position
    dragDrop("ListBox2", 0, "ListBox4", 1); // Christ too
    dragDrop("ListBox3", 0, "ListBox5", 0); // an entered player: not taken by a pair
    dragDrop("ListBox1", 0, "ListBox1", 1); // exchange within the list
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Berg, Vorname", "2. Adler, Vorname"}));
    EXPECT_EQ(texts(list("ListBox4")), QStringList({"1. Berg, Vorname", "2. Christ, Vorname"}));
    EXPECT_EQ(texts(list("ListBox5")), QStringList({"1.", "2."}));

    dragDrop("ListBox2", 0, "ListBox3", -1); // Christ back: out of the team and its pair
    EXPECT_EQ(texts(list("ListBox2")), QStringList({"1."}));
    EXPECT_EQ(texts(list("ListBox4")), QStringList({"1. Berg, Vorname", "2."}));
    EXPECT_TRUE(db().select(QStringLiteral("SELECT MID FROM Teams")).isEmpty()) << "nothing stored yet";

    QTest::keyClicks(teamname()->lineEdit(), QStringLiteral("Nord"));
    verein()->setCurrentIndex(verein()->findText(QStringLiteral("TTC Nord")));
    click("uebernehmen");

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(changed.count(), 1);
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Teams WHERE KID=10"));
    EXPECT_EQ(r.text(u"teamname"), QStringLiteral("Nord"));
    EXPECT_EQ(r.text(u"verein"), QStringLiteral("TTC Nord"));
    EXPECT_EQ(r.integer(u"s1"), 2);
    EXPECT_EQ(r.integer(u"s2"), 1);
    EXPECT_TRUE(r.isNull(u"s3"));
    EXPECT_EQ(r.integer(u"r1"), 0);
    EXPECT_EQ(r.integer(u"d1_1"), 2);
    EXPECT_EQ(r.integer(u"d1_2"), 0);
    EXPECT_EQ(mannschaft(1), QStringLiteral("Nord"));
    EXPECT_EQ(mannschaft(2), QStringLiteral("Nord"));
    EXPECT_EQ(mannschaft(3), QStringLiteral("NULL"));
    EXPECT_EQ(teamname()->count(), 1);
    EXPECT_EQ(teamname()->itemText(0), QStringLiteral("Nord"));
    // Players of a team stand out in "gemeldete Spieler".
    EXPECT_TRUE(list("ListBox3")->item(0)->font().bold());
    EXPECT_FALSE(list("ListBox3")->item(2)->font().bold());
}

TEST_P(TeamauswahlTest, OverwriteAndDeleteAskFirst) {
    db().exec(QStringLiteral(
        "INSERT INTO Teams VALUES (1, 10, 7, 'Nord', 1, 2, NULL, NULL, 3, NULL, 1, 2, 0, 0, 0, "
        "'TTC Nord')"));
    db().exec(QStringLiteral("UPDATE Doppelpartner SET mannschaft='Nord' WHERE KID=10"));
    dialog->oeffnen();
    EXPECT_EQ(teamname()->currentText(), QStringLiteral("Nord"));
    EXPECT_EQ(verein()->currentText(), QStringLiteral("TTC Nord"));
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Adler, Vorname", "2. Berg, Vorname"}));
    EXPECT_EQ(texts(list("ListBox4")), QStringList({"1. Adler, Vorname", "2. Berg, Vorname"}));

    dragDrop("ListBox2", 0, "ListBox3", -1);
    ui.answer(false);
    click("uebernehmen");
    EXPECT_EQ(ui.questions, QStringList({"Dieser Mannschaftsname existiert bereits!\nÜberschreiben?"}));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT r1 FROM Teams WHERE MID=7")).integer(u"r1"), 3);

    ui.answer(true);
    click("uebernehmen");
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT r1 FROM Teams WHERE MID=7")).integer(u"r1"), 0);
    EXPECT_EQ(mannschaft(3), QStringLiteral("NULL"));

    ui.clear();
    ui.answer(false);
    click("teamLoeschen");
    EXPECT_EQ(ui.questions, QStringList({"Wollen Sie das Team wirklich löschen?"}));
    EXPECT_EQ(db().select(QStringLiteral("SELECT MID FROM Teams")).size(), 1);

    QSignalSpy changed(dialog.get(), &Tteamauswahl::teamsChanged);
    ui.answer(true);
    click("teamLoeschen");
    EXPECT_TRUE(db().select(QStringLiteral("SELECT MID FROM Teams")).isEmpty());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(mannschaft(1), QStringLiteral("NULL"));
    EXPECT_EQ(mannschaft(2), QStringLiteral("NULL"));
    EXPECT_EQ(teamname()->count(), 0);
    EXPECT_EQ(teamname()->currentText(), QString());
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1.", "2."}));
}

TEST_P(TeamauswahlTest, ChoosingATeamOrAPlayerShowsTheTeam) {
    db().exec(QStringLiteral(
        "INSERT INTO Teams VALUES (1, 10, 7, 'Nord', 1, 0, NULL, NULL, 0, NULL, 0, 0, 0, 0, 0, "
        "'TTC Nord'), (1, 10, 8, 'Süd', 3, 2, NULL, NULL, 0, NULL, 0, 0, 0, 0, 0, 'SV Süd')"));
    dialog->oeffnen();
    EXPECT_EQ(teamname()->currentText(), QStringLiteral("Nord"));

    teamname()->setCurrentIndex(1);
    emit teamname()->activated(1);
    EXPECT_EQ(verein()->currentText(), QStringLiteral("SV Süd"));
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Christ, Vorname", "2. Berg, Vorname"}));

    click("neuesTeam");
    EXPECT_EQ(teamname()->currentText(), QString());
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1.", "2."}));

    QListWidget* players = list("ListBox3");
    QTest::mouseClick(players->viewport(), Qt::LeftButton, {},
                      players->visualItemRect(players->item(0)).center());
    EXPECT_EQ(teamname()->currentText(), QStringLiteral("Nord"));
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Adler, Vorname", "2."}));
}

TEST_P(TeamauswahlTest, RefusalsPutTheFocusOnTheField) {
    struct Case {
        const char* what;
        QString name;
        QString club;
        QString message;
        const char* field;
    };
    const Case cases[] = {
        {"no name", "", "TTC Nord", "Sie müssen einen Mannschaftsname eingeben", "ComboBox1"},
        {"no club", "Nord", "  ", "Sie müssen einen Verein eingeben", "ComboBox2"},
    };
    dialog->oeffnen();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        click("neuesTeam");
        dragDrop("ListBox3", 0, "ListBox1", 0);
        teamname()->setEditText(c.name);
        verein()->setEditText(c.club);
        click("uebernehmen");
        EXPECT_EQ(ui.texts(), QStringList({c.message}));
        EXPECT_TRUE(child<QComboBox>(c.field)->hasFocus());
        EXPECT_TRUE(db().select(QStringLiteral("SELECT MID FROM Teams")).isEmpty());
    }
}

TEST_P(TeamauswahlTest, ANewTeamFromTheCheckInStartsWithItsName) {
    db().exec(QStringLiteral(
        "INSERT INTO Teams VALUES (1, 10, 7, 'Nord', 1, 2, NULL, NULL, 3, NULL, 0, 0, 0, 0, 0, "
        "'TTC Nord')"));
    dialog->neuesTeam(QStringLiteral("Neu"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(teamname()->currentText(), QStringLiteral("Neu"));
    EXPECT_EQ(teamname()->count(), 1);
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1.", "2."}));
    EXPECT_EQ(texts(list("ListBox2")), QStringList({"1."}));
}

TEST_P(TeamauswahlTest, ADatabaseErrorIsShownAndTheDialogStays) {
    dialog->oeffnen();
    dragDrop("ListBox3", 0, "ListBox1", 0);
    teamname()->setEditText(QStringLiteral("Nord"));
    verein()->setEditText(QStringLiteral("TTC Nord"));
    db().exec(QStringLiteral("DROP TABLE Teams"));
    click("uebernehmen");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(mannschaft(1), QStringLiteral("NULL"));
    EXPECT_EQ(texts(list("ListBox1")), QStringList({"1. Adler, Vorname", "2."}));
}

VELMORA_INSTANTIATE_DB_TEST(TeamauswahlTest);

} // namespace
