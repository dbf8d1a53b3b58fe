#include "entries/ui/timport_form.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Seite { TurnierSeite = 0, TabellenSeite = 1, FormularSeite = 2 };

QLabel* beschriftung(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return l;
}

} // namespace

Feldliste::Feldliste(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* i) { emit gewaehlt(i->text()); });
}

void Feldliste::dragEnterEvent(QDragEnterEvent* event) {
    // Only lines of the other list; the order within a list is not changed by dragging.
    if (event->source() && event->source() != this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void Feldliste::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() && event->source() != this)
        event->acceptProposedAction();
    else
        event->ignore();
}

void Feldliste::dropEvent(QDropEvent* event) {
    auto* source = qobject_cast<QListWidget*>(event->source());
    if (!source || source == this || !source->currentItem()) {
        event->ignore();
        return;
    }
    // The list states are changed by whoever listens; the drag itself moves nothing.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit abgelegt(source->currentItem()->text(), source);
}

void Feldliste::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit gewaehlt(currentItem()->text());
        return;
    }
    QListWidget::keyPressEvent(event);
}

Timport_form::Timport_form(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent)
    : QWidget(parent), interaction_(interaction), quelle_(state, db, interaction) {
    setObjectName(QStringLiteral("Timport_form"));
    setWindowTitle(QStringLiteral("Importieren"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::WindowModal);

    seiten_ = new QStackedWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));

    auto* turnierSeite = new QWidget(seiten_);
    turnierliste_ = new QListWidget(turnierSeite);
    turnierliste_->setObjectName(QStringLiteral("turnierliste"));
    auto* tl = new QVBoxLayout(turnierSeite);
    tl->addWidget(beschriftung(QStringLiteral("Verfügbare Turniere"), turnierliste_, turnierSeite));
    tl->addWidget(turnierliste_, 1);
    seiten_->addWidget(turnierSeite);

    auto* tabellenSeite = new QWidget(seiten_);
    spielerdaten_ = new QTableWidget(tabellenSeite);
    spielerdaten_->setObjectName(QStringLiteral("spielerdaten"));
    spielerdaten_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spielerdaten_->horizontalHeader()->setDefaultSectionSize(80);
    vorhanden_ = new Feldliste(tabellenSeite);
    vorhanden_->setObjectName(QStringLiteral("vorhandeneDaten"));
    reihenfolge_ = new Feldliste(tabellenSeite);
    reihenfolge_->setObjectName(QStringLiteral("datenreihenfolge"));
    auto* listen = new QHBoxLayout;
    auto* lv = new QVBoxLayout;
    lv->addWidget(beschriftung(QStringLiteral("Vorhanden Daten"), vorhanden_, tabellenSeite));
    lv->addWidget(vorhanden_);
    auto* lr = new QVBoxLayout;
    lr->addWidget(beschriftung(QStringLiteral("Datenreihenfolge"), reihenfolge_, tabellenSeite));
    lr->addWidget(reihenfolge_);
    listen->addLayout(lv);
    listen->addLayout(lr);
    auto* sl = new QVBoxLayout(tabellenSeite);
    sl->addWidget(beschriftung(QStringLiteral("Spielerdaten"), spielerdaten_, tabellenSeite));
    sl->addWidget(spielerdaten_, 2);
    sl->addLayout(listen, 1);
    seiten_->addWidget(tabellenSeite);

    auto* formularSeite = new QWidget(seiten_);
    formularliste_ = new QListWidget(formularSeite);
    formularliste_->setObjectName(QStringLiteral("formularliste"));
    formularverein_ = new QLabel(formularSeite);
    formularverein_->setObjectName(QStringLiteral("formularverein"));
    auto* fl = new QVBoxLayout(formularSeite);
    fl->addWidget(formularverein_);
    fl->addWidget(beschriftung(QStringLiteral("Spieler"), formularliste_, formularSeite));
    fl->addWidget(formularliste_, 1);
    seiten_->addWidget(formularSeite);

    importieren_ = new QPushButton(QStringLiteral("Importieren"), this);
    importieren_->setObjectName(QStringLiteral("importieren"));
    importieren_->setDefault(true);
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(importieren_);
    buttons->addWidget(zurueck_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(seiten_, 1);
    layout->addLayout(buttons);

    connect(importieren_, &QPushButton::clicked, this, &Timport_form::importieren);
    connect(zurueck_, &QPushButton::clicked, this, &QWidget::close);
    connect(turnierliste_, &QListWidget::currentRowChanged, this,
            [this](int row) { quelle_.gewaehltesTurnier = row; });
    auto hin = [this](const QString& text) {
        quelle_.anReihenfolge(text);
        refresh();
    };
    auto zurueck = [this](const QString& text) {
        quelle_.ausReihenfolge(text);
        refresh();
    };
    connect(reihenfolge_, &Feldliste::abgelegt, this, [hin](const QString& t, QWidget*) { hin(t); });
    connect(vorhanden_, &Feldliste::gewaehlt, this, hin);
    connect(vorhanden_, &Feldliste::abgelegt, this, [zurueck](const QString& t, QWidget*) { zurueck(t); });
    connect(reihenfolge_, &Feldliste::gewaehlt, this, zurueck);
}

bool Timport_form::oeffnen(const QString& path) {
    bool ok = false;
    try {
        ok = quelle_.oeffnen(path);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    if (!ok) {
        close();
        return false;
    }
    const int breiten[] = {210, 575, 230};
    const int seite = quelle_.art() == Quellart::Turnierdatei ? TurnierSeite
                      : quelle_.art() == Quellart::Tabelle    ? TabellenSeite
                                                              : FormularSeite;
    seiten_->setCurrentIndex(seite);
    // The spreadsheet page needs room for the sheet; the others are narrow lists.
    resize(std::max(breiten[seite], 260) * (seite == TabellenSeite ? 3 : 2) / 2,
           seite == TabellenSeite ? 560 : 420);

    turnierliste_->clear();
    for (const auto& t : quelle_.turniere())
        turnierliste_->addItem(t.turniername);
    if (quelle_.gewaehltesTurnier >= 0) turnierliste_->setCurrentRow(quelle_.gewaehltesTurnier);

    const Tabelle& t = quelle_.tabelle();
    spielerdaten_->clear();
    spielerdaten_->setColumnCount(t.spalten);
    spielerdaten_->setRowCount(t.zeilen.size());
    QStringList titel;
    for (int c = 0; c < t.spalten; ++c)
        titel << QStringLiteral("Spalte %1").arg(c + 1);
    spielerdaten_->setHorizontalHeaderLabels(titel);
    for (int r = 0; r < t.zeilen.size(); ++r)
        for (int c = 0; c < t.spalten; ++c)
            spielerdaten_->setItem(r, c, new QTableWidgetItem(t.zeilen[r].value(c)));
    vorhanden_->clear();
    vorhanden_->addItems(Importquelle::vorhandeneDaten());

    formularverein_->setText(quelle_.formularVerein());
    formularliste_->clear();
    for (const Importitem& i : quelle_.formularSpieler())
        formularliste_->addItem(i.text());

    refresh();
    show();
    raise();
    activateWindow();
    return true;
}

void Timport_form::refresh() {
    reihenfolge_->clear();
    reihenfolge_->addItems(quelle_.reihenfolge());
}

void Timport_form::importieren() {
    std::optional<QList<Importitem>> k;
    try {
        k = quelle_.kandidaten();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    if (!k) return;
    emit uebernommen(*k);
    close();
}
