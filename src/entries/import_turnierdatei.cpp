#include "entries/import_turnierdatei.h"

#include "entries/import_zip.h"
#include "store/row.h"
#include "store/schema.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace importturnierdatei {

namespace {

QString ungueltig(const QString& path, const QString& grund) {
    return QStringLiteral("Ungültige Quelle gewählt\n\n%1 %2").arg(importdatei::dateiname(path), grund);
}

// A connection of its own, read-only, closed and removed again whichever way the read ends.
class Quelle {
public:
    explicit Quelle(const QString& path) : path_(path) {
        static QAtomicInt zaehler;
        name_ = QStringLiteral("velmora_import_%1").arg(zaehler.fetchAndAddRelaxed(1));
        QFile f(path);
        QByteArray kopf;
        if (f.open(QIODevice::ReadOnly)) kopf = f.read(16);
        if (!f.exists()) throw ImportFehler(ungueltig(path, QStringLiteral("gibt es nicht.")));
        // SQLite would open any file and fail only at the first read; the header says it at once.
        if (kopf != QByteArray("SQLite format 3\0", 16))
            throw ImportFehler(ungueltig(path, QStringLiteral("ist keine Turnier-Datenbank.")));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
            if (!db.open()) {
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name_);
                throw ImportFehler(ungueltig(path, QStringLiteral("kann nicht geöffnet werden.")));
            }
        }
        try {
            pruefen();
        } catch (...) {
            schliessen();
            throw;
        }
    }
    ~Quelle() { schliessen(); }
    Quelle(const Quelle&) = delete;
    Quelle& operator=(const Quelle&) = delete;

    QSqlQuery abfrage(const QString& sql, const QList<QPair<QString, QVariant>>& params = {}) {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        if (!q.prepare(sql))
            throw ImportFehler(ungueltig(path_, QStringLiteral("kann nicht gelesen werden.")));
        for (const auto& [k, v] : params)
            q.bindValue(k, v);
        if (!q.exec()) throw ImportFehler(ungueltig(path_, QStringLiteral("kann nicht gelesen werden.")));
        return q;
    }

private:
    void pruefen() {
        const QStringList tabellen = QSqlDatabase::database(name_, false).tables();
        for (const char* t : {"Einstellungen", "Turnierdaten", "Spielerdaten"})
            if (!tabellen.contains(QString::fromLatin1(t), Qt::CaseInsensitive))
                throw ImportFehler(
                    ungueltig(path_, QStringLiteral("ist keine Turnier-Datenbank von Velmora.")));
        QSqlQuery q = abfrage(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999"));
        const int version = q.next() ? q.value(0).toInt() : 0;
        if (version > schema::kCurrentVersion)
            throw ImportFehler(ungueltig(
                path_,
                QStringLiteral("wurde von einer neueren Version von Velmora angelegt (Datenbankversion %1; "
                               "dieses Programm kennt Version %2).")
                    .arg(version)
                    .arg(schema::kCurrentVersion)));
    }
    void schliessen() {
        if (name_.isEmpty()) return;
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isValid()) db.close();
        }
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
    }

    QString path_;
    QString name_;
};

} // namespace

QList<Turnier> turniere(const QString& path) {
    Quelle q(path);
    QList<Turnier> out;
    QSqlQuery r = q.abfrage(QStringLiteral("SELECT TID,turniername FROM Turnierdaten"));
    while (r.next())
        out.append({r.value(0).toInt(), r.value(1).toString()});
    return out;
}

QList<Spieler> spieler(const QString& path, int tid) {
    Quelle q(path);
    QList<Spieler> out;
    QSqlQuery r =
        q.abfrage(QStringLiteral("SELECT SID,nachname,vorname,verein,geb,mann,frau,kverband,bverband,"
                                 "lverband,land FROM Spielerdaten WHERE TID=:ID ORDER BY SID"),
                  {{QStringLiteral(":ID"), tid}});
    while (r.next()) {
        Spieler s;
        s.sid = r.value(0).toInt();
        s.nachname = r.value(1).toString();
        s.vorname = r.value(2).toString();
        s.verein = r.value(3).toString();
        s.geb = dbvalue::toDate(r.value(4));
        s.mann = r.value(5).toInt() != 0;
        s.frau = r.value(6).toInt() != 0;
        s.kverband = r.value(7).toString();
        s.bverband = r.value(8).toString();
        s.lverband = r.value(9).toString();
        s.land = r.value(10).toString();
        out.append(s);
    }
    return out;
}

} // namespace importturnierdatei
