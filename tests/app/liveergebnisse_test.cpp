// The menu entry "Live-Ergebnisse …": choosing the folder the class pages follow, and switching it off.
#include "output/liveexport.h"
#include "planprogram.h"

#include <QAction>

namespace {

class LiveMenu : public PlanProgram {
protected:
    void ausloesen() {
        QAction* a = main->findChild<QAction*>(QStringLiteral("liveergebnisse"));
        ASSERT_NE(a, nullptr);
        a->trigger();
    }
};

TEST_P(LiveMenu, ChoosesTheFolderAndSwitchesItOffAgain) {
    const QString ordner = dir.filePath(QStringLiteral("live"));
    ASSERT_TRUE(QDir().mkpath(ordner));
    ui.clear();
    ui.chooseFile(QDir(ordner).filePath(QStringLiteral("index.html")));
    ausloesen();
    EXPECT_EQ(liveexport::ordner(db, state.tid), ordner);
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Nach jedem Ergebnis werden die Seiten der Klasse in den Ordner ") +
                          QDir::toNativeSeparators(ordner) + QStringLiteral(" geschrieben.")});

    // Asked again: declining keeps the folder, agreeing switches the live results off.
    ui.clear();
    ui.answer(false);
    ausloesen();
    EXPECT_EQ(liveexport::ordner(db, state.tid), ordner);
    ui.clear();
    ui.answer(true);
    ausloesen();
    EXPECT_TRUE(liveexport::ordner(db, state.tid).isEmpty());
    EXPECT_EQ(ui.texts().value(ui.texts().size() - 1),
              QStringLiteral("Die Live-Ergebnisse sind ausgeschaltet."));

    // A cancelled choice changes nothing.
    ui.clear();
    ui.chooseFile(QString());
    ausloesen();
    EXPECT_TRUE(liveexport::ordner(db, state.tid).isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(LiveMenu);

} // namespace
