// The returned entry form (.docx): the zip package and its document.xml.
#include "entries/import_formular.h"
#include "entries/import_zip.h"
#include "fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        importformular::lesen(fuzzing::bytes(data, size), QStringLiteral("fuzz.docx"));
    } catch (const ImportFehler&) {
    }
    return 0;
}
