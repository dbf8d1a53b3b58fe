#pragma once

#include "output/listen.h"

#include <QList>
#include <QString>
#include <QStringList>

struct AppState;
class Interaction;
class Tdb_procedures;

// The export dialog without widgets: its use (caption), the data set choice and the column choice, and
// "Exportieren". The widget only shows it.
class Exportauswahl {
public:
    enum class Verwendung { Excel, Pdf, Html };

    Exportauswahl(const AppState& state, Tdb_procedures& db, Interaction& interaction, QString programDir);

    // "Excel-Export", "PDF-Export" or "HTML-Export"; anything else is refused with std::invalid_argument.
    static Verwendung verwendung(const QString& caption);

    // Opens for one use: the caption, the data sets (HTML: "Turnier (komplett)" alone), the first selected.
    void oeffnen(Verwendung v);
    Verwendung aktuelleVerwendung() const { return verwendung_; }
    QString caption() const;

    QStringList datensaetze() const;
    int gewaehlt() const { return gewaehlt_; }
    // Selects a data set and offers its columns, the pre-chosen ones chosen.
    void waehlen(int index);

    // The offered captions, ordered by their table column without regard to case, and the chosen ones
    // in the order of the export.
    QStringList vorhanden() const;
    QStringList gewaehlteSpalten() const { return gewaehlt_spalten_; }
    // Dragging a caption to the chosen list appends it; dragging it back removes it.
    void hin(const QString& caption);
    void zurueck(const QString& caption);

    // Runs the export of the use for the selected data set. Returns the written file (the frameset page
    // for HTML), empty when cancelled or failed (the failure was shown).
    QString exportieren();

private:
    const AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    QString programDir_;
    Verwendung verwendung_ = Verwendung::Excel;
    QList<listen::Datensatz> datensaetze_;
    int gewaehlt_ = -1;
    QStringList gewaehlt_spalten_;
};
