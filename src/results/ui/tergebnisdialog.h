#pragma once

#include "results/tergebnis_model.h"

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

// The match dialog "Spielverwaltung" over its model: it shows the model's fields, hands every edit to
// the model and leaves every check and message to it. The caller prepares the model for one match and
// then calls zeigen(); what the confirm button did is reported by `bestaetigt`.
// Result entry works from the keyboard alone: type the final result, Tab or Enter into the sets, and
// Enter in the last set confirms.
class TergebnisDialog : public QDialog {
    Q_OBJECT
public:
    explicit TergebnisDialog(Tergebnis& model, QWidget* parent = nullptr);

    // Fills the widgets from the model (page, captions, lists, entries) and sets the focus where the
    // step begins.
    void zeigen();

    QTabWidget* seiten() const { return seiten_; }
    QPushButton* okButton() const { return ok_; }
    QComboBox* ergebnisBox() const { return ergebnis_; }
    QLineEdit* satzFeld(int k) const { return satz_[k]; }
    QComboBox* plattenBox() const { return platten_; }
    QComboBox* schiriBox() const { return schiri_; }
    QCheckBox* next1Box() const { return next1_; }
    QCheckBox* nextBox() const { return next_; }

signals:
    void bestaetigt(const Tergebnis::Ausgang& ausgang);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insModell();
    void satzfreigabe();
    void ergebnisGeaendert(const QString& text);
    bool satzVerlassen(int k);
    void okGeklickt();

    Tergebnis& m_;
    bool fuellen_ = false; // the widgets are being filled from the model: edits are not handed on

    QLabel* platte_;
    QLabel* schiriLabel_;
    QLabel* gruppe_;
    QLabel* spieler1_;
    QLabel* spieler2_;
    QDateEdit* starttag_;
    QLineEdit* startzeit_;
    QTabWidget* seiten_;
    QComboBox* platten_;
    QComboBox* schiri_;
    QLabel* geplanterTisch_;
    QCheckBox* next1_;
    std::array<QCheckBox*, 6> aufruf_{};
    QComboBox* ergebnis_;
    std::array<QLineEdit*, 9> satz_{};
    QCheckBox* schiripool_;
    QCheckBox* next_;
    QPushButton* drucken_;
    QToolButton* druckziel_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
