#pragma once

#include "entries/import.h"

#include <QWidget>

class QListWidget;
class QPushButton;
class Timport_form;

// The panel "Importieren von Spielern" (objectName `import`): the candidates of the source last read, the
// import list and the import. Shows Spielerimport and forwards the user's actions to it.
class ImportPanel : public QWidget {
    Q_OBJECT
public:
    ImportPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir,
                QWidget* parent = nullptr);

    // "Spieler importieren": both lists empty.
    void showPanel();
    // "Datenquelle öffnen".
    void datenquelleOeffnen();

    Spielerimport& model() { return model_; }
    Timport_form* quelleDialog() const { return dialog_; }
    void refresh();

signals:
    // Players were imported: lists of players elsewhere are out of date.
    void importiert();

private:
    void readSelection();
    void importieren();

    Interaction& interaction_;
    QString programDir_;
    Spielerimport model_;
    Timport_form* dialog_;
    QListWidget* liste1_;
    QListWidget* liste2_;
    QPushButton* datenquelle_;
    QPushButton* hin_;
    QPushButton* zurueck_;
    QPushButton* importieren_;
};
