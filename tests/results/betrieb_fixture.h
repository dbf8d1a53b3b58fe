#pragma once

// A class being run at the desk: drawn and written through the draw's own stores, with umpires, a fixed
// clock, the running of the class and its match dialog, all without a window.
#include "common/clock.h"
#include "play/spielbetrieb.h"
#include "results/ergebnisverarbeitung.h"
#include "results/tergebnis_model.h"
#include "spielklasse.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <memory>
#include <type_traits>

namespace betriebtest {

using namespace spielklasse;

inline std::string str(const QString& s) {
    return s.toStdString();
}

// P is the engine (DbKind) for cases run on both engines, or a case of a table run on the file database.
template <class P>
class BetriebT : public ::testing::TestWithParam<P> {
protected:
    const QDateTime t0{QDate(2026, 5, 1), QTime(10, 0)};

    void SetUp() override {
        DbKind kind = DbKind::File;
        if constexpr (std::is_same_v<P, DbKind>) kind = this->GetParam();
        VELMORA_SKIP_WITHOUT_SERVER(kind);
        tdb = std::make_unique<TestDatabase>(kind);
        clock = std::make_unique<FixedClock>(t0);
    }

    void TearDown() override {
        dialog.reset();
        sb.reset();
        ev.reset();
        tdb.reset();
    }

    Tdb_procedures& db() { return tdb->db(); }

    // Umpires of the tournament entered for the class; `da` is whether they are marked present.
    void schiri(int id, const QString& nn, const QString& vn, bool da = true) {
        db().exec(QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname, svname, sangemeldet) VALUES "
                                 "(1,:i,:n,:v,:a)"),
                  {{":i", id}, {":n", nn}, {":v", vn}, {":a", da}});
        db().exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (1,:i,:k)"), {{":i", id}, {":k", kKid}});
    }

    // Opens the plans of the class (after it was written).
    void oeffnen() {
        ev = std::make_unique<Ergebnisverarbeitung>(db(), ui, [](tabelle::Vergleich&) {});
        sb = std::make_unique<Spielbetrieb>(db(), ui, *clock, kKid,
                                            QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/ko_system.txt"));
        dialog = std::make_unique<Tergebnis>(*sb, *ev);
        sb->klasseOeffnen();
    }

    // One group of four (101-104) on the shared tables "1" and "2", its first two into a final (match 7).
    void gruppeMitFinale(int saetze = 3) {
        PhasePlan ko = bracket(PhasePlan::EinfachesKO,
                               {label("Sieger Gruppe A", 0, 0), label("Zweiter Gruppe A", 0, 1)}, 1);
        DrawPlan plan;
        plan.phases = {gruppen(1, 4), ko, PhasePlan{}};
        anlegen(db(), {Phase{0, 1, 4, 2, 0}, Phase{1}, Phase{}}, plan, 0, saetze);
    }

    // A knock-out of eight with two byes: 101 and 102 meet byes in the first round.
    void koMitFreilosen() {
        QVector<PlanSlot> felder;
        const PlanSlot freilos{-2, QStringLiteral("Freilos")};
        felder << eintrag(101) << freilos << eintrag(104) << eintrag(105) << eintrag(103) << eintrag(106)
               << freilos << eintrag(102);
        DrawPlan plan;
        plan.phases = {bracket(PhasePlan::EinfachesKO, felder), PhasePlan{}, PhasePlan{}};
        anlegen(db(), {Phase{1}, Phase{}, Phase{}}, plan);
    }

    SpielplanRow spiel(int snr) { return spielklasse::spiel(db(), snr); }
    StateTag tag(int snr) const { return sb->zelle(snr).tag; }
    QStringList liste(const QString& name) const { return sb->listen().liste(name); }

    // The call dialog of a match, confirmed on `platte` with `schiri`.
    Tergebnis::Ausgang aufrufen(int snr, const QString& platte = {}, const QString& schiriName = {}) {
        dialog->spielaufrufen1(snr);
        if (!platte.isEmpty()) dialog->plattenGewaehlt(platte);
        dialog->schiricombo = schiriName;
        return dialog->okClick();
    }
    Tergebnis::Ausgang starten(int snr) {
        dialog->spielaufgerufen(snr);
        return dialog->okClick();
    }
    Tergebnis::Ausgang ergebnis(int snr, const QString& erg, const QStringList& saetze, bool next = false) {
        dialog->spielstarten(snr);
        dialog->ergebnisGewaehlt(erg);
        for (int k = 0; k < saetze.size(); ++k)
            dialog->satz[k] = saetze[k];
        dialog->next = next;
        return dialog->okClick();
    }

    std::unique_ptr<TestDatabase> tdb;
    ScriptedInteraction ui;
    std::unique_ptr<FixedClock> clock;
    std::unique_ptr<Ergebnisverarbeitung> ev;
    std::unique_ptr<Spielbetrieb> sb;
    std::unique_ptr<Tergebnis> dialog;
};

using BetriebTest = BetriebT<DbKind>;

} // namespace betriebtest
