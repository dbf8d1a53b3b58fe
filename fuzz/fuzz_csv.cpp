// The CSV reader of the player import: any bytes give a table or a German refusal, never a crash.
#include "entries/import_tabelle.h"
#include "entries/import_zip.h"
#include "fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const Tabelle t = importtabelle::csv(fuzzing::bytes(data, size), QStringLiteral("fuzz.csv"));
        for (const QStringList& zeile : t.zeilen)
            fuzzing::verlangt(zeile.size() == t.spalten, "every row as wide as the widest");
    } catch (const ImportFehler&) {
    }
    return 0;
}
