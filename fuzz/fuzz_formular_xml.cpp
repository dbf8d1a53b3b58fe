// The entry form's document.xml alone: mutations of a zip rarely get past its checksums, so the form
// fields, bookmarks and tables are fuzzed here as plain XML.
#include "entries/import_formular.h"
#include "entries/import_zip.h"
#include "fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QStringLiteral("fuzz.docx");
    try {
        importformular::auswerten(importformular::felder(fuzzing::bytes(data, size), path), path);
    } catch (const ImportFehler&) {
    }
    return 0;
}
