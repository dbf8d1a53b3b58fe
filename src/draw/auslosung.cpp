#include "draw/auslosung.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "common/random.h"
#include "draw/labels.h"

#include <algorithm>

namespace {

bool inRange(int i, qsizetype size) {
    return i >= 0 && i < size;
}

KoTeilnehmerliste koTeilnehmer(const QVector<Myitem>& items) {
    KoTeilnehmerliste list;
    list.reserve(items.size());
    for (const Myitem& m : items) list.append({m.text, 0, m.club});
    return list;
}

QStringList texte(const QVector<Myitem>& items) {
    QStringList out;
    out.reserve(items.size());
    for (const Myitem& m : items) out << m.text;
    return out;
}

QStringList texte(const KoTeilnehmerliste& items) {
    QStringList out;
    out.reserve(items.size());
    for (const KoTeilnehmer& t : items) out << t.text;
    return out;
}

void leeren(QVector<Gruppenliste>& gruppen) {
    for (Gruppenliste& g : gruppen)
        for (Myitem& z : g.zeilen) z = leereZeile();
}

} // namespace

Auslosung::Auslosung(Tdb_procedures& db, Interaction& interaction, Clock& clock, Random& random)
    : db_(db), interaction_(interaction), clock_(clock), random_(random) {}

void Auslosung::loeschen() {
    // Every opening starts from the state of a fresh dialog: options on their first choice, lists empty.
    kid_ = 0;
    modus_ = Modus::Neu;
    abPhase_ = 1;
    schritt_ = 1;
    auslosungsverfahren = 0;
    vereinBeachten = false;
    vereinAktiv_ = false;
    setzverfahren = {0, 0, 0};
    freiloseZufaellig = {false, false, false};
    losenAktiv_ = {true, true, true};
    infos_ = gruppeninfos{};
    angemeldete_.clear();
    gesetzte_.clear();
    angemeldeteKopie_.clear();
    gesetzteKopie_.clear();
    teilnehmer_ = {};
    teilnehmerKopie_ = {};
    gruppen_ = {};
    ko1_ = KoPhase1{};
    ko_ = {};
    tische_ = Tischaufteilung{};
}

void Auslosung::neu(int kid) {
    loeschen();
    kid_ = kid;
    Auslosungsdaten daten = phase1laden(db_, kid);
    infos_ = daten.infos;
    tische_.tische = daten.tische;
    if (infos_.vorhanden(1)) {
        // Both kinds of phase 1 start with club separation on; the operator may switch it off.
        vereinAktiv_ = true;
        vereinBeachten = true;
        if (infos_.gruppenphase(1)) {
            gruppen_[0] = gruppenanlegen(infos_, 1);
            angemeldete_ = angemeldeteKopie_ = daten.angemeldete;
            gesetzte_ = gesetzteKopie_ = daten.gesetzte;
        } else {
            ko1_ = kophase1(daten.angemeldete, daten.gesetzte);
        }
    }
    for (int n = 2; n <= 3; ++n)
        if (infos_.vorhanden(n)) phaseLaden(n, false);
}

bool Auslosung::neuauslosen(int kid, int phase) {
    neu(kid);
    if (phase < 2 || phase > 3 || !infos_.vorhanden(phase)) return false;
    modus_ = Modus::Neuauslosung;
    abPhase_ = phase;
    schritt_ = phase;
    phaseLaden(phase, true);
    return true;
}

void Auslosung::phaseLaden(int n, bool spieler) {
    const QVector<Myitem> liste = spieler ? qualifikantenladen(db_, kid_, n) : qualifikantenlabels(infos_, n);
    if (infos_.gruppenphase(n)) {
        gruppen_[n - 1] = gruppenanlegen(infos_, n);
        teilnehmer_[n - 1] = teilnehmerKopie_[n - 1] = liste;
    } else {
        ko_[n - 1] = kophaseladen(koTeilnehmer(liste));
    }
}

QString Auslosung::systemtext(int n) const {
    if (!vorhanden(n)) return {};
    switch (infos_.system(n)) {
    case gruppeninfos::Gruppenphase:
        return QStringLiteral("Gruppenphase");
    case gruppeninfos::EinfachesKO:
        return QStringLiteral("Einfaches KO-System");
    default:
        return QStringLiteral("Doppeltes KO-System");
    }
}

void Auslosung::weiter() {
    if (schritt_ == kTischseite) return;
    if (schritt_ == 3 || !vorhanden(schritt_ + 1))
        schritt_ = kTischseite;
    else
        ++schritt_;
}

void Auslosung::zurueck() {
    int ziel = schritt_ - 1;
    if (schritt_ == kTischseite) {
        ziel = 3;
        while (ziel > 1 && !vorhanden(ziel)) --ziel;
    }
    // A redraw never goes back to a phase it does not draw.
    if (ziel < 1 || ziel < abPhase_) return;
    schritt_ = ziel;
}

bool Auslosung::weiterAktiv() const {
    return schritt_ != kTischseite;
}

bool Auslosung::zurueckAktiv() const {
    return schritt_ == kTischseite || schritt_ > abPhase_;
}

void Auslosung::seed() {
    random_.reseed(quint64(clock_.now().toMSecsSinceEpoch()));
}

KoLosdaten Auslosung::losdaten(int groesse, int n) const {
    KoLosdaten d;
    d.setzplaetze = kosetzplaetze(db_, groesse);
    d.freiloseZufaellig = freiloseZufaellig[n - 1];
    if (n == 1 && vereinBeachten) d.vereine = kovereine(db_, kid_);
    return d;
}

bool Auslosung::losen(int n) {
    if (n < 1 || n > 3 || !vorhanden(n) || !losenAktiv_[n - 1]) return false;
    if (gruppenphase(n)) {
        if (n == 1) {
            const bool gesetzt = std::any_of(gesetzte_.begin(), gesetzte_.end(), [](const Myitem& m) { return m.id > 0; });
            if (angemeldete_.isEmpty() && !gesetzt) return false;
            seed();
            if (vereinBeachten)
                gruppenlosenvereinfest(gruppen_[0], gesetzte_, angemeldete_, vereineladen(db_, kid_, infos_.kind),
                                       auslosungsverfahren, random_);
            else
                gruppenlosenfest(gruppen_[0], gesetzte_, angemeldete_, auslosungsverfahren, random_);
        } else {
            if (teilnehmer_[n - 1].isEmpty()) return false;
            seed();
            gruppenlosenfest2(gruppen_[n - 1], teilnehmer_[n - 1], setzverfahren[n - 1], random_);
        }
        losenAktiv_[n - 1] = false;
        return true;
    }

    KoErgebnis e;
    if (n == 1) {
        const KoLosdaten d = losdaten(int(ko1_.koslots.size()), 1);
        seed();
        e = vereinBeachten ? kolosenfestverein(ko1_, auslosungsverfahren, d, random_)
                           : kolosenfest(ko1_, auslosungsverfahren, d, random_);
    } else {
        KoPhase& page = koseite(n);
        const KoLosdaten d = losdaten(int(page.koslots.size()), n);
        seed();
        e = n == 2 ? kolosenfest2(page, setzverfahren[1], d, random_) : kolosenfest3(page, setzverfahren[2], d, random_);
    }
    if (e.status == KoErgebnis::ZuVieleGesetzte) interaction_.warning(e.meldung);
    if (e.status != KoErgebnis::Gelost) return false;
    losenAktiv_[n - 1] = false;
    return true;
}

void Auslosung::allesLoeschen(int n) {
    if (n < 1 || n > 3 || !vorhanden(n)) return;
    if (gruppenphase(n)) {
        leeren(gruppen_[n - 1]);
        if (n == 1) {
            angemeldete_ = angemeldeteKopie_;
            gesetzte_ = gesetzteKopie_;
        } else {
            teilnehmer_[n - 1] = teilnehmerKopie_[n - 1];
        }
    } else if (n == 1) {
        koallesloeschen(ko1_);
    } else {
        koallesloeschen(koseite(n));
    }
    losenAktiv_[n - 1] = true;
}

const KoSlots& Auslosung::bracket(int n) const {
    return n == 1 ? ko1_.koslots : koseite(n).koslots;
}

Myitem& Auslosung::zeile(const Ort& ort) {
    return gruppen_[ort.phase - 1][ort.index].zeilen[ort.zeile];
}

bool Auslosung::ablegen(const Ort& von, const Ort& nach) {
    if (von.phase < 1 || von.phase > 3 || nach.phase < 1 || nach.phase > 3) return false;
    switch (nach.art) {
    case Ort::Gruppe:
        return gruppeAblegen(von, nach);
    case Ort::Slot:
        return slotAblegen(von, nach);
    case Ort::Angemeldete:
    case Ort::Gesetzte:
    case Ort::Teilnehmer:
        return zurueckInListe(von, nach);
    case Ort::Gruppentische:
        if (von.art != Ort::Tische || !inRange(von.zeile, tische_.tische.size())) return false;
        tischeZuordnen(nach.index, {tische_.tische[von.zeile]});
        return true;
    case Ort::Tische: {
        if (von.art != Ort::Gruppentische) return false;
        const QStringList liste = tische_.tischeVon(von.index);
        if (tische_.modus != Tischaufteilung::fest || !inRange(von.zeile, liste.size())) return false;
        tische_.entfernen(von.index, liste[von.zeile]);
        return true;
    }
    }
    return false;
}

bool Auslosung::gruppeAblegen(const Ort& von, const Ort& nach) {
    const int n = nach.phase;
    if (!gruppenphase(n) || !inRange(nach.index, gruppen_[n - 1].size())) return false;
    QVector<Myitem>& zeilen = gruppen_[n - 1][nach.index].zeilen;
    if (!inRange(nach.zeile, zeilen.size())) return false;
    Myitem& ziel = zeilen[nach.zeile];

    if (von.art == Ort::Gruppe) {
        // Within one group two lines change places; the line numbers stay where they are.
        if (von.phase != n || von.index != nach.index || !inRange(von.zeile, zeilen.size()) ||
            von.zeile == nach.zeile)
            return false;
        std::swap(zeilen[von.zeile], ziel);
        return true;
    }
    if (!ziel.text.isEmpty()) return false;
    if (n == 1 && von.art == Ort::Angemeldete) {
        if (!inRange(von.zeile, angemeldete_.size())) return false;
        ziel = angemeldete_.takeAt(von.zeile);
        return true;
    }
    if (n == 1 && von.art == Ort::Gesetzte) {
        if (!inRange(von.zeile, gesetzte_.size()) || gesetzte_[von.zeile].id <= 0) return false;
        ziel = gesetzte_[von.zeile];
        gesetzte_[von.zeile] = leereZeile();
        return true;
    }
    if (n > 1 && von.art == Ort::Teilnehmer && von.phase == n) {
        QVector<Myitem>& liste = teilnehmer_[n - 1];
        if (!inRange(von.zeile, liste.size())) return false;
        ziel = liste.takeAt(von.zeile);
        return true;
    }
    return false;
}

bool Auslosung::slotAblegen(const Ort& von, const Ort& nach) {
    const int n = nach.phase;
    if (!vorhanden(n) || gruppenphase(n)) return false;
    if (von.art == Ort::Slot) {
        if (von.phase != n || von.zeile == nach.zeile) return false;
        return kotauschen(n == 1 ? ko1_.koslots : koseite(n).koslots, von.zeile, nach.zeile);
    }
    if (n == 1 && von.art == Ort::Angemeldete) return koablegen(ko1_, von.zeile, nach.zeile);
    if (n == 1 && von.art == Ort::Gesetzte) return koablegenGesetzt(ko1_, von.zeile, nach.zeile);
    if (n > 1 && von.art == Ort::Teilnehmer && von.phase == n) return koablegen(koseite(n), von.zeile, nach.zeile);
    return false;
}

bool Auslosung::zurueckInListe(const Ort& von, const Ort& nach) {
    const int n = von.phase;
    if (von.art == Ort::Slot) {
        if (!vorhanden(n) || gruppenphase(n)) return false;
        if (n == 1 && nach.art == Ort::Angemeldete) return kozurueck(ko1_, von.zeile);
        if (n == 1 && nach.art == Ort::Gesetzte) return kozurueckGesetzt(ko1_, von.zeile);
        if (n > 1 && nach.art == Ort::Teilnehmer && nach.phase == n) return kozurueck(koseite(n), von.zeile);
        return false;
    }
    if (von.art != Ort::Gruppe || !gruppenphase(n) || !inRange(von.index, gruppen_[n - 1].size()) ||
        !inRange(von.zeile, gruppen_[n - 1][von.index].zeilen.size()))
        return false;
    if (n == 1) return (nach.art == Ort::Angemeldete || nach.art == Ort::Gesetzte) && entfernen(von.index, von.zeile);
    if (nach.art != Ort::Teilnehmer || nach.phase != n) return false;
    Myitem& z = zeile(von);
    if (z.text.isEmpty()) return false;
    teilnehmer_[n - 1].append(z);
    z = leereZeile();
    return true;
}

bool Auslosung::entfernen(int gruppe, int zeile) {
    if (!gruppenphase(1) || !inRange(gruppe, gruppen_[0].size()) ||
        !inRange(zeile, gruppen_[0][gruppe].zeilen.size()))
        return false;
    Myitem& z = gruppen_[0][gruppe].zeilen[zeile];
    if (z.text.isEmpty()) return false;
    if (z.seedNumber >= 1) {
        // A seed goes back to its own line of the seed list, never among the unseeded entries.
        const int i = z.seedNumber - 1;
        if (!inRange(i, gesetzte_.size()) || gesetzte_[i].id > 0) return false;
        gesetzte_[i] = z;
    } else {
        angemeldete_.append(z);
    }
    z = leereZeile();
    return true;
}

void Auslosung::tischeZuordnen(int gid, const QStringList& tische) {
    if (tische_.modus != Tischaufteilung::fest || !tischgruppen().contains(gid)) return;
    QStringList bekannt;
    for (const QString& t : tische)
        if (tische_.tische.contains(t)) bekannt << t;
    tische_.zuordnen(gid, bekannt);
}

QVector<int> Auslosung::tischgruppen() const {
    QVector<int> gids;
    for (int n = abPhase_; n <= 3; ++n)
        if (gruppenphase(n))
            for (int i = 0; i < infos_.gruppen(n); ++i) gids << infos_.ersteGid(n) + i;
    return gids;
}

QStringList Auslosung::listentexte(Ort::Art art, int phase) const {
    switch (art) {
    case Ort::Angemeldete:
        return gruppenphase(1) ? texte(angemeldete_) : texte(ko1_.ungesetzt);
    case Ort::Gesetzte: {
        QStringList out;
        if (gruppenphase(1))
            for (int i = 0; i < gesetzte_.size(); ++i) out << setzlistentext(i, gesetzte_[i]);
        else
            for (int i = 0; i < ko1_.gesetzt.size(); ++i) out << ko::setzzeile(ko1_.gesetzt[i], i);
        return out;
    }
    case Ort::Teilnehmer:
        if (phase < 2 || phase > 3) return {};
        return gruppenphase(phase) ? texte(teilnehmer_[phase - 1]) : texte(koseite(phase).teilnehmer);
    case Ort::Tische:
        return tische_.tische;
    case Ort::Gruppentische:
        return tische_.tischeVon(phase);
    default:
        return {};
    }
}

Gruppenauslosung Auslosung::gruppenauslosung() const {
    Gruppenauslosung a;
    a.kid = kid_;
    a.abPhase = abPhase_;
    a.infos = infos_;
    a.gruppen = gruppen_;
    a.tische = tische_;
    return a;
}

DrawPlan Auslosung::plan(int tid) const {
    DrawPlan p;
    p.kid = kid_;
    p.tid = tid;
    p.kind = infos_.kind;
    p.redraw = modus_ == Modus::Neuauslosung;
    p.redrawPhase = p.redraw ? abPhase_ : 0;
    for (int n = 1; n <= 3; ++n) {
        PhasePlan& ph = p.phases[n - 1];
        if (!vorhanden(n)) continue;
        ph.system = infos_.system(n);
        ph.firstGid = infos_.ersteGid(n);
        // Only the redrawn phase holds players; the phases after it hold labels again.
        const bool spieler = p.redraw && n == abPhase_;
        if (gruppenphase(n)) {
            for (const Gruppenliste& g : gruppen_[n - 1]) {
                QVector<PlanSlot> zeilen;
                for (int q = 0; q < g.zeilen.size(); ++q) {
                    const Myitem& z = g.zeilen[q];
                    PlanSlot s;
                    s.text = z.text;
                    if (z.text.isEmpty()) {
                        s.id = -1;
                    } else if (n == 1 || spieler) {
                        s.id = z.id;
                    } else {
                        s.parentGID = labels::getparentGID(g.zeilentext(q));
                        s.parentpos = labels::getparentpos(z.text);
                    }
                    zeilen << s;
                }
                ph.groups << zeilen;
            }
        } else {
            for (const koinfo& k : bracket(n)) {
                PlanSlot s;
                s.id = k.empty() ? -2 : k.id;
                s.text = k.empty() ? ko::kFreilos : k.text;
                if (n > 1 && !spieler) {
                    s.parentGID = labels::getparentGID(s.text);
                    s.parentpos = labels::getparentpos(s.text);
                }
                ph.bracket << s;
            }
        }
    }

    const QVector<Myitem>& gesetzt = gruppenphase(1) ? gesetzte_ : ko1_.gesetzt;
    p.ungelost.eintraege = int(gruppenphase(1) ? angemeldete_.size() : ko1_.ungesetzt.size());
    p.ungelost.gesetzte = int(std::count_if(gesetzt.begin(), gesetzt.end(), [](const Myitem& m) { return m.id > 0; }));
    p.ungelost.phase2 = int(listentexte(Ort::Teilnehmer, 2).size());
    p.ungelost.phase3 = int(listentexte(Ort::Teilnehmer, 3).size());
    return p;
}

Fertigstellen::Ergebnis Auslosung::fertigstellen(int tid, const Datendateien& dateien) {
    Fertigstellen f(db_, interaction_, dateien);
    const Gruppenauslosung a = gruppenauslosung();
    return f.fertigstellen(plan(tid), [&] { gruppenspeichern(db_, a); });
}
