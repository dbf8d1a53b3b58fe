// Creates a tournament database from the tables and rows built into the program.
//   velmora_mkdb FILE                      a file database at FILE; one that exists already keeps its
//                                          tournaments and is only brought up to the current version
//   velmora_mkdb --server HOST[:PORT] [NAME]  database NAME (default turnier_db) on a PostgreSQL server
#include "common/quietinteraction.h"
#include "store/schema.h"
#include "store/tournaments.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// The build asks nobody: the upgrade of an older database is agreed to, what it tells goes to the output.
class Ausgabe : public QuietInteraction {
public:
    explicit Ausgabe(QTextStream& out) : QuietInteraction(true), out_(out) {}
    void message(Icon, const QString& text, Button) override { out_ << text << '\n'; }

private:
    QTextStream& out_;
};

} // namespace

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
                // The shipped database of an earlier build: its tournaments stay, its tables follow the
                // program (as the program itself would offer at the first connect).
                Tdb_procedures db;
                db.connectFile(args[0]);
                const int version =
                    db.selectOne(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999"))
                        .integer(u"version");
                if (version < schema::kCurrentVersion) {
                    Ausgabe ausgabe(out);
                    tournaments::upgrade(db, ausgabe, version);
                    out << args[0] << " auf Version " << schema::kCurrentVersion << " gebracht.\n";
                } else {
                    out << args[0] << " ist vorhanden und bleibt unverändert.\n";
                }
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
