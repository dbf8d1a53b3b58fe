#include "entries/ui/klassenverwalten.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "common/ui/statusmeldung.h"
#include "entries/tische.h"
#include "entries/ui/altersklassen.h"
#include "entries/ui/klassen_verlassen.h"
#include "entries/ui/tisch_verwaltung.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "ui_klassenverwalten.h"

#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>

namespace {

constexpr int kKidRole = Qt::UserRole;

QString saveCaption(int loadedKid) {
    return loadedKid == 0 ? QStringLiteral("Klasse speichern") : QStringLiteral("Klasse ändern");
}

} // namespace

Klassenverwalten::Klassenverwalten(AppState& state, Tdb_procedures& db, Interaction& interaction,
                                   Clock& clock, QWidget* parent)
    : QWidget(parent), state_(state), interaction_(interaction), clock_(clock),
      logic_(state, db, interaction), ui_(std::make_unique<Ui::Klassenverwalten>()) {
    ui_->setupUi(this);
    // "ohne Beschränkung" must be read whole, not as its last word.
    ui_->altersklasse->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setObjectName(QStringLiteral("klassenverwalten"));
    QFont title = ui_->titel->font();
    title.setPointSizeF(title.pointSizeF() * 1.4);
    title.setBold(true);
    ui_->titel->setFont(title);
    ui_->plattenlist->hide();
    ui_->austragungstag->setLocale(QLocale(QLocale::German, QLocale::Germany));
    ui_->minteil->lineEdit()->setValidator(new QIntValidator(2, 24, this));
    ui_->maxteil->lineEdit()->setValidator(new QIntValidator(2, 24, this));

    altersklassen_ = new TAltersklassen(state, db, interaction, clock, this);
    tische_ = new Ttisch_verwaltung(state, db, interaction, clock, this);

    for (int kind = 0; kind < klassen::kKindCount; ++kind)
        connect(list(kind), &QListWidget::itemSelectionChanged, this, [this, kind] { listSelected(kind); });

    connect(ui_->system, &QComboBox::currentIndexChanged, this, &Klassenverwalten::kindChanged);
    connect(ui_->kbezeichnung, &QLineEdit::textChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->kbeschreibung, &QPlainTextEdit::textChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->kberechtigung, &QPlainTextEdit::textChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->mann, &QCheckBox::toggled, this, &Klassenverwalten::markChanged);
    connect(ui_->frau, &QCheckBox::toggled, this, &Klassenverwalten::markChanged);
    connect(ui_->gebuehr, &QLineEdit::textChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->minteil, &QComboBox::currentTextChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->maxteil, &QComboBox::currentTextChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->gewinnsaetze, &QComboBox::currentTextChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->plattenanzahl, &QComboBox::currentTextChanged, this, &Klassenverwalten::tableCountChanged);
    connect(ui_->altersklasse, &QComboBox::currentTextChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->austragungstag, &QDateEdit::dateChanged, this, &Klassenverwalten::markChanged);
    connect(ui_->beginn, &QLineEdit::textChanged, this, &Klassenverwalten::markChanged);

    connect(ui_->neue_klasse, &QPushButton::clicked, this, &Klassenverwalten::neueKlasse);
    connect(ui_->klasse_speichern, &QPushButton::clicked, this, &Klassenverwalten::speichern);
    connect(ui_->klasse_loeschen, &QPushButton::clicked, this, &Klassenverwalten::loeschen);
    connect(ui_->tische_verwalten, &QPushButton::clicked, this, &Klassenverwalten::tischeVerwalten);
    connect(ui_->altersklasse_bearbeiten, &QPushButton::clicked, this,
            &Klassenverwalten::altersklasseBearbeiten);
    connect(ui_->teamsystem, &QPushButton::clicked, this, &Klassenverwalten::teamSystemRequested);

    connect(tische_, &Ttisch_verwaltung::classChanged, this, &Klassenverwalten::markChanged);
    connect(tische_, &Ttisch_verwaltung::tablesAccepted, this, &Klassenverwalten::setTables);
    connect(altersklassen_, &TAltersklassen::saved, this, &Klassenverwalten::ageClassSaved);
    connect(altersklassen_, &TAltersklassen::removed, this, &Klassenverwalten::ageClassRemoved);

    new LeaveCheck(ui_->plattenanzahl, [this] {
        if (tische::parseCount(ui_->plattenanzahl->currentText())) return true;
        interaction_.warning(QStringLiteral("Geben Sie eine gültige Zahl ein"));
        return false;
    });

    const QScopedValueRollback guard(filling_, true);
    clearFields();
    setSaveState(false);
}

Klassenverwalten::~Klassenverwalten() = default;

QListWidget* Klassenverwalten::list(int kind) const {
    switch (kind) {
    case klassen::Doppel:
        return ui_->doppelliste;
    case klassen::Mixed:
        return ui_->mixedliste;
    case klassen::Team:
        return ui_->courbliste;
    default:
        return ui_->einzelliste;
    }
}

QListWidgetItem* Klassenverwalten::itemOfKid(int kind, int kid) const {
    QListWidget* l = list(kind);
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->data(kKidRole).toInt() == kid) return l->item(i);
    return nullptr;
}

void Klassenverwalten::selectOnly(QListWidgetItem* item) {
    const QScopedValueRollback guard(filling_, true);
    for (int kind = 0; kind < klassen::kKindCount; ++kind) {
        QListWidget* l = list(kind);
        if (item && item->listWidget() == l)
            l->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        else
            l->clearSelection();
    }
}

void Klassenverwalten::showPanel() {
    {
        const QScopedValueRollback guard(filling_, true);
        ui_->teamsystem->setEnabled(false);
        loadedKid_ = 0;
        loadedName_.clear();
        loadedKind_ = klassen::Einzel;
        teamSystem_ = {};
        for (int kind = 0; kind < klassen::kKindCount; ++kind)
            list(kind)->clear();
        clearFields();
        try {
            const auto lists = logic_.overview();
            for (int kind = 0; kind < klassen::kKindCount; ++kind) {
                QListWidget* l = list(kind);
                l->setUpdatesEnabled(false);
                for (const auto& entry : lists[kind]) {
                    auto* item = new QListWidgetItem(entry.name);
                    item->setData(kKidRole, entry.kid);
                    l->addItem(item);
                }
                l->setUpdatesEnabled(true);
            }
            ui_->altersklasse->clear();
            ui_->altersklasse->addItems(logic_.ageClassNames());
            const QDate first = logic_.firstDay();
            ui_->austragungstag->setDate(first.isValid() ? first : clock_.today());
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
        ui_->altersklasse->setCurrentText(klassen::ohneBeschraenkung());
    }
    setSaveState(false);
}

void Klassenverwalten::clearFields() {
    const QScopedValueRollback guard(filling_, true);
    ui_->system->setCurrentIndex(klassen::Einzel);
    ui_->kbezeichnung->clear();
    ui_->kbeschreibung->clear();
    ui_->kberechtigung->clear();
    ui_->mann->setChecked(true);
    ui_->frau->setChecked(false);
    ui_->gebuehr->clear();
    ui_->minteil->setCurrentText(QStringLiteral("2"));
    ui_->maxteil->setCurrentText(QStringLiteral("2"));
    ui_->gewinnsaetze->setCurrentText(QStringLiteral("3"));
    ui_->plattenanzahl->setCurrentText(QStringLiteral("1"));
    ui_->austragungstag->setDate(clock_.today());
    ui_->beginn->clear();
    setTables(tische::initialList());
}

void Klassenverwalten::showForm(const KlassenFormular& f) {
    const QScopedValueRollback guard(filling_, true);
    ui_->system->setCurrentIndex(f.system);
    ui_->kbezeichnung->setText(f.kbezeichnung);
    ui_->kbeschreibung->setPlainText(f.kbeschreibung);
    ui_->kberechtigung->setPlainText(f.spielberechtigung);
    ui_->mann->setChecked(f.mann);
    ui_->frau->setChecked(f.frau);
    ui_->gebuehr->setText(f.gebuehr);
    ui_->minteil->setCurrentText(f.min);
    ui_->maxteil->setCurrentText(f.max);
    ui_->gewinnsaetze->setCurrentText(f.saetze);
    ui_->plattenanzahl->setCurrentText(f.platten);
    ui_->altersklasse->setCurrentText(f.altersklasse);
    ui_->austragungstag->setDate(f.atag.isValid() ? f.atag : clock_.today());
    ui_->beginn->setText(f.beginn);
    setTables(f.tische);
    teamSystem_ = f.teamsystem;
}

KlassenFormular Klassenverwalten::readForm() const {
    KlassenFormular f;
    f.system = ui_->system->currentIndex();
    f.kbezeichnung = ui_->kbezeichnung->text();
    f.kbeschreibung = ui_->kbeschreibung->toPlainText();
    f.spielberechtigung = ui_->kberechtigung->toPlainText();
    f.mann = ui_->mann->isChecked();
    f.frau = ui_->frau->isChecked();
    f.gebuehr = ui_->gebuehr->text();
    f.min = ui_->minteil->currentText();
    f.max = ui_->maxteil->currentText();
    f.saetze = ui_->gewinnsaetze->currentText();
    f.platten = ui_->plattenanzahl->currentText();
    f.altersklasse = ui_->altersklasse->currentText();
    f.atag = ui_->austragungstag->date();
    f.beginn = ui_->beginn->text();
    f.tische = tables_;
    f.teamsystem = teamSystem_;
    return f;
}

void Klassenverwalten::setTables(const QStringList& tables) {
    tables_ = tables;
    ui_->plattenlist->clear();
    ui_->plattenlist->addItems(tables_);
}

void Klassenverwalten::setSaveState(bool enabled) {
    ui_->klasse_speichern->setText(saveCaption(loadedKid_));
    ui_->klasse_speichern->setEnabled(enabled);
    ui_->klasse_loeschen->setEnabled(loadedKid_ != 0);
}

void Klassenverwalten::markChanged() {
    if (filling_) return;
    // A change enables saving; the caption says whether a new class is stored or a stored one changed.
    if (!ui_->klasse_speichern->isEnabled()) setSaveState(true);
}

void Klassenverwalten::kindChanged(int kind) {
    ui_->teamsystem->setEnabled(kind == klassen::Team);
    markChanged();
}

void Klassenverwalten::tableCountChanged(const QString& text) {
    if (filling_) return;
    markChanged();
    if (const auto n = tische::parseCount(text)) setTables(tische::resized(tables_, *n));
}

void Klassenverwalten::setTeamSystem(const TeamSystem& teamSystem) {
    teamSystem_ = teamSystem;
    markChanged();
}

void Klassenverwalten::listSelected(int kind) {
    if (filling_) return;
    const QList<QListWidgetItem*> selected = list(kind)->selectedItems();
    if (selected.isEmpty()) return;
    QListWidgetItem* item = selected.first();
    selectOnly(item);
    loadClass(item->data(kKidRole).toInt());
}

void Klassenverwalten::loadClass(int kid) {
    KlassenFormular form;
    try {
        form = logic_.load(kid);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    clearFields();
    showForm(form);
    loadedKid_ = kid;
    loadedName_ = form.kbezeichnung;
    loadedKind_ = form.system;
    ui_->teamsystem->setEnabled(form.system == klassen::Team);
    setSaveState(false);
}

void Klassenverwalten::neueKlasse() {
    clearFields();
    selectOnly(nullptr);
    loadedKid_ = 0;
    loadedName_.clear();
    loadedKind_ = klassen::Einzel;
    teamSystem_ = {};
    ui_->teamsystem->setEnabled(false);
    setSaveState(true);
    ui_->kbezeichnung->setFocus();
}

void Klassenverwalten::speichern() {
    const KlassenFormular form = readForm();
    Klassenverwaltung::SaveResult result;
    try {
        result = logic_.save(form, loadedKid_);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    if (result.outcome == Klassenverwaltung::Outcome::DuplicateName) {
        const QScopedValueRollback guard(filling_, true);
        ui_->kbezeichnung->setText(loadedName_);
        setSaveState(false);
        return;
    }
    if (result.outcome != Klassenverwaltung::Outcome::Saved) return;

    const QString name = form.kbezeichnung.trimmed();
    const QString newCaption = klassen::caption(name, form.system);
    QListWidgetItem* item = loadedKid_ == 0 ? nullptr : itemOfKid(loadedKind_, loadedKid_);
    {
        // Removing a selected line selects its neighbour, which must not load that class.
        const QScopedValueRollback guard(filling_, true);
        if (item && loadedKind_ == form.system) {
            item->setText(name);
        } else {
            delete item;
            item = new QListWidgetItem(name);
            item->setData(kKidRole, result.kid);
            list(form.system)->addItem(item);
        }
    }
    if (loadedKid_ == 0) {
        emit classAdded(newCaption);
    } else {
        const QString oldCaption = klassen::caption(loadedName_, loadedKind_);
        if (oldCaption != newCaption) emit classRenamed(oldCaption, newCaption);
    }
    loadedKid_ = result.kid;
    loadedName_ = name;
    loadedKind_ = form.system;
    {
        const QScopedValueRollback guard(filling_, true);
        ui_->kbezeichnung->setText(name);
    }
    selectOnly(item);
    setSaveState(false);
    statusmeldung(this, QStringLiteral("Klasse gespeichert"));
    // The next step is usually another class; Enter must never reach "Klasse löschen".
    ui_->neue_klasse->setFocus(Qt::OtherFocusReason);
}

void Klassenverwalten::loeschen() {
    if (ui_->kbezeichnung->text().trimmed().isEmpty() || loadedKid_ == 0) return;
    if (!interaction_.askOkCancel(QStringLiteral(
            "Wollen Sie die Klasse wirklich löschen?\n\nBereits erstellte Spielpläne gehen verloren!")))
        return;
    const int kind = loadedKind_;
    const QString caption = klassen::caption(loadedName_, kind);
    try {
        logic_.remove(loadedKid_);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    {
        const QScopedValueRollback guard(filling_, true);
        delete itemOfKid(kind, loadedKid_);
    }
    emit classRemoved(caption);
    loadedKid_ = 0;
    loadedName_.clear();
    teamSystem_ = {};
    clearFields();
    setSaveState(false);

    // The neighbour in the same list takes the deleted class's place on the panel.
    QListWidget* l = list(kind);
    if (l->count() > 0) {
        QListWidgetItem* last = l->item(l->count() - 1);
        selectOnly(last);
        loadClass(last->data(kKidRole).toInt());
    } else {
        selectOnly(nullptr);
        ui_->teamsystem->setEnabled(false);
    }
}

void Klassenverwalten::tischeVerwalten() {
    tische_->activate(tables_);
    tische_->open();
}

void Klassenverwalten::altersklasseBearbeiten() {
    altersklassen_->activate(ui_->altersklasse->currentText().trimmed());
    altersklassen_->open();
}

void Klassenverwalten::ageClassSaved(const QString& name) {
    QComboBox* box = ui_->altersklasse;
    if (box->findText(name, Qt::MatchExactly) < 0) {
        // "ohne Beschränkung" stays the last entry.
        const int open = box->findText(klassen::ohneBeschraenkung(), Qt::MatchExactly);
        box->insertItem(open < 0 ? box->count() : open, name);
    }
    box->setCurrentText(name);
}

void Klassenverwalten::ageClassRemoved(const QString& name) {
    QComboBox* box = ui_->altersklasse;
    const int i = box->findText(name, Qt::MatchExactly);
    if (i >= 0) box->removeItem(i);
    box->setCurrentText(klassen::ohneBeschraenkung());
}
