#pragma once

#include "entries/startnummer.h"

#include <QDialog>
#include <QWidget>

struct AppState;
class Interaction;
class QScrollArea;
class Tdb_procedures;

// The start-number list drawn at fixed pixel positions, as high as its rows need.
class StartNumberView : public QWidget {
public:
    explicit StartNumberView(QWidget* parent = nullptr);
    void setList(const QString& turniername, const QList<StartNumberRow>& rows);
    // 60 pixels above the first row, 20 per row and 20 below the last.
    int neededHeight() const { return 60 + 20 * rows_.size() + 20; }
    int nameX() const { return nameX_; }
    int clubX() const { return clubX_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QList<StartNumberRow> rows_;
    int nameX_ = 70;
    int clubX_ = 270;
};

// The dialog "Rückennummern": the tournament's start numbers, with "Drucken" and "Zurück".
class TR_Nummer : public QDialog {
    Q_OBJECT
public:
    TR_Nummer(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent = nullptr);

    // Reads the list again; runs each time the dialog is shown.
    void reload();
    const QList<StartNumberRow>& rows() const { return rows_; }
    StartNumberView* view() const { return view_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void print();

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    QScrollArea* scroll_;
    StartNumberView* view_;
    QList<StartNumberRow> rows_;
};
