#include "results/ui/tvergleich.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TabellenRow eintrag(int sid, bool markiert) {
    TabellenRow r;
    r.SID = sid;
    r.bez = QStringLiteral("Spieler %1").arg(sid);
    r.spielegewonnen = 2;
    r.spieleverloren = 1;
    r.saetzegewonnen = 7;
    r.saetzeverloren = 4;
    r.punktegewonnen = 101;
    r.punkteverloren = 88;
    r.markiert = markiert;
    return r;
}

QPushButton* button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList texte(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

// The red entries move with "Rauf" and "Runter", the black one never; "Übernehmen" closes the dialog
// and leaves the order in the model.
TEST(Tvergleich, MovesOnlyRedEntries) {
    tabelle::Vergleich v({eintrag(1, false), eintrag(2, true), eintrag(3, true)});
    Tvergleich d(v);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Direkter Vergleich"));
    QStringList labels;
    for (QLabel* l : d.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Die rotmarkierten Einträge sind nicht eindeutige")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Tabellenplätze und müssen von Hand bestimmt werden")));

    QListWidget* l = d.liste();
    ASSERT_EQ(l->objectName(), QStringLiteral("ListBox2"));
    EXPECT_EQ(l->currentRow(), 0) << "the first entry is selected";
    EXPECT_EQ(l->item(0)->foreground().color(), QColor(Qt::black));
    EXPECT_EQ(l->item(1)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(l->item(2)->toolTip(), QStringLiteral("Spiele: 2:1 Sätze: 7:4 Punkte: 101:88"));

    button(d, "runter")->click(); // black entry: nothing
    EXPECT_EQ(texte(l), (QStringList{"Spieler 1", "Spieler 2", "Spieler 3"}));
    l->setCurrentRow(1);
    button(d, "rauf")->click(); // red under black: nothing
    EXPECT_EQ(texte(l), (QStringList{"Spieler 1", "Spieler 2", "Spieler 3"}));
    button(d, "runter")->click();
    EXPECT_EQ(texte(l), (QStringList{"Spieler 1", "Spieler 3", "Spieler 2"}));
    EXPECT_EQ(l->currentRow(), 2) << "the selection follows the moved entry";
    EXPECT_EQ(l->item(2)->foreground().color(), QColor(Qt::red));

    QTimer::singleShot(0, [&] { button(d, "uebernehmen")->click(); });
    d.exec();
    EXPECT_EQ(v.eintraege()[1].SID, 3);
    EXPECT_EQ(v.eintraege()[2].SID, 2);
}

} // namespace
