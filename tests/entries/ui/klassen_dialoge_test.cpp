#include "entries/klassen_alter.h"
#include "entries/tische.h"
#include "entries/ui/altersklassen.h"
#include "entries/ui/klassen_panel_fixture.h"
#include "entries/ui/tisch_verwaltung.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {

using Icon = Interaction::Icon;

class AgeClassDialog : public ClassPanel {
public:
    void SetUp() override {
        ClassPanel::SetUp();
        dialog = panel->altersklassenDialog();
    }
    // Opens the dialog from the panel for the age class text given there.
    void openFor(const QString& ageClassText) {
        panel->showPanel();
        w<QComboBox>("altersklasse")->setCurrentText(ageClassText);
        button("altersklasse_bearbeiten")->click();
        ASSERT_TRUE(dialog->isVisible());
    }
    template <class T> T* d(const char* n) { return child<T>(*dialog, n); }
    QLineEdit* aname() { return d<QLineEdit>("aname"); }
    QLineEdit* avon() { return d<QLineEdit>("avon"); }
    QLineEdit* abis() { return d<QLineEdit>("abis"); }
    QCheckBox* aelter() { return d<QCheckBox>("aelter"); }
    QCheckBox* juenger() { return d<QCheckBox>("juenger"); }
    std::optional<AgeClass> stored(const QString& n) {
        return Altersklassenverwaltung(state, db(), ui).find(n);
    }
    QStringList ageList() {
        QStringList items;
        QComboBox* box = w<QComboBox>("altersklasse");
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    TAltersklassen* dialog = nullptr;
};

TEST_F(AgeClassDialog, ANewNameIsSavedAndBecomesTheClassesAgeClass) {
    openFor("Jugend");
    EXPECT_EQ(dialog->windowTitle(), "Altersklasse verwalten");
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(aname()->text(), "Jugend");
    EXPECT_TRUE(aname()->isEnabled());
    EXPECT_TRUE(avon()->text().isEmpty());
    EXPECT_TRUE(abis()->text().isEmpty());
    EXPECT_FALSE(aelter()->isChecked());
    EXPECT_FALSE(juenger()->isChecked());

    avon()->setText("1.1.1990");
    abis()->setText("31.12.1993");
    d<QPushButton>("speichern")->click();

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_FALSE(dialog->isVisible());
    const auto a = stored("Jugend");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->von, QDate(1990, 1, 1));
    EXPECT_EQ(a->bis, QDate(1993, 12, 31));
    EXPECT_EQ(ageList(), QStringList({"Jugend", "ohne Beschränkung"}));
    EXPECT_EQ(w<QComboBox>("altersklasse")->currentText(), "Jugend");
    EXPECT_TRUE(save()->isEnabled());
}

TEST_F(AgeClassDialog, AStoredAgeClassIsShownAndChanged) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'Senioren', :v, NULL, :t, 0)",
              {{":v", QDate(1970, 1, 1)}, {":t", true}});
    openFor("Senioren");
    EXPECT_FALSE(aname()->isEnabled());
    EXPECT_EQ(aname()->text(), "Senioren");
    EXPECT_EQ(avon()->text(), "01.01.1970");
    EXPECT_TRUE(abis()->text().isEmpty());
    EXPECT_TRUE(aelter()->isChecked());
    EXPECT_FALSE(abis()->isEnabled());

    avon()->setText("31.12.1969");
    d<QPushButton>("speichern")->click();

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(stored("Senioren")->von, QDate(1969, 12, 31));
    EXPECT_TRUE(stored("Senioren")->aelter);
    EXPECT_EQ(ageList(), QStringList({"Senioren", "ohne Beschränkung"}));
    EXPECT_EQ(db().selectOne("SELECT COUNT(*) AS n FROM Altersklasse").integer(u"n"), 1);
}

TEST_F(AgeClassDialog, DeletingFallsBackToNoRestriction) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'U18', NULL, NULL, 0, 0)");
    db().exec("INSERT INTO Altersklasse VALUES (1, 'U21', NULL, NULL, 0, 0)");
    openFor("U18");

    d<QPushButton>("loeschen")->click();

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(stored("U18"));
    EXPECT_TRUE(stored("U21"));
    EXPECT_EQ(ageList(), QStringList({"U21", "ohne Beschränkung"}));
    EXPECT_EQ(w<QComboBox>("altersklasse")->currentText(), "ohne Beschränkung");
}

// Refusals keep the dialog open and write nothing.
struct DialogRefusal {
    const char* id;
    friend void PrintTo(const DialogRefusal& c, std::ostream* os) { *os << c.id; }
    const char* ageClassText;
    const char* von;
    const char* bis;
    const char* button;
    const char* message;
    Icon icon;
};

class AgeClassDialogRefusals : public AgeClassDialog, public ::testing::WithParamInterface<DialogRefusal> {};

TEST_P(AgeClassDialogRefusals, ShowTheirMessageAndKeepTheDialogOpen) {
    const DialogRefusal& c = GetParam();
    openFor(QString::fromUtf8(c.ageClassText));
    avon()->setText(QString::fromUtf8(c.von));
    abis()->setText(QString::fromUtf8(c.bis));

    d<QPushButton>(c.button)->click();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(ui.messages[0].icon, c.icon);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(db().selectOne("SELECT COUNT(*) AS n FROM Altersklasse").integer(u"n"), 0);
    EXPECT_EQ(ageList(), QStringList({"ohne Beschränkung"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AgeClassDialogRefusals,
    ::testing::Values(
        DialogRefusal{"SaveNoRestriction", "ohne Beschränkung", "1.1.1990", "1.1.1991", "speichern",
                      "Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden", Icon::Warning},
        DialogRefusal{"DeleteNoRestriction", "ohne Beschränkung", "", "", "loeschen",
                      "Die Altersklasse \"ohne Beschränkung\" kann nicht gelöscht werden", Icon::Warning},
        DialogRefusal{"ReversedBounds", "Jugend", "31.12.1993", "1.1.1990", "speichern",
                      "Das Datum \"von\" darf nicht nach dem Datum \"bis\" liegen", Icon::Warning},
        DialogRefusal{"NoSuchDay", "Jugend", "31.02.2000", "1.1.2001", "speichern",
                      "Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)", Icon::Warning},
        DialogRefusal{"MissingBound", "Jugend", "1.1.2000", "", "speichern",
                      "Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)", Icon::Warning}),
    [](const ::testing::TestParamInfo<DialogRefusal>& info) { return std::string(info.param.id); });

TEST_F(AgeClassDialog, NoRestrictionOffersNoNameToEdit) {
    openFor("ohne Beschränkung");
    EXPECT_FALSE(aname()->isEnabled());
}

TEST_F(AgeClassDialog, ZurueckClosesWithoutWriting) {
    openFor("Jugend");
    avon()->setText("1.1.1990");
    abis()->setText("31.12.1993");
    d<QPushButton>("zurueck")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(stored("Jugend"));
    EXPECT_EQ(ageList(), QStringList({"ohne Beschränkung"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

// "älter" opens the class to everybody born before "von", "jünger" to everybody born after "bis":
// the other bound then has no meaning and is emptied.
struct FlagCase {
    const char* id;
    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.id; }
    QStringList clicks;
    const char* von;
    bool vonEnabled;
    const char* bis;
    bool bisEnabled;
    bool aelter;
    bool juenger;
};

class AgeClassFlags : public AgeClassDialog, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(AgeClassFlags, EmptyAndLockTheBoundTheyMakeMeaningless) {
    const FlagCase& c = GetParam();
    openFor("Jugend");
    avon()->setText("1.1.1990");
    abis()->setText("31.12.1993");
    for (const QString& box : c.clicks)
        d<QCheckBox>(box.toLatin1().constData())->click();

    EXPECT_EQ(avon()->text(), QString::fromUtf8(c.von));
    EXPECT_EQ(avon()->isEnabled(), c.vonEnabled);
    EXPECT_EQ(abis()->text(), QString::fromUtf8(c.bis));
    EXPECT_EQ(abis()->isEnabled(), c.bisEnabled);
    EXPECT_EQ(aelter()->isChecked(), c.aelter);
    EXPECT_EQ(juenger()->isChecked(), c.juenger);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, AgeClassFlags,
    ::testing::Values(FlagCase{"Older", {"aelter"}, "1.1.1990", true, "", false, true, false},
                      FlagCase{"Younger", {"juenger"}, "", false, "31.12.1993", true, false, true},
                      FlagCase{"OlderOff", {"aelter", "aelter"}, "1.1.1990", true, "", true, false, false},
                      FlagCase{
                          "YoungerOff", {"juenger", "juenger"}, "", true, "31.12.1993", true, false, false},
                      FlagCase{"OlderThenYounger", {"aelter", "juenger"}, "", false, "", true, false, true},
                      FlagCase{"YoungerThenOlder", {"juenger", "aelter"}, "", true, "", false, true, false}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.id); });

// Leaving a date field with text that is no date is refused at once.
struct LeaveCase {
    const char* id;
    friend void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.id; }
    const char* field;
    const char* text;
    bool refused;
};

class AgeClassDateFields : public AgeClassDialog, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(AgeClassDateFields, RefuseTextThatIsNoDateOnLeaving) {
    openFor("Jugend");
    QLineEdit* field = d<QLineEdit>(GetParam().field);
    field->setText(QString::fromUtf8(GetParam().text));

    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &leave);

    if (GetParam().refused) {
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, "Geben Sie ein gültiges Datum ein");
        EXPECT_EQ(ui.messages[0].icon, Icon::Error);
        EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
    } else {
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AgeClassDateFields,
                         ::testing::Values(LeaveCase{"VonValid", "avon", "01.02.2000", false},
                                           LeaveCase{"VonShort", "avon", "1.2.2000", false},
                                           LeaveCase{"VonEmpty", "avon", "", false},
                                           LeaveCase{"VonNoSuchDay", "avon", "31.02.2000", true},
                                           LeaveCase{"VonLeapDay", "avon", "29.02.2000", false},
                                           LeaveCase{"VonNoLeapDay", "avon", "29.02.1900", true},
                                           LeaveCase{"VonText", "avon", "gestern", true},
                                           LeaveCase{"BisTwoDigitYear", "abis", "1.1.90", true},
                                           LeaveCase{"BisValid", "abis", "31.12.1993", false}),
                         [](const ::testing::TestParamInfo<LeaveCase>& info) {
                             return std::string(info.param.id);
                         });

TEST_F(AgeClassDialog, TheFocusGoesBackToARefusedDateButNotWhenLeavingForZurueck) {
    openFor("Jugend");
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog)) GTEST_SKIP() << "the platform activates no windows";
    avon()->setFocus();
    avon()->setText("31.02.2000");

    abis()->setFocus();
    QTest::qWait(0);

    ASSERT_EQ(ui.texts(), QStringList({"Geben Sie ein gültiges Datum ein"}));
    EXPECT_EQ(QApplication::focusWidget(), avon());

    ui.clear();
    d<QPushButton>("zurueck")->setFocus();
    QTest::qWait(0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

// ---------------------------------------------------------------------------------------------------
// "Tische verwalten"

class TableDialog : public ClassPanel {
public:
    void SetUp() override {
        ClassPanel::SetUp();
        dialog = panel->tischDialog();
        storeAndOpen({{"Herren", klassen::Einzel}}); // on two tables
        choose(klassen::Einzel, "Herren");
        button("tische_verwalten")->click();
    }
    template <class T> T* d(const char* n) { return child<T>(*dialog, n); }
    QListWidget* dialogList() { return d<QListWidget>("tischliste"); }
    void rename(int row, const QString& newName) {
        dialogList()->setCurrentRow(row);
        d<QLineEdit>("tischname")->setText(newName);
        d<QPushButton>("name_aendern")->click();
    }
    Ttisch_verwaltung* dialog = nullptr;
};

TEST_F(TableDialog, ShowsACopyOfTheClassesTablesAndTheChosenName) {
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Tische verwalten");
    EXPECT_EQ(texts(dialogList()), QStringList({"Tisch 1", "Tisch 2"}));
    EXPECT_TRUE(d<QLineEdit>("tischname")->text().isEmpty());
    dialogList()->setCurrentRow(1);
    EXPECT_EQ(d<QLineEdit>("tischname")->text(), "Tisch 2");
}

TEST_F(TableDialog, ZurueckKeepsTheClassesTablesButTheClassCountsAsChanged) {
    rename(1, "Halle B");
    EXPECT_EQ(texts(dialogList()), QStringList({"Tisch 1", "Halle B"}));
    d<QPushButton>("zurueck")->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(tableList(), QStringList({"Tisch 1", "Tisch 2"}));
    EXPECT_TRUE(save()->isEnabled());

    button("tische_verwalten")->click();
    EXPECT_EQ(texts(dialogList()), QStringList({"Tisch 1", "Tisch 2"}));
}

TEST_F(TableDialog, UebernehmenHandsTheNamesToTheClassWhichStoresThemOnSaving) {
    rename(1, "Halle B");
    d<QPushButton>("uebernehmen")->click();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(tableList(), QStringList({"Tisch 1", "Halle B"}));
    EXPECT_EQ(tische::load(db(), panel->currentKid()), QStringList({"Tisch 1", "Tisch 2"}));
    save()->click();
    EXPECT_EQ(tische::load(db(), panel->currentKid()), QStringList({"Tisch 1", "Halle B"}));
}

TEST_F(TableDialog, RenamingWithoutAChosenTableDoesNothing) {
    QSignalSpy changed(dialog, &Ttisch_verwaltung::classChanged);
    d<QLineEdit>("tischname")->setText("Halle B");
    d<QPushButton>("name_aendern")->click();
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(texts(dialogList()), QStringList({"Tisch 1", "Tisch 2"}));
    EXPECT_FALSE(save()->isEnabled());
}

} // namespace
