#include "entries/partnercheck_fixture.h"

#include "common/clock.h"
#include "entries/ui/doppelauswahl.h"
#include "entries/ui/spielerpanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The real player panel with the pairing dialog installed, as the main window wires them.
class DoppelauswahlTest : public PartnerFixture {
protected:
    void SetUp() override {
        PartnerFixture::SetUp();
        if (IsSkipped()) return;
        widget = std::make_unique<SpielerPanel>(state, db(), ui, clock);
        dialog = new TDoppelauswahl(state, db(), ui, clock, widget.get());
        widget->setPairingHook(dialog->hook());
        widget->resize(1000, 700);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        widget->showPanel();
    }
    void TearDown() override {
        widget.reset();
        PartnerFixture::TearDown();
    }

    template <typename T> T* in(QWidget* parent, const char* name) {
        T* w = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* list(const char* name) { return in<QListWidget>(widget.get(), name); }

    void clickRow(QListWidget* l, const QString& text) {
        const auto items = l->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(items[0]).center());
    }
    QStringList rowsOf(QListWidget* l) {
        QStringList texts;
        for (int i = 0; i < l->count(); ++i)
            texts << l->item(i)->text();
        return texts;
    }
    QStringList itemsOf(QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 0))};
    std::unique_ptr<SpielerPanel> widget;
    TDoppelauswahl* dialog = nullptr; // owned by the panel
};

TEST_P(DoppelauswahlTest, APartnerChosenInTheDialogIsStoredWithThePlayersSave) {
    setRows({{11, 1, 0}, {11, 2, 3}, {11, 3, 2}});
    widget->showPanel();
    clickRow(list("spielerliste"), QStringLiteral("Albers, Anton"));
    ASSERT_EQ(rowsOf(list("doppelpartner")), QStringList{"Doppel - Herren: "});

    clickRow(list("doppelpartner"), QStringLiteral("Doppel - Herren: "));
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Doppelpartner"));
    EXPECT_EQ(in<QLabel>(dialog, "doppelklasse")->text(), QStringLiteral("Doppel - Herren:"));
    auto* combo = in<QComboBox>(dialog, "doppelcombo");
    EXPECT_EQ(itemsOf(combo), (QStringList{"Brandt, Bernd", "Claus, Carl", "Dietz, Dora"}));
    EXPECT_EQ(combo->currentText(), QString());

    combo->setCurrentIndex(combo->findText(QStringLiteral("Brandt, Bernd")));
    QTest::mouseClick(in<QPushButton>(dialog, "OK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rowsOf(list("doppelpartner")), QStringList{"Doppel - Herren: Brandt, Bernd"});
    // Nothing is stored before the player is saved.
    EXPECT_EQ(rows(), (QList<PaarZeile>{{11, 1, 0}, {11, 2, 3}, {11, 3, 2}}));

    auto* save = in<QPushButton>(widget.get(), "spielerSpeichern");
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->text(), QStringLiteral("Änderung übernehmen"));
    ui.answer(true);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(ui.questions, QStringList{"2 spielt schon mit 3 .Tauschen?"});
    EXPECT_EQ(rows(), (QList<PaarZeile>{{11, 1, 2}, {11, 2, 1}, {11, 3, 0}}));
    EXPECT_FALSE(save->isEnabled());

    // Opened again, the dialog shows the partner and Bernd's side of the pair reads the same.
    clickRow(list("doppelpartner"), QStringLiteral("Doppel - Herren: Brandt, Bernd"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("Brandt, Bernd"));
    QTest::mouseClick(in<QPushButton>(dialog, "zurueck"), Qt::LeftButton);
    clickRow(list("spielerliste"), QStringLiteral("Brandt, Bernd"));
    EXPECT_EQ(rowsOf(list("doppelpartner")), QStringList{"Doppel - Herren: Albers, Anton"});
}

TEST_P(DoppelauswahlTest, TeamLinesZurueckAndAMixedPairOfOneSexChangeNothing) {
    enterMixed();
    enter(1, 13);
    setRows({{11, 1, 0}, {12, 1, 4}, {12, 4, 1}, {13, 1, 0, QStringLiteral("Die Löwen")}});
    widget->showPanel();
    clickRow(list("spielerliste"), QStringLiteral("Albers, Anton"));
    const QStringList lines{"Doppel - Herren: ", "Mixed - Mixed: Dietz, Dora", "Team - Liga: Die Löwen"};
    ASSERT_EQ(rowsOf(list("doppelpartner")), lines);

    clickRow(list("doppelpartner"), QStringLiteral("Team - Liga: Die Löwen"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ui.texts(),
              QStringList{"Die Teamverwaltung kann nur von im Menüpunkt \"Teamverwaltung\" erfolgen"});

    ui.clear();
    clickRow(list("doppelpartner"), QStringLiteral("Mixed - Mixed: Dietz, Dora"));
    ASSERT_TRUE(dialog->isVisible());
    auto* combo = in<QComboBox>(dialog, "doppelcombo");
    EXPECT_EQ(itemsOf(combo), (QStringList{"Dietz, Dora", "Ernst, Emma"}));
    EXPECT_EQ(combo->currentText(), QStringLiteral("Dietz, Dora"));
    // The team name is never edited here; labels lead to their fields.
    auto* team = in<QLineEdit>(dialog, "mannschaftsname");
    EXPECT_FALSE(team->isEnabled());
    QStringList buddies;
    for (QLabel* l : dialog->findChildren<QLabel*>())
        if (l->buddy()) buddies << l->text() + u'>' + l->buddy()->objectName();
    buddies.sort();
    EXPECT_EQ(buddies, (QStringList{"Mannschaftsname>mannschaftsname",
                                    "Wählen Sie den Doppelpartner für die Klasse:>doppelcombo"}));
    EXPECT_EQ(in<QPushButton>(dialog, "OK")->text(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(in<QPushButton>(dialog, "zurueck")->text(), QStringLiteral("Zurück"));

    // A man typed as mixed partner of a man is refused; the dialog stays open.
    combo->setEditText(QStringLiteral("Claus, Carl"));
    QTest::mouseClick(in<QPushButton>(dialog, "OK"), Qt::LeftButton);
    EXPECT_EQ(ui.texts(), QStringList{"Beide Spieler haben das gleiche Geschlecht"});
    EXPECT_TRUE(dialog->isVisible());

    QTest::mouseClick(in<QPushButton>(dialog, "zurueck"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rowsOf(list("doppelpartner")), lines);
    EXPECT_FALSE(in<QPushButton>(widget.get(), "spielerSpeichern")->isEnabled());
}

VELMORA_INSTANTIATE_DB_TEST(DoppelauswahlTest);

} // namespace
