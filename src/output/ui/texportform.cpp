#include "output/ui/texportform.h"

#include "common/interaction.h"
#include "entries/ui/timport_form.h"
#include "store/db_procedures.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TExportform::TExportform(const AppState& state, Tdb_procedures& db, Interaction& interaction,
                         const QString& programDir, QWidget* parent)
    : QWidget(parent), interaction_(interaction), auswahl_(state, db, interaction, programDir) {
    setObjectName(QStringLiteral("TExportform"));
    setWindowTitle(QStringLiteral("Export"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);

    auto* datenLabel = new QLabel(QStringLiteral("Zu exportierende Daten"), this);
    daten_ = new QListWidget(this);
    daten_->setObjectName(QStringLiteral("daten"));
    datenLabel->setBuddy(daten_);
    vorhandenLabel_ = new QLabel(QStringLiteral("vorhandene Datenfelder"), this);
    vorhanden_ = new Feldliste(this);
    vorhanden_->setObjectName(QStringLiteral("vorhanden"));
    vorhandenLabel_->setBuddy(vorhanden_);
    gewaehltLabel_ = new QLabel(QStringLiteral("gewählte Datenfelder"), this);
    gewaehlt_ = new Feldliste(this);
    gewaehlt_->setObjectName(QStringLiteral("gewaehlt"));
    gewaehltLabel_->setBuddy(gewaehlt_);
    exportieren_ = new QPushButton(QStringLiteral("Exportieren"), this);
    exportieren_->setObjectName(QStringLiteral("exportieren"));
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("abbrechen"));

    auto* grid = new QGridLayout;
    grid->addWidget(datenLabel, 0, 0);
    grid->addWidget(daten_, 1, 0);
    grid->addWidget(vorhandenLabel_, 0, 1);
    grid->addWidget(vorhanden_, 1, 1);
    grid->addWidget(gewaehltLabel_, 0, 2);
    grid->addWidget(gewaehlt_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportieren_);
    buttons->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(760, 420);

    connect(daten_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (fuellen_ || row < 0) return;
        auswahl_.waehlen(row);
        refresh();
    });
    auto hin = [this](const QString& t) {
        auswahl_.hin(t);
        refresh();
    };
    auto zurueck = [this](const QString& t) {
        auswahl_.zurueck(t);
        refresh();
    };
    connect(gewaehlt_, &Feldliste::abgelegt, this, [hin](const QString& t, QWidget*) { hin(t); });
    connect(vorhanden_, &Feldliste::gewaehlt, this, hin);
    connect(vorhanden_, &Feldliste::abgelegt, this, [zurueck](const QString& t, QWidget*) { zurueck(t); });
    connect(gewaehlt_, &Feldliste::gewaehlt, this, zurueck);
    connect(exportieren_, &QPushButton::clicked, this, &TExportform::exportieren);
    connect(abbrechen_, &QPushButton::clicked, this, &QWidget::close);
}

void TExportform::oeffnen(const QString& caption) {
    try {
        auswahl_.oeffnen(Exportauswahl::verwendung(caption));
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    setWindowTitle(auswahl_.caption());
    fuellen_ = true;
    daten_->clear();
    daten_->addItems(auswahl_.datensaetze());
    daten_->setCurrentRow(auswahl_.gewaehlt());
    fuellen_ = false;
    // The HTML site has no column choice.
    const bool spalten = auswahl_.aktuelleVerwendung() != Exportauswahl::Verwendung::Html;
    for (QWidget* w : {static_cast<QWidget*>(vorhanden_), static_cast<QWidget*>(gewaehlt_),
                       static_cast<QWidget*>(vorhandenLabel_), static_cast<QWidget*>(gewaehltLabel_)})
        w->setVisible(spalten);
    refresh();
    show();
    raise();
    activateWindow();
}

void TExportform::refresh() {
    vorhanden_->clear();
    vorhanden_->addItems(auswahl_.vorhanden());
    gewaehlt_->clear();
    gewaehlt_->addItems(auswahl_.gewaehlteSpalten());
    exportieren_->setEnabled(auswahl_.gewaehlt() >= 0 &&
                             (auswahl_.aktuelleVerwendung() == Exportauswahl::Verwendung::Html ||
                              !auswahl_.gewaehlteSpalten().isEmpty()));
}

void TExportform::exportieren() {
    QString path;
    try {
        path = auswahl_.exportieren();
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    if (path.isEmpty()) return;
    emit geschrieben(path);
    if (auswahl_.aktuelleVerwendung() == Exportauswahl::Verwendung::Excel &&
        interaction_.askYesNo(QStringLiteral("Die Datei wurde gespeichert. Soll sie jetzt geöffnet werden?")))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
