// Running a class through the real main window: the class start with its offered call, the match
// dialog on each step from the status cells, a result typed from the keyboard, the bracket and the cells
// drawn anew, the popup's reset and the reminders of the main window's timer.
#include "planprogram.h"

#include "app/spielsteuerung.h"
#include "output/htmlexport.h"
#include "output/liveexport.h"
#include "play/spielbetrieb.h"
#include "results/ui/tergebnisdialog.h"
#include "support/pdfwords.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

namespace {

const QVariant n;

class SpielbetriebFenster : public PlanProgram {
protected:
    static constexpr int kKid = 61;

    // A single knock-out of eight entries on the one table "T1", drawn and opened.
    void SetUp() override {
        PlanProgram::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        klasse(kKid, 0, {1, n, n}, QVariantList(12));
        auslosen(kKid);
        oeffnen(kKid);
        ui.clear();
    }

    Spielsteuerung* steuerung() { return windows->spielsteuerung(); }
    TergebnisDialog* dialog() { return steuerung()->dialog(); }
    Tergebnis* modell() { return steuerung()->modell(); }
    SpielplanRow spiel(int snr) { return *matchrecord::readMatch(db, kKid, snr); }

    // Clicks the status cell of match snr on the page of phase 1, as the operator does.
    void zelleKlicken(int snr, Qt::MouseButton button = Qt::LeftButton) {
        PlanScene* scene = panel()->scene(1);
        PlanStatusItem* cell = scene->statusCell(QStringLiteral("status%1").arg(snr));
        ASSERT_NE(cell, nullptr) << snr;
        PlanView* view = panel()->view(1);
        panel()->pages()->setCurrentIndex(0);
        view->ensureVisible(cell);
        const QPoint at = view->mapFromScene(cell->sceneBoundingRect().center());
        QTest::mouseClick(view->viewport(), button, {}, at);
        QCoreApplication::processEvents();
    }
    int zustand(int snr) {
        PlanStatusItem* cell = panel()->scene(1)->statusCell(QStringLiteral("status%1").arg(snr));
        return cell ? cell->state() : -1;
    }
    QString zellentext(int snr) {
        PlanStatusItem* cell = panel()->scene(1)->statusCell(QStringLiteral("status%1").arg(snr));
        if (!cell) return {};
        for (QGraphicsItem* c : cell->childItems())
            if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(c)) return t->text();
        return {};
    }
    int nameGezeigt(const QString& name) {
        int count = 0;
        for (const PlanTextItem* t : panel()->scene(1)->texts())
            if (t->text() == name) ++count;
        return count;
    }
    // Keys go where the dialog has its focus, as they would on the desk.
    QWidget* fokus() { return dialog()->isVisible() ? dialog()->focusWidget() : nullptr; }
    void tasten(const QString& text) {
        QWidget* w = fokus();
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, text);
    }
    void taste(Qt::Key key) {
        QWidget* w = fokus();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, key);
        QCoreApplication::processEvents();
    }
    // Starts the called match and enters its result by keyboard, offers after it switched off.
    void ergebnis(int snr, const QString& endstand, std::initializer_list<const char*> saetze) {
        zelleKlicken(snr);
        taste(Qt::Key_Return);
        zelleKlicken(snr);
        dialog()->nextBox()->setChecked(false);
        tasten(endstand);
        taste(Qt::Key_Return);
        for (const char* s : saetze) {
            tasten(QString::fromLatin1(s));
            taste(Qt::Key_Return);
        }
    }
    auto* go() { return panel()->findChild<QPushButton*>(QStringLiteral("turniergo")); }

    // Starts the class and confirms the call it offers; the match called.
    int startenUndAufrufen() {
        QTest::mouseClick(go(), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog()->isVisible()) << "the class start offers its first call";
        EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Aufrufen"));
        EXPECT_TRUE(dialog()->next1Box()->isVisibleTo(dialog()));
        const int snr = modell()->snr;
        dialog()->activateWindow();
        taste(Qt::Key_Return);
        return snr;
    }
};

TEST_P(SpielbetriebFenster, StartCallStartAndAResultByKeyboardMoveTheWinnerIntoTheNextSlot) {
    const int snr = startenUndAufrufen();
    ASSERT_GT(snr, 0);
    // The one table is taken: nothing more is offered.
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_TRUE(spiel(snr).in_planung);
    EXPECT_EQ(spiel(snr).an_platte.value_or(QString()), QStringLiteral("T1"));
    EXPECT_EQ(zustand(snr), int(StateTag::Called));
    EXPECT_FALSE(go()->isEnabled());
    EXPECT_TRUE(main->timer()->isActive());
    EXPECT_EQ(panel()->infoListe()->item(0)->text(), Spielbetrieb::kTurnierGestartet);

    // A called cell opens the called page; Enter starts the match.
    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->seiten()->currentIndex(), 1);
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Spiel starten"));
    taste(Qt::Key_Return);
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_TRUE(spiel(snr).begonnen);
    EXPECT_EQ(zustand(snr), int(StateTag::Started));

    // The started cell opens the result page with the focus in the final result.
    const SpielplanRow m = spiel(snr);
    ASSERT_EQ(nameGezeigt(m.spieler1), 1);
    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->seiten()->currentIndex(), 2);
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Spiel beendet"));
    EXPECT_EQ(fokus(), dialog()->ergebnisBox());
    // Only 2·3 − 1 set fields exist for three winning sets.
    EXPECT_TRUE(dialog()->satzFeld(4)->isVisibleTo(dialog()));
    EXPECT_FALSE(dialog()->satzFeld(5)->isVisibleTo(dialog()));
    tasten(QStringLiteral("3:1"));
    taste(Qt::Key_Tab);
    EXPECT_EQ(fokus(), dialog()->satzFeld(0));
    EXPECT_FALSE(dialog()->satzFeld(4)->isEnabled()) << "four sets for 3:1";
    tasten(QStringLiteral("9"));
    taste(Qt::Key_Tab);
    tasten(QStringLiteral("-7"));
    taste(Qt::Key_Return);
    EXPECT_EQ(fokus(), dialog()->satzFeld(2)) << "Enter goes on to the next set";
    tasten(QStringLiteral("5"));
    taste(Qt::Key_Return);
    tasten(QStringLiteral("12"));
    taste(Qt::Key_Return);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));

    const SpielplanRow fertig = spiel(snr);
    EXPECT_TRUE(fertig.beendet);
    EXPECT_EQ(fertig.ergebnis.value_or(QString()), QStringLiteral("3:1"));
    EXPECT_EQ(fertig.satz[1], -7);
    EXPECT_EQ(fertig.satz[3], 12);
    EXPECT_EQ(zustand(snr), int(StateTag::Finished));
    EXPECT_EQ(zellentext(snr), QStringLiteral("3:1"));
    // The bracket was drawn anew: the winner stands in the slot of the next round too.
    EXPECT_EQ(nameGezeigt(m.spieler1), 2);
    EXPECT_EQ(nameGezeigt(m.spieler2), 1);

    // "nächstes mögliches Spiel anzeigen" was ticked and the table is free again: the next call is
    // offered. Unticking "nächstes mögliches Spiel aufrufen" and going back ends the chain.
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Aufrufen"));
    const int angeboten = modell()->snr;
    EXPECT_NE(angeboten, snr);
    dialog()->next1Box()->setChecked(false);
    QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_FALSE(spiel(angeboten).in_planung);
}

TEST_P(SpielbetriebFenster, AWrongSetIsRefusedByTheModelAndNothingIsWritten) {
    const int snr = startenUndAufrufen();
    zelleKlicken(snr);
    taste(Qt::Key_Return);
    zelleKlicken(snr);
    tasten(QStringLiteral("3:0"));
    taste(Qt::Key_Return);
    EXPECT_EQ(fokus(), dialog()->satzFeld(0));
    // "-5" says player 1 lost the first set of a 3:0 win.
    for (const char* s : {"-5", "4", "3"}) {
        tasten(QString::fromLatin1(s));
        taste(Qt::Key_Return);
    }
    EXPECT_EQ(ui.messages.size(), 1) << str(ui.texts().join(u'|'));
    EXPECT_TRUE(dialog()->isVisible()) << "a refusal keeps the dialog open with its entries";
    EXPECT_EQ(dialog()->satzFeld(0)->text(), QStringLiteral("-5"));
    EXPECT_FALSE(spiel(snr).beendet);
    EXPECT_EQ(zustand(snr), int(StateTag::Started));
    QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
}

TEST_P(SpielbetriebFenster, ThePopupResetGivesPlayersAndTableBack) {
    const int snr = startenUndAufrufen();
    const SpielplanRow m = spiel(snr);
    const Freilisten& l = steuerung()->betrieb()->listen();
    ASSERT_FALSE(l.enthaelt(Freilisten::alleplatten, QStringLiteral("T1")));
    ASSERT_FALSE(l.enthaelt(Freilisten::allespieler, QString::number(m.SID1)));

    zelleKlicken(snr, Qt::RightButton);
    EXPECT_TRUE(steuerung()->popup()->isVisible());
    EXPECT_EQ(steuerung()->popupSpiel(), snr);
    steuerung()->popup()->close();
    steuerung()->zuruecksetzenAktion()->trigger();
    QCoreApplication::processEvents();

    EXPECT_FALSE(spiel(snr).in_planung);
    EXPECT_TRUE(l.enthaelt(Freilisten::alleplatten, QStringLiteral("T1")));
    EXPECT_TRUE(l.enthaelt(Freilisten::allespieler, QString::number(m.SID1)));
    EXPECT_TRUE(l.enthaelt(Freilisten::allespieler, QString::number(m.SID2)));
    // Open again and everything free: the match can be called.
    EXPECT_EQ(zustand(snr), int(StateTag::Playable));
    // An open match goes no further back.
    steuerung()->zuruecksetzenAktion()->trigger();
    EXPECT_EQ(ui.texts(), QStringList{Spielbetrieb::kNichtZuruecksetzen});
}

TEST_P(SpielbetriebFenster, DruckenPrintsTheSlipOfTheCalledMatchAndItsMenuTheOtherDestinations) {
    const int snr = startenUndAufrufen();
    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    ui.clear();
    QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("drucken")), Qt::LeftButton);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    ASSERT_EQ(ui.printTitles, QStringList{QStringLiteral("Schiedsrichterzettel")});
    EXPECT_EQ(ui.printModes.value(0), Interaction::PrintMode::Dialog);
    const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
    QStringList texte;
    for (const PdfWord& w : words)
        texte << w.text;
    const QString gedruckt = texte.join(u' ');
    EXPECT_TRUE(gedruckt.contains(QStringLiteral("Spielnummer: %1 ").arg(snr))) << str(gedruckt);
    EXPECT_TRUE(gedruckt.contains(QStringLiteral("An Tisch: T1 "))) << str(gedruckt);
    EXPECT_TRUE(gedruckt.contains(spiel(snr).spieler1)) << str(gedruckt);
    EXPECT_TRUE(dialog()->isVisible()) << "printing leaves the dialog open";

    auto* ziel = dialog()->findChild<QToolButton*>(QStringLiteral("druckziel"));
    ASSERT_NE(ziel, nullptr);
    EXPECT_TRUE(ziel->isEnabled());
    ASSERT_NE(ziel->menu(), nullptr);
    QStringList eintraege;
    for (QAction* a : ziel->menu()->actions())
        eintraege << a->text();
    EXPECT_EQ(eintraege, (QStringList{QStringLiteral("Drucken …"), QStringLiteral("Seitenansicht …"),
                                      QStringLiteral("Als PDF speichern …")}));
    ziel->menu()->actions()[1]->trigger();
    EXPECT_EQ(ui.printModes.value(1), Interaction::PrintMode::Preview);
    QCoreApplication::processEvents();
    QTest::mouseClick(dialog()->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
}

TEST_P(SpielbetriebFenster, AManualStartCallsAMatchWithoutAFreeTableAtATypedOne) {
    const int erstes = startenUndAufrufen();
    int zweites = 0;
    for (const SpielplanRow& m : matches(kKid, 1))
        if (m.spielnummer != erstes && m.SID1 > 0 && m.SID2 > 0) {
            zweites = m.spielnummer;
            break;
        }
    ASSERT_GT(zweites, 0);
    EXPECT_EQ(zustand(zweites), int(StateTag::Waiting)) << "the one table is taken";

    zelleKlicken(zweites, Qt::RightButton);
    steuerung()->popup()->close();
    steuerung()->mauellAktion()->trigger();
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Aufrufen"));
    EXPECT_EQ(dialog()->plattenBox()->count(), 0);
    dialog()->plattenBox()->setFocus();
    tasten(QStringLiteral("Halle 2"));
    taste(Qt::Key_Return);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_TRUE(spiel(zweites).in_planung);
    EXPECT_EQ(spiel(zweites).an_platte.value_or(QString()), QStringLiteral("Halle 2"));
    EXPECT_TRUE(spiel(zweites).manuell);
    EXPECT_EQ(zustand(zweites), int(StateTag::Called));
}

TEST_P(SpielbetriebFenster, ResettingAResultTakesTheWinnerOutOfTheNextSlot) {
    const int snr = startenUndAufrufen();
    ergebnis(snr, QStringLiteral("3:0"), {"5", "6", "7"});
    ASSERT_TRUE(spiel(snr).beendet) << str(ui.texts().join(u'|'));
    EXPECT_FALSE(dialog()->isVisible()) << "nothing is offered with \"anzeigen\" unticked";
    const QString sieger = spiel(snr).spieler1;
    ASSERT_EQ(nameGezeigt(sieger), 2);

    ui.answer(true);
    zelleKlicken(snr, Qt::RightButton);
    steuerung()->popup()->close();
    steuerung()->zuruecksetzenAktion()->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.questions, QStringList{Spielbetrieb::kMehrereSpiele});
    EXPECT_FALSE(spiel(snr).beendet);
    EXPECT_TRUE(spiel(snr).begonnen);
    EXPECT_EQ(zustand(snr), int(StateTag::Started));
    EXPECT_EQ(nameGezeigt(sieger), 1);
}

// "Live-Ergebnisse": the class's pages in the live folder follow the result typed at the desk and its
// withdrawal, written by the program off its user-interface thread.
TEST_P(SpielbetriebFenster, TheLiveFolderFollowsAResultAndItsWithdrawal) {
    const QString ordner = dir.path() + QStringLiteral("/live");
    liveexport::setOrdner(db, state.tid, ordner);
    const QString seite = ordner + QStringLiteral("/sp_") +
                          htmlexport::klassenschluessel(QStringLiteral("Klasse 61"), 0) +
                          QStringLiteral(".html");
    auto lesen = [&] {
        windows->liveExport().warten();
        QFile f(seite);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const int snr = startenUndAufrufen();
    ergebnis(snr, QStringLiteral("3:0"), {"5", "6", "7"});
    ASSERT_TRUE(spiel(snr).beendet) << str(ui.texts().join(u'|'));
    const QString mitErgebnis = lesen();
    EXPECT_TRUE(mitErgebnis.contains(QStringLiteral("<td>3:0</td>"))) << str(mitErgebnis);
    EXPECT_TRUE(mitErgebnis.contains(QStringLiteral("<meta http-equiv=\"refresh\" content=\"30\">")));
    EXPECT_TRUE(windows->liveExport().letzterFehler().isEmpty());

    ui.answer(true);
    zelleKlicken(snr, Qt::RightButton);
    steuerung()->popup()->close();
    steuerung()->zuruecksetzenAktion()->trigger();
    QCoreApplication::processEvents();
    ASSERT_FALSE(spiel(snr).beendet);
    EXPECT_FALSE(lesen().contains(QStringLiteral("<td>3:0</td>")));
}

TEST_P(SpielbetriebFenster, CorrectingAResultShowsTheStoredSetsAndPutsTheOtherWinnerForward) {
    const int snr = startenUndAufrufen();
    ergebnis(snr, QStringLiteral("3:1"), {"5", "-0", "12", "3"});
    const SpielplanRow m = spiel(snr);
    ASSERT_EQ(nameGezeigt(m.spieler1), 2) << str(ui.texts().join(u'|'));

    zelleKlicken(snr);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->okButton()->text(), QStringLiteral("Korrigieren"));
    EXPECT_EQ(dialog()->ergebnisBox()->currentText(), QStringLiteral("3:1"));
    EXPECT_EQ(dialog()->satzFeld(0)->text(), QStringLiteral("+5"));
    EXPECT_EQ(dialog()->satzFeld(1)->text(), QStringLiteral("-0")) << "a lost set to love is shown as typed";
    EXPECT_EQ(dialog()->satzFeld(2)->text(), QStringLiteral("+12"));
    EXPECT_TRUE(dialog()->satzFeld(3)->isEnabled());
    EXPECT_FALSE(dialog()->satzFeld(4)->isEnabled());
    dialog()->nextBox()->setChecked(false);
    dialog()->ergebnisBox()->lineEdit()->selectAll();
    tasten(QStringLiteral("1:3"));
    taste(Qt::Key_Return);
    EXPECT_TRUE(dialog()->satzFeld(0)->text().isEmpty()) << "a new final result empties the sets";
    for (const char* s : {"-5", "9", "-3", "-4"}) {
        tasten(QString::fromLatin1(s));
        taste(Qt::Key_Return);
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(spiel(snr).ergebnis.value_or(QString()), QStringLiteral("1:3"));
    EXPECT_EQ(zellentext(snr), QStringLiteral("1:3"));
    EXPECT_EQ(nameGezeigt(m.spieler1), 1);
    EXPECT_EQ(nameGezeigt(m.spieler2), 2);
}

TEST_P(SpielbetriebFenster, TheTimerWritesRemindersOfACallFiveMinutesOld) {
    const int snr = startenUndAufrufen();
    const SpielplanRow m = spiel(snr);
    clock.advanceSecs(6 * 60);
    QMetaObject::invokeMethod(main->timer(), "timeout");
    QListWidget* info = panel()->infoListe();
    ASSERT_GE(info->count(), 3);
    EXPECT_EQ(info->item(0)->text(), QStringLiteral("- 1.Spielaufruf vor 5 Minuten: ") + m.spieler2);
    EXPECT_EQ(info->item(1)->text(), QStringLiteral("- 1.Spielaufruf vor 5 Minuten: ") + m.spieler1);
    EXPECT_EQ(info->item(info->count() - 1)->text(), Spielbetrieb::kTurnierGestartet);
    for (int i = 0; i < 6; ++i)
        QMetaObject::invokeMethod(main->timer(), "timeout");
    EXPECT_EQ(info->count(), Spielbetrieb::kInfoZeilen);
}

VELMORA_INSTANTIATE_DB_TEST(SpielbetriebFenster);

} // namespace
