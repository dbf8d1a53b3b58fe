#include "app/tmainform.h"

#include "app/navigationbar.h"
#include "app/timpressumform.h"
#include "common/classkind.h"
#include "common/clock.h"
#include "common/interaction.h"
#include "output/liveexport.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMovie>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

namespace caption {
const QString turnierdaten = QStringLiteral("Turnierdaten");
const QString spielerdaten = QStringLiteral("Spielerdaten");
const QString turnierklassen = QStringLiteral("Turnierklassen");
const QString spielplaene = QStringLiteral("Spielpläne");
const QString exportBar = QStringLiteral("Export");

const QString erstellen = QStringLiteral("Turnier erstellen");
const QString laden = QStringLiteral("Turnier laden");
const QString loeschen = QStringLiteral("Turnier löschen");
const QString bearbeiten = QStringLiteral("Turnier bearbeiten");

const QString spielerVerwalten = QStringLiteral("Spieler verwalten");
const QString teamverwaltung = QStringLiteral("Teamverwaltung");
const QString spieleranmeldung = QStringLiteral("Spieleranmeldung");
const QString importieren = QStringLiteral("Spieler importieren");
const QString schiedsrichter = QStringLiteral("Schiedsrichter verwalten");

const QString klassenVerwalten = QStringLiteral("Klassen verwalten");
} // namespace caption

struct PanelInfo {
    const char* name;
    const char* title;
};

// The work panels in stack order and the title each shows until its real panel replaces it.
const PanelInfo panels[] = {
    {"welcome", ""},
    {"neuesTurnier", "Turniername"},
    {"klassenverwalten", "Turnierklassen verwalten"},
    {"Gruppen", "Gruppeneinteilung für "},
    {"spielerverwaltung", "Spielerverwaltung"},
    {"Anmeldung", "Spieleranmeldung"},
    {"import", "Importieren von Spielern"},
    {"schiripanel", "Schiedsrichterverwaltung"},
    {"spielplanform", "Spielplan für"},
};

const int wheelStep = 5; // scroll units per notch of the mouse wheel in the bar box
const int reminderInterval = 60000;

} // namespace

TMainform::TMainform(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                     const QString& programDir, QWidget* parent)
    : QMainWindow(parent), state_(state), db_(db), interaction_(interaction), clock_(clock),
      programDir_(programDir), printer_(std::make_unique<QPrinter>()),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("TMainform"));
    resize(868, 676);
    setMinimumSize(800, 600);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildNavigation();
    layout->addWidget(navigation_);
    buildPanels();
    layout->addWidget(stack_, 1);
    buildMenu();

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(reminderInterval);

    impressum_ = new TImpressumForm(this);

    startup();
}

TMainform::~TMainform() = default;

void TMainform::buildNavigation() {
    navigation_ = new QWidget(this);
    navigation_->setObjectName(QStringLiteral("Navigation"));
    navigation_->setFixedWidth(185);
    auto* column = new QVBoxLayout(navigation_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    auto* strip = new QLabel(navigation_);
    strip->setObjectName(QStringLiteral("navigationsbild"));
    strip->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    strip->setAccessibleName(QStringLiteral("Velmora"));
    column->addWidget(strip);

    barBox_ = new QScrollArea(navigation_);
    barBox_->setObjectName(QStringLiteral("navigationsleisten"));
    barBox_->setWidgetResizable(true);
    barBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    barBox_->setFrameShape(QFrame::NoFrame);
    auto* bars = new QWidget(barBox_);
    auto* barLayout = new QVBoxLayout(bars);
    barLayout->setContentsMargins(2, 2, 2, 2);
    barLayout->setSpacing(4);

    auto makeBar = [&](const char* name, const QString& title, const QStringList& items) {
        auto* bar = new NavigationBar(title, bars);
        bar->setObjectName(QString::fromLatin1(name));
        for (const QString& item : items)
            bar->addItem(item);
        barLayout->addWidget(bar);
        return bar;
    };
    turnierBar_ = makeBar("Turnierbutton", caption::turnierdaten,
                          {caption::erstellen, caption::laden, caption::loeschen, caption::bearbeiten});
    spielerBar_ = makeBar("Spielerbutton", caption::spielerdaten,
                          {caption::spielerVerwalten, caption::teamverwaltung, caption::spieleranmeldung,
                           caption::importieren, caption::schiedsrichter});
    klassenBar_ = makeBar("Klassenbutton", caption::turnierklassen, {caption::klassenVerwalten});
    plansBar_ = makeBar("spielplanbutton", caption::spielplaene, {});
    exportBar_ = makeBar(
        "exportbutton", caption::exportBar,
        {QStringLiteral("Excel-Export"), QStringLiteral("PDF-Export"), QStringLiteral("HTML-Export")});
    barLayout->addStretch(1);
    barBox_->setWidget(bars);
    barBox_->viewport()->installEventFilter(this);
    column->addWidget(barBox_, 1);

    animation_ = new QLabel(navigation_);
    animation_->setObjectName(QStringLiteral("animation"));
    animation_->setAlignment(Qt::AlignCenter);
    animation_->hide();
    column->addWidget(animation_);

    progress_ = new QProgressBar(navigation_);
    progress_->setObjectName(QStringLiteral("fortschritt"));
    progress_->setAccessibleName(QStringLiteral("Fortschritt"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    column->addWidget(progress_);

    connect(turnierBar_, &NavigationBar::itemChosen, this,
            [this](int, const QString& c) { tournamentItem(c); });
    connect(spielerBar_, &NavigationBar::itemChosen, this, [this](int, const QString& c) { playerItem(c); });
    connect(klassenBar_, &NavigationBar::itemChosen, this, [this](int, const QString& c) { classItem(c); });
    connect(plansBar_, &NavigationBar::itemChosen, this, [this](int, const QString& c) { planItem(c); });
    connect(exportBar_, &NavigationBar::itemChosen, this, [this](int, const QString& c) {
        emit exportRequested(c);
        emit navigationItemChosen(caption::exportBar, c);
    });
}

QString TMainform::titleLabelName(const QString& panel) {
    if (panel == QLatin1String("neuesTurnier")) return QStringLiteral("statictext1");
    if (panel == QLatin1String("spielplanform")) return QStringLiteral("spielplantext");
    return panel + QStringLiteral("titel");
}

QStringList TMainform::panelNames() {
    QStringList names;
    for (const auto& p : panels)
        names << QString::fromLatin1(p.name);
    return names;
}

void TMainform::buildPanels() {
    stack_ = new QStackedWidget(this);
    stack_->setObjectName(QStringLiteral("arbeitsbereich"));
    for (const auto& p : panels) {
        const QString name = QString::fromLatin1(p.name);
        auto* w = new QWidget(stack_);
        w->setObjectName(name);
        auto* l = new QVBoxLayout(w);
        if (name == QLatin1String("welcome")) {
            auto* picture = new QLabel(w);
            picture->setObjectName(QStringLiteral("welcomebild"));
            picture->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
            picture->setAlignment(Qt::AlignCenter);
            picture->setAccessibleName(QStringLiteral("Velmora"));
            l->addWidget(picture, 1);
        } else {
            auto* title = new QLabel(QString::fromUtf8(p.title), w);
            title->setObjectName(titleLabelName(name));
            QFont f = title->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.5);
            title->setFont(f);
            l->addWidget(title);
            l->addStretch(1);
        }
        stack_->addWidget(w);
    }
}

void TMainform::buildMenu() {
    QMenu* datei = menuBar()->addMenu(QStringLiteral("Datei"));
    QAction* setup = datei->addAction(QStringLiteral("Druckersetup"), this, &TMainform::printerSetup);
    setup->setObjectName(QStringLiteral("druckersetup"));
    datei->addSeparator();
    QAction* quit = datei->addAction(QStringLiteral("Beenden"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("beenden"));

    QMenu* extras = menuBar()->addMenu(QStringLiteral("Extras"));
    spieleplanerAction_ =
        extras->addAction(QStringLiteral("Spieleplaner"), this, &TMainform::spieleplanerClick);
    spieleplanerAction_->setObjectName(QStringLiteral("spieleplaner"));
    extras->addAction(QStringLiteral("Live-Ergebnisse …"), this, &TMainform::liveErgebnisseClick)
        ->setObjectName(QStringLiteral("liveergebnisse"));

    QMenu* info = menuBar()->addMenu(QStringLiteral("Information"));
    info->addAction(QStringLiteral("Handbuch"), this, &TMainform::handbuchClick)
        ->setObjectName(QStringLiteral("handbuch"));
    info->addAction(QStringLiteral("Impressum"), this, [this] { showDialog(impressum_); })
        ->setObjectName(QStringLiteral("impressum"));
    info->addAction(QStringLiteral("Velmora im Internet"), this, [this] { openUrl_(homepage()); })
        ->setObjectName(QStringLiteral("internet"));
}

void TMainform::startup() {
    // The tournament record's date pickers belong to its panel and are set there.
    showPanel(QStringLiteral("welcome"));

    const QDir dir(programDir_);
    auto* movie = new QMovie(dir.filePath(QStringLiteral("images/pong.gif")), QByteArray(), this);
    animationAvailable_ = QFileInfo::exists(movie->fileName()) && movie->isValid();
    if (animationAvailable_) {
        movie_ = movie;
        animation_->setMovie(movie_);
    } else {
        delete movie;
    }

    // Both checks always run, so the user learns about every missing file at once.
    if (!QFileInfo::exists(dir.filePath(QStringLiteral("Files/system.txt")))) {
        interaction_.error(QStringLiteral("Die Datei \"system.txt\" konnte nicht gefunden werden"));
        startupOk_ = false;
    }
    if (!QFileInfo::exists(dir.filePath(QStringLiteral("Files/ko_system.txt")))) {
        interaction_.error(QStringLiteral("Die Datei \"ko_system.txt\" konnte nicht gefunden werden"));
        startupOk_ = false;
    }

    for (NavigationBar* bar : {exportBar_, spielerBar_, plansBar_, klassenBar_}) {
        bar->setExpanded(false);
        bar->setBarEnabled(false);
    }
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::loeschen), false);
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::bearbeiten), false);
    spieleplanerAction_->setEnabled(false);
    updateCaption();
    turnierBar_->setExpanded(true);
}

void TMainform::updateCaption() {
    if (state_.tournamentOpen())
        setWindowTitle(captionPrefix() + state_.turniername + QStringLiteral(" - ") + captionSuffix());
    else
        setWindowTitle(captionPrefix() + captionSuffix());
}

void TMainform::setPanel(const QString& name, QWidget* panel) {
    QWidget* old = this->panel(name);
    if (!old || !panel || old == panel) return;
    const bool wasCurrent = stack_->currentWidget() == old;
    const int index = stack_->indexOf(old);
    panel->setObjectName(name);
    stack_->insertWidget(index, panel);
    if (wasCurrent) stack_->setCurrentWidget(panel);
    stack_->removeWidget(old);
    delete old;
}

QWidget* TMainform::panel(const QString& name) const {
    for (int i = 0; i < stack_->count(); ++i)
        if (stack_->widget(i)->objectName() == name) return stack_->widget(i);
    return nullptr;
}

void TMainform::showPanel(const QString& name) {
    if (QWidget* w = panel(name)) stack_->setCurrentWidget(w);
}

QString TMainform::currentPanel() const {
    return stack_->currentWidget() ? stack_->currentWidget()->objectName() : QString();
}

void TMainform::setPanelTitle(const QString& name, const QString& title) {
    if (QWidget* w = panel(name))
        if (auto* label = w->findChild<QLabel*>(titleLabelName(name))) label->setText(title);
}

QString TMainform::panelTitle(const QString& name) const {
    if (QWidget* w = panel(name))
        if (auto* label = w->findChild<QLabel*>(titleLabelName(name))) return label->text();
    return {};
}

void TMainform::showDialog(QWidget* dialog) {
    if (!dialog) return;
    if (dialog->isVisible()) {
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    if (!dialog->parentWidget()) dialog->setParent(this, dialog->windowFlags() | Qt::Window);
    // Window modality blocks the windows it was opened from and gives them input back when it closes.
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TMainform::enterTournamentOpen(bool afterLoad) {
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::loeschen), true);
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::bearbeiten), true);

    plansBar_->setBarEnabled(true);
    plansBar_->clearItems();
    plansBar_->setExpanded(false);

    exportBar_->setBarEnabled(true);
    exportBar_->setExpanded(false);

    klassenBar_->setBarEnabled(true);
    klassenBar_->clearItems();
    klassenBar_->addItem(caption::klassenVerwalten);
    klassenBar_->setExpanded(true);

    spielerBar_->setBarEnabled(true);
    spielerBar_->setItemEnabled(0, true);
    spielerBar_->setExpanded(!afterLoad);

    setPanelTitle(QStringLiteral("neuesTurnier"), state_.turniername);
    showPanel(QStringLiteral("neuesTurnier"));
    spieleplanerAction_->setEnabled(true);
    updateCaption();

    if (afterLoad) {
        fillClassBar();
        fillPlansBar();
    }
}

void TMainform::leaveToNoTournament() {
    showPanel(QStringLiteral("welcome"));
    updateCaption();
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::bearbeiten), false);
    turnierBar_->setItemEnabled(turnierBar_->indexOf(caption::loeschen), false);

    exportBar_->setExpanded(false);
    exportBar_->setBarEnabled(false);

    klassenBar_->setBarEnabled(false);
    klassenBar_->setExpanded(false);
    klassenBar_->clearItems();
    klassenBar_->addItem(caption::klassenVerwalten);

    plansBar_->clearItems();
    plansBar_->setBarEnabled(false);

    spielerBar_->setBarEnabled(false);
    spielerBar_->setExpanded(false);
    spieleplanerAction_->setEnabled(false);
}

void TMainform::fillClassBar() {
    const Rows rows =
        db_.select(QStringLiteral("SELECT system,kbezeichnung FROM Turnierklassen WHERE TID=:ID ORDER BY KID"),
                   {{QStringLiteral(":ID"), state_.tid}});
    klassenBar_->clearItems();
    klassenBar_->addItem(caption::klassenVerwalten);
    for (const Row& r : rows)
        klassenBar_->addItem(classkind::caption(r.text(u"kbezeichnung"), r.integer(u"system")));
}

void TMainform::fillPlansBar() {
    const Rows rows =
        db_.select(QStringLiteral("SELECT DISTINCT t.kid,t.kbezeichnung,t.system FROM Spielplan AS s "
                                  "INNER JOIN Turnierklassen AS t ON (t.KID=s.KID AND t.TID=:ID)"),
                   {{QStringLiteral(":ID"), state_.tid}});
    plansBar_->clearItems();
    for (const Row& r : rows)
        plansBar_->addItem(classkind::caption(r.text(u"kbezeichnung"), r.integer(u"system")));
}

void TMainform::addClassItem(const QString& caption) {
    if (klassenBar_->indexOf(caption) < 0) klassenBar_->addItem(caption);
}

void TMainform::renameClassItem(const QString& oldCaption, const QString& newCaption) {
    for (int i = 1; i < klassenBar_->itemCount(); ++i)
        if (klassenBar_->itemCaption(i) == oldCaption) klassenBar_->renameItem(i, newCaption);
}

void TMainform::removeClassItem(const QString& caption) {
    // "Klassen verwalten" stays whatever a class is called.
    for (int i = klassenBar_->itemCount() - 1; i >= 1; --i)
        if (klassenBar_->itemCaption(i) == caption) klassenBar_->removeItem(i);
}

void TMainform::addPlanItem(const QString& caption) {
    if (plansBar_->indexOf(caption) < 0) plansBar_->addItem(caption);
}

void TMainform::removePlanItem(const QString& caption) {
    for (int i = plansBar_->itemCount() - 1; i >= 0; --i)
        if (plansBar_->itemCaption(i) == caption) plansBar_->removeItem(i);
}

namespace {
int lookUpClass(Tdb_procedures& db, int tid, const QString& caption) {
    return db
        .selectOne(QStringLiteral(
                       "SELECT KID FROM Turnierklassen WHERE TID=:k1 AND kbezeichnung=:k2 AND system=:k3"),
                   {{QStringLiteral(":k1"), tid},
                    {QStringLiteral(":k2"), classkind::nameOfCaption(caption)},
                    {QStringLiteral(":k3"), classkind::kindOfCaption(caption)}})
        .integer(u"KID");
}
} // namespace

void TMainform::openClassItem(const QString& caption) {
    const int kid = lookUpClass(db_, state_.tid, caption);
    state_.kid = kid;
    state_.lastClassCaption = caption;
    setPanelTitle(QStringLiteral("Gruppen"), QStringLiteral("Gruppeneinteilung für ") + caption);
    showPanel(QStringLiteral("Gruppen"));
    emit classOpened(kid, classkind::kindOfCaption(caption), caption);
}

void TMainform::openPlanItem(const QString& caption) {
    const int kid = lookUpClass(db_, state_.tid, caption);
    state_.kid = kid;
    setPanelTitle(QStringLiteral("spielplanform"), QStringLiteral("Spielplan für ") + caption);
    showPanel(QStringLiteral("spielplanform"));
    emit planOpened(kid, caption);
}

void TMainform::tournamentItem(const QString& item) {
    timer_->stop();
    if (item == caption::erstellen)
        emit createTournamentRequested();
    else if (item == caption::laden)
        emit loadTournamentRequested();
    else if (item == caption::loeschen)
        emit deleteTournamentRequested();
    else if (item == caption::bearbeiten) {
        if (!state_.tournamentOpen()) {
            interaction_.plain(QStringLiteral("Sie müssen erst ein Turnier erstellen oder laden"));
            return;
        }
        showPanel(QStringLiteral("neuesTurnier"));
        emit editTournamentRequested();
    }
    emit navigationItemChosen(caption::turnierdaten, item);
}

void TMainform::playerItem(const QString& item) {
    timer_->stop();
    if (item == caption::spielerVerwalten)
        showPanel(QStringLiteral("spielerverwaltung"));
    else if (item == caption::teamverwaltung)
        emit teamManagementRequested();
    else if (item == caption::spieleranmeldung)
        showPanel(QStringLiteral("Anmeldung"));
    else if (item == caption::importieren)
        showPanel(QStringLiteral("import"));
    else if (item == caption::schiedsrichter)
        showPanel(QStringLiteral("schiripanel"));
    emit navigationItemChosen(caption::spielerdaten, item);
}

void TMainform::classItem(const QString& item) {
    timer_->stop();
    if (item == caption::klassenVerwalten) {
        showPanel(QStringLiteral("klassenverwalten"));
    } else {
        try {
            openClassItem(item);
        } catch (const DbError& e) {
            interaction_.error(e.message());
            return;
        }
    }
    emit navigationItemChosen(caption::turnierklassen, item);
}

void TMainform::planItem(const QString& item) {
    try {
        openPlanItem(item);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    emit navigationItemChosen(caption::spielplaene, item);
}

void TMainform::spieleplanerClick() {
    if (state_.tid > 0)
        emit schedulerRequested();
    else
        interaction_.error(QStringLiteral("Wählen Sie zuerst ein Turnier aus"));
}

void TMainform::liveErgebnisseClick() {
    if (state_.tid <= 0) {
        interaction_.error(QStringLiteral("Wählen Sie zuerst ein Turnier aus"));
        return;
    }
    try {
        const QString jetzt = liveexport::ordner(db_, state_.tid);
        if (!jetzt.isEmpty()) {
            if (interaction_.askYesNo(QStringLiteral("Die Live-Ergebnisse werden in den Ordner %1 geschrieben.\n"
                                                     "Sollen sie ausgeschaltet werden?")
                                          .arg(QDir::toNativeSeparators(jetzt)))) {
                liveexport::setOrdner(db_, state_.tid, QString());
                interaction_.information(QStringLiteral("Die Live-Ergebnisse sind ausgeschaltet."));
            }
            return;
        }
        // The folder is chosen through its start page, the file the live results keep up to date.
        const QString seite =
            interaction_.saveFile(QStringLiteral("Ordner für die Live-Ergebnisse wählen"),
                                  QDir(QDir::homePath()).filePath(QStringLiteral("index.html")),
                                  QStringLiteral("Webseite (*.html)"));
        if (seite.isEmpty()) return;
        const QString ordner = QFileInfo(seite).absolutePath();
        liveexport::setOrdner(db_, state_.tid, ordner);
        interaction_.information(
            QStringLiteral("Nach jedem Ergebnis werden die Seiten der Klasse in den Ordner %1 geschrieben.")
                .arg(QDir::toNativeSeparators(ordner)));
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

QString TMainform::manualMissingText() {
    return QStringLiteral("Das Handbuch wurde leider nicht gefunden.\n"
                          "Sie können es unter https://velmora.example.org/handbuch herunterladen.");
}

void TMainform::handbuchClick() {
    const QString path = QDir(programDir_).filePath(QStringLiteral("Handbuch.pdf"));
    if (QFileInfo::exists(path))
        openUrl_(QUrl::fromLocalFile(path));
    else
        interaction_.information(manualMissingText());
}

void TMainform::printerSetup() {
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

bool TMainform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == barBox_->viewport() && event->type() == QEvent::Wheel) {
        // A fixed, small step per notch, whatever the desktop's wheel setting.
        auto* wheel = static_cast<QWheelEvent*>(event);
        wheelRest_ += wheel->angleDelta().y();
        const int notches = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
        wheelRest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
        QScrollBar* bar = barBox_->verticalScrollBar();
        bar->setValue(bar->value() - notches * wheelStep);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainform::closeEvent(QCloseEvent* event) {
    // Nothing to save: every panel writes when its own save action runs.
    event->accept();
    QCoreApplication::quit();
}
