#include "draw/gruppe.h"

#include "draw/eintragstext.h"
#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QVariant>
#include <algorithm>

const QString Tgruppe::kZuVieleSpieler =
    QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze gemeldet");
const QString Tgruppe::kZuVieleSpieler2 =
    QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze für Phase 2 gemeldet");
const QString Tgruppe::kZuVieleSpieler3 =
    QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze für Phase 3 gemeldet");
const QString Tgruppe::kBestplazierten = QStringLiteral("Bestplazierten muß 0 sein");
const QString Tgruppe::kKeineSpieler2 = QStringLiteral("Es sind keine Spieler für Phase 2 gemeldet");
const QString Tgruppe::kKeineSpieler3 = QStringLiteral("Es sind keine Spieler für Phase 3 gemeldet");
const QString Tgruppe::kGleichesGeschlecht = QStringLiteral("Beide Spieler haben das gleiche Geschlecht");

namespace {

bool lessGerman(const Myitem& a, const Myitem& b) {
    return eintrag::lessGerman(a.text, b.text);
}
using eintrag::pairText;
using eintrag::playerText;

QString seedText(int slot, const QString& text) {
    return QStringLiteral("%1. %2").arg(slot + 1).arg(text);
}

// An empty slot as a seed count change or an emptied slot reads: the number and ".".
Myitem emptySlot(int slot, int id) {
    Myitem item;
    item.id = id;
    item.partnerId = id;
    item.seedNumber = slot + 1;
    item.text = QStringLiteral("%1.").arg(slot + 1);
    return item;
}

QVariant phaseValue(bool exists, int value) {
    return exists ? QVariant(value) : QVariant();
}

} // namespace

Tgruppe::Tgruppe(Tdb_procedures& db, Interaction& interaction) : db_(db), interaction_(interaction) {}

int Tgruppe::index(int n) {
    return std::clamp(n, 1, 3) - 1;
}

bool Tgruppe::phaseVisible(int n) const {
    switch (n) {
    case 1:
        return true;
    case 2:
        return panel_[1];
    case 3:
        return panel_[1] && panel_[2];
    default:
        return false;
    }
}

void Tgruppe::gruppeneinstellungenreset() {
    phases_ = {};
    panel_ = {true, false, false};
    gesetzt_ = 0;
    seeds_.clear();
}

void Tgruppe::laden(int kid, int kind, bool mixed) {
    kid_ = kid;
    kind_ = kind == Team ? Team : (kind == Einzel ? Einzel : Doppel);
    mixed_ = mixed && kind_ == Doppel;
    entries_.clear();
    ohnepartner_.clear();
    // Controls a stored row leaves NULL must not keep the values of the class opened before.
    gruppeneinstellungenreset();
    try {
        loadSettings();
        if (kind_ == Einzel)
            loadSingles();
        else if (kind_ == Doppel)
            loadDoubles();
        else
            loadTeams();
    } catch (...) {
        // Half-read settings must never be stored over the class's real ones.
        entries_.clear();
        ohnepartner_.clear();
        gruppeneinstellungenreset();
        kid_ = 0;
        throw;
    }
}

void Tgruppe::loadSettings() {
    const Row r =
        db_.selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"), {{":k", kid_}});
    if (r.isEmpty()) return;
    for (int n = 1; n <= 3; ++n) {
        const QString phaseColumn = QStringLiteral("phase%1").arg(n);
        if (n > 1) setPanel(n, !r.isNull(phaseColumn));
        Phase& p = phaseRef(n);
        if (n == 1 || !r.isNull(phaseColumn)) p.system = std::max(r.integer(phaseColumn), 0);
        const auto take = [&](const char* name, int& value) {
            const QString column = QString::fromLatin1(name) + QString::number(n);
            if (n == 1 || !r.isNull(column)) value = std::max(r.integer(column), 0);
        };
        take("gruppenanzahl", p.gruppenanzahl);
        take("teilnehmer", p.teilnehmer);
        take("besten", p.besten);
        take("bestplazierten", p.bestplazierten);
    }
    gesetzt_ = std::max(r.integer(u"gesetzt"), 0);
    seeds_.reserve(gesetzt_);
    for (int i = 0; i < gesetzt_; ++i) {
        Myitem slot;
        slot.seedNumber = i + 1;
        slot.text = QStringLiteral("%1. ").arg(i + 1);
        seeds_ << slot;
    }
}

void Tgruppe::placeSeed(int position, Myitem item) {
    // A row beyond the seed count has no slot to fill.
    if (position < 0 || position >= seeds_.size()) return;
    item.seedNumber = position + 1;
    item.text = seedText(position, item.text);
    seeds_[position] = item;
}

void Tgruppe::loadSingles() {
    const Rows players =
        db_.select(QStringLiteral("SELECT s.* FROM Spielerdaten AS s INNER JOIN Spieler_im_Turnier AS t on "
                                  "s.SID=t.SID WHERE KID=:k1"),
                   {{":k1", kid_}});
    entries_.reserve(players.size());
    for (const Row& r : players) {
        Myitem item;
        item.id = r.integer(u"SID");
        item.present = r.boolean(u"angemeldet");
        item.text = playerText(r.text(u"nachname"), r.text(u"vorname"));
        entries_ << item;
    }
    std::sort(entries_.begin(), entries_.end(), lessGerman);

    const Rows seeds = db_.select(
        QStringLiteral("SELECT g.*,s.angemeldet,s.SID as SID1,s.nachname,s.vorname FROM ((Spielerdaten AS s "
                       "INNER JOIN Gesetzt as g ON s.SID=g.SID) INNER JOIN Spieler_im_Turnier as st ON "
                       "(g.SID=st.SID AND g.KID=st.KID)) WHERE g.KID=:k"),
        {{":k", kid_}});
    for (const Row& r : seeds) {
        Myitem item;
        item.id = r.integer(u"SID1");
        item.present = r.boolean(u"angemeldet");
        item.text = playerText(r.text(u"nachname"), r.text(u"vorname"));
        placeSeed(r.integer(u"position"), item);
    }
}

void Tgruppe::loadDoubles() {
    // Each pair is stored twice, once per player, and listed once, by its player with the lower SID (a
    // stable order: engines return rows in storage order, which updates change).
    QSet<int> listed;
    const Rows pairs = db_.select(
        QStringLiteral(
            "SELECT d.SID,s.nachname as n1,s.vorname as v1,s.angemeldet as a1,d.partner_SID,"
            "s1.nachname as n2,s1.vorname as v2,s1.angemeldet as a2 FROM (Doppelpartner as d INNER "
            "JOIN Spielerdaten as s ON d.SID=s.SID) INNER JOIN Spielerdaten as s1 on "
            "d.partner_SID=s1.SID WHERE d.KID=:k1 ORDER BY d.SID"),
        {{":k1", kid_}});
    entries_.reserve(pairs.size());
    for (const Row& r : pairs) {
        const int partner = r.integer(u"partner_SID");
        if (listed.contains(partner)) continue;
        Myitem item;
        item.id = r.integer(u"SID");
        item.partnerId = partner;
        item.present = r.boolean(u"a1") && r.boolean(u"a2");
        item.text = pairText(r.text(u"n1"), r.text(u"v1"), r.text(u"n2"), r.text(u"v2"));
        listed.insert(item.id);
        entries_ << item;
    }

    const Rows players =
        db_.select(QStringLiteral("SELECT angemeldet,partner_SID,s.SID,nachname,vorname,angemeldet FROM "
                                  "Doppelpartner as d INNER JOIN Spielerdaten as s ON d.SID=s.SID WHERE "
                                  "d.KID=:k1"),
                   {{":k1", kid_}});
    for (const Row& r : players) {
        // A partner of 0 names nobody either.
        if (!r.isNull(u"partner_SID") && r.integer(u"partner_SID") > 0) continue;
        Myitem item;
        item.id = r.integer(u"SID");
        item.partnerId = -1;
        item.present = r.boolean(u"angemeldet");
        item.text = playerText(r.text(u"nachname"), r.text(u"vorname"));
        ohnepartner_ << item;
        item.text =
            r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname").left(1) + QStringLiteral(". / ");
        entries_ << item;
    }
    std::sort(entries_.begin(), entries_.end(), lessGerman);
    std::sort(ohnepartner_.begin(), ohnepartner_.end(), lessGerman);

    QHash<int, bool> present;
    for (const Myitem& e : std::as_const(entries_))
        if (e.partnerId > 0) {
            present.insert(e.id, e.present);
            present.insert(e.partnerId, e.present);
        }
    const Rows seeds = db_.select(
        QStringLiteral("SELECT g.*,s.nachname as n1,s.vorname as v1,s1.nachname as n2,s1.vorname as v2 FROM "
                       "(((Gesetzt as g INNER JOIN Doppelpartner as d ON (g.SID=d.SID AND "
                       "g.partner_SID=d.partner_SID AND g.KID=d.KID)) INNER JOIN Spielerdaten AS s ON "
                       "g.SID=s.SID) INNER JOIN Spielerdaten as s1 ON g.partner_SID=s1.SID) WHERE g.KID=:k"),
        {{":k", kid_}});
    for (const Row& r : seeds) {
        Myitem item;
        item.id = r.integer(u"SID");
        item.partnerId = r.integer(u"partner_SID");
        item.present = present.value(item.id);
        item.text = pairText(r.text(u"n1"), r.text(u"v1"), r.text(u"n2"), r.text(u"v2"));
        placeSeed(r.integer(u"position"), item);
    }
}

void Tgruppe::loadTeams() {
    const Rows teams = db_.select(QStringLiteral("SELECT * FROM Teams WHERE KID=:k1"), {{":k1", kid_}});
    entries_.reserve(teams.size());
    for (const Row& r : teams) {
        Myitem item;
        item.id = r.integer(u"MID");
        item.present = r.boolean(u"angemeldet");
        item.text = r.text(u"teamname");
        entries_ << item;
    }
    std::sort(entries_.begin(), entries_.end(), lessGerman);

    const Rows seeds = db_.select(
        QStringLiteral("SELECT g.*,t.MID,t.teamname,t.angemeldet FROM (Teams AS t INNER JOIN Gesetzt AS g ON "
                       "(g.SID=t.MID AND t.KID=:ID)) WHERE g.KID=:k"),
        {{":ID", kid_}, {":k", kid_}});
    for (const Row& r : seeds) {
        Myitem item;
        item.id = r.integer(u"MID");
        item.present = r.boolean(u"angemeldet");
        item.text = r.text(u"teamname");
        placeSeed(r.integer(u"position"), item);
    }
}

void Tgruppe::systemspeichern(int kid) {
    Params settings{{":d1", kid}};
    QVariantList systems, gruppen, teilnehmer, besten, bestplazierten;
    for (int n = 1; n <= 3; ++n) {
        const Phase& p = phase(n);
        const bool exists = phaseVisible(n);
        // A knock-out phase has no groups: its counts are stored as 0.
        const bool groups = p.system == Gruppenphase;
        systems << phaseValue(exists, p.system);
        gruppen << phaseValue(exists, groups ? p.gruppenanzahl : 0);
        teilnehmer << phaseValue(exists, groups ? p.teilnehmer : 0);
        besten << phaseValue(exists, groups ? p.besten : 0);
        bestplazierten << phaseValue(exists, groups ? p.bestplazierten : 0);
    }
    int d = 2;
    for (const QVariantList* column : {&systems, &gruppen, &teilnehmer, &besten, &bestplazierten})
        for (const QVariant& v : *column)
            settings.append({QStringLiteral(":d%1").arg(d++), v});
    settings.append({QStringLiteral(":d17"), gesetzt_});
    settings.append({QStringLiteral(":d18"), QStringLiteral("Platte")});

    Transaction t(db_);
    db_.exec(QStringLiteral("DELETE FROM Gruppeneinstellungen WHERE KID=:k"), {{":k", kid}});
    db_.exec(QStringLiteral("DELETE FROM Gesetzt WHERE KID=:k"), {{":k", kid}});
    db_.exec(QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,"
                            ":d10,:d11,:d12,:d13,:d14,:d15,:d16,:d17,:d18)"),
             settings);
    for (int i = 0; i < seeds_.size(); ++i)
        db_.exec(QStringLiteral("INSERT INTO Gesetzt VALUES (:d1,:d2,:d3,:d4)"),
                 {{":d1", kid}, {":d2", i}, {":d3", seeds_[i].id}, {":d4", seeds_[i].partnerId}});
    t.commit();
}

void Tgruppe::setSpielsystem(int n, int system) {
    Phase& p = phaseRef(n);
    p.system = system;
    const bool knockOut = system != Gruppenphase;
    switch (index(n)) {
    case 0:
        if (knockOut) {
            // A knock-out phase is always the last one.
            phaseRef(2).system = Gruppenphase;
            phaseRef(3).system = Gruppenphase;
            setPanel(2, false);
            setPanel(3, false);
            for (int k = 1; k <= 3; ++k)
                phaseRef(k) = Phase{phase(k).system};
        } else if (p.besten != 0 && p.bestplazierten != 0) {
            setPanel(2, true);
            setPanel(3, true);
        }
        break;
    case 1:
        if (knockOut) {
            phaseRef(3).system = Gruppenphase;
            setPanel(3, false);
            phaseRef(2) = Phase{phase(2).system};
            phaseRef(3) = Phase{phase(3).system};
        } else if (p.besten != 0 && p.bestplazierten != 0) {
            setPanel(3, true);
        }
        break;
    default:
        if (knockOut) p = Phase{p.system};
        break;
    }
}

void Tgruppe::setGruppenanzahl(int n, int value) {
    Phase& p = phaseRef(n);
    p.gruppenanzahl = std::max(value, 0);
    if (p.gruppenanzahl < p.bestplazierten) setBestplazierten(n, p.gruppenanzahl);
}

void Tgruppe::setTeilnehmer(int n, int value) {
    Phase& p = phaseRef(n);
    p.teilnehmer = std::clamp(value, 0, kMaxTeilnehmer);
    if (p.teilnehmer < p.besten) setBesten(n, p.teilnehmer);
}

void Tgruppe::setBesten(int n, int value) {
    Phase& p = phaseRef(n);
    p.besten = std::clamp(value, 0, p.teilnehmer);
    if (index(n) == 2) return; // no phase follows phase 3
    if (p.besten > 0)
        setPanel(n + 1, true);
    else if (p.bestplazierten == 0)
        setPanel(n + 1, false);
}

void Tgruppe::setBestplazierten(int n, int value) {
    Phase& p = phaseRef(n);
    p.bestplazierten = std::clamp(value, 0, p.gruppenanzahl);
    if (index(n) == 2) return;
    if (p.bestplazierten > 0)
        setPanel(n + 1, true);
    else if (p.besten == 0)
        setPanel(n + 1, false);
}

void Tgruppe::setGesetzt(int value) {
    gesetzt_ = std::clamp(value, 0, maxGesetzt());
    while (seeds_.size() < gesetzt_)
        seeds_ << emptySlot(int(seeds_.size()), 0);
    while (seeds_.size() > gesetzt_)
        seeds_.removeLast();
}

bool Tgruppe::seeded(const Myitem& entry) const {
    return std::any_of(seeds_.begin(), seeds_.end(),
                       [&](const Myitem& s) { return s.id > 0 && s.sameEntry(entry); });
}

bool Tgruppe::setzen(int entryIndex, int slot) {
    if (entryIndex < 0 || entryIndex >= entries_.size() || slot < 0 || slot >= seeds_.size()) return false;
    const Myitem& entry = entries_[entryIndex];
    // A player without partner is no entry of the draw yet.
    if (entry.partnerId == -1 || seeded(entry)) return false;
    placeSeed(slot, entry);
    return true;
}

bool Tgruppe::tauschen(int fromSlot, int toSlot) {
    if (fromSlot < 0 || fromSlot >= seeds_.size() || toSlot < 0 || toSlot >= seeds_.size() ||
        fromSlot == toSlot)
        return false;
    std::swap(seeds_[fromSlot], seeds_[toSlot]);
    for (int slot : {fromSlot, toSlot}) {
        Myitem& s = seeds_[slot];
        s.seedNumber = slot + 1;
        const int dot = s.text.indexOf(u'.');
        s.text = QString::number(slot + 1) + (dot < 0 ? QStringLiteral(".") : s.text.mid(dot));
    }
    return true;
}

bool Tgruppe::entfernen(int slot) {
    if (slot < 0 || slot >= seeds_.size()) return false;
    seeds_[slot] = emptySlot(slot, -1);
    return true;
}

bool Tgruppe::paaren(int ohnepartnerIndex, int entryIndex) {
    if (kind_ != Doppel || ohnepartnerIndex < 0 || ohnepartnerIndex >= ohnepartner_.size() ||
        entryIndex < 0 || entryIndex >= entries_.size())
        return false;
    const Myitem dragged = ohnepartner_[ohnepartnerIndex];
    const Myitem target = entries_[entryIndex];
    if (target.partnerId != -1 || target.id == dragged.id) return false;
    const auto targetFull = std::find_if(ohnepartner_.begin(), ohnepartner_.end(),
                                         [&](const Myitem& p) { return p.id == target.id; });
    if (targetFull == ohnepartner_.end()) return false;

    if (mixed_) {
        const bool mannZiel =
            db_.selectOne(QStringLiteral("SELECT mann,frau FROM Spielerdaten WHERE SID=:s1"),
                          {{":s1", target.id}})
                .boolean(u"mann");
        const bool mannGezogen = db_.selectOne(QStringLiteral("SELECT mann FROM Spielerdaten WHERE SID=:s2"),
                                               {{":s2", dragged.id}})
                                     .boolean(u"mann");
        if (mannZiel == mannGezogen) {
            interaction_.warning(kGleichesGeschlecht, Interaction::Button::Cancel);
            return false;
        }
    }

    Myitem pair;
    pair.id = target.id;
    pair.partnerId = dragged.id;
    pair.present = target.present && dragged.present;
    pair.text = targetFull->text + QStringLiteral(" / ") + dragged.text;

    {
        // Both rows or neither: a half-stored pair would list one player twice.
        Transaction t(db_);
        const QString update =
            QStringLiteral("UPDATE Doppelpartner SET partner_SID=:ID WHERE SID=:SID AND KID=:KID");
        db_.exec(update, {{":ID", dragged.id}, {":SID", target.id}, {":KID", kid_}});
        db_.exec(update, {{":ID", target.id}, {":SID", dragged.id}, {":KID", kid_}});
        t.commit();
    }

    const auto single = [](int id) {
        return [id](const Myitem& e) { return e.partnerId == -1 && e.id == id; };
    };
    entries_.removeIf(single(target.id));
    entries_.removeIf(single(dragged.id));
    ohnepartner_.removeIf(single(target.id));
    ohnepartner_.removeIf(single(dragged.id));
    addEntry(pair);
    return true;
}

void Tgruppe::addEntry(const Myitem& item) {
    entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), item, lessGerman) - entries_.begin(),
                    item);
}

QString Tgruppe::pruefen() const {
    const Phase& p1 = phase(1);
    const Phase& p2 = phase(2);
    const Phase& p3 = phase(3);
    const bool group1 = p1.system == Gruppenphase;
    const bool group2 = phaseVisible(2) && p2.system == Gruppenphase;
    const bool group3 = phaseVisible(3) && p3.system == Gruppenphase;

    if (group1 && p1.teilnehmer * p1.gruppenanzahl < entries_.size()) return kZuVieleSpieler;
    if (group1 && p1.besten == p1.teilnehmer && p1.bestplazierten > 0) return kBestplazierten;
    if (phaseVisible(2) && p1.besten == 0 && p1.bestplazierten == 0) return kKeineSpieler2;
    if (group2 && p2.teilnehmer * p2.gruppenanzahl < p1.besten * p1.gruppenanzahl + p1.bestplazierten)
        return kZuVieleSpieler2;
    if (group2 && p2.besten == p2.teilnehmer && p2.bestplazierten > 0) return kBestplazierten;
    if (phaseVisible(3) && p2.besten == 0 && p2.bestplazierten == 0) return kKeineSpieler3;
    if (group3 && p3.teilnehmer * p3.gruppenanzahl < p2.besten * p2.gruppenanzahl + p2.bestplazierten)
        return kZuVieleSpieler3;
    if (group3 && p3.besten == p3.teilnehmer && p3.bestplazierten > 0) return kBestplazierten;
    return {};
}

bool Tgruppe::zurauslosung() {
    const QString refusal = pruefen();
    if (!refusal.isEmpty()) {
        interaction_.warning(refusal, Interaction::Button::Cancel);
        return false;
    }
    systemspeichern(kid_);
    return true;
}
