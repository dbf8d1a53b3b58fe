#pragma once

#include "draw/gruppe.h"

#include <QWidget>
#include <array>

class Clock;
class GruppenListe;
class Interaction;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class Tdb_procedures;
struct AppState;

// The panel `Gruppen`: how one class is played (up to three phases with their group counts), its seed
// list and, in doubles and mixed classes, the pairing of players without partner. It shows the state of
// Tgruppe and forwards every change to it.
class GruppenPanel : public QWidget {
    Q_OBJECT
public:
    GruppenPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                 QWidget* parent = nullptr);

    // Opens a class chosen in the class bar. kind is the class's system (0 Einzel, 1 Doppel, 2 Mixed,
    // 3 Team); a negative kind (no class) does nothing.
    void openClass(int kid, int kind, const QString& caption);

    const Tgruppe& gruppe() const { return gruppe_; }

signals:
    // "Zur Auslosung -->" passed its checks and stored the settings: the class is ready for its draw.
    void drawRequested(int kid);

private:
    struct PhaseControls {
        QGroupBox* panel = nullptr;
        std::array<QRadioButton*, 3> system{};
        QWidget* gruppeneinstellung = nullptr;
        QSpinBox* gruppenanzahl = nullptr;
        QSpinBox* teilnehmer = nullptr;
        QSpinBox* besten = nullptr;
        QSpinBox* bestplazierten = nullptr;
    };

    QWidget* buildPhase(int n);
    QWidget* buildSettingsPage();
    QWidget* buildListsPage();

    void systemChosen(int phase, int system);
    void countChanged(int phase, QSpinBox* spin, int value);
    void gesetztChanged(int value);
    void lineDropped(GruppenListe* target, const QString& source, int sourceRow, int targetRow);
    void speichern();
    void zurAuslosung();

    void showAll();
    void showSettings();
    void showLists();

    AppState& state_;
    Interaction& interaction_;
    Tgruppe gruppe_;
    bool updating_ = false; // set while the panel writes its own widgets, so no change is reported

    QLabel* titel_ = nullptr;
    QTabWidget* seiten_ = nullptr;
    std::array<PhaseControls, 3> phases_{};
    QSpinBox* gesetzt_ = nullptr;
    QLabel* gemeldetCaption_ = nullptr;
    QLabel* gesetztCaption_ = nullptr;
    QLabel* anzahl_ = nullptr;
    GruppenListe* gemeldet_ = nullptr;
    GruppenListe* gesetztListe_ = nullptr;
    GruppenListe* ohnepartner_ = nullptr;
    QGroupBox* doppelpanel_ = nullptr;
    QPushButton* speichern_ = nullptr;
    QPushButton* auslosung_ = nullptr;
};
