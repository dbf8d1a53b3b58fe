#include "entries/ui/anmeldungpanel.h"

#include "common/clock.h"
#include "entries/ui/anmeldungteam.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

class AnmeldungPanelTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Kreismeisterschaft");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        addPlayer(1, 1, "Zorn", "Eva", "TTC Süd", true);
        addPlayer(1, 2, "Meier", "Anna", "TSV", false);
        addPlayer(1, 3, "Mei", "Zoe", "SV Ost", false);
        addPlayer(1, 4, "Adler", "Tom", "TTC Nord", false);
        addPlayer(1, 5, "Meister", "Bernd", "ATSV", true);
        addPlayer(2, 9, "Meiler", "Fremd", "Anderswo", false);
        db().exec(
            QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, s1, s2, s3, s4, r1, r2, angemeldet, "
                           "verein) VALUES (1, 7, 20, 'TTC Nord I', 4, 2, NULL, 0, 3, NULL, 0, 'TTC Nord'), "
                           "(1, 7, 21, 'ATSV', 2, NULL, NULL, NULL, NULL, NULL, 0, 'ATSV')"));
        panel = std::make_unique<AnmeldungPanel>(state, db(), ui, clock);
        panel->resize(900, 600);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }
    void TearDown() override {
        panel.reset();
        DbTest::TearDown();
    }

    void addPlayer(int tid, int sid, const char* nachname, const char* vorname, const char* verein,
                   bool present) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (:t,:s,:n,:v,:c,:a)"),
                  {{":t", tid},
                   {":s", sid},
                   {":n", QString::fromUtf8(nachname)},
                   {":v", QString::fromUtf8(vorname)},
                   {":c", QString::fromUtf8(verein)},
                   {":a", present}});
    }

    template <typename W> W* child(const char* name) {
        W* w = panel->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* playerField() { return child<QLineEdit>("spieler_anmeldung"); }
    QLineEdit* teamField() { return child<QLineEdit>("team_anmeldung"); }
    QListWidget* players() { return child<QListWidget>("anmeldeliste"); }
    QListWidget* teams() { return child<QListWidget>("teammeldeliste"); }
    QCheckBox* playerCheck() { return child<QCheckBox>("anmeldeCheck"); }
    QCheckBox* teamCheck() { return child<QCheckBox>("teammeldecheck"); }

    bool storedPlayer(int sid) {
        return db()
            .selectOne(QStringLiteral("SELECT angemeldet FROM Spielerdaten WHERE SID=:s"), {{":s", sid}})
            .boolean(u"angemeldet");
    }
    bool storedTeam(int mid) {
        return db()
            .selectOne(QStringLiteral("SELECT angemeldet FROM Teams WHERE MID=:s"), {{":s", mid}})
            .boolean(u"angemeldet");
    }

    // Types text key by key; QTest::keyClicks knows ASCII only, umlauts go in as key events with their text.
    static void type(QWidget* w, const QString& text) {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
    }

    static QStringList texts(QListWidget* list) {
        QStringList t;
        for (int i = 0; i < list->count(); ++i)
            t << list->item(i)->text();
        return t;
    }
    static QString current(QListWidget* list) {
        return list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text()
                                                                        : QString();
    }

    enum class Ink { Black, Red, White };
    // The colour the text of a line is drawn in, read from the screen.
    static std::optional<Ink> ink(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        const QImage image = list->viewport()->grab(rect).toImage();
        bool black = false, red = false, white = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                black = black || (c.red() < 60 && c.green() < 60 && c.blue() < 60);
                red = red || (c.red() > 200 && c.green() < 60 && c.blue() < 60);
                white = white || (c.red() > 240 && c.green() > 240 && c.blue() > 240);
            }
        if (red && !black) return Ink::Red;
        if (black && !red) return Ink::Black;
        if (white && !red && !black) return Ink::White;
        return std::nullopt;
    }

    // Runs `inDialog` on the team check-in dialog as soon as a key press opens it.
    void whenTeamDialogOpens(std::function<void(Tteam_melden*)> inDialog) {
        dialogSeen = false;
        QTimer::singleShot(0, panel.get(), [this, inDialog] {
            Tteam_melden* d = panel->teamDialog();
            dialogSeen = d->isVisible() && d->isModal();
            inDialog(d);
            if (d->isVisible()) d->reject(); // never leave a test hanging in the dialog
        });
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<AnmeldungPanel> panel;
    bool dialogSeen = false;
};

TEST_P(AnmeldungPanelTest, ShowingThePanelFillsBothListsInColour) {
    panel->showPanel();

    EXPECT_EQ(panel->objectName(), QStringLiteral("Anmeldung"));
    EXPECT_EQ(child<QLabel>("Anmeldungtitel")->text(), QStringLiteral("Spieleranmeldung"));
    EXPECT_EQ(texts(players()),
              QStringList({"Adler, Tom (TTC Nord)", "Mei, Zoe (SV Ost)", "Meier, Anna (TSV)",
                           "Meister, Bernd (ATSV)", "Zorn, Eva (TTC Süd)"}));
    EXPECT_EQ(texts(teams()), QStringList({"ATSV", "TTC Nord I"}));
    EXPECT_EQ(current(players()), QStringLiteral("Adler, Tom (TTC Nord)"));
    EXPECT_EQ(current(teams()), QStringLiteral("ATSV"));
    EXPECT_FALSE(playerCheck()->isChecked());
    EXPECT_TRUE(playerField()->hasFocus());

    // Absent in red, present in black, the selected line in white on the highlight.
    EXPECT_EQ(ink(players(), 0), Ink::White);
    EXPECT_EQ(ink(players(), 1), Ink::Red);
    EXPECT_EQ(ink(players(), 3), Ink::Black);
    EXPECT_EQ(ink(teams(), 1), Ink::Red);

    // The labels name their fields, so the panel can be reached by its German captions.
    const auto buddyOf = [&](const QString& caption) -> QWidget* {
        for (QLabel* l : panel->findChildren<QLabel*>())
            if (l->text() == caption) return l->buddy();
        return nullptr;
    };
    EXPECT_EQ(buddyOf(QStringLiteral("Spieler anmelden (Nachname, Vorname)")), playerField());
    EXPECT_EQ(buddyOf(QStringLiteral("Team anmelden (Teamname)")), teamField());
    EXPECT_EQ(playerField()->toolTip(), QStringLiteral("ENTER=anmelden, STRG+ENTER=Neuen Spieler anlegen"));
    EXPECT_EQ(playerCheck()->text(), QStringLiteral("angemeldet"));
    EXPECT_EQ(teamCheck()->text(), QStringLiteral("angemeldet"));
    EXPECT_EQ(child<QGroupBox>("RadioGroup1")->title(), QStringLiteral("Sortiert nach"));
}

TEST_P(AnmeldungPanelTest, TypingAndEnterCheckPlayersInAndOut) {
    panel->showPanel();
    QTest::keyClicks(playerField(), QStringLiteral("Mei"));
    EXPECT_EQ(current(players()), QStringLiteral("Mei, Zoe (SV Ost)"));
    EXPECT_FALSE(playerCheck()->isChecked());

    QTest::keyClick(playerField(), Qt::Key_Return);
    EXPECT_TRUE(storedPlayer(3));
    EXPECT_TRUE(playerCheck()->isChecked());
    EXPECT_EQ(ink(players(), 2), Ink::Red); // the line below, Meier, is still absent

    QTest::keyClicks(playerField(), QStringLiteral("er"));
    EXPECT_EQ(current(players()), QStringLiteral("Meier, Anna (TSV)"));
    EXPECT_FALSE(playerCheck()->isChecked());
    EXPECT_EQ(ink(players(), 1), Ink::Black);

    // ENTER again on the same line swaps back.
    QTest::keyClick(playerField(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(storedPlayer(2));
    EXPECT_TRUE(playerCheck()->isChecked());
    QTest::keyClick(playerField(), Qt::Key_Return);
    EXPECT_FALSE(storedPlayer(2));
    EXPECT_FALSE(playerCheck()->isChecked());

    // Backspace to "Mei" goes back to the first match; nobody else was touched.
    QTest::keyClick(playerField(), Qt::Key_Backspace);
    QTest::keyClick(playerField(), Qt::Key_Backspace);
    EXPECT_EQ(current(players()), QStringLiteral("Mei, Zoe (SV Ost)"));
    QTest::keyClick(playerField(), Qt::Key_Return);
    EXPECT_FALSE(storedPlayer(3));
    EXPECT_TRUE(storedPlayer(1));
    EXPECT_TRUE(storedPlayer(5));
    EXPECT_FALSE(storedPlayer(4));
    EXPECT_FALSE(storedPlayer(9));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(AnmeldungPanelTest, CursorKeysInTheFieldMoveAndShowTheName) {
    struct StepCase {
        Qt::Key key;
        const char* line;
        const char* field;
    };
    const StepCase steps[] = {
        {Qt::Key_Up, "Adler, Tom (TTC Nord)", ""}, // no line above the first
        {Qt::Key_Down, "Mei, Zoe (SV Ost)", "Mei, Zoe"},
        {Qt::Key_Down, "Meier, Anna (TSV)", "Meier, Anna"},
        {Qt::Key_Down, "Meister, Bernd (ATSV)", "Meister, Bernd"},
        {Qt::Key_Down, "Zorn, Eva (TTC Süd)", "Zorn, Eva"},
        {Qt::Key_Down, "Zorn, Eva (TTC Süd)", "Zorn, Eva"}, // no line below the last
        {Qt::Key_Up, "Meister, Bernd (ATSV)", "Meister, Bernd"},
    };
    panel->showPanel();
    for (const StepCase& s : steps) {
        SCOPED_TRACE(s.line);
        QTest::keyClick(playerField(), s.key);
        EXPECT_EQ(current(players()), QString::fromUtf8(s.line));
        EXPECT_EQ(playerField()->text(), QString::fromUtf8(s.field));
    }
    EXPECT_TRUE(playerCheck()->isChecked()); // Meister is present

    // Team field: the box follows the team's flag.
    teamField()->setFocus();
    QTest::keyClick(teamField(), Qt::Key_Down);
    EXPECT_EQ(current(teams()), QStringLiteral("TTC Nord I"));
    EXPECT_EQ(teamField()->text(), QStringLiteral("TTC Nord I"));
    EXPECT_FALSE(teamCheck()->isChecked());
}

TEST_P(AnmeldungPanelTest, CtrlEnterStartsANewPlayerWithTheSplitName) {
    struct NewCase {
        const char* typed;
        const char* nachname;
        const char* vorname;
    };
    const NewCase cases[] = {
        {"Meier, Anna", "Meier", "Anna"},
        {"Meier Anna", "Meier", "Anna"},
        {"Meier", "Meier", ""},
        {"  Groß   Jürgen ", "Groß", "Jürgen"},
    };
    panel->showPanel();
    QSignalSpy spy(panel.get(), &AnmeldungPanel::neuerSpieler);
    for (const NewCase& c : cases) {
        SCOPED_TRACE(c.typed);
        playerField()->clear();
        type(playerField(), QString::fromUtf8(c.typed));
        const QString before = current(players());
        spy.clear();
        QTest::keyClick(playerField(), Qt::Key_Return, Qt::ControlModifier);
        ASSERT_EQ(spy.size(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromUtf8(c.nachname));
        EXPECT_EQ(spy.at(0).at(1).toString(), QString::fromUtf8(c.vorname));
        EXPECT_EQ(current(players()), before); // Ctrl+ENTER checks nobody in
    }
    EXPECT_FALSE(storedPlayer(2));
    EXPECT_FALSE(storedPlayer(3));
}

TEST_P(AnmeldungPanelTest, CtrlEnterInTheTeamFieldOrListStartsANewTeam) {
    panel->showPanel();
    QSignalSpy spy(panel.get(), &AnmeldungPanel::neuesTeam);
    teamField()->setFocus();
    type(teamField(), QStringLiteral("TTC Süd II"));
    QTest::keyClick(teamField(), Qt::Key_Return, Qt::ControlModifier);
    teams()->setFocus();
    QTest::keyClick(teams(), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("TTC Süd II"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("TTC Süd II"));
    EXPECT_FALSE(storedTeam(20));
    EXPECT_FALSE(storedTeam(21));
    EXPECT_FALSE(panel->teamDialog()->isVisible());
}

TEST_P(AnmeldungPanelTest, ATeamIsCheckedInAndOutWithTheTickedPlayers) {
    panel->showPanel();
    teamField()->setFocus();
    QTest::keyClicks(teamField(), QStringLiteral("ttc"));
    EXPECT_EQ(current(teams()), QStringLiteral("TTC Nord I"));

    // In: the dialog offers Adler, Meier and the reserve Mei; Meier's box is unticked with the space key.
    QStringList offered;
    QString caption, boxCaption;
    whenTeamDialogOpens([&](Tteam_melden* d) {
        caption = d->windowTitle();
        for (int i = 1; i <= Tteam_melden::kPositionen; ++i) {
            auto* name = d->findChild<QLabel*>(QStringLiteral("spieler%1").arg(i));
            auto* box = d->findChild<QCheckBox*>(QStringLiteral("melden%1").arg(i));
            if (!box->isVisible()) continue;
            offered << name->text();
            boxCaption = box->text();
            EXPECT_TRUE(box->isChecked());
            if (name->text() == u"Meier, Anna") {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Space);
            }
        }
        QTest::keyClick(d, Qt::Key_Return); // the default button "Übernehmen"
    });
    QTest::keyClick(teamField(), Qt::Key_Return);

    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(caption, QStringLiteral("Team anmelden"));
    EXPECT_EQ(boxCaption, QStringLiteral("anmelden"));
    EXPECT_EQ(offered, QStringList({"Adler, Tom", "Meier, Anna", "Mei, Zoe"}));
    EXPECT_TRUE(storedTeam(20));
    EXPECT_TRUE(teamCheck()->isChecked());
    EXPECT_TRUE(storedPlayer(4));
    EXPECT_TRUE(storedPlayer(3));
    EXPECT_FALSE(storedPlayer(2));
    EXPECT_FALSE(storedTeam(21));
    // The player list shows the new marks at once.
    EXPECT_EQ(ink(players(), 1), Ink::Black);
    EXPECT_EQ(ink(players(), 2), Ink::Red);

    // Out, but the dialog is cancelled: only the team's own mark changes.
    whenTeamDialogOpens([&](Tteam_melden* d) {
        caption = d->windowTitle();
        boxCaption = d->findChild<QCheckBox*>(QStringLiteral("melden1"))->text();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::keyClick(teamField(), Qt::Key_Return);
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(caption, QStringLiteral("Team abmelden"));
    EXPECT_EQ(boxCaption, QStringLiteral("abmelden"));
    EXPECT_FALSE(storedTeam(20));
    EXPECT_FALSE(teamCheck()->isChecked());
    EXPECT_TRUE(storedPlayer(4));
    EXPECT_TRUE(storedPlayer(3));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(AnmeldungPanelTest, ListKeysAndCheckBoxesSetTheMark) {
    panel->showPanel();
    // ENTER in the player list swaps the selected line.
    players()->setFocus();
    QTest::keyClick(players(), Qt::Key_Down);
    EXPECT_EQ(current(players()), QStringLiteral("Mei, Zoe (SV Ost)"));
    EXPECT_EQ(playerField()->text(), QStringLiteral("Mei, Zoe"));
    QTest::keyClick(players(), Qt::Key_Return);
    EXPECT_TRUE(storedPlayer(3));

    // The check box with the space key: off, and on again.
    playerCheck()->setFocus();
    QTest::keyClick(playerCheck(), Qt::Key_Space);
    EXPECT_FALSE(storedPlayer(3));
    EXPECT_FALSE(playerCheck()->isChecked());
    QTest::keyClick(playerCheck(), Qt::Key_Space);
    EXPECT_TRUE(storedPlayer(3));

    // The team check box marks the team and shows its dialog.
    teamCheck()->setFocus();
    whenTeamDialogOpens([](Tteam_melden* d) { QTest::keyClick(d, Qt::Key_Return); });
    QTest::keyClick(teamCheck(), Qt::Key_Space);
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(storedTeam(21));
    EXPECT_TRUE(storedPlayer(2));

    // The list under the mouse takes the keyboard.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    teams()->setFocus();
    QApplication::sendEvent(players(), &enter);
    EXPECT_EQ(panel->focusWidget(), players());
}

TEST_P(AnmeldungPanelTest, SortingByClubWithTheKeyboard) {
    panel->showPanel();
    QTest::keyClicks(playerField(), QStringLiteral("Zo"));
    auto* verein = child<QRadioButton>("sortVerein");
    verein->setFocus();
    QTest::keyClick(verein, Qt::Key_Space);
    EXPECT_EQ(texts(players()),
              QStringList({"Meister, Bernd (ATSV)", "Mei, Zoe (SV Ost)", "Meier, Anna (TSV)",
                           "Adler, Tom (TTC Nord)", "Zorn, Eva (TTC Süd)"}));
    EXPECT_TRUE(playerField()->text().isEmpty());
    EXPECT_EQ(current(players()), QStringLiteral("Meister, Bernd (ATSV)"));
    EXPECT_TRUE(playerCheck()->isChecked());

    // The arrow key moves to "Nachname" and sorts by name again.
    QTest::keyClick(verein, Qt::Key_Up);
    EXPECT_TRUE(child<QRadioButton>("sortNachname")->isChecked());
    EXPECT_EQ(texts(players()).first(), QStringLiteral("Adler, Tom (TTC Nord)"));
}

TEST_P(AnmeldungPanelTest, AFailedWriteIsReportedAndChangesNothing) {
    if (GetParam() == DbKind::File) {
        db().exec(
            QStringLiteral("CREATE TRIGGER kaputt BEFORE UPDATE ON Spielerdaten BEGIN SELECT RAISE(ABORT, "
                           "'kaputt'); END"));
    } else {
        db().exec(
            QStringLiteral("CREATE FUNCTION kaputt() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'kaputt'; "
                           "END $$ LANGUAGE plpgsql"));
        db().exec(QStringLiteral("CREATE TRIGGER kaputt BEFORE UPDATE ON Spielerdaten FOR EACH ROW EXECUTE "
                                 "FUNCTION kaputt()"));
    }
    panel->showPanel();
    QTest::keyClicks(playerField(), QStringLiteral("Meier"));
    QTest::keyClick(playerField(), Qt::Key_Return);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
    EXPECT_FALSE(storedPlayer(2));
    EXPECT_FALSE(playerCheck()->isChecked());
    EXPECT_FALSE(panel->anmeldung().players()[2].angemeldet);

    // The check box goes back to the stored mark as well.
    playerCheck()->setFocus();
    QTest::keyClick(playerCheck(), Qt::Key_Space);
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_FALSE(playerCheck()->isChecked());
    EXPECT_FALSE(storedPlayer(2));
}

VELMORA_INSTANTIATE_DB_TEST(AnmeldungPanelTest);

} // namespace
