#pragma once

#include "store/tournamentrecord.h"

#include <QWidget>
#include <memory>

struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;
namespace Ui {
class TurnierPanel;
}

// The panel "neuesTurnier": shows and edits the descriptive record of the open tournament.
class TurnierPanel : public QWidget {
    Q_OBJECT
public:
    TurnierPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                 QWidget* parent = nullptr);
    ~TurnierPanel() override;

    // Every text empty, the four dates today.
    void clearFields();
    // Shows the stored record of tournament tid; does nothing when there is none.
    void fillFields(int tid);
    // The create operation's first save: takes the name, inserts the record at once and becomes the
    // current tournament. Gives the new TID, or 0 when the insert failed (the error was shown).
    int createSave(const QString& name, const TournamentOptions& options = {});
    // After a load: nothing to save yet.
    void setLoadedState();
    void showFirstPage();

    // The record as the fields show it.
    TournamentRecord record() const;

signals:
    void tournamentInserted(int tid);
    void anmeldeformularRequested();

private:
    void markChanged();
    bool save();

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    Clock& clock_;
    std::unique_ptr<Ui::TurnierPanel> ui_;
    TournamentOptions createOptions_{};
};
