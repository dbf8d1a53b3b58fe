#include "store/ui/turnier_erstellen.h"

#include "store/schema.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace tournaments;

TTurnier_erstellen::TTurnier_erstellen(AppState& state, Tdb_procedures& db, Interaction& ui,
                                       const QString& programDir, QWidget* parent)
    : QDialog(parent), state_(state), db_(db), ui_(ui), programDir_(programDir),
      databaseName_(kDatabaseName) {
    setObjectName(QStringLiteral("TTurnier_erstellen"));
    setWindowTitle(QStringLiteral("Neues Turnier erstellen"));
    setWindowModality(Qt::ApplicationModal);

    turniername_ = new QLineEdit(this);
    turniername_->setObjectName(QStringLiteral("turniername"));
    auto* nameRow = new QFormLayout;
    nameRow->addRow(QStringLiteral("Turniername"), turniername_);

    auto* format = new QGroupBox(QStringLiteral("Datenformat"), this);
    datenbankserver_ = new QRadioButton(QStringLiteral("Datenbank Server"), format);
    datenbankserver_->setObjectName(QStringLiteral("datenbankserver"));
    datenbankserver_->setChecked(true);
    dateidatenbank_ = new QRadioButton(QStringLiteral("Datei-Datenbank"), format);
    dateidatenbank_->setObjectName(QStringLiteral("dateidatenbank"));
    auto* formatLayout = new QVBoxLayout(format);
    formatLayout->addWidget(datenbankserver_);
    formatLayout->addWidget(dateidatenbank_);

    // Fixed for now: every tournament gets all four.
    auto* general = new QGroupBox(QStringLiteral("Allgemeine Einstellungen"), this);
    auto* generalLayout = new QVBoxLayout(general);
    const QStringList captions = {QStringLiteral("Schiedsrichterverwaltung aktivieren"),
                                  QStringLiteral("Überprüfung der Spielberechtigungen"),
                                  QStringLiteral("Vereinsverwaltung aktivieren"),
                                  QStringLiteral("Schiedsrichterzettel drucken")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* box = new QCheckBox(captions[i], general);
        box->setObjectName(QStringLiteral("einstellung%1").arg(i + 1));
        box->setChecked(true);
        box->setEnabled(false);
        generalLayout->addWidget(box);
        einstellungen_ << box;
    }

    erstellen_ = new QPushButton(QStringLiteral("Turnier erstellen"), this);
    erstellen_->setObjectName(QStringLiteral("erstellen"));
    erstellen_->setDefault(true);
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(erstellen_);
    buttons->addWidget(zurueck_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(format);
    layout->addWidget(general);
    layout->addLayout(buttons);
    setTabOrder(turniername_, datenbankserver_);
    setTabOrder(datenbankserver_, dateidatenbank_);
    setTabOrder(dateidatenbank_, erstellen_);
    setTabOrder(erstellen_, zurueck_);

    connect(erstellen_, &QPushButton::clicked, this, &TTurnier_erstellen::erstellen);
    connect(zurueck_, &QPushButton::clicked, this, &QDialog::reject);
}

void TTurnier_erstellen::clearName() {
    turniername_->clear();
}

QList<bool> TTurnier_erstellen::options() const {
    QList<bool> list;
    for (const QCheckBox* box : einstellungen_)
        list << box->isChecked();
    return list;
}

void TTurnier_erstellen::erstellen() {
    const QString name = turniername_->text().trimmed();
    if (name.isEmpty()) {
        ui_.plain(QStringLiteral("Bitte geben Sie einen Namen ein"));
        return;
    }
    const RestorePoint before = RestorePoint::take(state_, db_);

    if (dateidatenbank_->isChecked()) {
        const QString path = ui_.saveFile(QStringLiteral("Turnier-Datenbank wählen"),
                                          QDir(programDir_).filePath(QStringLiteral("turnier_db.sqlite")),
                                          QStringLiteral("Turnier-Datenbank (*.sqlite)"), false);
        if (!path.isEmpty() && !QFileInfo::exists(path)) {
            // A new file name in the save dialog asks for a new database: make it, then open it.
            try {
                schema::createFile(path);
            } catch (const DbError& e) {
                ui_.error(e.message());
                return;
            }
        }
        if (!path.isEmpty()) {
            state_.dbKind = DbKind::File;
            state_.filePath = path;
        } else if (state_.filePath.isEmpty()) {
            return;
        }
        // Cancelled with a path known from before: go on with the database as it was.
    } else {
        state_.dbKind = DbKind::Server;
    }

    try {
        db_verbinden(db_, state_, databaseName_);
    } catch (const DbError& e) {
        // A file we may not write to has its own message: the user can do something about it.
        ui_.error(e.kind() == DbError::Kind::NotWritable
                      ? e.message()
                      : QStringLiteral("Datenbank verbinden fehlgeschlagen"));
        giveUp(before);
        return;
    }
    state_.trueValue = state_.dbKind == DbKind::File ? -1 : 1;

    try {
        richtige_db(db_, ui_);
    } catch (const DbError&) {
        ui_.error(QStringLiteral("Es wurde eine falsche Datenbank ausgewählt"));
        db_.disconnect();
        giveUp(before);
        return;
    }

    state_.turniername = name;
    accept();
    emit tournamentCreated(name, options());
}

void TTurnier_erstellen::giveUp(const RestorePoint& before) {
    try {
        before.restore(state_, db_, databaseName_);
    } catch (const DbError& e) {
        ui_.error(describe(e));
    }
}
