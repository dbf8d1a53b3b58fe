#include "draw/koauslosung.h"

#include "draw/eintragstext.h"

#include "common/random.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

const QString ko::kFreilos = QStringLiteral("Freilos");

namespace {

constexpr int kByeId = -2;

koinfo byeSlot(const QString& club = {}) {
    koinfo k;
    k.id = kByeId;
    k.partnerId = kByeId;
    k.text = ko::kFreilos;
    k.club = club;
    return k;
}

Myitem byeItem() {
    Myitem m;
    m.id = kByeId;
    m.partnerId = kByeId;
    m.present = true;
    m.text = ko::kFreilos;
    return m;
}

koinfo slotOf(const Myitem& m, int seedNumber) {
    koinfo k;
    k.id = m.id;
    k.partnerId = m.partnerId;
    k.text = m.text;
    k.club = m.club;
    k.seedNumber = seedNumber;
    return k;
}

Myitem itemOf(const koinfo& k) {
    Myitem m;
    m.id = k.id;
    m.partnerId = k.partnerId;
    m.present = true; // the draw only ever holds present entries
    m.seedNumber = k.seedNumber;
    m.text = k.text;
    m.club = k.club;
    return m;
}

// A participant line of phase 2 or 3 on a slot: labels have no id.
koinfo slotOf(const KoTeilnehmer& t, int seedNumber) {
    if (t.text == ko::kFreilos) return byeSlot(t.club);
    koinfo k;
    k.text = t.text;
    k.club = t.club;
    k.seedNumber = seedNumber;
    return k;
}

Myitem emptySeedLine(int index) {
    Myitem m;
    m.id = -1;
    m.partnerId = -1;
    m.seedNumber = index + 1;
    return m;
}

bool holdsSeed(const Myitem& line) {
    return line.id > 0;
}

// A slot that a seed was put on, by hand or by a draw.
bool seededSlot(const koinfo& k) {
    return k.seedNumber > 0 && k.id > 0;
}

int marker(int slot, int size) {
    return ko::obereHaelfte(slot, size) ? 2 : 1;
}

template <typename Pred> int firstSlot(int from, int to, Pred pred) {
    for (int k = from; k < to; ++k)
        if (pred(k)) return k;
    return -1;
}

int firstEmpty(const KoSlots& koslots, int from, int to) {
    return firstSlot(from, to, [&](int k) { return koslots[k].empty(); });
}

// First free slot of the even ones (0, 2, 4, ...), else of the odd ones.
int firstEvenThenOdd(const KoSlots& koslots) {
    for (int parity = 0; parity < 2; ++parity)
        for (int k = parity; k < koslots.size(); k += 2)
            if (koslots[k].empty()) return k;
    return -1;
}

int countEmpty(const KoSlots& koslots) {
    return int(std::count_if(koslots.begin(), koslots.end(), [](const koinfo& k) { return k.empty(); }));
}

// Keeps byes from meeting byes. A pair that holds no entry yet and still has an empty slot needs one of the
// entries still to come; an entry put opposite another entry takes one away from them. As long as there
// are at least as many entries to come as such pairs, every pair ends with an entry, and the byes of the
// closing step only ever face entries.
class Placer {
public:
    Placer(KoSlots& koslots, int entries) : koslots_(koslots), entries_(entries) {}

    // Where an entry goes that the draw's rule sends to `target`.
    int forEntry(int target) const {
        if (target < 0 || !koslots_[ko::partner(target)].occupied() || spare() > 0) return target;
        const int size = int(koslots_.size());
        const int half = ko::obereHaelfte(target, size) ? 0 : size / 2;
        auto needsEntry = [&](int k) { return koslots_[k].empty() && !koslots_[ko::partner(k)].occupied(); };
        int k = firstSlot(half, half + size / 2, needsEntry);
        if (k < 0) k = firstSlot(0, size, needsEntry);
        return k < 0 ? target : k;
    }
    // A bye is not put opposite a bye; it simply is not placed, and the slot stays free for an entry.
    bool byeAllowed(int target) const { return target >= 0 && !koslots_[ko::partner(target)].bye(); }

    void placeEntry(int k, const koinfo& entry) {
        koslots_[k] = entry;
        --entries_;
    }

private:
    int spare() const {
        int needing = 0;
        for (int k = 0; k + 1 < koslots_.size(); k += 2) {
            const koinfo& a = koslots_[k];
            const koinfo& b = koslots_[k + 1];
            if (a.occupied() || b.occupied()) continue;
            if (a.empty() || b.empty()) ++needing;
        }
        return entries_ - needing;
    }

    KoSlots& koslots_;
    int entries_;
};

void fillByes(KoSlots& koslots) {
    for (koinfo& k : koslots)
        if (k.empty()) k = byeSlot();
}

// The common start of the two phase 1 draws: the seeds on their slots, byes beside them.
struct Phase1Draw {
    struct Seed {
        Myitem item;
        int line; // its line in the seed list, -1 unknown
    };

    KoPhase1& page;
    int mode;
    const KoLosdaten& daten;
    Random& random;
    QVector<Seed> seeds;  // still to place
    QVector<Seed> placed; // placed by the draw
    QVector<Myitem> pool; // unseeded entries to draw
    int byes = 0;         // still to place

    Phase1Draw(KoPhase1& p, int m, const KoLosdaten& d, Random& r) : page(p), mode(m), daten(d), random(r) {
        for (int i = 0; i < page.gesetzt.size(); ++i)
            if (holdsSeed(page.gesetzt[i])) seeds.append({page.gesetzt[i], i});
        pool = page.ungesetzt;
    }

    bool nothingToDraw() const { return pool.isEmpty() && seeds.isEmpty(); }

    // Seeds placed by hand count too: one of them may have to make room for another seed.
    int seedsInAll() const {
        return int(seeds.size()) + int(std::count_if(page.koslots.begin(), page.koslots.end(), seededSlot));
    }

    // onSeed(slot, seed) runs after each seed lands.
    template <typename OnSeed> void placeSeeds(OnSeed onSeed) {
        KoSlots& koslots = page.koslots;
        const int size = int(koslots.size());
        byes = std::max(0, countEmpty(koslots) - int(pool.size() + seeds.size()));
        int beside = daten.freiloseZufaellig ? 0 : byes;
        for (int position : daten.setzplaetze) {
            if (seeds.isEmpty()) break;
            const int k = position - 1;
            if (k < 0 || k >= size) continue;
            Seed seed = seeds.takeAt(mode == 0 ? 0 : random.below(int(seeds.size())));
            // An entry put here by hand makes room and is drawn again.
            if (koslots[k].occupied()) {
                if (seededSlot(koslots[k])) {
                    const int line = koslots[k].seedNumber - 1;
                    seeds.append({itemOf(koslots[k]), line < page.gesetzt.size() ? line : -1});
                } else {
                    pool.append(itemOf(koslots[k]));
                }
            }
            koslots[k] = slotOf(seed.item, seed.item.seedNumber);
            placed.append(seed);
            onSeed(k, seed.item);
            const int p = ko::partner(k);
            if (beside > 0 && koslots[p].empty()) {
                koslots[p] = byeSlot();
                --beside;
                --byes;
            }
        }
    }

    // The closing step: empty slots become byes; the seed list keeps one empty numbered line per seed.
    void close(const QVector<Myitem>& unplaced) {
        fillByes(page.koslots);
        for (const Seed& s : placed)
            if (s.line >= 0) page.gesetzt[s.line] = emptySeedLine(s.line);
        // Seeds the seeding table had no slot for stay in the list.
        for (const Seed& s : seeds) {
            if (s.line >= 0)
                page.gesetzt[s.line] = s.item;
            else
                page.gesetzt.append(s.item);
        }
        page.ungesetzt = unplaced;
    }
};

KoErgebnis refused(int size, int rows) {
    return {KoErgebnis::ZuVieleGesetzte, ko::zuVieleGesetzte(size, rows)};
}

using eintrag::lessGerman;

bool validSlot(const KoSlots& koslots, int slot) {
    return slot >= 0 && slot < koslots.size();
}

} // namespace

bool koinfo::bye() const {
    return id == kByeId || text == ko::kFreilos;
}

namespace ko {

int groesse(int teilnehmer) {
    int size = 2;
    while (size < teilnehmer)
        size *= 2;
    return size;
}

QString zuVieleGesetzte(int groesse, int setzplaetze) {
    if (setzplaetze <= 0)
        return QStringLiteral("Zu viele gesetzte Spieler: Das KO-System mit %1 Plätzen hat keine "
                              "Setzplätze.\nBitte die Setzliste leeren.")
            .arg(groesse);
    return QStringLiteral("Zu viele gesetzte Spieler: Das KO-System mit %1 Plätzen hat nur %2 "
                          "Setzplätze.\nBitte die Setzliste kürzen.")
        .arg(groesse)
        .arg(setzplaetze);
}

QString setzzeile(const Myitem& line, int index) {
    if (!holdsSeed(line)) return QStringLiteral("%1.").arg(index + 1);
    return QStringLiteral("%1. %2").arg(index + 1).arg(line.text);
}

// A player in a redraw may well be called "Schmidt": only the label's whole first word marks a winner.
bool istSieger(const QString& text) {
    return text.startsWith(QStringLiteral("Sieger "));
}

QChar herkunft(const QString& text) {
    return text.isEmpty() ? QChar() : text.back();
}

} // namespace ko

KoPhase1 kophase1(QVector<Myitem> ungesetzt, QVector<Myitem> gesetzt) {
    const int seeds = int(std::count_if(gesetzt.begin(), gesetzt.end(), holdsSeed));
    KoPhase1 page;
    page.koslots = KoSlots(ko::groesse(int(ungesetzt.size()) + seeds));
    page.ungesetztKopie = ungesetzt;
    page.gesetztKopie = gesetzt;
    page.ungesetzt = std::move(ungesetzt);
    page.gesetzt = std::move(gesetzt);
    return page;
}

KoPhase kophaseladen(KoTeilnehmerliste teilnehmer) {
    KoPhase page;
    page.koslots = KoSlots(ko::groesse(int(teilnehmer.size())));
    page.teilnehmerKopie = teilnehmer;
    page.teilnehmer = std::move(teilnehmer);
    return page;
}

KoErgebnis kolosenfest(KoPhase1& page, int mode, const KoLosdaten& daten, Random& random) {
    Phase1Draw draw(page, mode, daten, random);
    if (draw.nothingToDraw()) return {};
    if (draw.seedsInAll() > daten.setzplaetze.size())
        return refused(int(page.koslots.size()), int(daten.setzplaetze.size()));

    draw.placeSeeds([](int, const Myitem&) {});
    QVector<Myitem> lines = draw.pool;
    for (int i = 0; i < draw.byes; ++i)
        lines.append(byeItem());

    // The upper slot of every pair fills first, the lower slots take the rest.
    KoSlots& koslots = page.koslots;
    Placer placer(koslots, int(draw.pool.size()));
    QVector<Myitem> unplaced;
    while (!lines.isEmpty()) {
        const Myitem line = lines.takeAt(random.below(int(lines.size())));
        const int target = firstEvenThenOdd(koslots);
        if (line.id == kByeId) {
            if (placer.byeAllowed(target)) koslots[target] = byeSlot();
            continue;
        }
        const int k = placer.forEntry(target);
        if (k < 0)
            unplaced.append(line);
        else
            placer.placeEntry(k, slotOf(line, -1));
    }
    draw.close(unplaced);
    return {KoErgebnis::Gelost, {}};
}

KoErgebnis kolosenfestverein(KoPhase1& page, int mode, const KoLosdaten& daten, Random& random) {
    Phase1Draw draw(page, mode, daten, random);
    if (draw.nothingToDraw()) return {};
    if (draw.seedsInAll() > daten.setzplaetze.size())
        return refused(int(page.koslots.size()), int(daten.setzplaetze.size()));

    KoSlots& koslots = page.koslots;
    const int size = int(koslots.size());
    // The members of a seed's club start in the other half. The half marker rides in the seed number.
    draw.placeSeeds([&](int k, const Myitem& seed) {
        for (Myitem& m : draw.pool)
            if (m.club == seed.club) m.seedNumber = marker(k, size);
    });

    // One list per club, largest club first. A club the club list does not know (an entry without a
    // player row behind it) still gets its list, after the known ones, so nobody is left out.
    QStringList clubs;
    QHash<QString, int> clubIndex;
    for (const QString& c : daten.vereine)
        if (!clubIndex.contains(c)) {
            clubIndex.insert(c, int(clubs.size()));
            clubs << c;
        }
    QStringList extra;
    QHash<QString, int> extraCount;
    for (const Myitem& m : draw.pool)
        if (!clubIndex.contains(m.club) && extraCount[m.club]++ == 0) extra << m.club;
    std::stable_sort(extra.begin(), extra.end(),
                     [&](const QString& a, const QString& b) { return extraCount[a] > extraCount[b]; });
    for (const QString& c : extra) {
        clubIndex.insert(c, int(clubs.size()));
        clubs << c;
    }
    QVector<QVector<Myitem>> lists(clubs.size());
    for (const Myitem& m : draw.pool)
        lists[clubIndex.value(m.club)].append(m);
    // The byes go round the clubs in turn and take the club's name, so they alternate with its members.
    if (!lists.isEmpty())
        for (int i = 0; i < draw.byes; ++i) {
            Myitem bye = byeItem();
            bye.club = clubs[i % clubs.size()];
            lists[i % lists.size()].append(bye);
        }

    Placer placer(koslots, int(draw.pool.size()));
    QVector<Myitem> unplaced;
    for (QVector<Myitem>& list : lists) {
        const int count = int(list.size());
        for (int i = 0; i < count; ++i) {
            const Myitem line = list.takeAt(random.below(int(list.size())));
            auto freeAwayFromClub = [&](int k) {
                const koinfo& p = koslots[ko::partner(k)];
                return koslots[k].empty() && !(p.occupied() && p.club == line.club);
            };
            int target = -1;
            if (line.seedNumber == 1)
                target = firstSlot(0, size / 2, freeAwayFromClub);
            else if (line.seedNumber == 2)
                target = firstSlot(size / 2, size, freeAwayFromClub);
            if (target < 0) target = firstEmpty(koslots, 0, size);
            if (line.id == kByeId) {
                if (!placer.byeAllowed(target)) continue;
                koslots[target] = byeSlot(line.club);
            } else {
                target = placer.forEntry(target);
                if (target < 0) {
                    unplaced.append(line);
                    continue;
                }
                placer.placeEntry(target, slotOf(line, -1));
            }
            for (Myitem& m : list)
                m.seedNumber = marker(target, size);
        }
    }
    for (Myitem& m : unplaced)
        m.seedNumber = -1;
    draw.close(unplaced);
    return {KoErgebnis::Gelost, {}};
}

KoErgebnis kolosenfest2(KoPhase& page, int mode, const KoLosdaten& daten, Random& random) {
    KoTeilnehmerliste& lines = page.teilnehmer;
    KoSlots& koslots = page.koslots;
    if (lines.isEmpty()) return {};
    const int size = int(koslots.size());

    // The winners are the seeds. When the seeding table has fewer slots than there are winners, the
    // others are drawn like everyone else.
    KoTeilnehmerliste winners;
    KoTeilnehmerliste rest;
    for (const KoTeilnehmer& t : lines)
        (ko::istSieger(t.text) ? winners : rest).append(t);
    lines = rest;

    int byes = std::max(0, countEmpty(koslots) - int(winners.size() + lines.size()));
    int beside = daten.freiloseZufaellig ? 0 : byes;
    int order = 0;
    for (int position : daten.setzplaetze) {
        if (winners.isEmpty()) break;
        const int k = position - 1;
        if (k < 0 || k >= size) continue;
        const KoTeilnehmer winner = winners.takeAt(mode == 0 ? 0 : random.below(int(winners.size())));
        if (koslots[k].occupied()) {
            const KoTeilnehmer back{koslots[k].text, 0, koslots[k].club};
            (ko::istSieger(back.text) ? winners : lines).append(back);
        }
        koslots[k] = slotOf(winner, order++);
        // The rest of the winner's group starts in the other half.
        const QChar group = ko::herkunft(winner.text);
        for (KoTeilnehmer& t : lines)
            if (ko::herkunft(t.text) == group) t.marker = marker(k, size);
        const int p = ko::partner(k);
        if (beside > 0 && koslots[p].empty()) {
            koslots[p] = byeSlot();
            --beside;
            --byes;
        }
    }
    lines = winners + lines;
    const int entries = int(std::count_if(lines.begin(), lines.end(),
                                          [](const KoTeilnehmer& t) { return t.text != ko::kFreilos; }));
    for (int i = 0; i < byes; ++i)
        lines.append({ko::kFreilos, 0, {}});

    // In list order: every line goes to the half its marker names, not opposite its own group.
    Placer placer(koslots, entries);
    KoTeilnehmerliste unplaced;
    while (!lines.isEmpty()) {
        const KoTeilnehmer line = lines.takeFirst();
        const QChar group = ko::herkunft(line.text);
        auto freeAwayFromGroup = [&](int k) {
            const koinfo& p = koslots[ko::partner(k)];
            return koslots[k].empty() && (p.empty() || ko::herkunft(p.text) != group);
        };
        int target = -1;
        if (line.marker == 1)
            target = firstSlot(0, size / 2, freeAwayFromGroup);
        else if (line.marker == 2)
            target = firstSlot(size / 2, size, freeAwayFromGroup);
        if (target < 0) target = firstEmpty(koslots, 0, size);
        if (line.text == ko::kFreilos) {
            if (!placer.byeAllowed(target)) continue;
            koslots[target] = byeSlot();
        } else {
            target = placer.forEntry(target);
            if (target < 0) {
                unplaced.append({line.text, 0, line.club});
                continue;
            }
            placer.placeEntry(target, slotOf(line, -1));
        }
        for (KoTeilnehmer& t : lines)
            if (ko::herkunft(t.text) == group) t.marker = marker(target, size);
    }
    lines = unplaced;
    fillByes(koslots);
    return {KoErgebnis::Gelost, {}};
}

KoErgebnis kolosenfest3(KoPhase& page, int mode, const KoLosdaten& daten, Random& random) {
    return kolosenfest2(page, mode, daten, random);
}

bool koablegen(KoPhase1& page, int index, int slot) {
    if (index < 0 || index >= page.ungesetzt.size() || !validSlot(page.koslots, slot) ||
        !page.koslots[slot].free())
        return false;
    page.koslots[slot] = slotOf(page.ungesetzt.takeAt(index), -1);
    return true;
}

bool koablegenGesetzt(KoPhase1& page, int index, int slot) {
    if (index < 0 || index >= page.gesetzt.size() || !holdsSeed(page.gesetzt[index]) ||
        !validSlot(page.koslots, slot) || !page.koslots[slot].free())
        return false;
    const Myitem& seed = page.gesetzt[index];
    page.koslots[slot] = slotOf(seed, seed.seedNumber);
    page.gesetzt[index] = emptySeedLine(index);
    return true;
}

bool koablegen(KoPhase& page, int index, int slot) {
    if (index < 0 || index >= page.teilnehmer.size() || !validSlot(page.koslots, slot) ||
        !page.koslots[slot].free())
        return false;
    const KoTeilnehmer line = page.teilnehmer.takeAt(index);
    page.koslots[slot] = slotOf(line, line.marker);
    return true;
}

bool kozurueck(KoPhase1& page, int slot) {
    if (!validSlot(page.koslots, slot)) return false;
    koinfo& k = page.koslots[slot];
    if (k.seedNumber >= 0 || k.empty()) return false;
    if (!k.bye()) {
        Myitem entry = itemOf(k);
        entry.seedNumber = -1;
        const auto at = std::find_if(page.ungesetzt.begin(), page.ungesetzt.end(),
                                     [&](const Myitem& m) { return lessGerman(entry.text, m.text); });
        page.ungesetzt.insert(at, entry);
    }
    k = koinfo();
    return true;
}

bool kozurueckGesetzt(KoPhase1& page, int slot) {
    if (!validSlot(page.koslots, slot)) return false;
    koinfo& k = page.koslots[slot];
    const int line = k.seedNumber - 1;
    if (!seededSlot(k) || line >= page.gesetzt.size() || holdsSeed(page.gesetzt[line])) return false;
    page.gesetzt[line] = itemOf(k);
    k = koinfo();
    k.id = 0;
    k.partnerId = 0;
    return true;
}

bool kozurueck(KoPhase& page, int slot) {
    if (!validSlot(page.koslots, slot)) return false;
    koinfo& k = page.koslots[slot];
    if (k.empty()) return false;
    if (!k.bye()) page.teilnehmer.append({k.text, 0, k.club});
    k = koinfo();
    return true;
}

bool kotauschen(KoSlots& koslots, int a, int b) {
    if (a == b || !validSlot(koslots, a) || !validSlot(koslots, b)) return false;
    std::swap(koslots[a], koslots[b]);
    return true;
}

void koallesloeschen(KoPhase1& page) {
    std::fill(page.koslots.begin(), page.koslots.end(), koinfo());
    page.ungesetzt = page.ungesetztKopie;
    page.gesetzt = page.gesetztKopie;
}

void koallesloeschen(KoPhase& page) {
    std::fill(page.koslots.begin(), page.koslots.end(), koinfo());
    page.teilnehmer = page.teilnehmerKopie;
}

bool kogelost(const KoPhase1& page) {
    return page.ungesetzt.isEmpty() && std::none_of(page.gesetzt.begin(), page.gesetzt.end(), holdsSeed);
}

bool kogelost(const KoPhase& page) {
    return page.teilnehmer.isEmpty();
}

QVector<int> kosetzplaetze(Tdb_procedures& db, int spieler) {
    QVector<int> koslots;
    for (const Row& r : db.select(QStringLiteral("SELECT * FROM KO_System WHERE spieler=:s ORDER BY gesetzt"),
                                  {{":s", spieler}}))
        koslots << r.integer(u"position");
    return koslots;
}

QStringList kovereine(Tdb_procedures& db, int kid) {
    QStringList clubs;
    for (const Row& r : db.select(
             QStringLiteral("SELECT COUNT(verein)AS c, verein  FROM (Spieler_im_turnier AS st INNER JOIN "
                            "Spielerdaten AS s ON (st.sid=s.sid AND KID=:ID AND angemeldet=:a)) GROUP BY "
                            "s.verein ORDER BY COUNT(s.verein) DESC, s.verein"),
             {{":ID", kid}, {":a", true}}))
        clubs << r.text(u"verein");
    return clubs;
}
