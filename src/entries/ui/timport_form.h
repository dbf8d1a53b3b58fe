#pragma once

#include "entries/import.h"

#include <QListWidget>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;

// A field list of the spreadsheet page: lines can be dragged to the other list; a double click or Enter
// moves the current line as well, for those who do not drag.
class Feldliste : public QListWidget {
    Q_OBJECT
public:
    explicit Feldliste(QWidget* parent = nullptr);

signals:
    // A line of `source` was dropped here.
    void abgelegt(const QString& text, QWidget* source);
    void gewaehlt(const QString& text);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The source dialog "Importieren" (`Timport_form`): one page per kind of source. Shows Importquelle.
class Timport_form : public QWidget {
    Q_OBJECT
public:
    Timport_form(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent = nullptr);

    // Reads the file and shows the dialog with the page of its kind; false (dialog hidden) when refused.
    bool oeffnen(const QString& path);

    Importquelle& quelle() { return quelle_; }
    // Shows the source's state again (after it was changed from outside the widgets).
    void refresh();

signals:
    // "Importieren": the candidates for the panel's list.
    void uebernommen(const QList<Importitem>& kandidaten);

private:
    void importieren();

    Interaction& interaction_;
    Importquelle quelle_;
    QStackedWidget* seiten_;
    QListWidget* turnierliste_;
    QTableWidget* spielerdaten_;
    Feldliste* vorhanden_;
    Feldliste* reihenfolge_;
    QLabel* formularverein_;
    QListWidget* formularliste_;
    QPushButton* importieren_;
    QPushButton* zurueck_;
};
