// The plans of drawn classes through the real main window: opened from the plans bar, every phase system
// on its pages, zoom, the tools of a page, the match list with its printout, the player card and the
// placement page's drag and drop.
#include "planprogram.h"
#include "support/pdfwords.h"

namespace {

struct SystemCase {
    const char* id;
    int kind;
    QVariantList phasen;
    QVariantList zahlen;
};

const QVariant n;
const std::vector<SystemCase> kSysteme = {
    {"groups", 0, {0, n, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}},
    {"single_ko", 0, {1, n, n}, QVariantList(12)},
    {"double_ko", 1, {2, n, n}, QVariantList(12)},
    {"groups_then_ko", 2, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}},
    {"three_phases", 0, {0, 0, 2}, {2, 2, n, 4, 2, n, 2, 2, n, 0, 0, n}},
    {"team_groups_then_ko", 3, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n}},
};

class PlaeneSysteme : public PlanProgram {};

TEST_P(PlaeneSysteme, EveryPhaseSystemShowsItsPagesWithACellForEveryMatch) {
    int kid = 40;
    for (const SystemCase& c : kSysteme) {
        SCOPED_TRACE(c.id);
        ++kid;
        klasse(kid, c.kind, c.phasen, c.zahlen);
        auslosen(kid);
        ui.clear();
        oeffnen(kid);
        EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
        EXPECT_EQ(panel()->titel(), QStringLiteral("Spielplan für ") + caption(kid));
        EXPECT_EQ(panel()->pages()->currentIndex(), 0);
        EXPECT_EQ(panel()->zoomLevel(), 2);
        QTabWidget* pages = panel()->pages();
        for (int p = 1; p <= 3; ++p) {
            SCOPED_TRACE(p);
            const bool exists = !c.phasen[p - 1].isNull();
            EXPECT_EQ(pages->isTabVisible(p - 1), exists || p == 1);
            EXPECT_EQ(pages->tabText(p - 1), QStringLiteral("Phase %1").arg(p));
            PlanScene* scene = panel()->scene(p);
            if (!exists) {
                EXPECT_TRUE(scene->items().isEmpty());
                continue;
            }
            EXPECT_TRUE(scene->errorText().isEmpty()) << str(scene->errorText());
            EXPECT_EQ(scene->tools().size() >= 3, true);
            const QVector<SpielplanRow> ms = matches(kid, p);
            ASSERT_FALSE(ms.isEmpty());
            const bool groups = c.phasen[p - 1].toInt() == 0;
            for (const SpielplanRow& m : ms) {
                if (groups && (m.spieler1.isEmpty() || m.spieler2.isEmpty())) continue;
                EXPECT_NE(scene->statusCell(QStringLiteral("status%1").arg(m.spielnummer)), nullptr) << m.spielnummer;
                if (groups) {
                    EXPECT_NE(scene->statusCell(QStringLiteral("statusx%1").arg(m.spielnummer)), nullptr)
                        << m.spielnummer;
                }
            }
            // Every drawn entry of the phase's first matches is shown by name.
            QStringList shown;
            for (const PlanTextItem* t : scene->texts())
                shown << t->text();
            for (const SpielplanRow& m : ms)
                if (m.SID1 > 0) {
                    EXPECT_TRUE(shown.contains(m.spieler1)) << str(m.spieler1);
                }
        }
        EXPECT_TRUE(pages->isTabVisible(3));
        EXPECT_EQ(pages->tabText(3), QStringLiteral("Plazierungsspiele"));
        // The zoom panel belongs to knock-out pages.
        EXPECT_EQ(panel()->findChild<QWidget*>(QStringLiteral("zoompanel"))->isVisibleTo(panel()),
                  c.phasen[0].toInt() != 0);
        auto* go = panel()->findChild<QPushButton*>(QStringLiteral("turniergo"));
        ASSERT_NE(go, nullptr);
        EXPECT_EQ(go->text(), QStringLiteral("Turnierklasse &starten"));
        EXPECT_TRUE(go->isEnabled()) << "nothing has been played yet";
        EXPECT_FALSE(main->timer()->isActive());
    }
}

VELMORA_INSTANTIATE_DB_TEST(PlaeneSysteme);

class Plaene : public PlanProgram {};

TEST_P(Plaene, ZoomRedrawsTheBracketAndLeavesTheGroupPageAlone) {
    klasse(51, 0, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n});
    auslosen(51);
    oeffnen(51);
    PlanStatusItem* groupCell = panel()->scene(1)->statusCells().value(0);
    ASSERT_NE(groupCell, nullptr);
    const QRectF groupBox = groupCell->sceneBoundingRect();
    const int final = matches(51, 2).last().spielnummer;
    const int first = matches(51, 2).first().spielnummer;
    auto cellLeft = [&](int nr) {
        PlanStatusItem* c = panel()->scene(2)->statusCell(QStringLiteral("status%1").arg(nr));
        return c ? c->sceneBoundingRect().left() : -1.0;
    };
    const double at2 = cellLeft(first);
    const QRectF size2 = panel()->scene(2)->sceneRect();

    // Changing to the bracket's page shows the zoom panel; back on the groups it goes.
    auto* zoompanel = panel()->findChild<QWidget*>(QStringLiteral("zoompanel"));
    EXPECT_FALSE(zoompanel->isVisibleTo(panel()));
    panel()->pages()->setCurrentIndex(1);
    EXPECT_TRUE(zoompanel->isVisibleTo(panel()));
    QTest::mouseClick(panel()->findChild<QPushButton*>(QStringLiteral("zoom1_3")), Qt::LeftButton);
    EXPECT_EQ(panel()->zoomLevel(), 3);
    EXPECT_GT(cellLeft(first), at2) << "wider columns at zoom 3";
    EXPECT_GT(panel()->scene(2)->sceneRect().width(), size2.width());
    EXPECT_GE(cellLeft(final), 0);
    // The group page is the same drawing as before.
    EXPECT_EQ(panel()->scene(1)->statusCells().value(0), groupCell);
    EXPECT_EQ(groupCell->sceneBoundingRect(), groupBox);
    EXPECT_TRUE(panel()->findChild<QPushButton*>(QStringLiteral("zoom1_3"))->styleSheet().contains("color: white"));
    EXPECT_TRUE(panel()->findChild<QPushButton*>(QStringLiteral("zoom1_2"))->styleSheet().contains("color: black"));

    QTest::mouseClick(panel()->findChild<QPushButton*>(QStringLiteral("zoom1_1")), Qt::LeftButton);
    EXPECT_LT(cellLeft(first), at2);
    panel()->pages()->setCurrentIndex(0);
    EXPECT_FALSE(zoompanel->isVisibleTo(panel()));
}

TEST_P(Plaene, RedrawIsRefusedUntilThePhaseBeforeIsFinishedAndThenOpensTheDraw) {
    klasse(52, 0, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n});
    auslosen(52);
    oeffnen(52);
    Tauslosungsform* draw = windows->drawDialog();
    ui.clear();
    toolKlicken(2, PlanToolAction::Redraw);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Phase 1 muss abgeschlossen sein um Phase 2 neu auszulosen")});
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
    EXPECT_FALSE(draw->isVisible());

    // Phase 1 is always drawn anew, once the operator agrees to replace the drawn plan.
    ui.clear();
    ui.answer(true);
    toolKlicken(1, PlanToolAction::Redraw);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(draw->isVisible());
    draw->close();

    alleBeenden(52, 1);
    oeffnen(52);
    ui.clear();
    toolKlicken(2, PlanToolAction::Redraw);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_TRUE(draw->isVisible());
    EXPECT_EQ(draw->tag(), 2) << "the redraw mode";
    draw->close();

    // The print tool prints the phase: the group sheets with only the destination to choose, the bracket
    // after the print sizes.
    ui.clear();
    ui.lastPrintPdf.clear();
    toolKlicken(1, PlanToolAction::Print);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_FALSE(ui.druckwahlMitGroessen);
    ASSERT_FALSE(ui.lastPrintPdf.isEmpty());
    EXPECT_EQ(pdfWordsNamed(pdfWords(ui.lastPrintPdf), QStringLiteral("Gruppe")).size(), 2);
    ui.lastPrintPdf.clear();
    toolKlicken(2, PlanToolAction::Print);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    EXPECT_TRUE(ui.druckwahlMitGroessen);
    EXPECT_EQ(ui.groessenHoch.value(0), QStringLiteral("Größe 0 (1x1) DIN A4 Seiten"));
    ASSERT_FALSE(ui.lastPrintPdf.isEmpty());
    EXPECT_FALSE(pdfWordsNamed(pdfWords(ui.lastPrintPdf), QStringLiteral("Finale")).isEmpty());
    // A finished match means the class runs: the start button goes and the reminders start.
    EXPECT_FALSE(panel()->findChild<QPushButton*>(QStringLiteral("turniergo"))->isEnabled());
    EXPECT_TRUE(main->timer()->isActive());
}

TEST_P(Plaene, TheMatchListShowsTheClassOrOneGroupOverTheMainWindowAndPrintsIt) {
    klasse(53, 0, {0, 1, n}, {2, n, n, 4, n, n, 2, n, n, 0, n, n});
    auslosen(53);
    oeffnen(53);
    toolKlicken(1, PlanToolAction::MatchList);
    Tspielplan_form* list = panel()->matchList();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Spielplan"));
    EXPECT_EQ(list->windowModality(), Qt::WindowModal);
    EXPECT_EQ(list->ueberschrift(), QStringLiteral("Spielplan für ") + caption(53));
    const int all = db.selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=53")).integer(u"c");
    QStringList texts;
    for (const PlanTextItem* t : list->scene()->texts())
        texts << t->text();
    for (int nr = 1; nr <= all; ++nr)
        EXPECT_TRUE(texts.contains(QString::number(nr))) << nr;
    for (const SpielplanRow& m : matches(53, 2))
        EXPECT_TRUE(texts.contains(m.spieler1)) << str(m.spieler1);

    // Printing it.
    QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("dxButton3")), Qt::LeftButton);
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
    const QList<PdfWord> words = pdfWords(ui.lastPrintPdf);
    EXPECT_FALSE(pdfWordsNamed(words, QStringLiteral("Pokal")).isEmpty());
    EXPECT_FALSE(pdfWordsNamed(words, QStringLiteral("Schiedsrichter")).isEmpty());
    EXPECT_FALSE(pdfWordsNamed(words, QString::number(all)).isEmpty());
    QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("dxButton1")), Qt::LeftButton);
    EXPECT_FALSE(list->isVisible());

    // A group's list: its matches only, its letter in the heading.
    toolKlicken(1, PlanToolAction::MatchList, 1);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->ueberschrift(), QStringLiteral("Spielplan für ") + caption(53) + QStringLiteral(" Gruppe B"));
    QStringList numbers;
    for (const PlanTextItem* t : list->scene()->texts())
        if (t->boundingRect().left() < 30 && t->boundingRect().top() >= 55) numbers << t->text();
    QStringList expected;
    for (const SpielplanRow& m : matches(53, 1))
        if (m.gruppe == 1) expected << QString::number(m.spielnummer);
    EXPECT_EQ(numbers, expected);
    list->close();
}

// Classes whose names are the longest a player can have.
class PlaeneLangeNamen : public PlanProgram {
protected:
    QString name(int kid, int i) override {
        if (i == 1) return QStringLiteral("Müller-Lüdenscheidt-Oberhausen");
        if (i == 3) return QStringLiteral("D'Alessandro-Würzburger-Hinterstoißer, Jean");
        return PlanProgram::name(kid, i);
    }
};

TEST_P(PlaeneLangeNamen, LongNamesAreElidedWithTooltipAndNeverOverlapANeighbourAtAnyZoom) {
    klasse(54, 0, {1, n, n}, QVariantList(12));
    db.exec(QStringLiteral("UPDATE Spielerdaten SET vorname='Hans-Jürgen Maximilian Anton' WHERE SID=5401"));
    auslosen(54);
    oeffnen(54);
    const QString longName = QStringLiteral("Müller-Lüdenscheidt-Oberhausen, Hans-Jürgen Maximilian Anton");
    ASSERT_EQ(longName.size(), 60);
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        panel()->zoom(level);
        const QList<PlanTextItem*> texts = panel()->scene(1)->texts();
        const PlanTextItem* item = nullptr;
        for (const PlanTextItem* t : texts)
            if (t->text() == longName && !item) item = t;
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->elided());
        EXPECT_EQ(item->toolTip(), longName);
        const QFontMetrics fm(item->font());
        EXPECT_LE(fm.horizontalAdvance(item->shownText()), item->boundingRect().width());
        for (const PlanTextItem* t : texts) {
            if (t == item) continue;
            EXPECT_FALSE(t->boundingRect().intersects(item->boundingRect()))
                << str(t->text()) << " overlaps the long name";
        }
    }
}

TEST_P(Plaene, PressingANameShowsThePlayerCardAndThePartnersForADoubles) {
    klasse(55, 1, {1, n, n}, QVariantList(12), 4);
    auslosen(55);
    oeffnen(55);
    PlanScene* scene = panel()->scene(1);
    const PlanTextItem* name = nullptr;
    for (const PlanTextItem* t : scene->texts())
        if (t->sid() > 0 && !name) name = t;
    ASSERT_NE(name, nullptr);
    PlanView* view = panel()->view(1);
    const QPoint at = view->mapFromScene(name->boundingRect().center());
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QLabel* card = panel()->spielerkarte(1);
    QLabel* partner = panel()->spielerkarte(2);
    EXPECT_TRUE(card->isVisible());
    EXPECT_TRUE(partner->isVisible()) << "a doubles shows the partner beside";
    EXPECT_EQ(partner->geometry().left(), card->geometry().right() + 1);
    EXPECT_TRUE(panel()->rect().contains(card->geometry()));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(card->isVisible());
    EXPECT_FALSE(partner->isVisible());
}

// A drag entering the widget and dropped there, as the widgets receive them (a drop goes to the widget
// that accepted the drag's entry).
void ablegen(QWidget* target, const QString& mime, const QByteArray& data) {
    QMimeData m;
    m.setData(mime, data);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), actions, &m, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), actions, &m, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
}

TEST_P(Plaene, PlacementMatchesAreSetUpAndFilledThroughTheWidgets) {
    klasse(56, 0, {1, n, n}, QVariantList(12));
    auslosen(56);
    oeffnen(56);
    const int final = matches(56, 1).last().spielnummer;
    QComboBox* anzahl = panel()->anzahlBox();
    ASSERT_NE(anzahl, nullptr);
    EXPECT_EQ(anzahl->currentText(), QStringLiteral("2")) << "a knock-out class starts with its final";
    EXPECT_NE(panel()->platzFeld(1, 1), nullptr);
    EXPECT_EQ(panel()->platzFeld(1, 2), nullptr);

    anzahl->setCurrentText(QStringLiteral("4"));
    QCoreApplication::processEvents();
    ASSERT_EQ(db.selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=56 AND phase=4")).integer(u"c"), 1);
    PlatzFeld* feld = panel()->platzFeld(1, 2);
    ASSERT_NE(feld, nullptr) << "the row for the third place";
    PlatzListe* liste = panel()->platzListe();
    int sieger1 = -1;
    for (int i = 0; i < liste->count(); ++i)
        if (liste->item(i)->text() == QStringLiteral("Sieger Spiel 1")) sieger1 = i;
    ASSERT_GE(sieger1, 0);

    ablegen(feld, PlatzListe::kMimeType, QByteArray::number(sieger1));
    const Row placed = db.selectOne(
        QStringLiteral("SELECT SID1,spieler1,parentspiel1 FROM Spielplan WHERE KID=56 AND phase=4"));
    EXPECT_EQ(placed.text(u"spieler1"), QStringLiteral("Sieger Spiel 1"));
    EXPECT_EQ(placed.integer(u"SID1"), -1);
    EXPECT_EQ(placed.integer(u"parentspiel1"), 1);
    feld = panel()->platzFeld(1, 2);
    ASSERT_NE(feld, nullptr);
    EXPECT_EQ(feld->text(), QStringLiteral("Sieger Spiel 1"));

    // The final's sides come from the bracket: a drop there changes nothing.
    const Row before = db.selectOne(QStringLiteral("SELECT spieler1 FROM Spielplan WHERE KID=56 AND spielnummer=:s"),
                                    {{":s", final}});
    ablegen(panel()->platzFeld(1, 1), PlatzListe::kMimeType, QByteArray::number(sieger1));
    EXPECT_EQ(db.selectOne(QStringLiteral("SELECT spieler1 FROM Spielplan WHERE KID=56 AND spielnummer=:s"),
                           {{":s", final}})
                  .text(u"spieler1"),
              before.text(u"spieler1"));

    // A side takes the press that starts dragging it; a label alone would let it fall through.
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(panel()->platzFeld(1, 2), &press);
        EXPECT_TRUE(press.isAccepted());
    }

    // Dragged back onto the list, the side is empty again.
    QSignalSpy zurueck(liste, &PlatzListe::feldZurueck);
    ablegen(liste->viewport(), PlatzFeld::kMimeType, QByteArrayLiteral("2:1"));
    ASSERT_EQ(zurueck.count(), 1);
    const Row emptied = db.selectOne(
        QStringLiteral("SELECT SID1,spieler1,parentspiel1 FROM Spielplan WHERE KID=56 AND phase=4"));
    EXPECT_EQ(emptied.text(u"spieler1"), QString());
    EXPECT_EQ(emptied.integer(u"SID1"), -1);
    EXPECT_EQ(emptied.integer(u"parentspiel1"), -1);
    ASSERT_NE(panel()->platzFeld(1, 2), nullptr);
    EXPECT_TRUE(panel()->platzFeld(1, 2)->text().isEmpty());
}

TEST_P(Plaene, AClassWithoutSettingsShowsAnEmptyPageAndSaysWhy) {
    db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES (57,:t,0,'Ohne')"),
            {{":t", state.tid}});
    db.exec(QStringLiteral("INSERT INTO Spielplan (KID, spielnummer, SID1, spieler1, SID2, spieler2, phase, gruppe, "
                           "TID) VALUES (57,1,1,'A',2,'B',1,-1,:t)"),
            {{":t", state.tid}});
    ui.clear();
    oeffnen(57);
    EXPECT_EQ(ui.texts(), QStringList{SpielplanPanel::keineEinstellungen()});
    EXPECT_TRUE(panel()->scene(1)->statusCells().isEmpty());
    EXPECT_FALSE(panel()->pages()->isTabVisible(1));
}

VELMORA_INSTANTIATE_DB_TEST(Plaene);
VELMORA_INSTANTIATE_DB_TEST(PlaeneLangeNamen);

} // namespace
