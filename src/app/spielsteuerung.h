#pragma once

#include "results/ui/tergebnis_team_dialog.h"
#include "results/ui/tergebnisdialog.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <memory>
#include <optional>

class Clock;
class Ergebnisverarbeitung;
class Interaction;
class QAction;
class QMenu;
class QWidget;
class Spielbetrieb;
class SpielplanPanel;
class Tdb_procedures;

// Running the open class from the plan area: what its status cells show, the match dialog a click
// opens (the team match dialog in a team class), the popup of a cell, the class start with its chain of
// offered calls, results through result processing, and the reminders of the main window's timer. After every
// confirmed step the plans are read and drawn again, so the pages always show what the database holds.
class Spielsteuerung : public QObject {
    Q_OBJECT
public:
    Spielsteuerung(SpielplanPanel& panel, QWidget& fenster, Tdb_procedures& db, Interaction& interaction,
                   const Clock& clock, const QString& programDir);
    ~Spielsteuerung() override;

    // The panel has opened and drawn class kid: its free lists and cells are built from the database.
    void klasseGeoeffnet(int kid);
    // "Turnierklasse &starten".
    void starten(int kid);
    // A click on a status cell: the left button opens the dialog on the match's next step, the right
    // one the popup.
    void statusGeklickt(int snr, bool gespiegelt, Qt::MouseButton button);
    // The popup's two actions on the match it was opened for.
    void mauellStarten();
    void zuruecksetzen();
    // The reminder tick.
    void erinnern();
    // The panel drew its pages again (a zoom): the cells get their state back.
    void zellenZeigen();
    // The plans of the open class read and drawn again (the scheduler has changed what they show).
    void neuZeichnen();
    // "Spiel bearbeiten" of the scheduler: the planning page of the match dialog for match snr of class
    // kid, which need not be the class whose plans are open. `planungGeschrieben` follows a confirmation.
    void planungOeffnen(int kid, int snr);
    TergebnisDialog* planungsDialog() const { return planDialog_.data(); }

    Spielbetrieb* betrieb() const { return sb_.get(); }
    Tergebnis* modell() const { return modell_.get(); }
    TergebnisDialog* dialog() const { return dialog_.data(); }
    Tergebnis_team* teamModell() const { return teamModell_.get(); }
    TergebnisTeamDialog* teamDialog() const { return teamDialog_.data(); }
    QMenu* popup() const { return popup_; }
    QAction* mauellAktion() const { return mauell_; }
    QAction* zuruecksetzenAktion() const { return zurueck_; }
    int popupSpiel() const { return popupSnr_; }

signals:
    // The class runs: the reminder timer goes on.
    void klasseLaeuft();
    // The match dialog opened from the scheduler has stored its match's plan.
    void planungGeschrieben();
    // A confirmed step (result, undo, call) was written for class kid: the live results follow it.
    void klasseGeschrieben(int kid);

private:
    void erinnerungenZeigen();
    void bestaetigt(const Tergebnis::Ausgang& a);
    void dialogZu();
    // Offers the next call of `phase` after match `nach`; the chain ends when nothing is left.
    void anbieten(int phase, int nach);
    // Opens the dialog of the class's kind, prepared by its model.
    void dialogOeffnen();
    // The call of match snr offered in the dialog of the class's kind.
    void aufrufOeffnen(int snr);
    bool teamKlasse() const;
    QPixmap bild(int tag) const;

    SpielplanPanel& panel_;
    QWidget& fenster_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    const Clock& clock_;
    QString programDir_;
    std::unique_ptr<Ergebnisverarbeitung> ev_;
    std::unique_ptr<Spielbetrieb> sb_;
    std::unique_ptr<Tergebnis> modell_;
    QPointer<TergebnisDialog> dialog_; // a window of the main window, which may delete it first
    // The scheduler's dialog runs on a class of its own: planning touches no free list of the open class.
    std::unique_ptr<Spielbetrieb> planSb_;
    std::unique_ptr<Tergebnis> planModell_;
    QPointer<TergebnisDialog> planDialog_;
    std::unique_ptr<Tergebnis_team> planTeamModell_;
    QPointer<TergebnisTeamDialog> planTeamDialog_;
    std::unique_ptr<Tergebnis_team> teamModell_;
    QPointer<TergebnisTeamDialog> teamDialog_;
    QMenu* popup_;
    QAction* mauell_;
    QAction* zurueck_;
    int popupSnr_ = 0;
    // The chain of offered calls in progress: its phase and the match offered last.
    std::optional<std::pair<int, int>> kette_;
    bool geschrieben_ = false; // the dialog's confirm button wrote something
    QPixmap bilder_[3];
};
