#include "common/clock.h"
#include "entries/klassen.h"
#include "entries/klassen_fixture.h"
#include "entries/tische.h"
#include "entries/ui/klassen_panel_fixture.h"
#include "entries/ui/klassenverwalten.h"
#include "entries/ui/tisch_verwaltung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <functional>

namespace {

using Icon = Interaction::Icon;

TEST_F(ClassPanel, OpeningListsTheTournamentsClassesByKindAndClearsTheFields) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'U18', NULL, NULL, 0, 0)");
    storeAndOpen({{"Herren A", klassen::Einzel},
                  {"Herren A", klassen::Doppel},
                  {"Mix", klassen::Mixed},
                  {"Damen", klassen::Einzel},
                  {"Liga", klassen::Team}});

    EXPECT_EQ(panel->objectName(), "klassenverwalten");
    EXPECT_EQ(w<QLabel>("titel")->text(), "Turnierklassen verwalten");
    EXPECT_EQ(texts(list(klassen::Einzel)), QStringList({"Herren A", "Damen"}));
    EXPECT_EQ(texts(list(klassen::Doppel)), QStringList({"Herren A"}));
    EXPECT_EQ(texts(list(klassen::Mixed)), QStringList({"Mix"}));
    EXPECT_EQ(texts(list(klassen::Team)), QStringList({"Liga"}));
    QComboBox* age = w<QComboBox>("altersklasse");
    ASSERT_EQ(age->count(), 2);
    EXPECT_EQ(age->itemText(0), "U18");
    EXPECT_EQ(age->itemText(1), "ohne Beschränkung");
    EXPECT_EQ(age->currentText(), "ohne Beschränkung");
    EXPECT_EQ(w<QDateEdit>("austragungstag")->date(), QDate(2024, 5, 4));
    EXPECT_EQ(kind()->currentText(), "Einzel");
    EXPECT_TRUE(name()->text().isEmpty());
    EXPECT_FALSE(save()->isEnabled());
    EXPECT_FALSE(button("teamsystem")->isEnabled());
    EXPECT_FALSE(button("klasse_loeschen")->isEnabled());
    EXPECT_EQ(tableList(), QStringList({"Tisch 1"}));
    EXPECT_TRUE(w<QListWidget>("plattenlist")->isHidden());
}

TEST_F(ClassPanel, ChoosingAClassShowsItAndNewClassClearsAgain) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'U18', NULL, NULL, 0, 0)");
    KlassenFormular f = validForm("Mädchen „U18“", klassen::Mixed);
    f.kbeschreibung = "Beschreibung";
    f.spielberechtigung = "Jahrgang 2006 und jünger";
    f.mann = false;
    f.frau = true;
    f.gebuehr = "7,5";
    f.saetze = "2";
    f.platten = "3";
    f.tische = {"Tisch 1", "Halle B", "Tisch 3"};
    f.altersklasse = "U18";
    f.atag = QDate(2024, 5, 5);
    f.beginn = "14:15";
    const int kid = Klassenverwaltung(state, db(), ui).save(f, 0).kid;
    storeAndOpen({{"Andere", klassen::Einzel}});
    choose(klassen::Einzel, "Andere");

    choose(klassen::Mixed, "Mädchen „U18“");

    EXPECT_EQ(panel->currentKid(), kid);
    EXPECT_EQ(state.kid, kid);
    EXPECT_TRUE(list(klassen::Einzel)->selectedItems().isEmpty());
    EXPECT_EQ(kind()->currentText(), "Mixed");
    EXPECT_EQ(name()->text(), "Mädchen „U18“");
    EXPECT_EQ(w<QPlainTextEdit>("kbeschreibung")->toPlainText(), "Beschreibung");
    EXPECT_EQ(w<QPlainTextEdit>("kberechtigung")->toPlainText(), "Jahrgang 2006 und jünger");
    EXPECT_FALSE(w<QCheckBox>("mann")->isChecked());
    EXPECT_TRUE(w<QCheckBox>("frau")->isChecked());
    EXPECT_EQ(w<QLineEdit>("gebuehr")->text(), "7,50");
    EXPECT_EQ(w<QComboBox>("minteil")->currentText(), "4");
    EXPECT_EQ(w<QComboBox>("maxteil")->currentText(), "16");
    EXPECT_EQ(w<QComboBox>("gewinnsaetze")->currentText(), "2");
    EXPECT_EQ(w<QComboBox>("plattenanzahl")->currentText(), "3");
    EXPECT_EQ(w<QComboBox>("altersklasse")->currentText(), "U18");
    EXPECT_EQ(w<QDateEdit>("austragungstag")->date(), QDate(2024, 5, 5));
    EXPECT_EQ(w<QLineEdit>("beginn")->text(), "14:15");
    EXPECT_EQ(tableList(), QStringList({"Tisch 1", "Halle B", "Tisch 3"}));
    EXPECT_EQ(save()->text(), "Klasse ändern");
    EXPECT_FALSE(save()->isEnabled());
    EXPECT_TRUE(button("klasse_loeschen")->isEnabled());

    button("neue_klasse")->click();

    EXPECT_EQ(panel->currentKid(), 0);
    EXPECT_TRUE(list(klassen::Mixed)->selectedItems().isEmpty());
    EXPECT_EQ(kind()->currentText(), "Einzel");
    EXPECT_TRUE(name()->text().isEmpty());
    EXPECT_TRUE(w<QPlainTextEdit>("kbeschreibung")->toPlainText().isEmpty());
    EXPECT_TRUE(w<QCheckBox>("mann")->isChecked());
    EXPECT_FALSE(w<QCheckBox>("frau")->isChecked());
    EXPECT_TRUE(w<QLineEdit>("gebuehr")->text().isEmpty());
    EXPECT_EQ(w<QComboBox>("minteil")->currentText(), "2");
    EXPECT_EQ(w<QComboBox>("maxteil")->currentText(), "2");
    EXPECT_EQ(w<QComboBox>("gewinnsaetze")->currentText(), "3");
    EXPECT_EQ(w<QComboBox>("plattenanzahl")->currentText(), "1");
    EXPECT_EQ(w<QComboBox>("altersklasse")->currentText(), "U18"); // the age class keeps its text
    EXPECT_EQ(w<QDateEdit>("austragungstag")->date(), clock.today());
    EXPECT_TRUE(w<QLineEdit>("beginn")->text().isEmpty());
    EXPECT_EQ(tableList(), QStringList({"Tisch 1"}));
    EXPECT_EQ(save()->text(), "Klasse speichern");
    EXPECT_TRUE(save()->isEnabled());
    EXPECT_FALSE(button("klasse_loeschen")->isEnabled());
}

// ---------------------------------------------------------------------------------------------------
// Any change of a field enables saving, with the caption that says what saving will do.

struct EditCase {
    const char* id;
    friend void PrintTo(const EditCase& c, std::ostream* os) { *os << c.id; }
    std::function<void(Klassenverwalten&)> edit;
};

class ClassPanelChanges : public ClassPanel, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ClassPanelChanges, EnableSavingAStoredClassAsAChange) {
    storeAndOpen({{"Herren A", klassen::Einzel}});
    choose(klassen::Einzel, "Herren A");
    ASSERT_FALSE(save()->isEnabled());

    GetParam().edit(*panel);

    EXPECT_TRUE(save()->isEnabled());
    EXPECT_EQ(save()->text(), "Klasse ändern");
}

TEST_P(ClassPanelChanges, EnableSavingANewClassAsANewClass) {
    panel->showPanel();
    ASSERT_FALSE(save()->isEnabled());

    GetParam().edit(*panel);

    EXPECT_TRUE(save()->isEnabled());
    EXPECT_EQ(save()->text(), "Klasse speichern");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ClassPanelChanges,
    ::testing::Values(
        EditCase{"Kind", [](Klassenverwalten& p) { child<QComboBox>(p, "system")->setCurrentIndex(1); }},
        EditCase{"Name", [](Klassenverwalten& p) { child<QLineEdit>(p, "kbezeichnung")->setText("X"); }},
        EditCase{"Description",
                 [](Klassenverwalten& p) { child<QPlainTextEdit>(p, "kbeschreibung")->setPlainText("X"); }},
        EditCase{"Eligibility",
                 [](Klassenverwalten& p) { child<QPlainTextEdit>(p, "kberechtigung")->setPlainText("X"); }},
        EditCase{"Men", [](Klassenverwalten& p) { child<QCheckBox>(p, "mann")->toggle(); }},
        EditCase{"Women", [](Klassenverwalten& p) { child<QCheckBox>(p, "frau")->toggle(); }},
        EditCase{"Fee", [](Klassenverwalten& p) { child<QLineEdit>(p, "gebuehr")->setText("3"); }},
        EditCase{"Min", [](Klassenverwalten& p) { child<QComboBox>(p, "minteil")->setCurrentText("8"); }},
        EditCase{"Max", [](Klassenverwalten& p) { child<QComboBox>(p, "maxteil")->setCurrentText("9"); }},
        EditCase{"Sets",
                 [](Klassenverwalten& p) { child<QComboBox>(p, "gewinnsaetze")->setCurrentIndex(0); }},
        EditCase{"Tables",
                 [](Klassenverwalten& p) { child<QComboBox>(p, "plattenanzahl")->setCurrentText("5"); }},
        EditCase{"AgeClass",
                 [](Klassenverwalten& p) { child<QComboBox>(p, "altersklasse")->setCurrentText("U"); }},
        EditCase{"Day",
                 [](Klassenverwalten& p) {
                     auto* d = child<QDateEdit>(p, "austragungstag");
                     d->setDate(d->date().addDays(1));
                 }},
        EditCase{"Start", [](Klassenverwalten& p) { child<QLineEdit>(p, "beginn")->setText("9"); }},
        EditCase{"TeamSystem",
                 [](Klassenverwalten& p) {
                     p.setTeamSystem(TeamSystem{2, 0, {}});
                 }}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.id); });

// ---------------------------------------------------------------------------------------------------
// The class bar follows every save and delete.

struct BarCase {
    const char* id;
    friend void PrintTo(const BarCase& c, std::ostream* os) { *os << c.id; }
    std::function<void(ClassPanel&)>
        act; // starts on the stored classes Herren A (Einzel), Damen (Einzel), Mix (Mixed)
    QStringList added;
    QList<QStringList> renamed;
    QStringList removed;
    QList<QStringList> lists; // the four overview lists afterwards
};

class ClassBar : public ClassPanel, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ClassBar, FollowsSavesAndDeletes) {
    storeAndOpen({{"Herren A", klassen::Einzel}, {"Damen", klassen::Einzel}, {"Mix", klassen::Mixed}});
    QSignalSpy added(panel.get(), &Klassenverwalten::classAdded);
    QSignalSpy renamed(panel.get(), &Klassenverwalten::classRenamed);
    QSignalSpy removed(panel.get(), &Klassenverwalten::classRemoved);

    GetParam().act(*this);

    QStringList addedCaptions, removedCaptions;
    QList<QStringList> renamedCaptions;
    for (const auto& a : added)
        addedCaptions << a[0].toString();
    for (const auto& r : renamed)
        renamedCaptions << QStringList{r[0].toString(), r[1].toString()};
    for (const auto& r : removed)
        removedCaptions << r[0].toString();
    EXPECT_EQ(addedCaptions, GetParam().added);
    EXPECT_EQ(renamedCaptions, GetParam().renamed);
    EXPECT_EQ(removedCaptions, GetParam().removed);
    for (int k = 0; k < klassen::kKindCount; ++k)
        EXPECT_EQ(texts(list(k)), GetParam().lists[k]) << "list " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ClassBar,
    ::testing::Values(
        BarCase{"NewDoublesClass",
                [](ClassPanel& t) {
                    t.button("neue_klasse")->click();
                    t.name()->setText(" Herren A ");
                    t.kind()->setCurrentIndex(klassen::Doppel);
                    t.save()->click();
                    EXPECT_EQ(t.save()->text(), "Klasse ändern");
                    EXPECT_FALSE(t.save()->isEnabled());
                    EXPECT_EQ(t.name()->text(), "Herren A");
                    EXPECT_EQ(t.panel->currentKid(), t.storedClass("Herren A", klassen::Doppel));
                    EXPECT_EQ(t.list(klassen::Doppel)->selectedItems().size(), 1);
                },
                {"Herren A (Doppel)"},
                {},
                {},
                {{"Herren A", "Damen"}, {"Herren A"}, {"Mix"}, {}}},
        BarCase{"NewClassOfATakenName",
                [](ClassPanel& t) {
                    t.button("neue_klasse")->click();
                    t.name()->setText("Damen");
                    t.save()->click();
                    EXPECT_EQ(t.ui.texts(), QStringList({"Eine Klasse mit diesem Namen existiert bereits"}));
                    EXPECT_TRUE(t.save()->isEnabled());
                },
                {},
                {},
                {},
                {{"Herren A", "Damen"}, {}, {"Mix"}, {}}},
        BarCase{"Rename",
                [](ClassPanel& t) {
                    t.choose(klassen::Einzel, "Herren A");
                    t.name()->setText("Herren B");
                    t.save()->click();
                    EXPECT_TRUE(t.ui.messages.isEmpty());
                },
                {},
                {{"Herren A (Einzel)", "Herren B (Einzel)"}},
                {},
                {{"Herren B", "Damen"}, {}, {"Mix"}, {}}},
        BarCase{"ChangeKind",
                [](ClassPanel& t) {
                    t.choose(klassen::Einzel, "Damen");
                    t.kind()->setCurrentIndex(klassen::Mixed);
                    t.save()->click();
                    t.w<QLineEdit>("gebuehr")->setText("4");
                    t.save()->click(); // a second change starts from the new kind
                },
                {},
                {{"Damen (Einzel)", "Damen (Mixed)"}},
                {},
                {{"Herren A"}, {}, {"Mix", "Damen"}, {}}},
        BarCase{"ChangeWithoutRenaming",
                [](ClassPanel& t) {
                    t.choose(klassen::Mixed, "Mix");
                    t.w<QLineEdit>("gebuehr")->setText("4");
                    t.save()->click();
                },
                {},
                {},
                {},
                {{"Herren A", "Damen"}, {}, {"Mix"}, {}}},
        BarCase{"RenameToATakenName",
                [](ClassPanel& t) {
                    t.choose(klassen::Einzel, "Damen");
                    t.name()->setText("Herren A");
                    t.save()->click();
                    ASSERT_EQ(t.ui.messages.size(), 1);
                    EXPECT_EQ(t.ui.messages[0].text, "Eine Klasse mit diesem Namen existiert bereits");
                    EXPECT_EQ(t.name()->text(), "Damen");
                    EXPECT_FALSE(t.save()->isEnabled());
                },
                {},
                {},
                {},
                {{"Herren A", "Damen"}, {}, {"Mix"}, {}}},
        BarCase{"Delete",
                [](ClassPanel& t) {
                    t.choose(klassen::Einzel, "Herren A");
                    t.ui.answer(true);
                    t.button("klasse_loeschen")->click();
                    EXPECT_EQ(t.ui.questions, QStringList({"Wollen Sie die Klasse wirklich löschen?\n\n"
                                                           "Bereits erstellte Spielpläne gehen verloren!"}));
                    EXPECT_EQ(t.storedClass("Herren A", klassen::Einzel), 0);
                    // The last class left in that list takes its place.
                    EXPECT_EQ(t.name()->text(), "Damen");
                    EXPECT_EQ(t.panel->currentKid(), t.storedClass("Damen", klassen::Einzel));
                    EXPECT_FALSE(t.save()->isEnabled());
                },
                {},
                {},
                {"Herren A (Einzel)"},
                {{"Damen"}, {}, {"Mix"}, {}}},
        BarCase{"DeleteCancelled",
                [](ClassPanel& t) {
                    t.choose(klassen::Einzel, "Herren A");
                    t.ui.answer(false);
                    t.button("klasse_loeschen")->click();
                    EXPECT_NE(t.storedClass("Herren A", klassen::Einzel), 0);
                    EXPECT_EQ(t.name()->text(), "Herren A");
                },
                {},
                {},
                {},
                {{"Herren A", "Damen"}, {}, {"Mix"}, {}}},
        BarCase{"DeleteTheLastOfItsKind",
                [](ClassPanel& t) {
                    t.choose(klassen::Mixed, "Mix");
                    t.ui.answer(true);
                    t.button("klasse_loeschen")->click();
                    EXPECT_TRUE(t.name()->text().isEmpty());
                    EXPECT_EQ(t.kind()->currentText(), "Einzel");
                    EXPECT_EQ(t.panel->currentKid(), 0);
                    EXPECT_FALSE(t.save()->isEnabled());
                    EXPECT_FALSE(t.button("klasse_loeschen")->isEnabled());
                },
                {},
                {},
                {"Mix (Mixed)"},
                {{"Herren A", "Damen"}, {}, {}, {}}}),
    [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.id); });

TEST_F(ClassPanel, ADatabaseErrorIsShownAndChangesNothingOnThePanel) {
    storeAndOpen({{"Herren A", klassen::Einzel}});
    QSignalSpy added(panel.get(), &Klassenverwalten::classAdded);
    db().exec("DROP TABLE Platten1");
    button("neue_klasse")->click();
    name()->setText("Damen");

    save()->click();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Datenbankfehler: ")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(added.size(), 0);
    EXPECT_EQ(texts(list(klassen::Einzel)), QStringList({"Herren A"}));
    EXPECT_EQ(storedClass("Damen", klassen::Einzel), 0);
    EXPECT_TRUE(save()->isEnabled());
}

// ---------------------------------------------------------------------------------------------------
// The table list follows "Anzahl Tische" and the renames of "Tische verwalten".

struct TableCase {
    const char* id;
    friend void PrintTo(const TableCase& c, std::ostream* os) { *os << c.id; }
    QStringList
        steps; // a number sets "Anzahl Tische"; "n=Name" renames table n in the dialog and takes it over
    QStringList expected;
};

class ClassTables : public ClassPanel, public ::testing::WithParamInterface<TableCase> {};

TEST_P(ClassTables, FollowTheCountAndKeepRenamedTables) {
    panel->showPanel();
    button("neue_klasse")->click();
    name()->setText("Herren");
    auto* dialog = panel->tischDialog();
    for (const QString& step : GetParam().steps) {
        if (step.contains(u'=')) {
            button("tische_verwalten")->click();
            auto* l = dialog->findChild<QListWidget*>("tischliste");
            l->setCurrentRow(step.section(u'=', 0, 0).toInt() - 1);
            dialog->findChild<QLineEdit*>("tischname")->setText(step.section(u'=', 1));
            dialog->findChild<QPushButton*>("name_aendern")->click();
            dialog->findChild<QPushButton*>("uebernehmen")->click();
        } else {
            w<QComboBox>("plattenanzahl")->setCurrentText(step);
        }
    }
    EXPECT_EQ(tableList(), GetParam().expected);

    save()->click();
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(tische::load(db(), panel->currentKid()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ClassTables,
    ::testing::Values(
        TableCase{"Three", {"3"}, {"Tisch 1", "Tisch 2", "Tisch 3"}},
        TableCase{"GrowAfterRenaming", {"2", "2=Halle B", "4"}, {"Tisch 1", "Halle B", "Tisch 3", "Tisch 4"}},
        TableCase{"ShrinkToOne", {"2", "2=Halle B", "4", "1"}, {"Tisch 1"}},
        TableCase{"ShrinkDropsFromTheEnd", {"3", "1=Center", "3=Rand", "2"}, {"Center", "Tisch 2"}},
        TableCase{
            "GrowAgainGivesNumberedNames", {"3", "3=Rand", "2", "3"}, {"Tisch 1", "Tisch 2", "Tisch 3"}},
        TableCase{"TypingThroughTwoDigits", {"1", "12", "2"}, {"Tisch 1", "Tisch 2"}},
        TableCase{
            "TextInBetweenKeepsTheList", {"2", "2=Halle B", "zwei", "3"}, {"Tisch 1", "Halle B", "Tisch 3"}},
        TableCase{"EmptyAndRepeatedNames", {"3", "1=", "3=Tisch 2"}, {"", "Tisch 2", "Tisch 2"}}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.id); });

TEST_F(ClassPanel, LeavingTheTableCountWithoutANumberIsRefused) {
    panel->showPanel();
    QComboBox* count = w<QComboBox>("plattenanzahl");
    for (const char* text : {"zwei", "0", "21", ""}) {
        SCOPED_TRACE(text);
        ui.clear();
        count->setCurrentText(QString::fromLatin1(text));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(count, &leave);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, "Geben Sie eine gültige Zahl ein");
    }
    ui.clear();
    count->setCurrentText("20");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(count, &leave);
    EXPECT_TRUE(ui.messages.isEmpty());
    // Opening the list's own popup is no leaving.
    count->setCurrentText("x");
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(count, &popup);
    EXPECT_TRUE(ui.messages.isEmpty());
}

// ---------------------------------------------------------------------------------------------------
// Team classes.

TEST_F(ClassPanel, TeamSystemIsOfferedForTeamClassesAndSavedWithThem) {
    panel->showPanel();
    QSignalSpy requested(panel.get(), &Klassenverwalten::teamSystemRequested);
    button("neue_klasse")->click();
    EXPECT_FALSE(button("teamsystem")->isEnabled());
    kind()->setCurrentIndex(klassen::Team);
    ASSERT_TRUE(button("teamsystem")->isEnabled());
    button("teamsystem")->click();
    EXPECT_EQ(requested.size(), 1);

    TeamSystem ts;
    ts.spieler = 3;
    ts.reserve = 2;
    ts.spiele[0].a = 1;
    ts.spiele[0].b = 2;
    panel->setTeamSystem(ts);
    name()->setText("Liga");
    save()->click();

    const int kid = storedClass("Liga", klassen::Team);
    ASSERT_NE(kid, 0);
    EXPECT_EQ(teamsystem::laden(db(), kid), ts);
    kind()->setCurrentIndex(klassen::Doppel);
    EXPECT_FALSE(button("teamsystem")->isEnabled());

    // Loading the class brings its line-up back.
    panel->showPanel();
    EXPECT_EQ(panel->teamSystem(), TeamSystem{});
    choose(klassen::Team, "Liga");
    EXPECT_EQ(panel->teamSystem(), ts);
    EXPECT_TRUE(button("teamsystem")->isEnabled());
}

TEST_F(ClassPanel, EveryInputHasItsLabel) {
    // A label that names a field must lead to it (screen readers and Alt-navigation rely on it).
    const QStringList unitLabels = {"Turnierklassen verwalten", "Euro", "Uhr"};
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        if (label->window() != panel.get() || unitLabels.contains(label->text())) continue;
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    }
    for (QWidget* input : panel->findChildren<QWidget*>()) {
        if (input->window() != panel.get()) continue;
        if (!qobject_cast<QLineEdit*>(input) && !qobject_cast<QComboBox*>(input) &&
            !qobject_cast<QPlainTextEdit*>(input) && !qobject_cast<QDateEdit*>(input))
            continue;
        if (qobject_cast<QComboBox*>(input->parentWidget()) ||
            qobject_cast<QDateEdit*>(input->parentWidget()))
            continue; // the text field inside a list or date picker
        bool labelled = false;
        for (QLabel* label : panel->findChildren<QLabel*>())
            labelled |= label->buddy() == input;
        EXPECT_TRUE(labelled) << input->objectName().toStdString();
    }
}

} // namespace
