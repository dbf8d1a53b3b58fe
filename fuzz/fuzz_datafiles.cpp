// Files/system.txt and Files/ko_system.txt. The first byte picks the reader and the size; the rest is the
// file. Whatever a reader accepts must make sense: every two places once, every winner and loser moving
// on into at most one later match, one final.
#include "draw/datafiles.h"
#include "fuzzing.h"

#include <QBuffer>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int wahl = data[0];
    QBuffer buffer;
    buffer.setData(fuzzing::bytes(data + 1, size - 1));
    if (wahl & 0x80) {
        const int plaetze = 1 << (wahl % 8);
        datafiles::KoPlanReader reader;
        const auto plan = reader.read(&buffer, plaetze);
        fuzzing::verlangt(plan.has_value() == reader.errorString().isEmpty(), "a plan or an error");
        if (!plan) return 0;
        int matches = 0;
        QSet<int> sieger, verlierer;
        for (const datafiles::KoPlanLine& l : plan->lines) {
            fuzzing::verlangt(l.fields.size() >= 10, "ten fields");
            if (l.isCaption()) continue;
            ++matches;
            if (l.isFirstStage()) continue;
            for (const auto& [quelle, gewinner] :
                 {std::pair{l.source1(), l.takesWinner1()}, std::pair{l.source2(), l.takesWinner2()}}) {
                fuzzing::verlangt(quelle >= 1 && quelle < matches, "sides from earlier matches");
                QSet<int>& schon = gewinner ? sieger : verlierer;
                fuzzing::verlangt(!schon.contains(quelle), "one later match per winner and loser");
                schon.insert(quelle);
            }
        }
        fuzzing::verlangt(matches - sieger.size() == 1, "exactly one final");
    } else {
        const int places = wahl % 16;
        datafiles::ScheduleReader reader;
        const auto s = reader.read(&buffer, places);
        fuzzing::verlangt(s.has_value() == reader.errorString().isEmpty(), "a schedule or an error");
        if (!s) return 0;
        QSet<QPair<int, int>> met;
        for (const datafiles::Pairing& p : s->pairings) {
            fuzzing::verlangt(p.a >= 1 && p.b >= 1 && p.a <= places && p.b <= places && p.a != p.b, "places");
            met.insert(qMakePair(qMin(p.a, p.b), qMax(p.a, p.b)));
        }
        fuzzing::verlangt(met.size() == s->pairings.size() && met.size() == places * (places - 1) / 2,
                          "every two places exactly once");
    }
    return 0;
}
