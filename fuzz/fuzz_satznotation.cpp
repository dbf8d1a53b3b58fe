// The set notation as typed into the match dialog: a set entry, a final result, and the whole check of
// a result (first line the final result, then up to nine set entries, one a line).
#include "fuzzing.h"
#include "results/satznotation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzzing::bytes(data, size));
    const satznotation::Eingabe e = satznotation::lesen(text);
    if (e.gueltig && e.wert) {
        // what is stored reads back as the same value
        const satznotation::Eingabe wieder = satznotation::lesen(satznotation::text(e.wert));
        fuzzing::verlangt(wieder.gueltig && wieder.wert == e.wert, "stored form reads back");
        satznotation::punkte(*e.wert);
    }
    satznotation::endergebnis(text);

    QStringList zeilen = text.split(u'\n');
    const QString ergebnis = zeilen.takeFirst();
    while (zeilen.size() < 9)
        zeilen << QString();
    zeilen = zeilen.mid(0, 9);
    for (int g = 1; g <= 4; ++g) {
        Saetze werte;
        satznotation::pruefen(ergebnis, satznotation::ergebnisliste(g), zeilen, &werte);
    }
    return 0;
}
