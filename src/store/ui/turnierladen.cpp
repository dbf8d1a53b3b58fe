#include "store/ui/turnierladen.h"

#include "store/ui/msde_network_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSysInfo>
#include <QVBoxLayout>

using namespace tournaments;

namespace {

const QString kWrongDatabase = QStringLiteral("Es wurde eine falsche Datenbank ausgewählt");
const QString kFilter = QStringLiteral("Turnier-Datenbank (*.sqlite)");

} // namespace

Tturnierladen::Tturnierladen(AppState& state, Tdb_procedures& db, Interaction& ui, const QString& programDir,
                             QWidget* parent)
    : QDialog(parent), state_(state), db_(db), ui_(ui), programDir_(programDir), databaseName_(kDatabaseName),
      openDir_(programDir) {
    setObjectName(QStringLiteral("Tturnierladen"));
    setWindowTitle(QStringLiteral("Bestehendes Turnier laden"));
    setWindowModality(Qt::ApplicationModal);

    // The database server is looked for on this computer first.
    state_.serverName = QSysInfo::machineHostName().left(15);

    auto* listLabel = new QLabel(QStringLiteral("Vorhanden Turniere"), this);
    turnierliste_ = new QListWidget(this);
    turnierliste_->setObjectName(QStringLiteral("turnierliste"));
    listLabel->setBuddy(turnierliste_);

    auto* format = new QGroupBox(QStringLiteral("Datenformat"), this);
    datenbankserver_ = new QRadioButton(QStringLiteral("Datenbank Server"), format);
    datenbankserver_->setObjectName(QStringLiteral("datenbankserver"));
    dateidatenbank_ = new QRadioButton(QStringLiteral("Datei-Datenbank"), format);
    dateidatenbank_->setObjectName(QStringLiteral("dateidatenbank"));
    dateidatenbank_->setChecked(true);
    auto* formatLayout = new QHBoxLayout(format);
    formatLayout->addWidget(datenbankserver_);
    formatLayout->addWidget(dateidatenbank_);

    auto* placeLabel = new QLabel(QStringLiteral("Speicherort"), this);
    speicherort_ = new QLineEdit(this);
    speicherort_->setObjectName(QStringLiteral("speicherort"));
    speicherort_->setReadOnly(true);
    placeLabel->setBuddy(speicherort_);
    durchsuchen_ = new QPushButton(QStringLiteral("Durchsuchen"), this);
    durchsuchen_->setObjectName(QStringLiteral("durchsuchen"));
    auto* placeRow = new QHBoxLayout;
    placeRow->addWidget(placeLabel);
    placeRow->addWidget(speicherort_, 1);
    placeRow->addWidget(durchsuchen_);

    wartepanel_ = new QFrame(this);
    wartepanel_->setObjectName(QStringLiteral("wartepanel"));
    wartepanel_->setFrameShape(QFrame::StyledPanel);
    wartetext_ = new QLabel(wartepanel_);
    wartetext_->setObjectName(QStringLiteral("wartetext"));
    auto* waitLayout = new QHBoxLayout(wartepanel_);
    waitLayout->addWidget(wartetext_);
    wartepanel_->hide();

    anhaengen_ = new QPushButton(QStringLiteral("Turnier-DB anhängen"), this);
    anhaengen_->setObjectName(QStringLiteral("anhaengen"));
    anhaengen_->hide();
    laden_ = new QPushButton(QStringLiteral("Turnier laden"), this);
    laden_->setObjectName(QStringLiteral("laden"));
    laden_->setDefault(true);
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(anhaengen_);
    buttons->addStretch(1);
    buttons->addWidget(laden_);
    buttons->addWidget(zurueck_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(turnierliste_, 1);
    layout->addWidget(format);
    layout->addLayout(placeRow);
    layout->addWidget(wartepanel_);
    layout->addLayout(buttons);
    setTabOrder(turnierliste_, datenbankserver_);
    setTabOrder(datenbankserver_, dateidatenbank_);
    setTabOrder(dateidatenbank_, speicherort_);
    setTabOrder(speicherort_, durchsuchen_);
    setTabOrder(durchsuchen_, anhaengen_);
    setTabOrder(anhaengen_, laden_);
    setTabOrder(laden_, zurueck_);

    network_ = new TMSDENetworkForm(state_, db_, ui_, this);

    connect(dateidatenbank_, &QRadioButton::clicked, this, &Tturnierladen::chooseFile);
    connect(datenbankserver_, &QRadioButton::clicked, this, &Tturnierladen::chooseServer);
    connect(durchsuchen_, &QPushButton::clicked, this, &Tturnierladen::durchsuchen);
    connect(anhaengen_, &QPushButton::clicked, this, &Tturnierladen::anhaengen);
    connect(laden_, &QPushButton::clicked, this, &Tturnierladen::laden);
    connect(zurueck_, &QPushButton::clicked, this, &QDialog::reject);
    connect(turnierliste_, &QListWidget::itemDoubleClicked, this, [this] {
        if (turnierliste_->currentItem()) laden();
    });
    connect(network_, &TMSDENetworkForm::opened, this, [this] { setWaiting({}); });
    connect(network_, &TMSDENetworkForm::serverAccepted, this, &Tturnierladen::serverAccepted);
}

void Tturnierladen::setDatabaseName(const QString& name) {
    databaseName_ = name;
    network_->setDatabaseName(name);
}

QString Tturnierladen::shippedFile() const {
    return QDir(programDir_).filePath(QStringLiteral("turnier_db.sqlite"));
}

void Tturnierladen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    before_ = RestorePoint::take(state_, db_);
    loaded_ = false;

    bool serverShown = false;
    if (lastChoiceServer_) {
        datenbankserver_->setChecked(true);
        serverShown = chooseServer();
    }
    if (!serverShown && QFileInfo::exists(shippedFile())) {
        dateidatenbank_->setChecked(true);
        chooseFile();
        openDir_ = programDir_;
    }
}

void Tturnierladen::done(int result) {
    network_->hide();
    if (result == QDialog::Rejected && !loaded_) {
        try {
            before_.restore(state_, db_, databaseName_);
        } catch (const DbError& e) {
            ui_.error(describe(e));
        }
    }
    QDialog::done(result);
}

void Tturnierladen::setWaiting(const QString& text) {
    if (text.isEmpty()) {
        wartepanel_->hide();
        return;
    }
    wartetext_->setText(text);
    wartepanel_->show();
    // A connect blocks for up to ten seconds: the text must be on the screen before it starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Tturnierladen::chooseFile() {
    anhaengen_->hide();
    openFileDatabase(shippedFile());
}

void Tturnierladen::openFileDatabase(const QString& path) {
    speicherort_->setText(path);
    state_.dbKind = DbKind::File;
    state_.filePath = path;
    turnierliste_->clear();
    try {
        db_verbinden(db_, state_, databaseName_);
    } catch (const DbError& e) {
        if (e.kind() == DbError::Kind::NotWritable)
            ui_.error(e.message());
        else
            ui_.plain(QStringLiteral("Datenbankdatei nicht vorhanden"));
        return;
    }
    listTournaments();
}

bool Tturnierladen::chooseServer() {
    setWaiting(QStringLiteral("  Suche nach dem Server     ...bitte warten..."));
    anhaengen_->hide();
    speicherort_->setText(state_.serverName);
    turnierliste_->setEnabled(true);
    state_.dbKind = DbKind::Server;
    turnierliste_->clear();
    bool ok = false;
    try {
        db_verbinden(db_, state_, databaseName_);
        ok = listTournaments();
    } catch (const DbError&) {
        // Unreachable, or no tournament database there yet: the attach button offers to set one up.
    }
    anhaengen_->setVisible(turnierliste_->count() == 0);
    setWaiting({});
    return ok;
}

void Tturnierladen::durchsuchen() {
    if (datenbankserver_->isChecked()) {
        setWaiting(QStringLiteral("   Suche nach Computern     ...bitte warten..."));
        network_->show();
        return;
    }
    const QString path = ui_.openFile(QStringLiteral("Turnier-Datenbank öffnen"), openDir_, kFilter);
    if (path.isEmpty()) return;
    openDir_ = QFileInfo(path).absolutePath();
    openFileDatabase(path);
}

bool Tturnierladen::listTournaments() {
    turnierliste_->clear();
    QList<Entry> entries;
    try {
        entries = turnierliste(db_);
    } catch (const DbError&) {
        // No table of tournaments: whatever this is, it is not a tournament database.
        ui_.error(kWrongDatabase);
        return false;
    }
    for (const Entry& e : entries) {
        auto* item = new QListWidgetItem(e.name, turnierliste_);
        item->setData(Qt::UserRole, e.tid);
    }
    if (turnierliste_->count() > 0) turnierliste_->setCurrentRow(0);
    return true;
}

void Tturnierladen::serverAccepted(const QString& server) {
    speicherort_->setText(server);
    listTournaments();
    anhaengen_->setVisible(turnierliste_->count() == 0);
}

void Tturnierladen::anhaengen() {
    setWaiting(QStringLiteral("  Suche nach dem Server     ...bitte warten..."));
    turnierDbAnhaengen(state_.serverName, ui_, databaseName_);
    setWaiting({});
    chooseServer();
}

void Tturnierladen::laden() {
    const bool file = dateidatenbank_->isChecked();
    if (file && !QFileInfo(speicherort_->text()).isFile()) {
        ui_.error(QStringLiteral("Bitte wählen sie eine Datenbankdatei aus !"));
        return;
    }
    if (file) {
        state_.dbKind = DbKind::File;
        state_.filePath = speicherort_->text();
        lastChoiceServer_ = false;
        state_.trueValue = -1;
    } else {
        state_.dbKind = DbKind::Server;
        lastChoiceServer_ = true;
        state_.trueValue = 1;
    }

    try {
        db_verbinden(db_, state_, databaseName_);
    } catch (const DbError& e) {
        if (e.kind() == DbError::Kind::NotWritable)
            ui_.error(e.message());
        else
            ui_.plain(QStringLiteral("Datenbank nicht vorhanden"));
        return;
    }
    try {
        richtige_db(db_, ui_);
    } catch (const DbError&) {
        ui_.error(kWrongDatabase);
        db_.disconnect();
        return;
    }
    if (turnierliste_->count() == 0) {
        ui_.plain(QStringLiteral("Es ist kein Turnier vorhanden"));
        return;
    }

    const QListWidgetItem* item =
        turnierliste_->currentItem() ? turnierliste_->currentItem() : turnierliste_->item(0);
    state_.tid = item->data(Qt::UserRole).toInt();
    state_.turniername = item->text();
    loaded_ = true;
    accept();
    emit tournamentLoaded(state_.tid, state_.turniername);
}
