#include "cli/befehle.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

QtMessageHandler vorher = nullptr;

// Without a desktop session Qt tells about a missing runtime folder on every start; that is no news
// for a command line, whose standard error carries the program's own messages.
void meldung(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: "))) return;
    if (vorher) vorher(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    vorher = qInstallMessageHandler(meldung);
    // The PDF lists need fonts, not a screen: the command line runs where no display is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    const int status = cli::ausfuehren(args, out, err);
    out.flush();
    err.flush();
    return status;
}
