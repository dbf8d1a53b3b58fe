#include "app/appwindows.h"

#include "app/spielsteuerung.h"
#include "app/tmainform.h"
#include "common/interaction.h"
#include "output/ui/texportform.h"
#include "common/classkind.h"
#include "common/ui/ganzetexte.h"
#include "draw/neuauslosung.h"
#include "draw/ui/auslosungsform.h"
#include "draw/ui/gruppenpanel.h"
#include "draw/ui/teamauswahl.h"
#include "draw/ui/teamform.h"
#include "entries/spieler.h"
#include "entries/ui/anmeldungpanel.h"
#include "entries/ui/doppelauswahl.h"
#include "entries/ui/importpanel.h"
#include "entries/ui/klassenverwalten.h"
#include "entries/ui/schiripanel.h"
#include "entries/ui/spielerpanel.h"
#include "output/entryform.h"
#include "play/ui/spielplanpanel.h"
#include "play/ui/tplanung.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/tournaments.h"
#include "store/ui/turnier_erstellen.h"
#include "store/ui/turnierladen.h"
#include "store/ui/turnierpanel.h"

#include <QAction>
#include <QTimer>

AppWindows::AppWindows(TMainform& main, AppState& state, Tdb_procedures& db, Interaction& interaction,
                       Clock& clock, const QString& programDir, const QString& workDir)
    : main_(main), state_(state), db_(db), interaction_(interaction) {
    const QString arbeit = workDir.isEmpty() ? programDir : workDir;
    record_ = new TurnierPanel(state, db, interaction, clock);
    main.setPanel(QStringLiteral("neuesTurnier"), record_);
    record_->clearFields();

    create_ = new TTurnier_erstellen(state, db, interaction, arbeit, &main);
    load_ = new Tturnierladen(state, db, interaction, arbeit, &main);
    // Dialogs are windows of their own, not children drawn into the main window.
    create_->setWindowFlag(Qt::Window);
    load_->setWindowFlag(Qt::Window);

    connect(&main, &TMainform::createTournamentRequested, this, [this] {
        create_->clearName();
        main_.showDialog(create_);
    });
    connect(&main, &TMainform::loadTournamentRequested, this, [this] { main_.showDialog(load_); });
    connect(&main, &TMainform::deleteTournamentRequested, this, &AppWindows::deleteTournament);
    connect(&main, &TMainform::editTournamentRequested, record_, &TurnierPanel::showFirstPage);
    connect(create_, &TTurnier_erstellen::tournamentCreated, this, &AppWindows::tournamentCreated);
    connect(load_, &Tturnierladen::tournamentLoaded, this, [this](int tid, const QString&) { tournamentLoaded(tid); });
    connect(record_, &TurnierPanel::tournamentInserted, this,
            [this] { main_.spieleplanerAction()->setEnabled(true); });
    connect(record_, &TurnierPanel::anmeldeformularRequested, this, [this, arbeit] {
        try {
            entryform::erzeugen(state_, db_, interaction_, arbeit);
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });

    schiri_ = new SchiriPanel(state, db, interaction, clock);
    main.setPanel(QStringLiteral("schiripanel"), schiri_);
    spieler_ = new SpielerPanel(state, db, interaction, clock);
    main.setPanel(QStringLiteral("spielerverwaltung"), spieler_);
    klassen_ = new Klassenverwalten(state, db, interaction, clock);
    main.setPanel(QStringLiteral("klassenverwalten"), klassen_);

    anmeldung_ = new AnmeldungPanel(state, db, interaction, clock);
    main.setPanel(QStringLiteral("Anmeldung"), anmeldung_);
    import_ = new ImportPanel(state, db, interaction, arbeit);
    main.setPanel(QStringLiteral("import"), import_);

    // "Excel-Export", "PDF-Export", "HTML-Export": one dialog, captioned by the item chosen.
    auto* exportForm = new TExportform(state, db, interaction, arbeit, &main);
    connect(&main, &TMainform::exportRequested, exportForm, &TExportform::oeffnen);
    // Ctrl+Enter at the check-in: a new player is completed and saved on the player panel.
    connect(anmeldung_, &AnmeldungPanel::neuerSpieler, this, [this](const QString& nachname, const QString& vorname) {
        try {
            main_.showPanel(QStringLiteral("spielerverwaltung"));
            spieler_->showPanel();
            spieler_->model().newPlayer();
            spieler_->model().felder().nachname = nachname;
            spieler_->model().felder().vorname = vorname;
            spieler_->model().markChanged();
            spieler_->refresh();
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });

    // Partners of doubles and mixed classes are chosen from the player panel's partner lines.
    auto* doppel = new TDoppelauswahl(state, db, interaction, clock, &main);
    doppel->setWindowFlag(Qt::Window);
    spieler_->setPairingHook(doppel->hook());

    // Teams: formed in "Teamverwaltung" or started from the check-in's team field; the check-in
    // reads them again after every change.
    teams_ = new Tteamauswahl(state, db, interaction, clock, &main);
    teams_->setWindowFlag(Qt::Window);
    connect(&main, &TMainform::teamManagementRequested, teams_, &Tteamauswahl::oeffnen);
    connect(anmeldung_, &AnmeldungPanel::neuesTeam, teams_, &Tteamauswahl::neuesTeam);
    connect(teams_, &Tteamauswahl::teamsChanged, this, [this] {
        if (main_.currentPanel() != QLatin1String("Anmeldung")) return;
        try {
            anmeldung_->showPanel();
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });
    // The line-up of a team class is edited in its own dialog and saved with the class.
    teamForm_ = new Tteamform(state, db, interaction, clock, &main);
    teamForm_->setWindowFlag(Qt::Window);
    connect(klassen_, &Klassenverwalten::teamSystemRequested, this,
            [this] { teamForm_->edit(klassen_->currentKid(), klassen_->teamSystem()); });
    connect(teamForm_, &Tteamform::uebernommen, this, [this] { klassen_->setTeamSystem(teamForm_->teamsystem()); });

    gruppen_ = new GruppenPanel(state, db, interaction, clock);
    main.setPanel(QStringLiteral("Gruppen"), gruppen_);
    connect(&main, &TMainform::classOpened, gruppen_, &GruppenPanel::openClass);

    // The draw: opened by "Zur Auslosung -->" for a new draw; the plan view opens it for a redraw.
    auslosung_ = new Tauslosungsform(state, db, interaction, clock, &main);
    auslosung_->setWindowFlag(Qt::Window);
    connect(gruppen_, &GruppenPanel::drawRequested, this, [this](int kid) { openDraw(kid, 1); });
    connect(auslosung_, &Tauslosungsform::planGeschrieben, this, [this](int kid, bool planleiste, bool anzeigen) {
        try {
            const Row r = db_.selectOne(QStringLiteral("SELECT kbezeichnung,system FROM Turnierklassen WHERE KID=:k"),
                                        {{":k", kid}});
            const QString caption = classkind::caption(r.text(u"kbezeichnung"), r.integer(u"system"));
            if (planleiste) main_.addPlanItem(caption);
            // The draw's result is what the operator wants to see next, after a new draw as after a redraw.
            if (planleiste || anzeigen) main_.openPlanItem(caption);
            live_->geaendert(liveexport::Hintergrund::von(db_), kid, true);
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });

    // Long names and club names are cut with "…" and a tooltip, never hidden behind a scroll bar.
    for (QWidget* panel : std::initializer_list<QWidget*>{schiri_, spieler_, klassen_, anmeldung_, gruppen_})
        ganzeTexteZeigen(panel);
    // The plans of a class: opened from the plans bar; their tools open the match list over the main
    // window and the draw in its redraw mode.
    plaene_ = new SpielplanPanel(state, db, interaction, programDir);
    main.setPanel(QStringLiteral("spielplanform"), plaene_);
    connect(&main, &TMainform::planOpened, this, [this](int kid, const QString& caption) {
        try {
            plaene_->oeffnen(kid, caption);
            spiel_->klasseGeoeffnet(kid);
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });
    connect(plaene_, &SpielplanPanel::dialogRequested, &main, &TMainform::showDialog);
    connect(plaene_, &SpielplanPanel::redrawRequested, this, &AppWindows::openDraw);
    // A class that is already running keeps its reminders going.
    connect(plaene_, &SpielplanPanel::klasseLaeuft, this, [this] { main_.timer()->start(); });
    // Running the class: the status cells, the match dialog, the class start and the reminders.
    spiel_ = new Spielsteuerung(*plaene_, main, db, interaction, clock, programDir);
    connect(spiel_, &Spielsteuerung::klasseLaeuft, this, [this] { main_.timer()->start(); });
    connect(spiel_, &Spielsteuerung::klasseGeschrieben, this,
            [this](int kid) { live_->geaendert(liveexport::Hintergrund::von(db_), kid); });
    connect(plaene_, &SpielplanPanel::startRequested, spiel_, &Spielsteuerung::starten);
    connect(plaene_, &SpielplanPanel::statusRebuildRequested, spiel_, &Spielsteuerung::zellenZeigen);
    connect(plaene_, &SpielplanPanel::statusClicked, spiel_, &Spielsteuerung::statusGeklickt);
    connect(main_.timer(), &QTimer::timeout, spiel_, &Spielsteuerung::erinnern);

    // The scheduler, a window of its own, read afresh each time it is opened.
    auto* planung = new Tplanung(state, db, interaction, &main);
    planung->setWindowFlag(Qt::Window);
    connect(&main, &TMainform::schedulerRequested, this, [this, planung] {
        if (planung->oeffnen()) main_.showDialog(planung);
    });
    // "Spiel bearbeiten" of a planned cell opens the match dialog's planning page; what it stores the grid
    // reads again, and what the scheduler changed the plans of the open class show once it closes.
    connect(planung, &Tplanung::spielBearbeiten, spiel_, &Spielsteuerung::planungOeffnen);
    connect(spiel_, &Spielsteuerung::planungGeschrieben, planung, &Tplanung::neuLaden);
    connect(planung, &Tplanung::planGeaendert, spiel_, &Spielsteuerung::neuZeichnen);

    // The class bar follows the classes as they are saved, renamed and deleted.
    connect(klassen_, &Klassenverwalten::classAdded, &main, &TMainform::addClassItem);
    connect(klassen_, &Klassenverwalten::classRenamed, &main, &TMainform::renameClassItem);
    connect(klassen_, &Klassenverwalten::classRemoved, &main, [this](const QString& caption) {
        main_.removeClassItem(caption);
        main_.removePlanItem(caption);
    });

    // Panels read the open tournament afresh whenever their navigation item brings them to front.
    connect(&main, &TMainform::navigationItemChosen, this, [this](const QString&, const QString& item) {
        try {
            if (item == QLatin1String("Schiedsrichter verwalten"))
                schiri_->showPanel();
            else if (item == QLatin1String("Spieler verwalten"))
                spieler_->showPanel();
            else if (item == QLatin1String("Klassen verwalten"))
                klassen_->showPanel();
            else if (item == QLatin1String("Spieleranmeldung"))
                anmeldung_->showPanel();
            else if (item == QLatin1String("Spieler importieren"))
                import_->showPanel();
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });
}

void AppWindows::openDraw(int kid, int phase) {
    if (phase <= 1) {
        try {
            if (!neueAuslosungErlaubt(db_, interaction_, kid)) return;
        } catch (const DbError& e) {
            interaction_.error(e.message());
            return;
        }
    }
    const bool loaded = phase <= 1 ? auslosung_->neueAuslosung(kid) : auslosung_->neuAuslosen(kid, phase);
    if (loaded) main_.showDialog(auslosung_);
}

void AppWindows::tournamentCreated(const QString& name, const QList<bool>& options) {
    TournamentOptions flags{};
    for (int i = 0; i < int(flags.size()) && i < options.size(); ++i) flags[i] = options[i];
    main_.enterTournamentOpen(false);
    record_->clearFields();
    // The new tournament is stored at once, before anything else is edited.
    if (record_->createSave(name, flags) == 0) {
        // The insert failed and was reported: there is no tournament to show.
        state_.turniername.clear();
        record_->clearFields();
        main_.leaveToNoTournament();
    }
}

void AppWindows::tournamentLoaded(int tid) {
    try {
        main_.enterTournamentOpen(true);
        record_->clearFields();
        record_->fillFields(tid);
        record_->showFirstPage();
        record_->setLoadedState();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void AppWindows::deleteTournament() {
    try {
        if (!tournaments::turnierloeschen(db_, state_, interaction_)) return;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    record_->clearFields();
    main_.leaveToNoTournament();
}
