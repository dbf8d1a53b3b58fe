// Another tournament file as import source: the bytes are written to a file and opened read-only
// through Qt's SQLite driver, as the import does.
#include "entries/import_turnierdatei.h"
#include "entries/import_zip.h"
#include "fuzzing.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {
QTemporaryDir* ordner = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv); // the SQL driver is a plugin
    ordner = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = ordner->filePath(QStringLiteral("fuzz.sqlite"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(fuzzing::bytes(data, size));
    }
    try {
        for (const importturnierdatei::Turnier& t : importturnierdatei::turniere(path))
            importturnierdatei::spieler(path, t.tid);
    } catch (const ImportFehler&) {
    }
    // SQLite leaves -wal and -shm files beside a database it opened; the next input starts clean.
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    return 0;
}
