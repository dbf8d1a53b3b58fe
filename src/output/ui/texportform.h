#pragma once

#include "output/exportauswahl.h"

#include <QWidget>

class Feldliste;
class QLabel;
class QListWidget;
class QPushButton;

// The export dialog: caption "Export" until it is opened for "Excel-Export", "PDF-Export" or
// "HTML-Export". Shows Exportauswahl; the main window takes no input while it is open.
class TExportform : public QWidget {
    Q_OBJECT
public:
    TExportform(const AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir,
                QWidget* parent = nullptr);

    // Opens the dialog for the navigation item's caption.
    void oeffnen(const QString& caption);
    Exportauswahl& auswahl() { return auswahl_; }

signals:
    // A spreadsheet was written; the program offers to open it with the desktop's program.
    void geschrieben(const QString& path);

private:
    void refresh();
    void exportieren();

    Interaction& interaction_;
    Exportauswahl auswahl_;
    QListWidget* daten_ = nullptr;
    Feldliste* vorhanden_ = nullptr;
    Feldliste* gewaehlt_ = nullptr;
    QLabel* vorhandenLabel_ = nullptr;
    QLabel* gewaehltLabel_ = nullptr;
    QPushButton* exportieren_ = nullptr;
    QPushButton* abbrechen_ = nullptr;
    bool fuellen_ = false;
};
