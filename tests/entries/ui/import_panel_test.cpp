#include "entries/import_fixture.h"
#include "entries/ui/importpanel.h"
#include "entries/ui/timport_form.h"
#include "output/entryform.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ImportPanelTest : public SpielerFixture {
protected:
    void SetUp() override {
        SpielerFixture::SetUp();
        if (IsSkipped()) return;
        widget = std::make_unique<ImportPanel>(state, db(), ui, dir.path());
        widget->resize(800, 600);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    }
    void TearDown() override {
        widget.reset();
        SpielerFixture::TearDown();
    }
    template <typename T> T* in(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList zeilen(QListWidget* l) {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    QString datei(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return path;
    }

    QTemporaryDir dir;
    std::unique_ptr<ImportPanel> widget;
};

TEST_P(ImportPanelTest, SpreadsheetPlayersAreChosenMovedAndImported) {
    // No header row: the order is given on the dialog's lists.
    ui.chooseFile(
        datei(QStringLiteral("liste.csv"),
                        QStringLiteral("Jürgen;Müller;TTC Nord\r\nAnna;Weiß;TTC Süd\r\n").toLatin1()));
    QTest::mouseClick(in<QPushButton>(widget.get(), "datenquelle"), Qt::LeftButton);
    Timport_form* dialog = widget->quelleDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Importieren");
    EXPECT_EQ(in<QStackedWidget>(dialog, "seiten")->currentIndex(), 1);
    auto* grid = in<QTableWidget>(dialog, "spielerdaten");
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Spalte 1");
    EXPECT_EQ(grid->columnWidth(0), 80);
    EXPECT_EQ(grid->item(1, 1)->text(), "Weiß");

    auto* vorhanden = in<QListWidget>(dialog, "vorhandeneDaten");
    auto* reihenfolge = in<QListWidget>(dialog, "datenreihenfolge");
    EXPECT_EQ(zeilen(vorhanden), Importquelle::vorhandeneDaten());
    auto waehle = [&](QListWidget* l, const QString& text) {
        QListWidgetItem* i = l->findItems(text, Qt::MatchExactly).value(0);
        ASSERT_NE(i, nullptr) << text.toStdString();
        l->setCurrentItem(i);
        l->setFocus();
        QTest::keyClick(l, Qt::Key_Return);
    };
    waehle(vorhanden, QStringLiteral("Vorname"));
    waehle(vorhanden, QStringLiteral("Nachname"));
    waehle(vorhanden, QStringLiteral("Land"));
    waehle(vorhanden, QStringLiteral("Vorname"));
    EXPECT_EQ(zeilen(reihenfolge), (QStringList{"Vorname", "Nachname", "Land"}));
    waehle(reihenfolge, QStringLiteral("Land"));
    waehle(vorhanden, QStringLiteral("Verein"));
    EXPECT_EQ(zeilen(reihenfolge), (QStringList{"Vorname", "Nachname", "Verein"}));

    QTest::mouseClick(in<QPushButton>(dialog, "importieren"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    auto* liste1 = in<QListWidget>(widget.get(), "importliste1");
    auto* liste2 = in<QListWidget>(widget.get(), "importliste2");
    EXPECT_EQ(zeilen(liste1), (QStringList{"Müller, Jürgen", "Weiß, Anna"}));
    EXPECT_EQ(liste1->selectedItems().size(), 2);

    liste1->item(0)->setSelected(false);
    QTest::mouseClick(in<QPushButton>(widget.get(), "hinzufuegen"), Qt::LeftButton);
    EXPECT_EQ(zeilen(liste1), QStringList{"Müller, Jürgen"});
    EXPECT_EQ(zeilen(liste2), QStringList{"Weiß, Anna"});

    QTest::mouseClick(in<QPushButton>(widget.get(), "importieren"), Qt::LeftButton);
    EXPECT_EQ(ui.texts(), QStringList{"Der Import wurde abgeschlossen."});
    EXPECT_EQ(liste1->count() + liste2->count(), 0);
    const Rows r = db().select(QStringLiteral("SELECT nachname,vorname,verein FROM Spielerdaten"));
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].text(u"verein"), "TTC Süd");
}

TEST_P(ImportPanelTest, EntryFormShowsItsClubAndPlayers) {
    const QByteArray xml = ausfuellen(entryform::documentXml({QStringLiteral("T"), {}, {}}),
                                      {{QStringLiteral("verein"), QStringLiteral("Kreisel TT")},
                                       {QStringLiteral("nname1"), QStringLiteral("Ostermann")},
                                       {QStringLiteral("vname1"), QStringLiteral("Olga")}},
                                      {});
    ui.chooseFile(datei(QStringLiteral("form.docx"), entryform::paket(xml)));
    QTest::mouseClick(in<QPushButton>(widget.get(), "datenquelle"), Qt::LeftButton);
    Timport_form* dialog = widget->quelleDialog();
    ASSERT_TRUE(dialog->isVisible()) << ui.texts().join(u'|').toStdString();
    EXPECT_EQ(in<QStackedWidget>(dialog, "seiten")->currentIndex(), 2);
    EXPECT_EQ(in<QLabel>(dialog, "formularverein")->text(), "Kreisel TT");
    EXPECT_EQ(zeilen(in<QListWidget>(dialog, "formularliste")), QStringList{"Ostermann, Olga"});
    QTest::mouseClick(in<QPushButton>(dialog, "zurueck"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(in<QListWidget>(widget.get(), "importliste1")->count(), 0);

    // A refused file leaves the dialog closed.
    ui.chooseFile(datei(QStringLiteral("kaputt.docx"), "kein zip"));
    QTest::mouseClick(in<QPushButton>(widget.get(), "datenquelle"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ui.texts().last().contains(QStringLiteral("„kaputt.docx“")));
}

VELMORA_INSTANTIATE_DB_TEST(ImportPanelTest);

} // namespace
