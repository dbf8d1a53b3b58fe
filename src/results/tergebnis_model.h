#pragma once

#include "output/druckauftrag.h"
#include "play/matchrecord.h"
#include "play/spielbetrieb.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Ergebnisverarbeitung;
struct Beendet;

// A time of day as typed ("9:30", "09:30", "09:30:00"); invalid when it is none.
QTime uhrzeit(const QString& text);
// A typed time as the planned time is stored: only the time of day counts; NULL (invalid) when blank.
QDateTime geplanteZeitAus(const QString& text);
// A stored time shown as "hh:mm"; empty for NULL.
QString hhmm(const QDateTime& d);
// The page of the match dialogs ("Spielplanung", "Spiel aufgerufen", "Fertig") for a step.
int dialogseite(Dialogmodus m);
// A left click on a status cell: the match dialog `d` (single or team) prepared on the page of the match's
// next step, by the tag of its cell. `gespiegelt`: the mirrored cell of a group cross table was clicked.
template <class Dialog> Dialogmodus schrittOeffnen(Dialog& d, int snr, StateTag tag, bool gespiegelt) {
    const Dialogmodus m = modusFuer(tag);
    switch (m) {
    case Dialogmodus::Uebernehmen:
        d.spielplanen(snr);
        break;
    case Dialogmodus::Aufrufen:
        d.spielaufrufen1(snr);
        break;
    case Dialogmodus::SpielStarten:
        d.spielaufgerufen(snr);
        break;
    case Dialogmodus::SpielBeendet:
        d.spielstarten(snr, gespiegelt);
        break;
    case Dialogmodus::Korrigieren:
        d.spielbeendet(snr);
        break;
    }
    return m;
}
// The times of the second and third calls of a match, in the order of matchrecord::Recall.
std::array<QDateTime, 6> aufrufzeiten(const SpielplanRow& m);
// The hint of a call box: the time of the call.
QString aufrufHinweisText(const QDateTime& t);

// The match dialog "Spielverwaltung" without its widgets: one single or doubles match planned, called,
// started, finished and corrected. The plan area prepares it for one match (the entries named as the
// match actions name them), the widget shows and edits these fields, and the confirm button runs okClick.
// Every write happens before the free lists and the status cells change; a refusal writes nothing and
// leaves every entry as it was.
class Tergebnis {
public:
    static const QString kUngueltigePlatte;  // "Wählen Sie eine gültige Platte"
    static const QString kKeinWert;          // "Keinen korrekten Wert eingegeben"
    static const QString kUngueltigeZeit;    // "Geben Sie eine gültige Uhrzeit ein"
    static const QStringList kSeiten;        // "Spielplanung", "Spiel aufgerufen", "Fertig"

    Tergebnis(Spielbetrieb& sb, Ergebnisverarbeitung& ev);

    // --- Preparing the dialog for one match ----------------------------------------------------------
    // A left click on the status cell: the page of the match's next step by the cell's tag. `gespiegelt`:
    // the mirrored cell of a group cross table was clicked.
    Dialogmodus statusClick(int snr, bool gespiegelt = false);
    void spielplanen(int snr);
    void spielaufrufen1(int snr);
    // "Spiel mauell starten": calling regardless of the free players, any typed table accepted. False
    // (and the refusal shown) when a side is not a real entry.
    bool spielMauellStarten(int snr);
    void spielaufgerufen(int snr);
    void spielstarten(int snr, bool gespiegelt = false);
    void spielbeendet(int snr);

    // --- Editing --------------------------------------------------------------------------------------
    // Choosing a final result empties every set and enables as many set fields as sets were played.
    void ergebnisGewaehlt(const QString& text);
    // Leaving set field k (0-based): a text that is not a number is refused and emptied; false then, and
    // the field takes the focus again.
    bool satzVerlassen(int k);
    bool startzeitVerlassen();
    void jetztButton();
    void plattenGewaehlt(const QString& text);
    // The six boxes of the second and third calls write their column at once.
    void aufrufGeklickt(matchrecord::Recall which, bool checked);
    // "Drucken": the umpire slip of the match as stored.
    void drucken(Druckziel ziel = Druckziel::Drucker);

    struct Ausgang {
        bool geschlossen = false;
        bool neuGezeichnet = false;       // the plans were read and drawn anew
        std::optional<int> angebotePhase; // offer the next matches of this phase (`possiblegames`)
    };
    // The confirm button: what it does is decided by its caption (the mode).
    Ausgang okClick();

    // After a result has been committed: players, table and umpire, the losers enrolled as umpires and
    // the entries moved on into the next phase back into the free lists.
    static void freigeben(Freilisten& l, const Beendet& b);

    // --- What the widget shows ----------------------------------------------------------------------
    Dialogmodus modus = Dialogmodus::Uebernehmen;
    QString okText() const { return okCaption(modus); }
    int seite() const;          // index into kSeiten
    QString caption() const { return QStringLiteral("Spielverwaltung"); }

    int snr = 0;
    int gruppetemp = -1;
    int manuell = 0;            // 1: any typed table is accepted (manual start)
    int sid1 = -1, sid2 = -1;   // tags of the player labels
    QString platteHinweis;      // "x" when opened from a mirrored cell

    QString spieler1Label, spieler2Label, gruppeLabel, platteLabel, schiriLabel;
    QString geplanterTischLabel = QStringLiteral("Geplanter Tisch: ");
    QDate starttag;
    QString startzeit;

    QStringList plattenItems;
    QString plattencombo;
    bool plattenEnabled = true;
    QStringList schiriItems;
    QString schiricombo;
    bool schiriEnabled = true;
    bool schiripool = false;
    bool schiripoolEnabled = false;
    bool druckenEnabled = true;

    // Second and third calls, in the order of matchrecord::Recall, with the stored time as hint.
    std::array<bool, 6> aufruf{};
    std::array<QString, 6> aufrufHinweis;

    QStringList ergebnisItems;
    QString ergebniscombo;
    std::array<QString, 9> satz;
    int satzFelder = 5;         // fields in use: 2G − 1
    int satzAktiv = 0;          // fields enabled for the chosen result

    bool next = true;           // "nächstes mögliches Spiel anzeigen"
    bool next1 = true;          // "nächstes mögliches Spiel aufrufen"
    bool next1Visible = false;

private:
    std::optional<SpielplanRow> vorbereiten(int snr, Dialogmodus m, bool gruppeMitLeerzeichen);
    void db_planen(const QDateTime& zeit);
    QDateTime geplanteZeit() const;
    QStringList satzTexte() const;
    bool ergebnisPruefen();

    Spielbetrieb& sb_;
    Ergebnisverarbeitung& ev_;
};
