#include "app/appwindows.h"
#include "app/qtinteraction.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtTranslations;
    if (qtTranslations.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    AppState state;
    // The default server is this computer, by the short name other desks know it by.
    state.serverName = QSysInfo::machineHostName().left(15);

    Tdb_procedures db;
    QtInteraction interaction;
    Clock clock;
    TMainform mainform(state, db, interaction, clock, QCoreApplication::applicationDirPath());
    if (!mainform.startupOk()) return 1;
    AppWindows windows(mainform, state, db, interaction, clock, QCoreApplication::applicationDirPath());
    interaction.setParentWidget(&mainform);
    interaction.setProgressBar(mainform.progressBar());

    mainform.show();
    return app.exec();
}
