#pragma once

#include "common/random.h"
#include "draw/auslosung.h"

#include <QDialog>
#include <QVector>
#include <array>
#include <functional>

class GruppenListe;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QWidget;
struct AppState;
class Clock;
class Interaction;
class Tdb_procedures;

// "Auslosung": the draw of a class, one page per phase and a page for the playing tables. The dialog
// shows the state of Auslosung and forwards every button, option, drop and key to it. Its tag tells the
// two ways it is opened: 1 a new draw, 2 a redraw of phase 2 or 3.
class Tauslosungsform : public QDialog {
    Q_OBJECT
public:
    Tauslosungsform(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                    QWidget* parent = nullptr);

    // Loads class kid for a new draw and shows phase 1's page; false when it could not be loaded (the
    // error has been shown). The caller shows the dialog.
    bool neueAuslosung(int kid);
    // Loads class kid for a redraw of phase 2 or 3 and shows that phase's page; false when it could not be
    // loaded or the class has no such phase (a new draw would replace the whole plan, so none is offered).
    bool neuAuslosen(int kid, int phase);

    int tag() const { return int(model_.modus()); }
    // Where "Fertig stellen" reads the schedules; beside the program unless told otherwise.
    void setDatendateien(const Datendateien& dateien) { dateien_ = dateien; }
    Auslosung& auslosung() { return model_; }

    // The lists of the pages by their names: "ListBox1" to "ListBox5", "gruppe<index>", "ko<phase>",
    // "tische<index>".
    GruppenListe* liste(const QString& name) const;

signals:
    // "Fertig stellen" wrote the plan of class kid: a new draw puts the class into the plans bar, a
    // redraw shows its plan again.
    void planGeschrieben(int kid, bool planleiste, bool planAnzeigen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Seite {
        QWidget* widget = nullptr;
        QScrollArea* flaeche = nullptr;
        QPushButton* losen = nullptr;
        QPushButton* loeschen = nullptr;
        QCheckBox* freilose = nullptr;
        QButtonGroup* verfahren = nullptr;
    };

    QWidget* phasenseite(int n);
    QWidget* tischseite();
    GruppenListe* neueListe(const QString& name, QWidget* parent);
    bool laden(const std::function<bool()>& load);
    void aufbauen();
    void gruppenAufbauen(int n);
    void bracketAufbauen(int n);
    void tischgruppenAufbauen();
    void zeigen();
    void abgelegt(const QString& ziel, const QString& quelle, int quellzeile, int zielzeile);
    Auslosung::Ort ort(const QString& name, int zeile) const;
    void losen(int n);
    void fertig();

    AppState& state_;
    Interaction& interaction_;
    Random random_;
    Auslosung model_;
    Datendateien dateien_ = Datendateien::beimProgramm();

    std::array<QLabel*, 4> schritte_{};
    QStackedWidget* seiten_;
    std::array<Seite, 3> phasen_{};
    QCheckBox* verein_;
    QButtonGroup* tischmodus_;
    QScrollArea* tischflaeche_;
    QPushButton* zurueck_;
    QPushButton* weiter_;
    QPushButton* fertig_;
    QPushButton* abbrechen_;
};
