#pragma once

#include "output/liveexport.h"

#include <QObject>
#include <QString>

class Clock;
class Interaction;
class AnmeldungPanel;
class GruppenPanel;
class ImportPanel;
class Klassenverwalten;
class SchiriPanel;
class SpielerPanel;
class SpielplanPanel;
class Spielsteuerung;
class TMainform;
class TTurnier_erstellen;
class Tdb_procedures;
class TurnierPanel;
class Tturnierladen;
class Tteamauswahl;
class Tauslosungsform;
class Tteamform;
struct AppState;

// The secondary windows and panels of the program, created once beside the main window, and what ties
// them to its navigation: create, load and delete a tournament, and its record.
class AppWindows : public QObject {
    Q_OBJECT
public:
    // programDir holds the data files and pictures; workDir (programDir when empty) the user's file
    // database, and it is the first folder offered for exports and imports.
    AppWindows(TMainform& main, AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
               const QString& programDir, const QString& workDir = QString());

    TTurnier_erstellen* createDialog() const { return create_; }
    Tturnierladen* loadDialog() const { return load_; }
    TurnierPanel* recordPanel() const { return record_; }
    SchiriPanel* umpirePanel() const { return schiri_; }
    SpielerPanel* playerPanel() const { return spieler_; }
    Klassenverwalten* classPanel() const { return klassen_; }
    GruppenPanel* groupPanel() const { return gruppen_; }
    AnmeldungPanel* checkInPanel() const { return anmeldung_; }
    ImportPanel* importPanel() const { return import_; }
    Tteamauswahl* teamDialog() const { return teams_; }
    Tteamform* teamSystemDialog() const { return teamForm_; }
    Tauslosungsform* drawDialog() const { return auslosung_; }
    SpielplanPanel* planPanel() const { return plaene_; }
    Spielsteuerung* spielsteuerung() const { return spiel_; }
    liveexport::Hintergrund& liveExport() const { return *live_; }

    // The navigation actions, callable directly.
    void tournamentCreated(const QString& name, const QList<bool>& options);
    void tournamentLoaded(int tid);
    void deleteTournament();
    // The draw dialog for class kid: phase 1 a new draw, phase 2 or 3 a redraw of that phase.
    void openDraw(int kid, int phase);

private:
    TMainform& main_;
    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    TTurnier_erstellen* create_;
    Tturnierladen* load_;
    TurnierPanel* record_;
    SchiriPanel* schiri_;
    SpielerPanel* spieler_;
    Klassenverwalten* klassen_;
    GruppenPanel* gruppen_;
    AnmeldungPanel* anmeldung_;
    ImportPanel* import_;
    Tteamauswahl* teams_;
    Tteamform* teamForm_;
    Tauslosungsform* auslosung_;
    SpielplanPanel* plaene_;
    Spielsteuerung* spiel_;
    // The live results folder follows every confirmed result, undo and draw, written off this thread.
    std::unique_ptr<liveexport::Hintergrund> live_ = std::make_unique<liveexport::Hintergrund>();
};
