#pragma once

#include <QDate>
#include <QList>
#include <QString>

// Another tournament database file of this program, opened read-only: nothing in it is ever changed.
namespace importturnierdatei {

struct Turnier {
    int tid = 0;
    QString turniername;
};

struct Spieler {
    int sid = 0;
    QString nachname;
    QString vorname;
    QString verein;
    QDate geb;
    bool mann = false;
    bool frau = false;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
};

// Refuse (ImportFehler, "Ungültige Quelle gewählt" and the reason, naming the file) a file that is no
// database, a database of another program, and one with a newer schema than this program knows.
QList<Turnier> turniere(const QString& path);
QList<Spieler> spieler(const QString& path, int tid);

} // namespace importturnierdatei
