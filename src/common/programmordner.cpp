#include "common/programmordner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace programmordner {

namespace {
bool hatDatendateien(const QString& dir) {
    return QFileInfo::exists(QDir(dir).filePath(QStringLiteral("Files/system.txt")));
}
} // namespace

Ordner finden(const QString& programmDir, bool programmDirBeschreibbar, const QString& benutzerDaten) {
    Ordner o;
    const QString installiert = QDir::cleanPath(programmDir + QStringLiteral("/../share/velmora"));
    const bool daneben = hatDatendateien(programmDir);
    o.daten = !daneben && hatDatendateien(installiert) ? installiert : programmDir;
    // The database stays beside the program wherever the data files are beside it and it may write
    // there; an installed program never writes into /usr, not even when run by root.
    o.arbeit = o.daten == programmDir && programmDirBeschreibbar ? programmDir : benutzerDaten;
    return o;
}

Ordner fuerDiesesProgramm() {
    const QString dir = QCoreApplication::applicationDirPath();
    return finden(dir, QFileInfo(dir).isWritable(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString datenbankBereitstellen(const Ordner& ordner) {
    if (ordner.arbeit == ordner.daten) return {}; // beside the program the build makes it
    const QString ziel = QDir(ordner.arbeit).filePath(datenbankName());
    if (QFileInfo::exists(ziel)) return {};
    const QString quelle = QDir(ordner.daten).filePath(datenbankName());
    const QString fehler = QStringLiteral("Die Datenbankdatei \"%1\" kann nicht angelegt werden.").arg(ziel);
    if (!QFileInfo::exists(quelle))
        return fehler + QStringLiteral("\nDatenbankdatei nicht vorhanden: ") + quelle;
    if (!QDir().mkpath(ordner.arbeit)) return fehler;
    // Copied under a temporary name and renamed: a start cut short never leaves half a database behind.
    const QString teil = ziel + QStringLiteral(".neu");
    QFile::remove(teil);
    if (!QFile::copy(quelle, teil)) return fehler;
    // The shipped file belongs to root and is read-only; the user's copy must be his to write.
    QFile::setPermissions(teil, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(teil, ziel)) {
        QFile::remove(teil);
        return fehler;
    }
    return {};
}

} // namespace programmordner
