#include "entries/spieler_fixture.h"

#include "common/clock.h"
#include "entries/ui/rnummer.h"
#include "entries/ui/spielerpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

namespace {

// Types text key by key, umlauts included (QTest::keyClicks knows ASCII keys only).
void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

class SpielerPanelTest : public SpielerFixture {
protected:
    void SetUp() override {
        SpielerFixture::SetUp();
        if (IsSkipped()) return;
        widget = std::make_unique<SpielerPanel>(state, db(), ui, clock);
        widget->resize(1000, 700);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    }
    void TearDown() override {
        widget.reset();
        SpielerFixture::TearDown();
    }

    template <typename T> T* find(const char* name) {
        T* w = widget->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QListWidget* list(const char* name) { return find<QListWidget>(name); }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }

    // Moves the class list's cursor to a row with the arrow keys and toggles it with the space bar.
    void toggleClassByKeyboard(int row) {
        QListWidget* l = list("sklassen");
        l->setFocus();
        QTest::keyClick(l, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(l, Qt::Key_Down);
        QTest::keyClick(l, Qt::Key_Space);
    }

    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 0))};
    std::unique_ptr<SpielerPanel> widget;
};

TEST_P(SpielerPanelTest, ControlsCarryTheirGermanLabelsAndFollowTheReadingOrder) {
    EXPECT_EQ(widget->objectName(), QStringLiteral("spielerverwaltung"));
    EXPECT_EQ(find<QLabel>("titel")->text(), QStringLiteral("Spielerverwaltung"));
    const QList<QPair<QString, QString>> buddies{
        {"Nachname", "snachname"},
        {"Vorname", "svorname"},
        {"Verein", "sverein"},
        {"Geburtsdatum", "sgeb"},
        {"Rückennummer", "snummer"},
        {"Kreisverband", "kreisverband"},
        {"Bezirksverband", "bezirksverband"},
        {"Landesverband", "landesverband"},
        {"Land", "land"},
        {"Spielklasse", "spklasse"},
        {"Startgebühr", "zuzahlen"},
        {"Spieler nimmt Teil in Klasse(n)", "sklassen"},
        {"Doppelpartner / Team", "doppelpartner"},
        {"Spieler verwalten", "spielerliste"},
    };
    for (const auto& [text, buddy] : buddies) {
        QLabel* label = nullptr;
        for (QLabel* l : widget->findChildren<QLabel*>())
            if (l->text() == text) label = l;
        ASSERT_NE(label, nullptr) << text.toStdString();
        ASSERT_NE(label->buddy(), nullptr) << text.toStdString();
        EXPECT_EQ(label->buddy()->objectName(), buddy) << text.toStdString();
    }
    const QList<QPair<const char*, QString>> captions{{"erzeugen", "erzeugen"},
                                                      {"nummernAnzeigen", "Nummern anzeigen"},
                                                      {"neuerSpieler", "Neuer Spieler"},
                                                      {"spielerSpeichern", "Spieler speichern"},
                                                      {"spielerLoeschen", "Spieler löschen"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(button(name)->text(), caption) << name;
    EXPECT_EQ(button("erzeugen")->toolTip(), QStringLiteral("ermittelt die nächste freie Rückennummer"));
    EXPECT_EQ(find<QCheckBox>("sv_mann")->text(), QStringLiteral("männlich"));
    EXPECT_EQ(find<QCheckBox>("sv_weiblich")->text(), QStringLiteral("weiblich"));

    // Tab walks the fields top to bottom, then the class lists, the player lists and the buttons.
    const QStringList order{
        "snachname",    "svorname",        "sverein",          "sgeb",           "snummer",
        "erzeugen",     "nummernAnzeigen", "kreisverband",     "bezirksverband", "landesverband",
        "land",         "spklasse",        "zuzahlen",         "bezahlt",        "angemeldet",
        "sv_mann",      "sv_weiblich",     "sklassen",         "doppelpartner",  "spielerliste",
        "vereinsliste", "neuerSpieler",    "spielerSpeichern", "spielerLoeschen"};
    QStringList walked;
    QWidget* w = edit("snachname");
    for (int guard = 0; guard < 200 && walked.size() < order.size(); ++guard, w = w->nextInFocusChain())
        if (order.contains(w->objectName()) && !walked.contains(w->objectName())) walked << w->objectName();
    EXPECT_EQ(walked, order);
}

TEST_P(SpielerPanelTest, APlayerIsEnteredWithTheKeyboardAlone) {
    addClass(10, 0, QStringLiteral("Herren"), true, false, 6.0);
    addClass(11, 0, QStringLiteral("Offen"), true, true, 4.5);
    widget->showPanel();
    EXPECT_FALSE(button("spielerSpeichern")->isEnabled());
    ASSERT_EQ(list("sklassen")->count(), 2);
    EXPECT_EQ(list("sklassen")->item(0)->text(), QStringLiteral("Einzel - Herren"));

    edit("snachname")->setFocus();
    type(edit("snachname"), QStringLiteral("Groß"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    type(QApplication::focusWidget(), QStringLiteral("Zoë"));
    EXPECT_EQ(edit("svorname")->text(), QStringLiteral("Zoë"));
    edit("sgeb")->setFocus();
    type(edit("sgeb"), QStringLiteral("03.04.2001"));
    find<QCheckBox>("sv_weiblich")->setFocus();
    QTest::keyClick(find<QCheckBox>("sv_weiblich"), Qt::Key_Space);
    EXPECT_FALSE(find<QCheckBox>("sv_mann")->isChecked());
    EXPECT_TRUE(button("spielerSpeichern")->isEnabled());
    EXPECT_EQ(button("spielerSpeichern")->text(), QStringLiteral("Spieler speichern"));

    // The men's class asks; "Nein" leaves it out. The open class is entered.
    ui.answer(false);
    toggleClassByKeyboard(0);
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_FALSE(list("sklassen")->item(0)->isSelected());
    toggleClassByKeyboard(1);
    EXPECT_TRUE(list("sklassen")->item(1)->isSelected());
    EXPECT_EQ(edit("zuzahlen")->text(), QStringLiteral("4,5"));

    button("spielerSpeichern")->setFocus();
    QTest::keyClick(button("spielerSpeichern"), Qt::Key_Space);
    const int sid = sidOf(QStringLiteral("Groß"), QStringLiteral("Zoë"));
    ASSERT_GT(sid, 0);
    EXPECT_EQ(entriesOf(sid), QList<int>{11});
    const Row r = db().selectOne(
        QStringLiteral("SELECT geb,frau,mann,zubezahlen,verein FROM Spielerdaten WHERE SID=:s"),
        {{":s", sid}});
    EXPECT_EQ(r.date(u"geb"), QDate(2001, 4, 3));
    EXPECT_TRUE(r.boolean(u"frau"));
    EXPECT_FALSE(r.boolean(u"mann"));
    EXPECT_DOUBLE_EQ(r.number(u"zubezahlen"), 4.5);
    EXPECT_EQ(r.text(u"verein"), QStringLiteral("ohne Verein"));
    EXPECT_FALSE(button("spielerSpeichern")->isEnabled());
    ASSERT_EQ(list("spielerliste")->count(), 1);
    EXPECT_EQ(list("spielerliste")->currentItem()->text(), QStringLiteral("Groß, Zoë"));
    EXPECT_EQ(list("vereinsliste")->count(), 1);
}

TEST_P(SpielerPanelTest, TypingASurnameFindsThePlayerAndEnterLoadsHim) {
    addClass(10, 1, QStringLiteral("Doppel"), true, true);
    addPlayer(1, QStringLiteral("Meyer"), QStringLiteral("Anna"), 12);
    addPlayer(2, QStringLiteral("Schmidt"), QStringLiteral("Udo"), 0, 1, QStringLiteral("SV Süd"));
    enter(2, 10);
    widget->showPanel();
    edit("snachname")->setFocus();
    type(edit("snachname"), QStringLiteral("sch"));
    ASSERT_NE(list("spielerliste")->currentItem(), nullptr);
    EXPECT_EQ(list("spielerliste")->currentItem()->text(), QStringLiteral("Schmidt, Udo"));

    QTest::keyClick(edit("snachname"), Qt::Key_Return);
    EXPECT_EQ(edit("snachname")->text(), QStringLiteral("Schmidt"));
    EXPECT_EQ(edit("svorname")->text(), QStringLiteral("Udo"));
    EXPECT_EQ(edit("sverein")->text(), QStringLiteral("SV Süd"));
    EXPECT_TRUE(list("sklassen")->item(0)->isSelected());
    ASSERT_EQ(list("doppelpartner")->count(), 1);
    EXPECT_EQ(list("doppelpartner")->item(0)->text(), QStringLiteral("Doppel - Doppel: "));
    EXPECT_FALSE(button("spielerSpeichern")->isEnabled());
    EXPECT_EQ(button("spielerSpeichern")->text(), QStringLiteral("Änderung übernehmen"));

    // A click on the other player loads him; "erzeugen" then proposes the first free number.
    QListWidget* players = list("spielerliste");
    QTest::mouseClick(players->viewport(), Qt::LeftButton, {},
                      players->visualItemRect(players->item(0)).center());
    EXPECT_EQ(edit("snummer")->text(), QStringLiteral("12"));
    QTest::mouseClick(button("erzeugen"), Qt::LeftButton);
    EXPECT_EQ(edit("snummer")->text(), QStringLiteral("1"));
    EXPECT_TRUE(button("spielerSpeichern")->isEnabled());
}

TEST_P(SpielerPanelTest, ADatabaseFailureIsReportedAndNothingCrashes) {
    widget->showPanel();
    edit("snachname")->setFocus();
    type(edit("snachname"), QStringLiteral("Fehl"));
    edit("svorname")->setFocus();
    type(edit("svorname"), QStringLiteral("Fritz"));
    db().exec(QStringLiteral("ALTER TABLE Spielerdaten RENAME TO weg"));
    QTest::mouseClick(button("spielerSpeichern"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Datenbankfehler")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(button("spielerSpeichern")->isEnabled());
    EXPECT_EQ(db().transactionDepth(), 0);
    db().exec(QStringLiteral("ALTER TABLE weg RENAME TO Spielerdaten"));
}

TEST_P(SpielerPanelTest, TheStartNumberDialogListsShowsAndPrintsTheNumbers) {
    const int numbered = 30;
    for (int i = 1; i <= numbered; ++i)
        addPlayer(i, QStringLiteral("Spieler%1").arg(QChar(u'A' + i % 26)), QString::number(i), i);
    addPlayer(99, QStringLiteral("Ohne"), QStringLiteral("Nummer"));
    widget->showPanel();
    QTest::mouseClick(button("nummernAnzeigen"), Qt::LeftButton);
    TR_Nummer* dialog = widget->startNumberDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Rückennummern"));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->rows().size(), numbered);
    // Taller than the box: 60 above, 20 per row, 20 below.
    EXPECT_EQ(dialog->view()->height(), 60 + 20 * numbered + 20);
    EXPECT_GT(dialog->view()->height(),
              dialog->findChild<QScrollArea*>(QStringLiteral("scrollbox"))->viewport()->height());

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("drucken")), Qt::LeftButton);
    EXPECT_FALSE(ui.lastPrintPdf.isEmpty());
    EXPECT_GE(ui.lastPrintPages, 1);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("zurueck")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());

    // Shown again it reads the list anew.
    addPlayer(200, QStringLiteral("Nachzügler"), QStringLiteral("Nils"), 77);
    dialog->show();
    EXPECT_EQ(dialog->rows().size(), numbered + 1);
    EXPECT_EQ(dialog->rows().last().name, QStringLiteral("Nachzügler, Nils"));
    dialog->close();
}

VELMORA_INSTANTIATE_DB_TEST(SpielerPanelTest);

} // namespace
