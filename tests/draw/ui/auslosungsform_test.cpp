// The draw dialog driven as the operator drives it: pages, steps, drops, keys and "Fertig stellen".
#include "draw/ui/auslosungsform.h"

#include "common/clock.h"
#include "draw/auslosungsdb.h"
#include "draw/ui/gruppenliste.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

namespace {

constexpr int kKid = 10;

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

class AuslosungsformTest : public Auslosungsdb {
protected:
    void SetUp() override {
        Auslosungsdb::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        klasse(kKid, 0);
        tisch(kKid, "T1");
        tisch(kKid, "T2");
        for (int sid = 1; sid <= 12; ++sid) {
            spieler(sid, QStringLiteral("Spieler%1").arg(sid, 2, 10, QLatin1Char('0')), "Vor",
                    sid % 2 ? "TTC Nord" : "TSV Sued");
            melden(kKid, sid);
        }
        gesetzt(kKid, 0, 1);
        // Four groups of three, the first two of each into a single knock-out.
        einstellungen(kKid, {0, 1, QVariant()},
                      {4, QVariant(), QVariant(), 3, QVariant(), QVariant(), 2, QVariant(), QVariant(), 0,
                       QVariant(), QVariant()},
                      1);
        form = std::make_unique<Tauslosungsform>(state, db(), ui, clock);
        const QString dir = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
        form->setDatendateien({dir + "system.txt", dir + "ko_system.txt"});
    }
    void TearDown() override {
        form.reset();
        Auslosungsdb::TearDown();
    }

    template <class T> T* child(const QString& name) {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QPushButton* button(const QString& name) { return child<QPushButton>(name); }
    GruppenListe* list(const QString& name) { return child<GruppenListe>(name); }
    QString page() { return child<QStackedWidget>("seiten")->currentWidget()->objectName(); }
    // What a drop of `row` of list `source` onto line `target` of list `onto` reports.
    void drop(const QString& source, int row, const QString& onto, int target) {
        emit list(onto)->zeileAbgelegt(source, row, target);
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 5, 1), QTime(9, 0))};
    std::unique_ptr<Tauslosungsform> form;
};

} // namespace

TEST_P(AuslosungsformTest, ANewDrawRunsFromPhase1ToTheWrittenPlan) {
    ASSERT_TRUE(form->neueAuslosung(kKid));
    form->show();
    EXPECT_EQ(form->windowTitle(), "Auslosung");
    EXPECT_EQ(form->tag(), 1);
    EXPECT_EQ(page(), "phase1");
    EXPECT_EQ(child<QLabel>("schritt1")->text(), "Phase 1\nGruppenphase");
    EXPECT_EQ(child<QLabel>("schritt2")->text(), "Phase 2\nEinfaches KO-System");
    EXPECT_FALSE(child<QLabel>("schritt3")->isVisible());
    EXPECT_FALSE(button("zurueck")->isEnabled());
    EXPECT_FALSE(button("fertig")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("Checkbox1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("Checkbox2")->isEnabled()) << "no byes in a group phase";
    EXPECT_EQ(items(list("ListBox2")), QStringList({"1. Spieler01, Vor (1)"}));
    EXPECT_EQ(items(list("ListBox1")).size(), 11);
    EXPECT_EQ(items(list("gruppe3")), QStringList({"1. ", "2. ", "3. "}));

    // A drop, then the Delete key, then the draw.
    const QString first = list("ListBox1")->item(0)->text();
    drop("ListBox1", 0, "gruppe0", 1);
    EXPECT_EQ(list("gruppe0")->item(1)->text(), "2. " + first);
    EXPECT_EQ(list("ListBox1")->count(), 10);
    list("gruppe0")->setCurrentRow(1);
    QTest::keyClick(list("gruppe0"), Qt::Key_Delete);
    EXPECT_EQ(list("gruppe0")->item(1)->text(), "2. ");
    EXPECT_EQ(list("ListBox1")->count(), 11);

    child<QCheckBox>("Checkbox1")->setChecked(false);
    button("dxButton1")->click();
    EXPECT_FALSE(button("dxButton1")->isEnabled());
    EXPECT_EQ(list("ListBox1")->count(), 0);
    EXPECT_EQ(list("gruppe0")->item(0)->text(), "1. Spieler01, Vor (1)");

    button("weiter")->click();
    EXPECT_EQ(page(), "phase2");
    EXPECT_TRUE(button("zurueck")->isEnabled());
    EXPECT_EQ(list("ko2")->count(), 8);
    EXPECT_EQ(list("ListBox3")->count(), 8);
    button("dxButton2")->click();
    EXPECT_EQ(list("ListBox3")->count(), 0);

    button("weiter")->click();
    EXPECT_EQ(page(), "tische");
    EXPECT_FALSE(button("weiter")->isEnabled());
    EXPECT_TRUE(button("fertig")->isEnabled());
    EXPECT_FALSE(child<QScrollArea>("tischflaeche")->isVisible());
    child<QRadioButton>("RadioGroup5_1")->click();
    EXPECT_TRUE(child<QScrollArea>("tischflaeche")->isVisible());
    list("ListBox5")->item(1)->setSelected(true);
    drop("ListBox5", 0, "tische2", -1);
    EXPECT_EQ(items(list("tische2")), QStringList({"T1", "T2"}));
    drop("tische2", 0, "ListBox5", -1);
    EXPECT_EQ(items(list("tische2")), QStringList({"T2"}));

    QSignalSpy written(form.get(), &Tauslosungsform::planGeschrieben);
    button("fertig")->click();
    ASSERT_EQ(written.size(), 1) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(written[0][0].toInt(), kKid);
    EXPECT_TRUE(written[0][1].toBool());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(db().selectOne("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=10").integer(u"c"), 19);
    EXPECT_EQ(plattenRows(kKid, "AND GID>=0"), QStringList({"10|2|T2|1"}));
}

TEST_P(AuslosungsformTest, DropsFromOtherWindowsAndOntoFilledLinesChangeNothing) {
    ASSERT_TRUE(form->neueAuslosung(kKid));
    drop("ListBox1", 0, "gruppe0", 0);
    const QStringList before = items(list("gruppe0"));
    const int left = list("ListBox1")->count();
    drop("ListBox1", 0, "gruppe0", 0);          // filled line
    drop("ListBox1", 0, "gruppe0", -1);         // no line
    drop("gemeldete_spieler", 0, "gruppe0", 1); // a list of another window
    EXPECT_EQ(items(list("gruppe0")), before);
    EXPECT_EQ(list("ListBox1")->count(), left);
}

TEST_P(AuslosungsformTest, FertigStellenWithUnplacedEntriesWarnsAndStaysOpen) {
    ASSERT_TRUE(form->neueAuslosung(kKid));
    form->show();
    button("weiter")->click();
    button("weiter")->click();
    QSignalSpy written(form.get(), &Tauslosungsform::planGeschrieben);
    button("fertig")->click();
    EXPECT_EQ(written.size(), 0);
    EXPECT_EQ(ui.texts(), QStringList({"Nicht alle Spieler wurden gelost"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(db().selectOne("SELECT COUNT(*) AS c FROM Gruppen").integer(u"c"), 0);
}

TEST_P(AuslosungsformTest, AnOpeningAfterAnotherStartsClean) {
    ASSERT_TRUE(form->neueAuslosung(kKid));
    child<QRadioButton>("RadioGroup1_1")->click();
    child<QCheckBox>("Checkbox1")->setChecked(false);
    button("dxButton1")->click();
    button("weiter")->click();

    ASSERT_TRUE(form->neueAuslosung(kKid));
    EXPECT_EQ(page(), "phase1");
    EXPECT_TRUE(child<QRadioButton>("RadioGroup1_0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("Checkbox1")->isChecked());
    EXPECT_TRUE(button("dxButton1")->isEnabled());
    EXPECT_EQ(list("ListBox1")->count(), 11);
    EXPECT_EQ(form->auslosung().auslosungsverfahren, 0);
}

VELMORA_INSTANTIATE_DB_TEST(AuslosungsformTest);
