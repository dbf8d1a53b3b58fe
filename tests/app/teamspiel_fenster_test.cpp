// A team class run through the real main window: the class start offers the call of a team match in
// the team dialog, a click on its status cell opens the team dialog on the match's next step, and the
// dialog is driven by the object names of its boxes, as the operator fills them.
#include "planprogram.h"

#include "app/spielsteuerung.h"
#include "play/spielbetrieb.h"
#include "results/satznotation.h"
#include "results/ui/tergebnis_team_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>

namespace {

const QVariant n;

class TeamspielFenster : public PlanProgram {
protected:
    static constexpr int kKid = 71;

    // A knock-out of eight teams of two on the one table "T1": rubbers A1 - B2 and D1 - D1.
    void SetUp() override {
        PlanProgram::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        klasse(kKid, 3, {1, n, n}, QVariantList(12));
        auslosen(kKid);
        oeffnen(kKid);
        ui.clear();
    }

    TergebnisTeamDialog* dialog() { return windows->spielsteuerung()->teamDialog(); }
    SpielplanRow spiel(int snr) { return *matchrecord::readMatch(db, kKid, snr); }
    template <class W> W* feld(const char* name) {
        W* w = dialog()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void klicken(const char* name) {
        QTest::mouseClick(feld<QPushButton>(name), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void zelleKlicken(int snr) {
        emit panel()->statusClicked(snr, false, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    int zustand(int snr) {
        PlanStatusItem* cell = panel()->scene(1)->statusCell(QStringLiteral("status%1").arg(snr));
        return cell ? cell->state() : -1;
    }
};

TEST_P(TeamspielFenster, ATeamMatchIsCalledStartedAndFinishedInTheTeamDialog) {
    QTest::mouseClick(panel()->findChild<QPushButton*>(QStringLiteral("turniergo")), Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_TRUE(dialog()->isVisible())
        << "the class start offers its first call in the team dialog " << str(ui.texts().join(u'|'));
    EXPECT_EQ(dialog()->objectName(), QStringLiteral("Tergebnis_team"));
    EXPECT_EQ(dialog()->windowTitle(), QStringLiteral("Spielverwaltung"));
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Aufrufen"));
    EXPECT_TRUE(dialog()->next1Box()->isVisibleTo(dialog()));
    const int snr = windows->spielsteuerung()->teamModell()->snr;
    const SpielplanRow m = spiel(snr);
    EXPECT_EQ(feld<QLabel>("team1")->text(), m.spieler1);
    EXPECT_EQ(feld<QLabel>("team2")->text(), m.spieler2);
    // Two rubbers of a team system for two players: rows 3 … 9 and singles boxes 3 and 4 are hidden.
    EXPECT_TRUE(feld<QComboBox>("tisch2")->isVisibleTo(dialog()));
    EXPECT_FALSE(feld<QComboBox>("tisch3")->isVisibleTo(dialog()));
    EXPECT_FALSE(feld<QComboBox>("spielerc3")->isVisibleTo(dialog()));
    EXPECT_EQ(feld<QLabel>("spiel2")->text(), QStringLiteral("Spiel 2: D1 - D1"));
    EXPECT_EQ(feld<QComboBox>("tisch1")->currentText(), QStringLiteral("T1"));
    const QString erster = feld<QComboBox>("spielerc1")->currentText();
    EXPECT_TRUE(erster.endsWith(QStringLiteral(", V."))) << str(erster);
    klicken("ok");
    EXPECT_FALSE(dialog()->isVisible()) << "one table: nothing more is offered";
    EXPECT_TRUE(spiel(snr).in_planung);
    EXPECT_EQ(spiel(snr).an_platte, QStringLiteral("T1"));
    EXPECT_EQ(zustand(snr), int(StateTag::Called));
    const QVector<TeamspielRow> gerufen = matchrecord::rubbersOfMatch(db, kKid, snr);
    ASSERT_EQ(gerufen.size(), 2);
    EXPECT_EQ(gerufen[0].sbez1, erster);
    EXPECT_EQ(gerufen[0].an_platte, QStringLiteral("T1"));

    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->seiten()->currentIndex(), 1);
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Spiel starten"));
    EXPECT_EQ(feld<QComboBox>("spielerc1")->currentText(), erster) << "the line-up chosen at the call";
    klicken("ok");
    EXPECT_TRUE(spiel(snr).begonnen);
    EXPECT_EQ(zustand(snr), int(StateTag::Started));

    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->seiten()->currentIndex(), 2);
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Spiel beendet"));
    klicken("drucken");
    EXPECT_TRUE(ui.texts().isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(ui.printTitles, QStringList{QStringLiteral("Schiedsrichterzettel")});
    EXPECT_GE(ui.lastPrintPages, 2) << "one page per rubber";
    ui.clear();

    // A team result that is not one of the list: refused, the dialog stays open.
    feld<QComboBox>("ergebniscombo")->setEditText(QStringLiteral("1:1"));
    klicken("ok");
    EXPECT_EQ(ui.texts(), QStringList{satznotation::kUngueltigesSpielergebnis});
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_FALSE(spiel(snr).beendet);
    ui.clear();

    // A rubber's result opens as many set fields as sets were played.
    feld<QComboBox>("erg1")->setCurrentText(QStringLiteral("3:1"));
    EXPECT_TRUE(feld<QLineEdit>("satz14")->isEnabled());
    EXPECT_FALSE(feld<QLineEdit>("satz15")->isEnabled());
    EXPECT_TRUE(feld<QLineEdit>("satz15")->isVisibleTo(dialog()));
    EXPECT_FALSE(feld<QLineEdit>("satz16")->isVisibleTo(dialog())) << "2·3 − 1 set fields";
    const char* saetze[4] = {"satz11", "satz12", "satz13", "satz14"};
    const char* werte[4] = {"9", "-7", "5", "12"};
    for (int k = 0; k < 4; ++k) {
        QLineEdit* e = feld<QLineEdit>(saetze[k]);
        e->setFocus();
        QTest::keyClicks(e, QString::fromLatin1(werte[k]));
    }
    feld<QComboBox>("erg2")->setCurrentText(QStringLiteral("3:0"));
    EXPECT_FALSE(feld<QLineEdit>("satz24")->isEnabled());
    feld<QComboBox>("ergebniscombo")->setEditText(QStringLiteral("2:0"));
    dialog()->nextBox()->setChecked(false);
    klicken("ok");
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_FALSE(dialog()->isVisible());

    const SpielplanRow fertig = spiel(snr);
    EXPECT_TRUE(fertig.beendet);
    EXPECT_EQ(fertig.ergebnis, QStringLiteral("2:0"));
    EXPECT_EQ(fertig.siegerSID, m.SID1);
    const QVector<TeamspielRow> r = matchrecord::rubbersOfMatch(db, kKid, snr);
    EXPECT_EQ(r[0].ergebnis, QStringLiteral("3:1"));
    EXPECT_EQ(r[0].satz[1], -7);
    EXPECT_EQ(r[0].satz[3], 12);
    EXPECT_EQ(r[1].ergebnis, QStringLiteral("3:0"));
    EXPECT_EQ(zustand(snr), int(StateTag::Finished));
    // The winner stands in the next round's match and in its rubbers.
    const QString platzhalter = QStringLiteral("Sieger Spiel %1").arg(snr);
    bool gefunden = false;
    for (const SpielplanRow& w : matches(kKid, 1))
        if (w.parentspiel1 == snr || w.parentspiel2 == snr) {
            gefunden = true;
            const bool erste = w.parentspiel1 == snr;
            EXPECT_EQ(erste ? w.SID1 : w.SID2, m.SID1);
            for (const TeamspielRow& t : matchrecord::rubbersOfMatch(db, kKid, w.spielnummer)) {
                EXPECT_EQ(erste ? t.MID1 : t.MID2, m.SID1);
                EXPECT_NE(erste ? t.spieler1 : t.spieler2, platzhalter);
            }
        }
    EXPECT_TRUE(gefunden);
}

VELMORA_INSTANTIATE_DB_TEST(TeamspielFenster);

} // namespace
