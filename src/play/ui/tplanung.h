#pragma once

#include "play/planung.h"

#include <QWidget>
#include <memory>

class Interaction;
class Tdb_procedures;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTableWidget;
class QToolButton;
struct AppState;

// The scheduler window "Spieleplaner": the class choice with its colour and unplanned matches at the
// left, the day bar and the grid of tables × times at the right. It only shows a `Planung` and hands it
// the drops; every rule of the grid lives there.
class Tplanung : public QWidget {
    Q_OBJECT
public:
    Tplanung(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent = nullptr);
    ~Tplanung() override;

    // FormShow: reads the tournament and fills class choice, list and the first day's grid. False, with
    // the message shown, when that fails.
    bool oeffnen();

    Planung* planung() const { return planung_.get(); }
    // The class chosen, 0 when none.
    int gewaehlteKlasse() const;

    // The drops the widgets hand over (also what tests drive): grid rows and columns as the Planung counts
    // them (row 1 = 00:10, column 1 = the first table).
    void listeAufZelle(int listenzeile, int spalte, int zeile);
    void zelleAufZelle(int vonSpalte, int vonZeile, int spalte, int zeile);
    void zelleAufListe(int spalte, int zeile);

    // The popup of a planned cell: "Spiel bearbeiten", the two names, and the umpires of the match's
    // class with "Kein Schiedsrichter". Nothing for an empty cell; the caller owns the menu.
    QMenu* popupMenu(int spalte, int zeile);
    // Reads the store again and shows the same day and class (after the match dialog wrote a plan).
    void neuLaden();

signals:
    // "Spiel bearbeiten" of a planned cell: the match dialog on its planning page for this match.
    void spielBearbeiten(int kid, int spielnummer);
    // The window closes after something was planned: the plans of the open class show it.
    void planGeaendert();

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void klasseGewaehlt();
    void farbeGewaehlt();
    void tagWechseln(bool vor);
    void tagFuellen();
    void zumStart();
    void listeFuellen();
    void gitterFuellen();
    void popup(int spalte, int zeile, const QPoint& global);
    void schiriGewaehlt(int spalte, int zeile, const QString& schiri);
    // Runs a step; a database failure is shown and the grid re-read from the store.
    template <class F> bool sicher(F&& f);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    std::unique_ptr<Planung> planung_;
    QVector<PlanSpiel> liste_;
    bool geaendert_ = false; // something was written since the window was opened

    QComboBox* klassen_;
    QComboBox* farben_;
    QListWidget* spiele_;
    QToolButton* zurueck_;
    QLineEdit* tag_;
    QToolButton* vor_;
    QLabel* von_;
    QLabel* bis_;
    QTableWidget* gitter_;
};
