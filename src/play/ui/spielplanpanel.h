#pragma once

#include "play/plandaten.h"

#include <QPointer>
#include <QWidget>
#include <array>

class Interaction;
class PlanScene;
class PlanView;
class PlatzFeld;
class PlatzListe;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class Tdb_procedures;
class Tspielplan_form;
struct AppState;

// The plan area of the main window ("spielplanform"): the title, one page per phase and the placement
// page, zoom, the reminder list and "Turnierklasse starten". Every page is a drawing computed in core and
// shown on its own scene.
class SpielplanPanel : public QWidget {
    Q_OBJECT
public:
    SpielplanPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir,
                   QWidget* parent = nullptr);

    // Opening class kid from the plans bar: page "Phase 1", the title from the item's caption, the class
    // settings read again (zoom 2) and every page drawn. DbError propagates.
    void oeffnen(int kid, const QString& caption);
    // Draws every page of the open class from the database again.
    void planshow();
    // Zoom level 1 … 3: the knock-out pages are drawn again at that level.
    void zoom(int level);
    int zoomLevel() const { return zoom_; }

    // What the tools of a page do, for the page of phase 1 … 3.
    void spielplananzeigen(int tag);
    void neulosen(int phase);
    // The print-size dialog, then the plans of the phase to the printer, the preview or a PDF file.
    void plandrucken(int phase);

    int kid() const { return kid_; }
    const PlanDaten& daten() const { return daten_; }
    QString titel() const;
    // The scenes of "Phase 1" … "Phase 3" (1 … 3) and of the placement page (4).
    PlanScene* scene(int page) const;
    PlanView* view(int page) const;
    QTabWidget* pages() const { return pages_; }
    Tspielplan_form* matchList() const { return matchList_; }
    QComboBox* anzahlBox() const;
    PlatzFeld* platzFeld(int seite, int zeile) const;
    PlatzListe* platzListe() const { return platz_; }
    QLabel* spielerkarte(int n) const { return n == 1 ? karte1_ : karte2_; }

    // Where the file of the double knock-out plans is read; beside the program unless told otherwise.
    void setKoSystemPath(const QString& path) { koSystemPath_ = path; }
    const QString& koSystemPath() const { return koSystemPath_; }
    // The reminder list `sp_info` under the pages; the running class writes into it.
    QListWidget* infoListe() const { return info_; }

    static QString keineEinstellungen() {
        return QStringLiteral("Für diese Klasse sind keine Einstellungen der Phasen gespeichert.");
    }

signals:
    // A window to show over the main window (the match list).
    void dialogRequested(QWidget* dialog);
    // "Phase neu auslosen" was not refused: the draw of phase `phase` opens in its redraw mode.
    void redrawRequested(int kid, int phase);
    // "Turnierklasse starten".
    void startRequested(int kid);
    // The open class is running: the reminders go on and the status of its matches is rebuilt.
    void klasseLaeuft(int kid);
    // After a zoom of a running class: the status cells were drawn anew.
    void statusRebuildRequested(int kid);
    // A status cell of any page was clicked.
    void statusClicked(int spielnummer, bool mirrored, Qt::MouseButton button);

private:
    void buildZoomPanel(QWidget* parent);
    QWidget* buildPage(int page);
    void seiteGewechselt(int index);
    void zoomCaptions();
    void toolClicked(int phase, int action, int tag);
    void platzseiteAufbauen();
    void platzseiteNeu();
    void eintragAbgelegt(int zeile, int seite, int listRow);
    void feldZurueck(int zeile, int seite);
    void anzahlGewechselt(const QString& text);
    void karteZeigen(int sid, const QPoint& screenPos);
    void kartenVerbergen();
    QPixmap kartenbild(int sid) const;
    void datenLaden();
    void zeichnen();

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    QString programDir_;
    QString koSystemPath_;

    QLabel* title_;
    QTabWidget* pages_;
    QWidget* zoompanel_;
    std::array<QPushButton*, 3> zoomButtons_{};
    QListWidget* info_;
    QPushButton* turniergo_;
    std::array<PlanScene*, 4> scenes_{};
    std::array<PlanView*, 4> views_{};
    PlatzListe* platz_;
    QPointer<QComboBox> anzahl_;
    QList<QPointer<PlatzFeld>> felder_;
    PlatzierungsSeite platzseite_;
    bool platzseiteGeplant_ = false;
    QLabel* karte1_;
    QLabel* karte2_;
    Tspielplan_form* matchList_;

    PlanDaten daten_;
    int kid_ = 0;
    int zoom_ = 2;
};
