#include "entries/ui/spielerpanel.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "common/ui/ankreuzliste.h"
#include "common/ui/statusmeldung.h"
#include "entries/ui/rnummer.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "ui_spielerpanel.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace {

// The check-in colour of the player list ("angemeldet").
const QColor kAngemeldet(0x00, 0x80, 0x80);

void setTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

void setEditTextIfChanged(QComboBox* box, const QString& text) {
    if (box->currentText() != text) box->setEditText(text);
}

void selectRow(QListWidget* list, int row) {
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    } else {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}

} // namespace

SpielerPanel::SpielerPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                           QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SpielerPanel>()), state_(state), db_(db),
      interaction_(interaction), clock_(clock), model_(state, db, interaction) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("spielerverwaltung"));
    QFont titleFont = ui_->titel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    ui_->titel->setFont(titleFont);
    ui_->spielerliste->setStyleSheet(QStringLiteral("QListWidget::item { padding-left: 5px; }"));
    ui_->spielerliste->setUniformItemSizes(true);
    ui_->vereinsliste->setUniformItemSizes(true);
    alsAnkreuzliste(ui_->sklassen);
    ui_->snachname->installEventFilter(this);
    // The save button changes its caption; it keeps room for the longer one.
    const QFontMetrics fm(ui_->spielerSpeichern->font());
    ui_->spielerSpeichern->setMinimumWidth(fm.horizontalAdvance(Spielerverwaltung::kAendern) + 24);
    model_.setChangeListener([this] { refresh(); });
    connectInputs();
    refresh();
}

SpielerPanel::~SpielerPanel() = default;

void SpielerPanel::setPairingHook(PairingHook* hook) {
    model_.setPairingHook(hook);
}

TR_Nummer* SpielerPanel::startNumberDialog() {
    if (!startNumbers_) startNumbers_ = new TR_Nummer(state_, db_, interaction_, this);
    return startNumbers_;
}

template <typename F> void SpielerPanel::guarded(F&& action) {
    try {
        action();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    refresh();
}

void SpielerPanel::showPanel() {
    guarded([this] { model_.open(); });
}

QComboBox* SpielerPanel::combo(Werteliste list) const {
    switch (list) {
    case Werteliste::Kreisverband:
        return ui_->kreisverband;
    case Werteliste::Bezirksverband:
        return ui_->bezirksverband;
    case Werteliste::Landesverband:
        return ui_->landesverband;
    case Werteliste::Land:
        return ui_->land;
    case Werteliste::Spielklasse:
        return ui_->spklasse;
    }
    return nullptr;
}

void SpielerPanel::connectInputs() {
    const QList<QPair<QLineEdit*, QString SpielerFelder::*>> edits{
        {ui_->snachname, &SpielerFelder::nachname}, {ui_->svorname, &SpielerFelder::vorname},
        {ui_->sverein, &SpielerFelder::verein},     {ui_->sgeb, &SpielerFelder::geb},
        {ui_->snummer, &SpielerFelder::nummer},     {ui_->zuzahlen, &SpielerFelder::zuzahlen}};
    for (const auto& [edit, field] : edits) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit = edit, field = field](const QString& text) {
            model_.felder().*field = text;
            model_.markChanged();
            // Search as you type.
            if (edit == ui_->snachname) model_.searchPlayer(text);
            if (edit == ui_->sverein) model_.searchClub(text);
            refresh();
        });
    }
    connect(ui_->snachname, &QLineEdit::returnPressed, this, [this] {
        const int row = model_.spielerlisteCurrent();
        if (row >= 0) guarded([&] { model_.choosePlayer(model_.spielerliste()[row].sid); });
    });
    connect(ui_->sverein, &QLineEdit::returnPressed, this,
            [this] { guarded([this] { model_.takeSearchedClub(); }); });

    const QList<QPair<Werteliste, QString SpielerFelder::*>> combos{
        {Werteliste::Kreisverband, &SpielerFelder::kverband},
        {Werteliste::Bezirksverband, &SpielerFelder::bverband},
        {Werteliste::Landesverband, &SpielerFelder::lverband},
        {Werteliste::Land, &SpielerFelder::land},
        {Werteliste::Spielklasse, &SpielerFelder::spklasse}};
    for (const auto& [list, field] : combos) {
        QComboBox* box = combo(list);
        connect(box, &QComboBox::editTextChanged, this, [this, field = field](const QString& text) {
            if (filling_) return;
            model_.felder().*field = text;
            model_.markChanged();
            refresh();
        });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, list = list, box] {
            model_.addValue(list, box->currentText());
            refresh();
        });
    }

    const QList<QPair<QCheckBox*, bool SpielerFelder::*>> checks{
        {ui_->bezahlt, &SpielerFelder::bezahlt}, {ui_->angemeldet, &SpielerFelder::angemeldet}};
    for (const auto& [box, field] : checks) {
        connect(box, &QCheckBox::clicked, this, [this, field = field](bool on) {
            model_.felder().*field = on;
            model_.markChanged();
            refresh();
        });
    }
    connect(ui_->sv_mann, &QCheckBox::clicked, this, [this](bool on) {
        model_.setMann(on);
        refresh();
    });
    connect(ui_->sv_weiblich, &QCheckBox::clicked, this, [this](bool on) {
        model_.setFrau(on);
        refresh();
    });

    auto choosePlayer = [this](QListWidgetItem* item) {
        const int sid = item->data(Qt::UserRole).toInt();
        guarded([&] { model_.choosePlayer(sid); });
    };
    connect(ui_->spielerliste, &QListWidget::itemClicked, this, choosePlayer);
    connect(ui_->spielerliste, &QListWidget::itemActivated, this, choosePlayer);
    auto chooseClub = [this](QListWidgetItem* item) {
        const QString club = item->text();
        guarded([&] { model_.chooseClub(club); });
    };
    connect(ui_->vereinsliste, &QListWidget::itemClicked, this, chooseClub);
    connect(ui_->vereinsliste, &QListWidget::itemActivated, this, chooseClub);
    auto partnerLine = [this](QListWidgetItem* item) {
        const int row = ui_->doppelpartner->row(item);
        guarded([&] { model_.partnerLineClicked(row); });
    };
    connect(ui_->doppelpartner, &QListWidget::itemClicked, this, partnerLine);
    connect(ui_->doppelpartner, &QListWidget::itemActivated, this, partnerLine);
    connect(ui_->sklassen, &QListWidget::itemSelectionChanged, this, &SpielerPanel::classSelectionChanged);

    connect(ui_->neuerSpieler, &QPushButton::clicked, this, [this] {
        guarded([this] { model_.newPlayer(); });
        ui_->snachname->setFocus();
    });
    connect(ui_->erzeugen, &QPushButton::clicked, this,
            [this] { guarded([this] { model_.proposeStartNumber(); }); });
    connect(ui_->nummernAnzeigen, &QPushButton::clicked, this, [this] { startNumberDialog()->show(); });
    connect(ui_->spielerSpeichern, &QPushButton::clicked, this, [this] {
        SpielerFeld focus = SpielerFeld::None;
        bool done = false;
        guarded([&] {
            const Spielerverwaltung::Outcome out = model_.save();
            focus = out.focus;
            done = out.done;
        });
        if (focus != SpielerFeld::None) {
            focusField(focus);
        } else if (done) {
            statusmeldung(this, QStringLiteral("Spieler gespeichert"));
            // The next entry starts at the surname, which is also the search; a slip of the Enter key
            // must never land on "Spieler löschen".
            ui_->snachname->setFocus(Qt::OtherFocusReason);
        }
    });
    connect(ui_->spielerLoeschen, &QPushButton::clicked, this,
            [this] { guarded([this] { model_.remove(); }); });
}

void SpielerPanel::classSelectionChanged() {
    if (filling_) return;
    SpielerFeld focus = SpielerFeld::None;
    guarded([&] {
        for (int row = 0; row < ui_->sklassen->count(); ++row) {
            const bool selected = ui_->sklassen->item(row)->isSelected();
            if (selected == model_.isClassSelected(row)) continue;
            const auto out = model_.setClassSelected(row, selected);
            if (out.focus != SpielerFeld::None) focus = out.focus;
        }
    });
    focusField(focus);
}

void SpielerPanel::focusField(SpielerFeld field) {
    QLineEdit* target = nullptr;
    switch (field) {
    case SpielerFeld::Nachname:
        target = ui_->snachname;
        break;
    case SpielerFeld::Vorname:
        target = ui_->svorname;
        break;
    case SpielerFeld::Geburtsdatum:
        target = ui_->sgeb;
        break;
    case SpielerFeld::Rueckennummer:
        target = ui_->snummer;
        break;
    case SpielerFeld::Startgebuehr:
        target = ui_->zuzahlen;
        break;
    case SpielerFeld::None:
        return;
    }
    target->setFocus();
    target->selectAll();
}

bool SpielerPanel::eventFilter(QObject* watched, QEvent* event) {
    // Coming into the surname field shows every player again, ready for the search.
    if (watched == ui_->snachname && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
            reason == Qt::BacktabFocusReason) {
            model_.showAllPlayers();
            refresh();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpielerPanel::fillPlayerList() {
    QListWidget* list = ui_->spielerliste;
    list->setUpdatesEnabled(false);
    list->clear();
    for (const auto& z : model_.spielerliste()) {
        auto* item = new QListWidgetItem(z.text);
        item->setData(Qt::UserRole, z.sid);
        if (z.angemeldet) item->setForeground(kAngemeldet);
        list->addItem(item);
    }
    list->setUpdatesEnabled(true);
    shownPlayerVersion_ = model_.playerListVersion();
}

void SpielerPanel::fillValueLists() {
    for (Werteliste l : {Werteliste::Kreisverband, Werteliste::Bezirksverband, Werteliste::Landesverband,
                         Werteliste::Land, Werteliste::Spielklasse}) {
        QComboBox* box = combo(l);
        const QString text = box->currentText();
        box->clear();
        box->addItems(model_.werte(l));
        box->setEditText(text);
    }
    ui_->vereinsliste->setUpdatesEnabled(false);
    ui_->vereinsliste->clear();
    ui_->vereinsliste->addItems(model_.vereine());
    ui_->vereinsliste->setUpdatesEnabled(true);
    shownValueVersion_ = model_.valueListVersion();
}

void SpielerPanel::fillClassList() {
    ui_->sklassen->clear();
    for (const auto& k : model_.klassen())
        ui_->sklassen->addItem(k.text);
    shownClassVersion_ = model_.classListVersion();
}

void SpielerPanel::syncSelections() {
    for (int row = 0; row < ui_->sklassen->count(); ++row)
        ui_->sklassen->item(row)->setSelected(model_.isClassSelected(row));
    selectRow(ui_->spielerliste, model_.spielerlisteCurrent());
    selectRow(ui_->vereinsliste, model_.vereinCurrent());
}

void SpielerPanel::refresh() {
    filling_ = true;
    if (shownClassVersion_ != model_.classListVersion()) fillClassList();
    if (shownPlayerVersion_ != model_.playerListVersion()) fillPlayerList();
    if (shownValueVersion_ != model_.valueListVersion()) fillValueLists();

    const SpielerFelder& f = model_.felder();
    setTextIfChanged(ui_->snachname, f.nachname);
    setTextIfChanged(ui_->svorname, f.vorname);
    setTextIfChanged(ui_->sverein, f.verein);
    setTextIfChanged(ui_->sgeb, f.geb);
    setTextIfChanged(ui_->snummer, f.nummer);
    setTextIfChanged(ui_->zuzahlen, f.zuzahlen);
    setEditTextIfChanged(ui_->kreisverband, f.kverband);
    setEditTextIfChanged(ui_->bezirksverband, f.bverband);
    setEditTextIfChanged(ui_->landesverband, f.lverband);
    setEditTextIfChanged(ui_->land, f.land);
    setEditTextIfChanged(ui_->spklasse, f.spklasse);
    ui_->bezahlt->setChecked(f.bezahlt);
    ui_->angemeldet->setChecked(f.angemeldet);
    ui_->sv_mann->setChecked(f.mann);
    ui_->sv_weiblich->setChecked(f.frau);

    QStringList partner;
    for (const auto& l : model_.partnerLines())
        partner << l.text;
    QStringList shown;
    for (int i = 0; i < ui_->doppelpartner->count(); ++i)
        shown << ui_->doppelpartner->item(i)->text();
    if (shown != partner) {
        ui_->doppelpartner->clear();
        ui_->doppelpartner->addItems(partner);
    }

    syncSelections();
    ui_->spielerSpeichern->setEnabled(model_.saveEnabled());
    ui_->spielerSpeichern->setText(model_.saveCaption());
    filling_ = false;
}
