#include "common/clock.h"
#include "store/appstate.h"
#include "store/ui/turnierpanel.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

enum class Kind { Line, Memo, Date };

struct FieldCase {
    const char* objectName;
    const char* label;
    const char* column;
    Kind kind;
    int page;
};

const std::vector<FieldCase> kFields = {
    {"turniername", "Turniername", "turniername", Kind::Line, 0},
    {"zusatzname", "Zusatzname", "zusatz", Kind::Line, 0},
    {"austragungsort", "Austragungsort", "austragungsort", Kind::Line, 0},
    {"Tvon", "vom", "tvon", Kind::Date, 0},
    {"Tbis", "bis zum", "tbis", Kind::Date, 0},
    {"veranstalter", "Veranstalter", "veranstalter", Kind::Line, 0},
    {"v_homepage", "Homepage", "homepage", Kind::Line, 0},
    {"gesamtleitung", "Gesamtleitung", "gesamtleitung", Kind::Line, 0},
    {"osr", "Oberschiedsrichter", "osr", Kind::Line, 0},
    {"turnierleitung", "Turnierleitung", "turnierleitung", Kind::Memo, 0},
    {"schiedsrichter", "Schiedsrichter", "schiedsrichter", Kind::Memo, 0},
    {"startberechtigung", "Startberechtigung", "startberechtigung", Kind::Memo, 0},
    {"turniermodus", "Turniermodus", "turniermodus", Kind::Memo, 0},
    {"meldeinfo", "Meldeinfos", "meldeinfo", Kind::Memo, 1},
    {"meldeschluss", "Meldeschluss", "meldeschluss", Kind::Date, 1},
    {"auslosung", "Auslosung", "auslosung", Kind::Date, 1},
    {"auslosunginfo", "Infos zur Auslosung", "ainfo", Kind::Memo, 1},
    {"meldung_an", "Meldung an", "meldung_an", Kind::Memo, 1},
    {"tische", "Tische", "tische", Kind::Line, 1},
    {"netze", "Netze", "netze", Kind::Line, 1},
    {"baelle", "Bälle", "baelle", Kind::Line, 1},
    {"zaehlgeraete", "Zählgeräte", "zaehlgeraete", Kind::Line, 1},
    {"banden", "Banden", "banden", Kind::Line, 1},
    {"erstehilfe", "Erste Hilfe", "erstehilfe", Kind::Line, 1},
    {"preise", "Preise", "preise", Kind::Memo, 1},
    {"verpflegung", "Speisen und Getränke", "verpflegung", Kind::Memo, 1},
    {"wegbeschreibung", "Wegbeschreibung", "weg", Kind::Memo, 1},
    {"verschiedenes", "Verschiedenes", "verschiedenes", Kind::Memo, 1},
};

void PrintTo(const FieldCase& f, std::ostream* os) {
    *os << f.objectName;
}

const QDate kToday(2024, 5, 10);

// A stored record whose every column holds a different value, dates a few days apart.
TournamentRecord distinctRecord(const QString& name) {
    TournamentRecord r;
    r.turniername = name;
    r.zusatz = "Z zusatz";
    r.austragungsort = "Z austragungsort";
    r.tvon = QDate(2024, 6, 1);
    r.tbis = QDate(2024, 6, 2);
    r.startberechtigung = "Z startberechtigung\r\nZeile 2";
    r.turniermodus = "Z turniermodus\r\nZeile 2";
    r.veranstalter = "Z veranstalter";
    r.homepage = "Z homepage";
    r.gesamtleitung = "Z gesamtleitung";
    r.turnierleitung = "Z turnierleitung\r\nZeile 2";
    r.schiedsrichter = "Z schiedsrichter\r\nZeile 2";
    r.osr = "Z osr";
    r.meldeschluss = QDate(2024, 5, 20);
    r.auslosung = QDate(2024, 5, 25);
    r.meldeinfo = "Z meldeinfo\r\nZeile 2";
    r.meldung_an = "Z meldung_an\r\nZeile 2";
    r.ainfo = "Z ainfo\r\nZeile 2";
    r.tische = "Z tische";
    r.baelle = "Z baelle";
    r.netze = "Z netze";
    r.zaehlgeraete = "Z zaehlgeraete";
    r.banden = "Z banden";
    r.preise = "Z preise\r\nZeile 2";
    r.verpflegung = "Z verpflegung\r\nZeile 2";
    r.weg = "Z weg\r\nZeile 2";
    r.verschiedenes = "Z verschiedenes\r\nZeile 2";
    r.erstehilfe = "Z erstehilfe";
    return r;
}

class TurnierPanelTest : public ::testing::Test {
protected:
    TestDatabase tdb{DbKind::File};
    AppState state;
    ScriptedInteraction interaction;
    FixedClock clock{QDateTime(kToday, QTime(9, 30))};
    TurnierPanel panel{state, tdb.db(), interaction, clock};

    template <typename T> T* child(const char* name) {
        T* w = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QPushButton* saveButton() { return child<QPushButton>("turnier_speichern"); }
    QTabWidget* tabs() { return child<QTabWidget>("Turniermenu"); }

    // What the load operation does: clear, fill, nothing to save.
    int load(const TournamentRecord& r) {
        const int tid = insertTournament(tdb.db(), r, {});
        state.tid = tid;
        state.turniername = r.turniername;
        panel.clearFields();
        panel.fillFields(tid);
        panel.setLoadedState();
        return tid;
    }

    Row stored(int tid) {
        return tdb.db().selectOne("SELECT * FROM Turnierdaten WHERE TID=:k", {{":k", tid}});
    }

    void showPageOf(QWidget* w) {
        for (int i = 0; i < tabs()->count(); ++i)
            if (tabs()->widget(i)->isAncestorOf(w)) tabs()->setCurrentIndex(i);
    }
};

class TurnierPanelFieldTest : public TurnierPanelTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(TurnierPanelFieldTest, FieldHasItsKindLabelAndPage) {
    const FieldCase& f = GetParam();
    QWidget* w = child<QWidget>(f.objectName);
    ASSERT_NE(w, nullptr);
    switch (f.kind) {
    case Kind::Line:
        EXPECT_NE(qobject_cast<QLineEdit*>(w), nullptr);
        break;
    case Kind::Memo:
        EXPECT_NE(qobject_cast<QPlainTextEdit*>(w), nullptr);
        break;
    case Kind::Date: {
        auto* d = qobject_cast<QDateEdit*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->calendarPopup());
        EXPECT_EQ(d->displayFormat(), "dd.MM.yyyy");
        break;
    }
    }
    QStringList labels;
    for (QLabel* l : panel.findChildren<QLabel*>())
        if (l->buddy() == w) labels << l->text();
    EXPECT_EQ(labels, QStringList{QString::fromUtf8(f.label)});
    EXPECT_TRUE(tabs()->widget(f.page)->isAncestorOf(w));
}

TEST_P(TurnierPanelFieldTest, TypingEnablesSaveAndSavingStoresAndDisables) {
    const FieldCase& f = GetParam();
    const int tid = load(distinctRecord("Stadtmeisterschaft"));
    panel.show();
    QPushButton* save = saveButton();
    ASSERT_FALSE(save->isEnabled());
    ASSERT_EQ(save->text(), "Änderung speichern");

    QWidget* w = child<QWidget>(f.objectName);
    showPageOf(w);
    QVariant expected;
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setFocus();
        line->end(false);
        QTest::keyClicks(line, " neu");
        expected = stored(tid).text(QString::fromLatin1(f.column)) + " neu";
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, "neu");
        expected = stored(tid).text(QString::fromLatin1(f.column)) + "\r\nneu";
    } else {
        auto* date = qobject_cast<QDateEdit*>(w);
        ASSERT_NE(date, nullptr);
        date->setDate(date->date().addDays(3));
        expected = date->date();
    }

    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->text(), "Änderung übernehmen");

    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(interaction.messages.isEmpty()) << interaction.texts().join(" | ").toStdString();
    const Row row = stored(tid);
    if (f.kind == Kind::Date)
        EXPECT_EQ(row.date(QString::fromLatin1(f.column)), expected.toDate());
    else
        EXPECT_EQ(row.text(QString::fromLatin1(f.column)), expected.toString());
}

TEST_P(TurnierPanelFieldTest, FillShowsTheStoredValueAndClearEmptiesIt) {
    const FieldCase& f = GetParam();
    const TournamentRecord r = distinctRecord("Stadtmeisterschaft");
    const int tid = load(r);
    const Row row = stored(tid);
    const QString column = QString::fromLatin1(f.column);
    QWidget* w = child<QWidget>(f.objectName);

    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        EXPECT_EQ(line->text(), row.text(column));
        panel.clearFields();
        EXPECT_EQ(line->text(), QString());
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        EXPECT_EQ(memo->toPlainText(), memoToPlainText(row.text(column)));
        EXPECT_EQ(memo->textCursor().position(), 0);
        panel.clearFields();
        EXPECT_EQ(memo->toPlainText(), QString());
    } else {
        auto* date = qobject_cast<QDateEdit*>(w);
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->date(), row.date(column));
        panel.clearFields();
        EXPECT_EQ(date->date(), kToday);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, TurnierPanelFieldTest, ::testing::ValuesIn(kFields),
                         [](const ::testing::TestParamInfo<FieldCase>& info) {
                             return std::string(info.param.objectName);
                         });

TEST_F(TurnierPanelTest, PanelHasItsPagesGroupsAndButtons) {
    EXPECT_EQ(panel.objectName(), "neuesTurnier");
    ASSERT_EQ(tabs()->count(), 2);
    EXPECT_EQ(tabs()->tabText(0), "Turnierdaten");
    EXPECT_EQ(tabs()->tabText(1), "zusätzliche Turnierdaten");
    QStringList groups;
    for (QGroupBox* g : panel.findChildren<QGroupBox*>())
        groups << g->title();
    groups.sort();
    EXPECT_EQ(groups, (QStringList{"Austragungsdatum", "Equipment", "Meldungen", "Verantwortliche",
                                   "Verschiedenes"}));
    EXPECT_EQ(saveButton()->text(), "Turnier speichern");
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(child<QPushButton>("anmeldeformular")->text(), "Anmeldeformular erzeugen");
}

TEST_F(TurnierPanelTest, FillingSetsTheTitleAndMarksTheRecordUntilLoadResetsIt) {
    const int tid = insertTournament(tdb.db(), distinctRecord("Kreisrangliste"), {});
    panel.clearFields();
    panel.fillFields(tid);
    EXPECT_EQ(child<QLabel>("statictext1")->text(), "Kreisrangliste");
    EXPECT_TRUE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), "Änderung übernehmen");
    panel.setLoadedState();
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), "Änderung speichern");
}

TEST_F(TurnierPanelTest, NullMemosLoadEmptyAndSaveBackAsEmptyText) {
    // A previous tournament on the panel must not shine through the NULL memos.
    load(distinctRecord("Vorher"));
    const int tid = insertTournament(tdb.db(), distinctRecord("Ohne Memos"), {});
    tdb.db().exec("UPDATE Turnierdaten SET startberechtigung=NULL, turniermodus=NULL, turnierleitung=NULL, "
                  "schiedsrichter=NULL, meldeinfo=NULL, meldung_an=NULL, ainfo=NULL, preise=NULL, "
                  "verpflegung=NULL, weg=NULL, verschiedenes=NULL WHERE TID=:k",
                  {{":k", tid}});
    state.tid = tid;
    panel.clearFields();
    panel.fillFields(tid);
    panel.setLoadedState();

    for (const auto& f : kFields) {
        if (f.kind != Kind::Memo) continue;
        SCOPED_TRACE(f.objectName);
        EXPECT_EQ(child<QPlainTextEdit>(f.objectName)->toPlainText(), QString());
    }
    child<QLineEdit>("zusatzname")->setText("geändert");
    QTest::mouseClick(saveButton(), Qt::LeftButton);
    const Row row = stored(tid);
    for (const auto& f : kFields) {
        if (f.kind != Kind::Memo) continue;
        SCOPED_TRACE(f.column);
        EXPECT_FALSE(row.isNull(QString::fromLatin1(f.column)));
        EXPECT_EQ(row.text(QString::fromLatin1(f.column)), QString());
    }
}

TEST_F(TurnierPanelTest, FirstDayMovesTheLastDayButNotTheOtherWayRound) {
    const int tid = load(distinctRecord("Pokal"));
    auto* von = child<QDateEdit>("Tvon");
    auto* bis = child<QDateEdit>("Tbis");
    struct Step {
        const char* what;
        QDateEdit* edit;
        QDate value;
        QDate vonAfter;
        QDate bisAfter;
    };
    const std::vector<Step> steps = {
        {"vom later", von, QDate(2024, 6, 8), QDate(2024, 6, 8), QDate(2024, 6, 8)},
        {"bis zum later on its own", bis, QDate(2024, 6, 9), QDate(2024, 6, 8), QDate(2024, 6, 9)},
        {"vom earlier", von, QDate(2024, 5, 30), QDate(2024, 5, 30), QDate(2024, 5, 30)},
        {"bis zum again", bis, QDate(2024, 5, 31), QDate(2024, 5, 30), QDate(2024, 5, 31)},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.edit->setDate(s.value);
        EXPECT_EQ(von->date(), s.vonAfter);
        EXPECT_EQ(bis->date(), s.bisAfter);
    }
    QTest::mouseClick(saveButton(), Qt::LeftButton);
    EXPECT_EQ(stored(tid).date(u"tvon"), QDate(2024, 5, 30));
    EXPECT_EQ(stored(tid).date(u"tbis"), QDate(2024, 5, 31));
}

TEST_F(TurnierPanelTest, RenameIsStoredButTheOpenTournamentKeepsItsName) {
    const int tid = load(distinctRecord("Stadtmeisterschaft"));
    panel.show();
    auto* name = child<QLineEdit>("turniername");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Kreismeisterschaft");
    EXPECT_EQ(child<QLabel>("statictext1")->text(), "Kreismeisterschaft");

    QTest::mouseClick(saveButton(), Qt::LeftButton);
    EXPECT_EQ(stored(tid).text(u"turniername"), "Kreismeisterschaft");
    EXPECT_EQ(state.turniername, "Stadtmeisterschaft");
    EXPECT_EQ(state.tid, tid);
}

TEST_F(TurnierPanelTest, EmptyNameIsRefusedAndNothingIsStored) {
    for (const QString& empty : {QString(), QStringLiteral("   ")}) {
        SCOPED_TRACE('"' + empty.toStdString() + '"');
        interaction.clear();
        const int tid = load(distinctRecord("Stadtmeisterschaft"));
        child<QLineEdit>("zusatzname")->setText("anderer Zusatz");
        child<QLineEdit>("turniername")->setText(empty);

        QTest::mouseClick(saveButton(), Qt::LeftButton);
        EXPECT_EQ(interaction.texts(), QStringList{"Bitte geben Sie einen Turniernamen ein"});
        EXPECT_TRUE(saveButton()->isEnabled());
        EXPECT_EQ(stored(tid).text(u"turniername"), "Stadtmeisterschaft");
        EXPECT_EQ(stored(tid).text(u"zusatz"), "Z zusatz");
    }
}

TEST_F(TurnierPanelTest, CreateSaveInsertsAtOnce) {
    QSignalSpy inserted(&panel, &TurnierPanel::tournamentInserted);
    const QStringList names{"Stadtmeisterschaft", "Kreisrangliste"};
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        panel.clearFields();
        const int tid = panel.createSave(names[i], {true, false, true, false});
        EXPECT_EQ(tid, i + 1);
        EXPECT_EQ(state.tid, i + 1);
        ASSERT_EQ(inserted.count(), i + 1);
        EXPECT_EQ(inserted.at(i).at(0).toInt(), i + 1);
        EXPECT_FALSE(saveButton()->isEnabled());
        EXPECT_EQ(saveButton()->text(), "Änderung übernehmen");
        EXPECT_EQ(child<QLabel>("statictext1")->text(), names[i]);

        const Row row = stored(tid);
        EXPECT_EQ(row.text(u"turniername"), names[i]);
        EXPECT_EQ(row.text(u"zusatz"), QString());
        EXPECT_FALSE(row.isNull(u"zusatz"));
        for (const char* d : {"tvon", "tbis", "meldeschluss", "auslosung"})
            EXPECT_EQ(row.date(QString::fromLatin1(d)), kToday) << d;
        const Row options = tdb.db().selectOne("SELECT * FROM Einstellungen WHERE TID=:k", {{":k", tid}});
        EXPECT_TRUE(options.boolean(u"einstellung1"));
        EXPECT_FALSE(options.boolean(u"einstellung2"));
        EXPECT_TRUE(options.boolean(u"einstellung3"));
        EXPECT_FALSE(options.boolean(u"einstellung4"));
    }
    EXPECT_TRUE(interaction.messages.isEmpty());
}

TEST_F(TurnierPanelTest, DatabaseErrorOnUpdateIsShownAndTheButtonStaysEnabled) {
    load(distinctRecord("Stadtmeisterschaft"));
    child<QLineEdit>("zusatzname")->setText("anderer Zusatz");
    tdb.db().exec("DROP TABLE Turnierdaten");

    QTest::mouseClick(saveButton(), Qt::LeftButton);
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(interaction.messages[0].text.startsWith("Datenbankfehler"))
        << interaction.messages[0].text.toStdString();
    EXPECT_TRUE(saveButton()->isEnabled());
}

TEST_F(TurnierPanelTest, FailedCreateSaveKeepsNoTournamentAndCanBeRetried) {
    QSignalSpy inserted(&panel, &TurnierPanel::tournamentInserted);
    tdb.db().exec("DROP TABLE Einstellungen");
    panel.clearFields();
    EXPECT_EQ(panel.createSave("Stadtmeisterschaft"), 0);
    EXPECT_EQ(state.tid, 0);
    EXPECT_EQ(inserted.count(), 0);
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(saveButton()->isEnabled());
    EXPECT_EQ(saveButton()->text(), "Turnier speichern");
    EXPECT_EQ(tdb.db().selectOne("SELECT COUNT(*) AS n FROM Turnierdaten").integer(u"n"), 0);

    // Editing meanwhile keeps the caption, so the button still inserts once the database is whole again.
    child<QLineEdit>("zusatzname")->setText("Zusatz");
    EXPECT_EQ(saveButton()->text(), "Turnier speichern");
    tdb.db().exec(
        "CREATE TABLE Einstellungen (TID INTEGER NOT NULL, einstellung1 INTEGER, einstellung2 INTEGER, "
        "einstellung3 INTEGER, einstellung4 INTEGER, version INTEGER)");
    QTest::mouseClick(saveButton(), Qt::LeftButton);
    EXPECT_EQ(state.tid, 1);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_FALSE(saveButton()->isEnabled());
    EXPECT_EQ(stored(1).text(u"zusatz"), "Zusatz");
}

TEST_F(TurnierPanelTest, EntryFormButtonAsksForTheForm) {
    QSignalSpy requested(&panel, &TurnierPanel::anmeldeformularRequested);
    QTest::mouseClick(child<QPushButton>("anmeldeformular"), Qt::LeftButton);
    EXPECT_EQ(requested.count(), 1);
}

} // namespace
