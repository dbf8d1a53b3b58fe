#include "entries/ui/anmeldungpanel.h"

#include "common/interaction.h"
#include "entries/ui/anmeldungteam.h"
#include "store/db_procedures.h"
#include "ui_anmeldungpanel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kPresentRole = Qt::UserRole + 1;

// Present entrants in black, absent ones in red, indented; the selected line white on the highlight.
class AnmeldeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        QColor textColour = index.data(kPresentRole).toBool() ? QColor(Qt::black) : QColor(Qt::red);
        if (option.state & QStyle::State_Selected) {
            painter->fillRect(option.rect, option.palette.highlight());
            textColour = Qt::white;
        }
        painter->setPen(textColour);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.text(), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += 5;
        return s;
    }
};

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}
bool withCtrl(const QKeyEvent* key) {
    return key->modifiers() & Qt::ControlModifier;
}

} // namespace

AnmeldungPanel::AnmeldungPanel(AppState& state, Tdb_procedures& db, Interaction& interaction,
                               Clock& /*clock*/, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::AnmeldungPanel>()), interaction_(interaction),
      anmeldung_(state, db) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Anmeldung"));
    QFont titleFont = ui_->Anmeldungtitel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    ui_->Anmeldungtitel->setFont(titleFont);

    teamDialog_ = new Tteam_melden(this);
    teamDialog_->setWindowFlag(Qt::Window);
    teamDialog_->setWindowModality(Qt::ApplicationModal);

    for (const Seite seite : {Seite::Spieler, Seite::Team}) {
        QListWidget* l = list(seite);
        l->setItemDelegate(new AnmeldeDelegate(l));
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->installEventFilter(this);
        field(seite)->installEventFilter(this);
        connect(field(seite), &QLineEdit::textEdited, this,
                [this, seite](const QString& t) { typed(seite, t); });
        connect(l, &QListWidget::currentRowChanged, this, [this, seite](int row) { rowChosen(seite, row); });
        connect(l, &QListWidget::itemDoubleClicked, this, [this, seite] { toggle(seite); });
        connect(check(seite), &QCheckBox::clicked, this, [this, seite](bool on) { checkClicked(seite, on); });
    }
    connect(ui_->sortNachname, &QRadioButton::clicked, this, &AnmeldungPanel::sortPlayers);
    connect(ui_->sortVerein, &QRadioButton::clicked, this, &AnmeldungPanel::sortPlayers);
    connect(ui_->sortTeamname, &QRadioButton::clicked, this, &AnmeldungPanel::sortTeams);
    setFocusProxy(ui_->spieler_anmeldung);
}

AnmeldungPanel::~AnmeldungPanel() = default;

QLineEdit* AnmeldungPanel::field(Seite seite) const {
    return seite == Seite::Spieler ? ui_->spieler_anmeldung : ui_->team_anmeldung;
}
QListWidget* AnmeldungPanel::list(Seite seite) const {
    return seite == Seite::Spieler ? ui_->anmeldeliste : ui_->teammeldeliste;
}
QCheckBox* AnmeldungPanel::check(Seite seite) const {
    return seite == Seite::Spieler ? ui_->anmeldeCheck : ui_->teammeldecheck;
}
const QVector<AnmeldeEintrag>& AnmeldungPanel::entries(Seite seite) const {
    return seite == Seite::Spieler ? anmeldung_.players() : anmeldung_.teams();
}
int AnmeldungPanel::selected(Seite seite) const {
    return seite == Seite::Spieler ? anmeldung_.selectedPlayer() : anmeldung_.selectedTeam();
}

void AnmeldungPanel::showPanel() {
    ui_->spieler_anmeldung->clear();
    ui_->team_anmeldung->clear();
    try {
        anmeldung_.open();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    const bool was = updating_;
    updating_ = true;
    ui_->sortNachname->setChecked(true);
    ui_->sortTeamname->setChecked(true);
    updating_ = was;
    showLists();
    ui_->spieler_anmeldung->setFocus();
}

bool AnmeldungPanel::eventFilter(QObject* watched, QEvent* event) {
    for (const Seite seite : {Seite::Spieler, Seite::Team}) {
        if (watched == field(seite) && event->type() == QEvent::KeyPress)
            return fieldKey(seite, static_cast<QKeyEvent*>(event)) || QWidget::eventFilter(watched, event);
        if (watched == list(seite)) {
            if (event->type() == QEvent::KeyPress && listKey(seite, static_cast<QKeyEvent*>(event)))
                return true;
            // The list under the mouse takes the keyboard, so ENTER acts on what the operator looks at.
            if (event->type() == QEvent::Enter) list(seite)->setFocus(Qt::MouseFocusReason);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool AnmeldungPanel::fieldKey(Seite seite, const QKeyEvent* key) {
    if (isEnter(key)) {
        if (withCtrl(key))
            newEntrant(seite);
        else
            toggle(seite);
        return true;
    }
    if (key->key() == Qt::Key_Up && key->modifiers() == Qt::NoModifier) {
        step(seite, -1);
        return true;
    }
    if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
        step(seite, 1);
        return true;
    }
    return false;
}

bool AnmeldungPanel::listKey(Seite seite, const QKeyEvent* key) {
    if (!isEnter(key)) return false;
    if (withCtrl(key)) {
        // New teams can be started from the team list as well; the player list knows no Ctrl+ENTER.
        if (seite == Seite::Team) newEntrant(seite);
        return seite == Seite::Team;
    }
    toggle(seite);
    return true;
}

void AnmeldungPanel::typed(Seite seite, const QString& text) {
    if (updating_) return;
    if (seite == Seite::Spieler)
        anmeldung_.searchPlayer(text);
    else
        anmeldung_.searchTeam(text);
    showSelection(seite);
}

void AnmeldungPanel::rowChosen(Seite seite, int row) {
    if (updating_ || row < 0) return;
    // A click or the cursor keys in the list: the field shows whom the next ENTER concerns.
    if (seite == Seite::Spieler)
        anmeldung_.selectPlayer(row);
    else
        anmeldung_.selectTeam(row);
    putNameIntoField(seite);
    showSelection(seite);
}

void AnmeldungPanel::step(Seite seite, int delta) {
    const int target = selected(seite) + delta;
    if (target < 0 || target >= entries(seite).size()) return;
    if (seite == Seite::Spieler)
        anmeldung_.selectPlayer(target);
    else
        anmeldung_.selectTeam(target);
    putNameIntoField(seite);
    showSelection(seite);
}

void AnmeldungPanel::putNameIntoField(Seite seite) {
    const int i = selected(seite);
    if (i < 0) return;
    const bool was = updating_;
    updating_ = true;
    field(seite)->setText(entries(seite)[i].name);
    updating_ = was;
}

void AnmeldungPanel::toggle(Seite seite) {
    const int i = selected(seite);
    if (i < 0) return; // nothing selected: nothing to do
    const AnmeldeEintrag e = entries(seite)[i];
    if (seite == Seite::Team) {
        setTeamMark(e.id, !e.angemeldet);
        return;
    }
    try {
        anmeldung_.spieleranmeldung(e.id, !e.angemeldet);
    } catch (const DbError& err) {
        interaction_.error(err.message());
    }
    showFlags(seite);
}

void AnmeldungPanel::checkClicked(Seite seite, bool checked) {
    if (updating_) return;
    const int i = selected(seite);
    if (i >= 0) {
        const int id = entries(seite)[i].id;
        if (seite == Seite::Team) {
            setTeamMark(id, checked);
            return;
        }
        try {
            anmeldung_.spieleranmeldung(id, checked);
        } catch (const DbError& err) {
            interaction_.error(err.message());
        }
    }
    // The box shows the flag as stored: unchanged when nothing is selected or the write failed.
    showFlags(seite);
}

void AnmeldungPanel::setTeamMark(int mid, bool angemeldet) {
    TeamMeldung meldung;
    try {
        meldung = anmeldung_.teamanmeldung(mid, angemeldet);
    } catch (const DbError& err) {
        interaction_.error(err.message());
        showFlags(Seite::Team);
        return;
    }
    showFlags(Seite::Team);

    teamDialog_->zeigen(meldung);
    if (teamDialog_->exec() != QDialog::Accepted) return;
    try {
        anmeldung_.teamSpielerMelden(teamDialog_->ausgewaehlt(), meldung.angemeldet);
    } catch (const DbError& err) {
        interaction_.error(err.message());
    }
    showFlags(Seite::Spieler);
}

void AnmeldungPanel::newEntrant(Seite seite) {
    const QString text = field(seite)->text();
    if (seite == Seite::Spieler) {
        const NeuerSpielerName name = splitSpielerName(text);
        emit neuerSpieler(name.nachname, name.vorname);
    } else {
        emit neuesTeam(text);
    }
}

void AnmeldungPanel::sortPlayers() {
    if (updating_) return;
    ui_->spieler_anmeldung->clear();
    try {
        anmeldung_.sortPlayers(ui_->sortVerein->isChecked() ? Anmeldung::Sortierung::Verein
                                                            : Anmeldung::Sortierung::Nachname);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showList(Seite::Spieler);
}

void AnmeldungPanel::sortTeams() {
    if (updating_) return;
    ui_->team_anmeldung->clear();
    try {
        anmeldung_.sortTeams();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showList(Seite::Team);
}

void AnmeldungPanel::showLists() {
    showList(Seite::Spieler);
    showList(Seite::Team);
}

void AnmeldungPanel::showList(Seite seite) {
    const bool was = updating_;
    updating_ = true;
    QListWidget* l = list(seite);
    l->setUpdatesEnabled(false);
    l->clear();
    for (const AnmeldeEintrag& e : entries(seite)) {
        auto* item = new QListWidgetItem(e.text);
        item->setData(kIdRole, e.id);
        item->setData(kPresentRole, e.angemeldet);
        l->addItem(item);
    }
    l->setUpdatesEnabled(true);
    updating_ = was;
    showSelection(seite);
}

void AnmeldungPanel::showFlags(Seite seite) {
    // Lines keep their place; only the colours follow the stored marks.
    QListWidget* l = list(seite);
    const QVector<AnmeldeEintrag>& shown = entries(seite);
    for (int i = 0; i < l->count() && i < shown.size(); ++i) {
        QListWidgetItem* item = l->item(i);
        if (item->data(kPresentRole).toBool() != shown[i].angemeldet)
            item->setData(kPresentRole, shown[i].angemeldet);
    }
    showSelection(seite);
}

void AnmeldungPanel::showSelection(Seite seite) {
    const bool was = updating_;
    updating_ = true;
    QListWidget* l = list(seite);
    const int i = selected(seite);
    if (i >= 0 && i < l->count()) {
        l->setCurrentRow(i);
        l->scrollToItem(l->item(i));
        check(seite)->setChecked(entries(seite)[i].angemeldet);
    } else {
        l->setCurrentRow(-1);
        check(seite)->setChecked(false);
    }
    updating_ = was;
}
