#pragma once

#include "entries/schiri.h"

#include <QWidget>
#include <memory>

namespace Ui {
class SchiriPanel;
}

struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;

// The panel "Schiedsrichterverwaltung" (objectName `schiripanel`): the umpires of the current
// tournament with their fields and the classes they are available for. It shows the state of
// Schiriverwaltung and forwards the user's actions to it.
class SchiriPanel : public QWidget {
    Q_OBJECT
public:
    SchiriPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                QWidget* parent = nullptr);
    ~SchiriPanel() override;

    // Called when the panel is brought to front ("Schiedsrichter verwalten"): rebuilds every list.
    void showPanel();

    const Schiriverwaltung& verwaltung() const { return verwaltung_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fieldChanged();
    void classSelectionChanged();
    void umpireRowChanged(int row);
    void umpireClicked();
    void chooseRow(int row);
    void newUmpire();
    void save();
    void remove();
    void searchFor(const QString& text);

    void readFields();
    void showAll();
    void showLists();
    void showFields();
    void showSelection();
    void showButton();

    std::unique_ptr<Ui::SchiriPanel> ui_;
    Interaction& interaction_;
    Schiriverwaltung verwaltung_;
    bool updating_ = false; // set while the panel writes its own widgets, so no change is reported
};
