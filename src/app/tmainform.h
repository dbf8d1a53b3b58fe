#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class Clock;
class Interaction;
class NavigationBar;
class QAction;
class QLabel;
class QMovie;
class QPrinter;
class QProgressBar;
class QScrollArea;
class QStackedWidget;
class QTimer;
class TImpressumForm;
class Tdb_procedures;
struct AppState;

// The main window: the navigation column with its five bars on the left, the stack of work panels on
// the right, the main menu, and the navigation state (no tournament / tournament open).
class TMainform : public QMainWindow {
    Q_OBJECT
public:
    TMainform(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
              const QString& programDir, QWidget* parent = nullptr);
    ~TMainform() override;

    // False when a data file was missing at start: the program must end.
    bool startupOk() const { return startupOk_; }

    static QString captionPrefix() { return QStringLiteral("Velmora 1.02 - "); }
    static QString captionSuffix() { return QStringLiteral("Turnierverwaltung"); }

    // Panels of the work area, by objectName.
    static QStringList panelNames();
    // Puts a real panel in place of the one of that name (the panel takes the name).
    void setPanel(const QString& name, QWidget* panel);
    QWidget* panel(const QString& name) const;
    void showPanel(const QString& name);
    QString currentPanel() const;
    // The title of a panel is the QLabel named titleLabelName(panel) inside it.
    static QString titleLabelName(const QString& panel);
    void setPanelTitle(const QString& name, const QString& title);
    QString panelTitle(const QString& name) const;

    // Shows a secondary window; the main window takes no input until it is closed.
    void showDialog(QWidget* dialog);

    // Navigation state. Callers set the tournament id and name in the application state first; after a
    // load the class bar and the plans bar are read from the database (DbError propagates).
    void enterTournamentOpen(bool afterLoad);
    // After a delete, with the tournament name already cleared.
    void leaveToNoTournament();
    void updateCaption();
    void fillClassBar();
    void fillPlansBar();

    // Single class items, as classes are saved, renamed, deleted and drawn.
    void addClassItem(const QString& caption);
    void renameClassItem(const QString& oldCaption, const QString& newCaption);
    void removeClassItem(const QString& caption);
    void addPlanItem(const QString& caption);
    void removePlanItem(const QString& caption);

    // What choosing an item does; DbError propagates (the item handlers report it).
    void openClassItem(const QString& caption);
    void openPlanItem(const QString& caption);
    void spieleplanerClick();
    // "Live-Ergebnisse …": the folder the class pages follow the desk into, or switching it off.
    void liveErgebnisseClick();
    void handbuchClick();

    NavigationBar* tournamentBar() const { return turnierBar_; }
    NavigationBar* playerBar() const { return spielerBar_; }
    NavigationBar* classBar() const { return klassenBar_; }
    NavigationBar* plansBar() const { return plansBar_; }
    NavigationBar* exportBar() const { return exportBar_; }

    QTimer* timer() const { return timer_; }
    QProgressBar* progressBar() const { return progress_; }
    // The busy animation the plan drawings show; unavailable when its file is missing.
    QLabel* animation() const { return animation_; }
    bool animationAvailable() const { return animationAvailable_; }
    QAction* spieleplanerAction() const { return spieleplanerAction_; }
    TImpressumForm* impressumForm() const { return impressum_; }

    static QString manualMissingText();
    static QUrl homepage() { return QUrl(QStringLiteral("https://velmora.example.org")); }
    // How documents and web addresses are opened; tests put a recorder here.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

signals:
    void createTournamentRequested();
    void loadTournamentRequested();
    void deleteTournamentRequested();
    void editTournamentRequested();
    void teamManagementRequested();
    void exportRequested(const QString& caption);
    void schedulerRequested();
    // kind is the class's system (0 Einzel, 1 Doppel, 2 Mixed, 3 Team).
    void classOpened(int kid, int kind, const QString& caption);
    void planOpened(int kid, const QString& caption);
    // Every navigation item after its own handling, so later panels can refresh themselves.
    void navigationItemChosen(const QString& bar, const QString& item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildNavigation();
    void buildPanels();
    void buildMenu();
    void startup();
    void tournamentItem(const QString& item);
    void playerItem(const QString& item);
    void classItem(const QString& item);
    void planItem(const QString& item);
    void printerSetup();

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    Clock& clock_; // "today" for the record panel and the reminder times

    QString programDir_;
    bool startupOk_ = true;

    QWidget* navigation_ = nullptr;
    QScrollArea* barBox_ = nullptr;
    int wheelRest_ = 0;
    NavigationBar* turnierBar_ = nullptr;
    NavigationBar* spielerBar_ = nullptr;
    NavigationBar* klassenBar_ = nullptr;
    NavigationBar* plansBar_ = nullptr;
    NavigationBar* exportBar_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* animation_ = nullptr;
    QMovie* movie_ = nullptr;
    bool animationAvailable_ = false;
    QStackedWidget* stack_ = nullptr;
    QTimer* timer_ = nullptr;
    QAction* spieleplanerAction_ = nullptr;
    TImpressumForm* impressum_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    std::function<bool(const QUrl&)> openUrl_;
};
