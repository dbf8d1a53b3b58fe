#pragma once

#include "draw/fertigstellen.h"
#include "draw/gruppenauslosung.h"
#include "draw/koauslosung.h"

#include <QStringList>
#include <QVector>
#include <array>

class Clock;
class Interaction;
class Random;
class Tdb_procedures;

// The draw dialog without its widgets: the pages of the three phases and the tables page, the lists the
// entries and labels come from, the options, the step the operator is on, and every button and drop.
// A phase page is either a group page (group lists) or a knock-out page (a bracket); the draws themselves
// are those of the group and knock-out modules. Nothing is written before fertigstellen().
class Auslosung {
public:
    enum class Modus { Neu = 1, Neuauslosung = 2 };
    static constexpr int kTischseite = 4;

    // A place a line can be dragged from or dropped on.
    struct Ort {
        enum Art {
            Angemeldete,   // "angemeldete Spieler" (phase 1)
            Gesetzte,      // "gesetzte Spieler" (phase 1)
            Teilnehmer,    // "Teilnehmer an Phase 2/3"
            Gruppe,        // a line of a group: index = group within the phase, zeile = line
            Slot,          // a first-stage slot of a bracket: zeile = slot
            Tische,        // "Verfügbare Tische"
            Gruppentische, // the tables of one group: index = group index, zeile = line
        };
        Art art = Angemeldete;
        int phase = 1;
        int index = 0;
        int zeile = -1;
    };

    Auslosung(Tdb_procedures& db, Interaction& interaction, Clock& clock, Random& random);

    // New draw of class kid: every phase is drawn; the first page is phase 1's.
    void neu(int kid);
    // Redraw of phase 2 or 3 with the entrants who qualified; the earlier phases stay as stored. False,
    // with the class loaded for nothing but a new draw, when the class has no such phase to redraw.
    bool neuauslosen(int kid, int phase);

    int kid() const { return kid_; }
    Modus modus() const { return modus_; }
    int abPhase() const { return abPhase_; }
    const gruppeninfos& infos() const { return infos_; }
    bool vorhanden(int n) const { return infos_.vorhanden(n); }
    bool gruppenphase(int n) const { return infos_.gruppenphase(n); }
    // "Gruppenphase", "Einfaches KO-System", "Doppeltes KO-System"; empty for an absent phase.
    QString systemtext(int n) const;

    // Navigation: step 1 to 3 are the phase pages, 4 the tables page.
    int schritt() const { return schritt_; }
    void weiter();
    void zurueck();
    bool weiterAktiv() const;
    bool zurueckAktiv() const;
    bool fertigAktiv() const { return schritt_ == kTischseite; }

    // Options of the pages.
    int auslosungsverfahren = 0; // 0 seeds fixed, 1 seeds drawn
    bool vereinBeachten = false;
    std::array<int, 3> setzverfahren{0, 0, 0};         // phases 2 and 3: 0 "nach System", 1 "Zufall"
    std::array<bool, 3> freiloseZufaellig{false, false, false};
    bool vereinAktiv() const { return vereinAktiv_; }
    bool freiloseAktiv(int n) const { return vorhanden(n) && !gruppenphase(n); }

    // "Losen" of phase n; false when nothing was drawn. A refusal is shown to the operator.
    bool losen(int n);
    bool losenAktiv(int n) const { return losenAktiv_[n - 1]; }
    // "Alles löschen" of phase n: the page's placements undone, its lists as loaded.
    void allesLoeschen(int n);

    // A line dragged from `von` and dropped on `nach`; false when the drop means nothing.
    bool ablegen(const Ort& von, const Ort& nach);
    // The Delete key on a line of a phase 1 group.
    bool entfernen(int gruppe, int zeile);
    // Tables dragged from "Verfügbare Tische" onto the list of group gid.
    void tischeZuordnen(int gid, const QStringList& tische);

    // What the pages show.
    QStringList listentexte(Ort::Art art, int phase = 1) const;
    const QVector<Gruppenliste>& gruppen(int n) const { return gruppen_[n - 1]; }
    const KoSlots& bracket(int n) const;
    int tischmodus() const { return tische_.modus; }
    void setTischmodus(int modus) { tische_.modus = modus; }
    // The groups that get a table list of their own on the tables page: every group of the drawn phases.
    QVector<int> tischgruppen() const;
    QStringList tischeVon(int gid) const { return tische_.tischeVon(gid); }

    // What "Fertig stellen" writes, built from the pages.
    Gruppenauslosung gruppenauslosung() const;
    DrawPlan plan(int tid) const;
    // "Fertig stellen": groups, tables and the match plan in one transaction. Refusals are shown;
    // database errors are thrown after the rollback.
    Fertigstellen::Ergebnis fertigstellen(int tid, const Datendateien& dateien = Datendateien::beimProgramm());

private:
    void loeschen();
    void phaseLaden(int n, bool spieler);
    void seed();
    bool gruppeAblegen(const Ort& von, const Ort& nach);
    bool slotAblegen(const Ort& von, const Ort& nach);
    bool zurueckInListe(const Ort& von, const Ort& nach);
    Myitem& zeile(const Ort& ort);
    KoPhase& koseite(int n) { return ko_[n - 1]; }
    const KoPhase& koseite(int n) const { return ko_[n - 1]; }
    KoLosdaten losdaten(int groesse, int n) const;

    Tdb_procedures& db_;
    Interaction& interaction_;
    Clock& clock_;
    Random& random_;

    int kid_ = 0;
    Modus modus_ = Modus::Neu;
    int abPhase_ = 1;
    int schritt_ = 1;
    bool vereinAktiv_ = false;
    std::array<bool, 3> losenAktiv_{true, true, true};
    gruppeninfos infos_;

    // Phase 1: entries and seeds of a group phase 1, with their copies as loaded.
    QVector<Myitem> angemeldete_, gesetzte_, angemeldeteKopie_, gesetzteKopie_;
    // Phases 2 and 3 as group pages: their participants and copies.
    std::array<QVector<Myitem>, 3> teilnehmer_, teilnehmerKopie_;
    std::array<QVector<Gruppenliste>, 3> gruppen_;
    // Phase 1 as a knock-out page, and phases 2 and 3 as knock-out pages.
    KoPhase1 ko1_;
    std::array<KoPhase, 3> ko_;
    Tischaufteilung tische_;
};
