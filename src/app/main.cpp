#include "app/appwindows.h"
#include "app/qtinteraction.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "common/programmordner.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTranslator>

namespace {
// Qt's own dialogs (the file dialog's date column) format dates by the system locale, which Qt reads
// from the environment once. The program speaks German whatever the desk's settings say, so dates do too.
void germanDatesInQtDialogs() {
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        // LC_ALL would outrank LC_TIME: keep its value for everything else.
        qputenv("LANG", all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "de_DE.UTF-8");
}
} // namespace

int main(int argc, char** argv) {
    germanDatesInQtDialogs();
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
    // Installed, the program cannot write beside itself: the user's file database goes to his data folder.
    const programmordner::Ordner ordner = programmordner::fuerDiesesProgramm();
    if (const QString fehler = programmordner::datenbankBereitstellen(ordner); !fehler.isEmpty())
        interaction.error(fehler, Interaction::Button::Ok);
    TMainform mainform(state, db, interaction, clock, ordner.daten);
    if (!mainform.startupOk()) return 1;
    AppWindows windows(mainform, state, db, interaction, clock, ordner.daten, ordner.arbeit);
    interaction.setParentWidget(&mainform);
    interaction.setProgressBar(mainform.progressBar());

    // A desk works with the whole screen; the normal size stays for when the window is restored.
    mainform.showMaximized();
    return app.exec();
}
