#pragma once

#include "common/interaction.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

// The print-size dialog of the printed plans ("Drucken"): five print sizes, each captioned with the pages
// it takes in the chosen format, portrait or landscape, and where the printout goes. Group sheets show
// only the destination.
class Tdruck_form : public QDialog {
    Q_OBJECT
public:
    explicit Tdruck_form(QWidget* parent = nullptr);

    // Size 2 and "Hochformat" chosen again; without captions the sizes and formats are hidden.
    void vorbereiten(const Interaction::Groessentexte& groessen);
    // The choice; the destination is the button that closed the dialog.
    Interaction::DruckWahl wahl() const;

    QRadioButton* groesse(int n) const { return groessen_[n]; }
    QRadioButton* hochformat() const { return hoch_; }
    QRadioButton* querformat() const { return quer_; }

private:
    void beschriften();
    void schliessen(Interaction::DruckWahl::Ziel ziel);

    Interaction::Groessentexte texte_;
    QGroupBox* groesseBox_;
    QGroupBox* formatBox_;
    std::array<QRadioButton*, 5> groessen_{};
    QRadioButton* hoch_;
    QRadioButton* quer_;
    Interaction::DruckWahl::Ziel ziel_ = Interaction::DruckWahl::Ziel::Drucker;
};
