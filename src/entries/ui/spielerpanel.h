#pragma once

#include "entries/spieler.h"

#include <QWidget>
#include <memory>

class Clock;
class QComboBox;
class QLineEdit;
class QListWidget;
class TR_Nummer;

namespace Ui {
class SpielerPanel;
}

// The panel "Spielerverwaltung" (objectName `spielerverwaltung`): players, their class entries, partner
// lines and start numbers. It shows the state of Spielerverwaltung and forwards every input to it.
class SpielerPanel : public QWidget {
    Q_OBJECT
public:
    SpielerPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                 QWidget* parent = nullptr);
    ~SpielerPanel() override;

    // "Spieler verwalten": the main window calls this whenever it brings the panel to the front.
    void showPanel();
    // The doubles pairing behind the partner lines (not owned; null: none).
    void setPairingHook(PairingHook* hook);

    Spielerverwaltung& model() { return model_; }
    // The start-number dialog "Rückennummern" ("Nummern anzeigen"); created on first use.
    TR_Nummer* startNumberDialog();

public slots:
    // Shows the model's state again, e.g. after the pairing dialog replaced a partner line.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename F> void guarded(F&& action);
    void connectInputs();
    void fieldEdited();
    void classSelectionChanged();
    void focusField(SpielerFeld field);
    void fillPlayerList();
    void fillValueLists();
    void fillClassList();
    void syncSelections();
    QComboBox* combo(Werteliste list) const;

    std::unique_ptr<Ui::SpielerPanel> ui_;
    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    Clock& clock_;
    Spielerverwaltung model_;
    TR_Nummer* startNumbers_ = nullptr;
    bool filling_ = false;
    int shownPlayerVersion_ = -1;
    int shownValueVersion_ = -1;
    int shownClassVersion_ = -1;
};
