#include "draw/ui/gruppenpanel.h"

#include "common/interaction.h"
#include "common/ui/statusmeldung.h"
#include "draw/ui/gruppenliste.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The counts change through their arrows (and the arrow keys) only; typing is reserved for the direct
// qualifiers.
class ArrowSpinBox : public QSpinBox {
public:
    explicit ArrowSpinBox(QWidget* parent = nullptr) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

// Large enough for any tournament; the real caps are the rules of Tgruppe.
constexpr int kSpinMaximum = 9999;

const QColor kPresentColour(0x1f, 0x5f, 0xbf);

QSpinBox* countSpin(bool typed, const QString& name) {
    QSpinBox* spin = typed ? new QSpinBox : new ArrowSpinBox;
    spin->setObjectName(name);
    spin->setRange(0, kSpinMaximum);
    return spin;
}

QString listCaption(int kind, bool gesetzt) {
    switch (kind) {
    case 1:
    case 2:
        return gesetzt ? QStringLiteral("Gesetzte Doppel") : QStringLiteral("Gemeldete Doppel");
    case 3:
        return gesetzt ? QStringLiteral("Gesetzte Mannschaften") : QStringLiteral("Gemeldete Mannschaften");
    default:
        return gesetzt ? QStringLiteral("Gesetzte Spieler") : QStringLiteral("Gemeldete Spieler");
    }
}

void fillList(QListWidget* list, const QVector<Myitem>& items, bool colourPresent) {
    list->clear();
    for (const Myitem& item : items) {
        auto* line = new QListWidgetItem(item.text, list);
        if (colourPresent) line->setForeground(item.present ? kPresentColour : QColor(Qt::black));
    }
}

} // namespace

GruppenPanel::GruppenPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& /*clock*/,
                           QWidget* parent)
    : QWidget(parent), state_(state), interaction_(interaction), gruppe_(db, interaction) {
    setObjectName(QStringLiteral("Gruppen"));

    titel_ = new QLabel(QStringLiteral("Gruppeneinteilung für "));
    titel_->setObjectName(QStringLiteral("Gruppentitel"));
    QFont titleFont = titel_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titel_->setFont(titleFont);

    seiten_ = new QTabWidget;
    seiten_->setObjectName(QStringLiteral("seiten"));
    seiten_->addTab(buildSettingsPage(), QStringLiteral("Allgemein"));
    seiten_->addTab(buildListsPage(), QStringLiteral("Setzliste"));

    speichern_ = new QPushButton(QStringLiteral("Spielsystem speichern"));
    speichern_->setObjectName(QStringLiteral("spielsystem_create"));
    auslosung_ = new QPushButton(QStringLiteral("Zur Auslosung -->"));
    auslosung_->setObjectName(QStringLiteral("zurauslosung"));
    // Usable once a class is open.
    speichern_->setEnabled(false);
    auslosung_->setEnabled(false);
    connect(speichern_, &QPushButton::clicked, this, &GruppenPanel::speichern);
    connect(auslosung_, &QPushButton::clicked, this, &GruppenPanel::zurAuslosung);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(speichern_);
    buttons->addWidget(auslosung_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titel_);
    layout->addWidget(seiten_, 1);
    layout->addLayout(buttons);

    setTabOrder(seiten_, speichern_);
    setTabOrder(speichern_, auslosung_);
    showAll();
}

QWidget* GruppenPanel::buildPhase(int n) {
    PhaseControls& c = phases_[n - 1];
    c.panel = new QGroupBox(QStringLiteral("Phase %1").arg(n));
    c.panel->setObjectName(QStringLiteral("phase%1panel").arg(n));

    auto* systemBox = new QGroupBox(QStringLiteral("Spielsystem"));
    systemBox->setObjectName(QStringLiteral("spielsystem%1").arg(n));
    auto* systemLayout = new QVBoxLayout(systemBox);
    auto* group = new QButtonGroup(systemBox);
    const QString captions[] = {QStringLiteral("Gruppenphase"), QStringLiteral("Einfaches KO-System"),
                                QStringLiteral("Doppeltes KO-System")};
    for (int s = 0; s < 3; ++s) {
        auto* radio = new QRadioButton(captions[s]);
        radio->setObjectName(QStringLiteral("spielsystem%1_%2").arg(n).arg(s));
        group->addButton(radio, s);
        systemLayout->addWidget(radio);
        c.system[s] = radio;
        connect(radio, &QRadioButton::toggled, this, [this, n, s](bool checked) {
            if (checked) systemChosen(n, s);
        });
    }

    c.gruppeneinstellung = new QWidget;
    c.gruppeneinstellung->setObjectName(QStringLiteral("gruppeneinstellung%1").arg(n));
    auto* form = new QFormLayout(c.gruppeneinstellung);
    form->setContentsMargins(0, 0, 0, 0);
    c.gruppenanzahl = countSpin(false, QStringLiteral("gruppenanzahl%1").arg(n));
    c.teilnehmer = countSpin(false, QStringLiteral("teilnehmer%1").arg(n));
    // The direct qualifiers of phase 2 carry a name of their own.
    c.besten = countSpin(true, n == 2 ? QStringLiteral("besten2") : QStringLiteral("beste%1").arg(n));
    c.bestplazierten = countSpin(false, QStringLiteral("bestplazierte%1").arg(n));
    const std::pair<const char*, QSpinBox*> rows[] = {{"Anzahl der &Gruppen", c.gruppenanzahl},
                                                      {"&Teilnehmer pro Gruppe", c.teilnehmer},
                                                      {"&Besten pro Gruppe", c.besten},
                                                      {"Bestp&lazierten weiter", c.bestplazierten}};
    for (const auto& [text, spin] : rows) {
        auto* label = new QLabel(QString::fromUtf8(text));
        label->setBuddy(spin);
        form->addRow(label, spin);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, n, box = spin](int value) { countChanged(n, box, value); });
    }

    auto* layout = new QVBoxLayout(c.panel);
    layout->addWidget(systemBox);
    layout->addWidget(c.gruppeneinstellung);
    layout->addStretch();
    return c.panel;
}

QWidget* GruppenPanel::buildSettingsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("allgemein"));
    auto* layout = new QHBoxLayout(page);
    for (int n = 1; n <= 3; ++n)
        layout->addWidget(buildPhase(n));
    // Hidden phases leave their room empty instead of stretching the others.
    layout->addStretch();
    return page;
}

QWidget* GruppenPanel::buildListsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("setzliste"));

    gemeldet_ = new GruppenListe;
    gemeldet_->setObjectName(QStringLiteral("gemeldete_spieler"));
    gemeldetCaption_ = new QLabel;
    gemeldetCaption_->setObjectName(QStringLiteral("gemeldetecaption"));
    gemeldetCaption_->setBuddy(gemeldet_);
    anzahl_ = new QLabel;
    anzahl_->setObjectName(QStringLiteral("anzahl"));
    anzahl_->setAccessibleName(QStringLiteral("Anzahl der Meldungen"));

    gesetztListe_ = new GruppenListe;
    gesetztListe_->setObjectName(QStringLiteral("gesetztespielerliste"));
    gesetztCaption_ = new QLabel;
    gesetztCaption_->setObjectName(QStringLiteral("gesetztecaption"));
    gesetztCaption_->setBuddy(gesetztListe_);
    gesetzt_ = countSpin(false, QStringLiteral("gesetztespieleredit"));
    auto* gesetztLabel = new QLabel(QStringLiteral("&Anzahl der Gesetzten"));
    gesetztLabel->setBuddy(gesetzt_);
    connect(gesetzt_, &QSpinBox::valueChanged, this, &GruppenPanel::gesetztChanged);

    doppelpanel_ = new QGroupBox(QStringLiteral("Spieler ohne Partner"));
    doppelpanel_->setObjectName(QStringLiteral("doppelpanel"));
    ohnepartner_ = new GruppenListe;
    ohnepartner_->setObjectName(QStringLiteral("ohnepartner"));
    ohnepartner_->setAccessibleName(QStringLiteral("Spieler ohne Partner"));
    auto* doppelLayout = new QVBoxLayout(doppelpanel_);
    doppelLayout->addWidget(ohnepartner_);

    auto* gemeldetHead = new QHBoxLayout;
    gemeldetHead->addWidget(gemeldetCaption_);
    gemeldetHead->addStretch();
    gemeldetHead->addWidget(anzahl_);
    auto* gesetztHead = new QHBoxLayout;
    gesetztHead->addWidget(gesetztLabel);
    gesetztHead->addWidget(gesetzt_);
    gesetztHead->addStretch();

    auto* grid = new QGridLayout(page);
    grid->addLayout(gemeldetHead, 0, 0);
    grid->addWidget(gemeldet_, 1, 0, 2, 1);
    grid->addLayout(gesetztHead, 0, 1);
    grid->addWidget(gesetztCaption_, 1, 1);
    grid->addWidget(gesetztListe_, 2, 1);
    grid->addWidget(doppelpanel_, 0, 2, 3, 1);
    grid->setRowStretch(2, 1);

    for (GruppenListe* list : {gemeldet_, gesetztListe_, ohnepartner_})
        connect(list, &GruppenListe::zeileAbgelegt, this,
                [this, list](const QString& source, int sourceRow, int targetRow) {
                    lineDropped(list, source, sourceRow, targetRow);
                });
    // One line is chosen at a time across the entry and the seed list.
    connect(gemeldet_, &QListWidget::itemPressed, gesetztListe_, &QListWidget::clearSelection);
    connect(gesetztListe_, &QListWidget::itemPressed, gemeldet_, &QListWidget::clearSelection);

    setTabOrder(gemeldet_, gesetzt_);
    setTabOrder(gesetzt_, gesetztListe_);
    setTabOrder(gesetztListe_, ohnepartner_);
    return page;
}

void GruppenPanel::openClass(int kid, int kind, const QString& caption) {
    if (kind < 0) return;
    state_.kid = kid;
    titel_->setText(QStringLiteral("Gruppeneinteilung für ") + caption);
    gemeldetCaption_->setText(listCaption(kind, false));
    gesetztCaption_->setText(listCaption(kind, true));
    seiten_->setCurrentIndex(0);
    const int loadKind = kind == 3 ? Tgruppe::Team : (kind == 0 ? Tgruppe::Einzel : Tgruppe::Doppel);
    try {
        gruppe_.laden(kid, loadKind, kind == 2);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showAll();
}

void GruppenPanel::systemChosen(int phase, int system) {
    if (updating_) return;
    gruppe_.setSpielsystem(phase, system);
    showSettings();
}

void GruppenPanel::countChanged(int phase, QSpinBox* spin, int value) {
    if (updating_) return;
    const PhaseControls& c = phases_[phase - 1];
    if (spin == c.gruppenanzahl)
        gruppe_.setGruppenanzahl(phase, value);
    else if (spin == c.teilnehmer)
        gruppe_.setTeilnehmer(phase, value);
    else if (spin == c.besten)
        gruppe_.setBesten(phase, value);
    else
        gruppe_.setBestplazierten(phase, value);
    showSettings();
}

void GruppenPanel::gesetztChanged(int value) {
    if (updating_) return;
    gruppe_.setGesetzt(value);
    showSettings();
    showLists();
}

void GruppenPanel::lineDropped(GruppenListe* target, const QString& source, int sourceRow, int targetRow) {
    bool changed = false;
    if (target == gesetztListe_) {
        if (source == gemeldet_->objectName())
            changed = gruppe_.setzen(sourceRow, targetRow);
        else if (source == gesetztListe_->objectName())
            changed = gruppe_.tauschen(sourceRow, targetRow);
    } else if (target == gemeldet_) {
        if (source == gesetztListe_->objectName()) {
            changed = gruppe_.entfernen(sourceRow);
        } else if (source == ohnepartner_->objectName()) {
            try {
                changed = gruppe_.paaren(sourceRow, targetRow);
            } catch (const DbError& e) {
                interaction_.error(e.message());
            }
        }
    }
    if (changed) showLists();
}

void GruppenPanel::speichern() {
    if (gruppe_.kid() <= 0) return;
    try {
        gruppe_.systemspeichern(gruppe_.kid());
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    statusmeldung(this, QStringLiteral("Einstellungen gespeichert"));
}

void GruppenPanel::zurAuslosung() {
    if (gruppe_.kid() <= 0) return;
    try {
        if (gruppe_.zurauslosung()) emit drawRequested(gruppe_.kid());
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void GruppenPanel::showAll() {
    showSettings();
    showLists();
}

void GruppenPanel::showSettings() {
    updating_ = true;
    for (int n = 1; n <= 3; ++n) {
        const PhaseControls& c = phases_[n - 1];
        const Tgruppe::Phase& p = gruppe_.phase(n);
        if (p.system >= 0 && p.system < 3) c.system[p.system]->setChecked(true);
        c.gruppenanzahl->setValue(p.gruppenanzahl);
        c.teilnehmer->setValue(p.teilnehmer);
        c.besten->setValue(p.besten);
        c.bestplazierten->setValue(p.bestplazierten);
        c.panel->setVisible(gruppe_.phaseVisible(n));
        c.gruppeneinstellung->setVisible(gruppe_.groupSettingsVisible(n));
    }
    gesetzt_->setValue(gruppe_.gesetzt());
    const bool open = gruppe_.kid() > 0;
    speichern_->setEnabled(open);
    auslosung_->setEnabled(open);
    updating_ = false;
}

void GruppenPanel::showLists() {
    fillList(gemeldet_, gruppe_.entries(), true);
    fillList(gesetztListe_, gruppe_.seeds(), false);
    fillList(ohnepartner_, gruppe_.ohnepartner(), true);
    anzahl_->setText(gruppe_.anzahlText());
    doppelpanel_->setVisible(gruppe_.doublesVisible());
}
