#pragma once

#include "results/tergebnis_team_model.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

// The team match dialog "Spielverwaltung" (`Tergebnis_team`) over its model: the line-up of both teams
// in the header, one row per rubber on the pages "Spielplanung" and "Fertig", the calls on "Spiel
// aufgerufen". It shows the model's fields, hands every edit to the model and leaves every check and
// message to it. The caller prepares the model for one match and calls zeigen().
class TergebnisTeamDialog : public QDialog {
    Q_OBJECT
public:
    explicit TergebnisTeamDialog(Tergebnis_team& model, QWidget* parent = nullptr);

    void zeigen();

    QTabWidget* seiten() const { return seiten_; }
    QPushButton* okButton() const { return ok_; }
    QCheckBox* next1Box() const { return next1_; }
    QCheckBox* nextBox() const { return next_; }

signals:
    void bestaetigt(const Tergebnis::Ausgang& ausgang);

private:
    struct Zeile {
        QLabel* spiel;
        QDateEdit* tag;
        QLineEdit* zeit;
        QComboBox* tisch;
        QComboBox* schiri;
        QLabel* sp;
        QComboBox* erg;
        std::array<QLineEdit*, 9> satz;
    };
    // The line-up boxes of one team: singles 1 … 4, then doubles 1 and 2.
    using Aufstellung = std::array<QComboBox*, 6>;

    void insModell();
    void satzfreigabe(int n);
    void okGeklickt();

    Tergebnis_team& m_;
    bool fuellen_ = false; // the widgets are being filled from the model: edits are not handed on

    QLabel* team1_;
    QLabel* team2_;
    QLabel* gruppe_;
    std::array<Aufstellung, 2> aufstellung_{};
    std::array<QLabel*, 4> spielerLabel_{};
    QTabWidget* seiten_;
    std::array<Zeile, Tergebnis_team::kRubbers> zeilen_{};
    QCheckBox* next1_;
    std::array<QCheckBox*, 6> aufruf_{};
    QComboBox* ergebnis_;
    QCheckBox* schiripool_;
    QCheckBox* next_;
    QToolButton* druckziel_ = nullptr;
    QPushButton* drucken_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
