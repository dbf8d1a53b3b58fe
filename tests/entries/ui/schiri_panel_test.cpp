#include "entries/ui/schiripanel.h"

#include "common/clock.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SchiriPanelTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Kreisrangliste");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES "
                                 "(10, 1, 0, 'Jungen'), (11, 1, 1, 'Jungen'), (12, 1, 3, 'Team Süd')"));
        db().exec(QStringLiteral(
            "INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, kverband, bverband, "
            "lverband, land, spklasse) VALUES (1, 1, 'N', 'V', 'TSV Öhringen', 'Hohenlohe', "
            "'DTTB', 'TTBW', 'Deutschland', 'Bezirksliga')"));
        panel = std::make_unique<SchiriPanel>(state, db(), ui, clock);
        panel->resize(900, 600);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }
    void TearDown() override {
        panel.reset();
        DbTest::TearDown();
    }

    void addUmpire(int id, const QString& nachname, const QString& vorname, bool angemeldet = false) {
        db().exec(QStringLiteral("INSERT INTO Schiri VALUES (1, :i, :n, :v, :g, 'TTC Aue', :a, 'Erzgebirge', "
                                 "'DTTB', 'Sachsen', 'Deutschland', :m, 'Kreisliga')"),
                  {{":i", id},
                   {":n", nachname},
                   {":v", vorname},
                   {":g", QDate(1975, 6, 1)},
                   {":a", angemeldet},
                   {":m", QStringLiteral("Notiz")}});
    }

    template <typename W> W* child(const char* name) {
        W* w = panel->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* umpires() { return child<QListWidget>("schiriliste"); }
    QListWidget* classes() { return child<QListWidget>("schiriklassen"); }
    QPushButton* saveButton() { return child<QPushButton>("schirispeichern"); }

    void clickRow(QListWidget* list, int row) {
        QListWidgetItem* item = list->item(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    // Types text key by key, umlauts included, as the user would.
    static void type(QWidget* w, const QString& text) {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
    }

    QStringList texts(QListWidget* list) {
        QStringList t;
        for (int i = 0; i < list->count(); ++i)
            t << list->item(i)->text();
        return t;
    }
    QStringList selectedTexts(QListWidget* list) {
        QStringList t;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected()) t << list->item(i)->text();
        return t;
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<SchiriPanel> panel;
};

TEST_P(SchiriPanelTest, ShowingThePanelFillsItsLists) {
    addUmpire(5, QStringLiteral("Zorn"), QStringLiteral("Eva"), true);
    addUmpire(6, QStringLiteral("Abel"), QStringLiteral("Tom"));
    panel->showPanel();

    EXPECT_EQ(panel->objectName(), QStringLiteral("schiripanel"));
    EXPECT_EQ(child<QLabel>("titel")->text(), QStringLiteral("Schiedsrichterverwaltung"));
    EXPECT_EQ(texts(umpires()), QStringList({"Zorn, Eva", "Abel, Tom"}));
    EXPECT_EQ(texts(classes()), QStringList({"Jungen (Einzel)", "Jungen (Doppel)", "Team Süd (Team)"}));
    EXPECT_EQ(classes()->selectionMode(), QAbstractItemView::MultiSelection);
    const QComboBox* kv = child<QComboBox>("schirikverband");
    ASSERT_EQ(kv->count(), 1);
    EXPECT_EQ(kv->itemText(0), QStringLiteral("Hohenlohe"));
    EXPECT_EQ(child<QComboBox>("schiriverein")->itemText(0), QStringLiteral("TSV Öhringen"));
    EXPECT_TRUE(child<QLineEdit>("schirinname")->text().isEmpty());
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), QStringLiteral("Speichern"));
}

TEST_P(SchiriPanelTest, AnUmpireEnteredWithTheKeyboardIsSaved) {
    panel->showPanel();
    QTest::mouseClick(child<QPushButton>("neuerschiri"), Qt::LeftButton);
    type(child<QLineEdit>("schirinname"), QStringLiteral("Groß"));
    type(child<QLineEdit>("schirivname"), QStringLiteral("Jörg"));
    type(child<QLineEdit>("schirigeb"), QStringLiteral("01.02.1990"));
    type(child<QComboBox>("schirikverband"), QStringLiteral("KV Nord"));
    QCheckBox* present = child<QCheckBox>("schiriangemeldet");
    present->setFocus();
    QTest::keyClick(present, Qt::Key_Space);
    classes()->item(2)->setSelected(true);
    EXPECT_TRUE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), QStringLiteral("Speichern"));

    QTest::mouseClick(saveButton(), Qt::LeftButton);

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE TID=1"));
    EXPECT_EQ(r.text(u"snname"), QStringLiteral("Groß"));
    EXPECT_EQ(r.text(u"svname"), QStringLiteral("Jörg"));
    EXPECT_EQ(r.date(u"sgeb"), QDate(1990, 2, 1));
    EXPECT_EQ(r.text(u"skverband"), QStringLiteral("KV Nord"));
    EXPECT_EQ(r.text(u"sverein"), QStringLiteral("ohne Verein"));
    EXPECT_TRUE(r.boolean(u"sangemeldet"));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT KID FROM Schiri_im_turnier WHERE SCHIRIID=:i"),
                             {{":i", r.integer(u"SCHIRIID")}})
                  .integer(u"KID"),
              12);
    EXPECT_EQ(texts(umpires()), QStringList({"Groß, Jörg"}));
    EXPECT_EQ(umpires()->currentRow(), 0);
    EXPECT_EQ(child<QComboBox>("schiriverein")->currentText(), QStringLiteral("ohne Verein"));
    EXPECT_FALSE(saveButton()->isEnabled());
}

TEST_P(SchiriPanelTest, ClickingAnUmpireLoadsHimAndAnEditUpdatesHim) {
    addUmpire(5, QStringLiteral("Zorn"), QStringLiteral("Eva"));
    addUmpire(6, QStringLiteral("D'Abel"), QStringLiteral("Tom \"T\""));
    db().exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (1, 6, 11)"));
    panel->showPanel();

    clickRow(umpires(), 1);
    EXPECT_EQ(child<QLineEdit>("schirinname")->text(), QStringLiteral("D'Abel"));
    EXPECT_EQ(child<QLineEdit>("schirivname")->text(), QStringLiteral("Tom \"T\""));
    EXPECT_EQ(child<QLineEdit>("schirigeb")->text(), QStringLiteral("01.06.1975"));
    EXPECT_EQ(child<QComboBox>("schirilverband")->currentText(), QStringLiteral("Sachsen"));
    EXPECT_EQ(child<QPlainTextEdit>("schirimemo")->toPlainText(), QStringLiteral("Notiz"));
    EXPECT_EQ(selectedTexts(classes()), QStringList({"Jungen (Doppel)"}));
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), QStringLiteral("Änderung übernehmen"));

    classes()->item(0)->setSelected(true);
    EXPECT_TRUE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), QStringLiteral("Änderung übernehmen"));
    type(child<QLineEdit>("schirivname"), QStringLiteral("my"));
    QTest::mouseClick(saveButton(), Qt::LeftButton);

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT svname FROM Schiri WHERE SCHIRIID=6")).text(u"svname"),
              QStringLiteral("Tom \"T\"my"));
    EXPECT_EQ(db().select(QStringLiteral("SELECT KID FROM Schiri_im_turnier WHERE SCHIRIID=6")).size(), 2);
    EXPECT_EQ(texts(umpires()), QStringList({"Zorn, Eva", "D'Abel, Tom \"T\"my"}));
    EXPECT_EQ(umpires()->currentItem()->text(), QStringLiteral("D'Abel, Tom \"T\"my"));
    EXPECT_FALSE(saveButton()->isEnabled());
}

// Typing in the surname field selects the first umpire whose surname starts with what was typed.
struct KeyCase {
    const char* what;
    QList<int> keys; // Qt key codes; letters are typed as text
    QString selected;
};

TEST_P(SchiriPanelTest, TypingASurnameSearchesAndEnterLoadsTheFoundUmpire) {
    const KeyCase cases[] = {
        {"B", {Qt::Key_B}, QStringLiteral("Bach, Udo")},
        {"Be", {Qt::Key_B, Qt::Key_E}, QStringLiteral("Berg, Ida")},
        {"Be then Backspace", {Qt::Key_B, Qt::Key_E, Qt::Key_Backspace}, QStringLiteral("Bach, Udo")},
        {"A", {Qt::Key_A}, QStringLiteral("Arndt, Eva")},
    };
    addUmpire(5, QStringLiteral("Berg"), QStringLiteral("Ida"));
    addUmpire(6, QStringLiteral("Bach"), QStringLiteral("Udo"));
    addUmpire(7, QStringLiteral("Arndt"), QStringLiteral("Eva"));
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        panel->showPanel();
        QLineEdit* surname = child<QLineEdit>("schirinname");
        surname->setFocus();
        for (int key : c.keys) {
            if (key == Qt::Key_Backspace)
                QTest::keyClick(surname, Qt::Key_Backspace);
            else
                type(surname, QString(QChar(key)));
        }
        ASSERT_NE(umpires()->currentItem(), nullptr);
        EXPECT_EQ(umpires()->currentItem()->text(), c.selected);
        EXPECT_TRUE(child<QLineEdit>("schirivname")->text().isEmpty()); // found, not yet loaded

        QTest::keyClick(surname, Qt::Key_Return);
        EXPECT_EQ(surname->text() + QStringLiteral(", ") + child<QLineEdit>("schirivname")->text(),
                  c.selected);
        EXPECT_EQ(saveButton()->text(), QStringLiteral("Änderung übernehmen"));
        EXPECT_FALSE(saveButton()->isEnabled());
    }
}

// What the panel shows when the save is refused or the database fails: one message, no crash.
struct PanelFailureCase {
    const char* what;
    const char* nachname;
    const char* geb;
    bool breakDatabase;
    QString messageStart;
};

TEST_P(SchiriPanelTest, RefusalsAndDatabaseErrorsReachTheUser) {
    const PanelFailureCase cases[] = {
        {"no surname", "", "", false, QStringLiteral("Bitte geben Sie einen Nachnamen ein")},
        {"date that does not exist", "Kurz", "31.02.2000", false,
         QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben")},
        {"table gone", "Kurz", "", true, QStringLiteral("Datenbankfehler: ")},
    };
    for (const PanelFailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        panel->showPanel();
        ui.clear();
        QTest::mouseClick(child<QPushButton>("neuerschiri"), Qt::LeftButton);
        type(child<QLineEdit>("schirinname"), QString::fromUtf8(c.nachname));
        type(child<QLineEdit>("schirivname"), QStringLiteral("Kai"));
        type(child<QLineEdit>("schirigeb"), QString::fromUtf8(c.geb));
        if (c.breakDatabase) db().exec(QStringLiteral("DROP TABLE Schiri"));
        QTest::mouseClick(saveButton(), Qt::LeftButton);

        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].text.startsWith(c.messageStart)) << ui.messages[0].text.toStdString();
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_EQ(umpires()->count(), 0);
        EXPECT_TRUE(saveButton()->isEnabled());
    }
}

TEST_P(SchiriPanelTest, DeleteAsksAndRemovesTheSelectedUmpire) {
    addUmpire(5, QStringLiteral("Zorn"), QStringLiteral("Eva"));
    addUmpire(6, QStringLiteral("Abel"), QStringLiteral("Tom"));
    db().exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (1, 5, 10)"));
    panel->showPanel();
    clickRow(umpires(), 0);
    ui.answer(true);
    QTest::mouseClick(child<QPushButton>("schiriloeschen"), Qt::LeftButton);

    EXPECT_EQ(ui.questions, QStringList({"Wollen Sie den Schiedsrichter \"Zorn, Eva\" wirklich löschen?"}));
    EXPECT_TRUE(db().select(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=5")).isEmpty());
    EXPECT_TRUE(db().select(QStringLiteral("SELECT * FROM Schiri_im_turnier WHERE SCHIRIID=5")).isEmpty());
    EXPECT_EQ(texts(umpires()), QStringList({"Abel, Tom"}));
    EXPECT_TRUE(umpires()->selectedItems().isEmpty());
    EXPECT_TRUE(selectedTexts(classes()).isEmpty());
    EXPECT_TRUE(child<QLineEdit>("schirinname")->text().isEmpty());
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), QStringLiteral("Speichern"));
}

// Screen readers and the keyboard find every input by its German label, in reading order.
TEST_P(SchiriPanelTest, InputsHaveTheirLabelsAndTabFollowsTheReadingOrder) {
    const std::pair<const char*, const char*> labelled[] = {
        {"schiriliste", "Schiedsrichter"},
        {"schirinname", "Nachname"},
        {"schirivname", "Vorname"},
        {"schirigeb", "Geburtstag"},
        {"schiriverein", "Verein"},
        {"schirikverband", "Kreisverband"},
        {"schiribverband", "Bundesverband"},
        {"schirilverband", "Landesverband"},
        {"schiriland", "Land"},
        {"schiriklasse", "Spielklasse"},
        {"schirimemo", "Memo"},
        {"schiriklassen", "Verfügbare Klassen"},
    };
    const QList<QLabel*> labels = panel->findChildren<QLabel*>();
    for (const auto& [name, text] : labelled) {
        SCOPED_TRACE(name);
        QWidget* input = child<QWidget>(name);
        const auto it =
            std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == input; });
        ASSERT_NE(it, labels.end());
        EXPECT_EQ((*it)->text(), QString::fromUtf8(text));
    }
    EXPECT_EQ(child<QCheckBox>("schiriangemeldet")->text(), QStringLiteral("angemeldet"));
    EXPECT_EQ(child<QPushButton>("neuerschiri")->text(), QStringLiteral("Neuer Schiedsrichter"));
    EXPECT_EQ(child<QPushButton>("schiriloeschen")->text(), QStringLiteral("Schiedsrichter löschen"));

    const QStringList order = {"schiriliste",   "schirinname",    "schirivname",      "schirigeb",
                               "schiriverein",  "schirikverband", "schiribverband",   "schirilverband",
                               "schiriland",    "schiriklasse",   "schiriangemeldet", "schirimemo",
                               "schiriklassen", "neuerschiri"};
    QStringList seen;
    QWidget* w = child<QWidget>("schiriliste");
    for (int i = 0; i < 60 && seen.size() < order.size(); ++i, w = w->nextInFocusChain()) {
        // An editable combo box takes focus through its line edit; name the combo box then.
        QWidget* named =
            w->objectName().isEmpty() && qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
        if (order.contains(named->objectName()) && !seen.contains(named->objectName()) &&
            (named->focusPolicy() & Qt::TabFocus))
            seen << named->objectName();
    }
    EXPECT_EQ(seen, order);
}

VELMORA_INSTANTIATE_DB_TEST(SchiriPanelTest);

} // namespace
