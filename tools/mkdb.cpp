// Creates a tournament database from the tables and rows built into the program.
//   velmora_mkdb FILE                      a file database at FILE, unless FILE exists already
//   velmora_mkdb --server HOST[:PORT] [NAME]  database NAME (default turnier_db) on a PostgreSQL server
#include "store/schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() >= 2 && args[0] == QLatin1String("--server")) {
            const QString name = args.size() >= 3 ? args[2] : QStringLiteral("turnier_db");
            schema::createServerDatabase(args[1], name);
            out << "Datenbank " << name << " auf " << args[1] << " angelegt.\n";
            return 0;
        }
        if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
            if (QFileInfo::exists(args[0])) {
                out << args[0] << " ist vorhanden und bleibt unverändert.\n";
                return 0;
            }
            schema::createFile(args[0]);
            out << args[0] << " angelegt.\n";
            return 0;
        }
    } catch (const DbError& e) {
        err << e.message() << '\n';
        if (!e.detail().isEmpty()) err << e.detail() << '\n';
        return 1;
    }
    err << "Aufruf: velmora_mkdb DATEI | velmora_mkdb --server HOST[:PORT] [NAME]\n";
    return 2;
}
