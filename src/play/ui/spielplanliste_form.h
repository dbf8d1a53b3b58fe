#pragma once

#include "play/plandaten.h"

#include <QWidget>

class Interaction;
class PlanScene;
class PlanView;
class QLabel;
class QPushButton;

// "Spielplan": the match list of a whole class or of one group, with its printout. Shown by the plan
// area over the main window, which takes no input until "Zurück" closes it.
class Tspielplan_form : public QWidget {
    Q_OBJECT
public:
    Tspielplan_form(Interaction& interaction, QWidget* parent = nullptr);

    // Fills the window for class data d: the whole class (gid -1) or group gid. `titel` is the plan
    // title; `turniername` heads the printout.
    void fuellen(const PlanDaten& d, int gid, const QString& titel, const QString& turniername);

    int tag() const { return gid_; }
    QString ueberschrift() const;
    PlanScene* scene() const { return scene_; }
    PlanView* view() const { return view_; }
    // "Drucken".
    bool drucken();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void zeichnen();

    Interaction& interaction_;
    QLabel* heading_;
    PlanScene* scene_;
    PlanView* view_;
    QPushButton* zurueck_;
    QPushButton* drucken_;
    const PlanDaten* daten_ = nullptr;
    PlanDaten kopie_;
    int gid_ = -1;
    QString turniername_;
    int drawnWidth_ = 0;
};
