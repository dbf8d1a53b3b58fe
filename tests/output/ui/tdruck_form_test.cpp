// The print-size dialog of the printed plans.
#include "output/ui/tdruck_form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Captions that name the format they were asked for.
QStringList captions(QPageLayout::Orientation format) {
    QStringList out;
    for (int n = 0; n < 5; ++n)
        out << QStringLiteral("Größe %1 %2")
                   .arg(n)
                   .arg(QLatin1String(format == QPageLayout::Landscape ? "quer" : "hoch"));
    return out;
}

QPushButton* button(Tdruck_form& f, const char* name) {
    return f.findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(Tdruck_form, OpensWithSizeTwoPortraitAndCaptionsThatFollowTheFormat) {
    Tdruck_form f;
    f.vorbereiten(captions);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Drucken"));
    EXPECT_TRUE(f.groesse(2)->isChecked());
    EXPECT_TRUE(f.hochformat()->isChecked());
    EXPECT_EQ(f.groesse(0)->text(), QStringLiteral("Größe 0 hoch"));
    f.querformat()->setChecked(true);
    EXPECT_EQ(f.groesse(4)->text(), QStringLiteral("Größe 4 quer"));
    f.groesse(4)->setChecked(true);

    QTest::mouseClick(button(f, "pdf"), Qt::LeftButton);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    const Interaction::DruckWahl w = f.wahl();
    EXPECT_EQ(w.groesse, 4);
    EXPECT_EQ(w.format, QPageLayout::Landscape);
    EXPECT_EQ(w.ziel, Interaction::DruckWahl::Ziel::Pdf);

    // Shown again, it starts from the preset.
    f.vorbereiten(captions);
    EXPECT_TRUE(f.groesse(2)->isChecked());
    EXPECT_TRUE(f.hochformat()->isChecked());
    EXPECT_EQ(f.groesse(4)->text(), QStringLiteral("Größe 4 hoch"));
}

TEST(Tdruck_form, EveryButtonClosesWithItsDestinationAndAbbrechenCancels) {
    const struct {
        const char* name;
        Interaction::DruckWahl::Ziel ziel;
        const char* text;
    } cases[] = {{"drucken", Interaction::DruckWahl::Ziel::Drucker, "Drucken"},
                 {"vorschau", Interaction::DruckWahl::Ziel::Vorschau, "Vorschau"},
                 {"pdf", Interaction::DruckWahl::Ziel::Pdf, "Als PDF speichern"}};
    for (const auto& c : cases) {
        Tdruck_form f;
        f.vorbereiten(captions);
        ASSERT_NE(button(f, c.name), nullptr);
        EXPECT_EQ(button(f, c.name)->text(), QString::fromUtf8(c.text));
        QTest::mouseClick(button(f, c.name), Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(f.wahl().ziel, c.ziel) << c.name;
    }
    Tdruck_form f;
    f.vorbereiten(captions);
    QTest::mouseClick(button(f, "abbrechen"), Qt::LeftButton);
    EXPECT_EQ(f.result(), QDialog::Rejected);
}

TEST(Tdruck_form, GroupSheetsChooseOnlyTheDestination) {
    Tdruck_form f;
    f.vorbereiten({});
    f.show();
    EXPECT_FALSE(f.findChild<QGroupBox*>(QStringLiteral("druckgroesse"))->isVisible());
    EXPECT_FALSE(f.findChild<QGroupBox*>(QStringLiteral("druckformat"))->isVisible());
    f.vorbereiten(captions);
    EXPECT_TRUE(f.findChild<QGroupBox*>(QStringLiteral("druckgroesse"))->isVisible());
    f.close();
}

} // namespace
