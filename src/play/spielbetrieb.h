#pragma once

#include "play/freilisten.h"
#include "play/matchrecord.h"
#include "play/plandaten.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Clock;
class Ergebnisverarbeitung;
class Interaction;
class Tdb_procedures;

// What the status cell of a match shows: its state tag and, once finished, the result and the sets as
// hint, for the cell `status<snr>` (seen from side 1) and the mirrored cell `statusx<snr>` of a group
// cross table (seen from side 2).
struct Statuszelle {
    StateTag tag = StateTag::Waiting;
    QString text;
    QString hint;
    QString textx;
    QString hintx;
    bool operator==(const Statuszelle&) const = default;
};

// The hint of a finished cell: the stored sets seen from side 1 ("+9, -7, +3") or from side 2.
QString satzhinweis(const Saetze& s, bool ausSicht2);
// The hint of a cell not finished yet: what the match dialog or the scheduler planned, one line each:
// "Geplant: 12.12.2026 14:30", "Tisch: T1", "Schiedsrichter: Huber, Eva"; empty without a planned day or
// time.
QString planhinweis(const SpielplanRow& m);

// The running of one class: its free lists, the state of every match's status cell, the class start, the
// offers of matches to call and the reminders about players and umpires who have not turned up. Holds no
// widget; the plan area shows what it holds and calls it on every click.
class Spielbetrieb {
public:
    static const QString kTurnierGestartet;   // " - Turnier gestartet"
    static const QString kNichtStartbar;      // "Dieses Spiel kann nicht gestartet werden"
    static const QString kNichtZuruecksetzen; // "Spiel kann nicht weiter zurückgesetzt werden"
    static const QString kMehrereSpiele;      // "Es können mehrere Spiele betroffen sein. Fortsetzten?"
    static constexpr int kInfoZeilen = 10;

    Spielbetrieb(Tdb_procedures& db, Interaction& ui, const Clock& clock, int kid, QString koSystemPath);

    Tdb_procedures& db() { return db_; }
    Interaction& ui() { return ui_; }
    const Clock& clock() const { return clock_; }
    int kid() const { return kid_; }

    // Draws the plans anew (`planshow`): reads the class, builds the free lists afresh, every cell waiting;
    // for a class that is running (a match called, started or finished) the status is rebuilt and the
    // reminder timer runs. The reminder list is kept; opening a class empties it (`klasseOeffnen`).
    void planshow();
    // The same from data the plan area has just read for its drawings, so nothing is read twice.
    void planshow(PlanDaten d);
    void klasseOeffnen();
    const PlanDaten& daten() const { return daten_; }

    // Rebuilds the state of every cell from the database and takes what called and started matches use
    // out of the free lists. A team class runs team_statusladen.
    void statusladen();
    // The same for a team class: a called or started team match holds both teams, the tables of all its
    // rubbers and their umpires; a finished one shows its team result (its sets are its rubbers').
    void team_statusladen();
    // Whether an open match could be called now: both sides known, both players and a table free.
    bool spielmoeglich(int gruppe, int SID1, int SID2) const;
    // After a call: an open match whose table or player has just been taken waits again.
    void planupdate();

    // The match the next offer of `phase` goes to, after match `nach` (0: from the start), in match-number
    // order: the first open match of that phase whose sides and a table are free. Nothing when none is
    // left, or when an open match of another phase comes first. A bye match is never called and is
    // passed over.
    std::optional<int> naechstesAngebot(int phase, int nach = 0) const;
    // The matches of `phase` that would be offered now, before any of them is called.
    QVector<int> possiblegames(int phase) const;
    // Offers the matches one by one, each after the previous offer has been answered, so a call seen in
    // between takes its players and table out of the later offers. `anbieten` shows the call of one match
    // and gives false when the operator ended the chain ("nächstes mögliches Spiel aufrufen" unticked).
    using Anbieter = std::function<bool(int snr)>;
    void possiblegames(int phase, const Anbieter& anbieten);

    // "Turnierklasse &starten": marks every phase-1 match with two names playable, offers the playable
    // ones, then starts the reminders. False when the class runs already.
    bool turniergo(const Anbieter& anbieten);
    // The button "Turnierklasse &starten" is enabled exactly while no match is called, started or finished.
    bool turniergoEnabled() const { return turniergoEnabled_; }
    bool timerEnabled() const { return timerEnabled_; }
    // Choosing an item of the tournament, class or player bar stops the reminders.
    void timerStoppen() { timerEnabled_ = false; }

    // The reminder tick (every minute while the timer runs): a line for every player and umpire of a
    // called match whose last call was more than five minutes ago.
    void Timer1Timer();
    // The reminder list `sp_info`: at most ten lines, newest first.
    const QStringList& sp_info() const { return sp_info_; }

    // --- Status cells ---------------------------------------------------------------------------------
    Statuszelle zelle(int snr) const { return zellen_.value(snr); }
    const QMap<int, Statuszelle>& zellen() const { return zellen_; }
    void setTag(int snr, StateTag tag) { zellen_[snr].tag = tag; }

    Freilisten& listen() { return listen_; }
    const Freilisten& listen() const { return listen_; }

    // --- Giving back to the free lists -----------------------------------------------------------------
    // A table freed by a match of group `gruppe`: with tables of their own per group back to the group's
    // list, with shared tables to every table list.
    void platteZurueck(const QString& platte, int gruppe);
    // The table mode of a group (1: own tables, 0: shared); 0 outside groups.
    int plattensystem(int gruppe);
    // The table is one of the tables of the class (Platten1): only such a table typed into a rubber row
    // goes back to the free lists.
    bool plattencheck(const QString& platte);

    // --- Match actions on the plan --------------------------------------------------------------------
    // "Spiel zurücksetzen": the match one state back. Refused for an open match; a finished match asks
    // first. Returns true when something was written.
    bool spielZuruecksetzen(int snr, Ergebnisverarbeitung& ev);
    // "Spiel mauell starten" is allowed only for a match whose two sides are real entries; shows the
    // refusal otherwise.
    bool mauellStartbar(int snr);

private:
    Statuszelle zelleFuer(const SpielplanRow& m) const;
    void zurueckNachAufruf(const SpielplanRow& m);

    Tdb_procedures& db_;
    Interaction& ui_;
    const Clock& clock_;
    int kid_;
    QString koSystemPath_;
    PlanDaten daten_;
    Freilisten listen_;
    QMap<int, Statuszelle> zellen_;
    QStringList sp_info_;
    bool turniergoEnabled_ = true;
    bool timerEnabled_ = false;
};

// The step a left click on a status cell opens, by its tag (`statusClick`).
enum class Dialogmodus { Uebernehmen, Aufrufen, SpielStarten, SpielBeendet, Korrigieren };
Dialogmodus modusFuer(StateTag tag);
// The caption of the confirm button of the match dialog in that step.
QString okCaption(Dialogmodus m);
