#include "entries/ui/schiripanel.h"

#include "common/interaction.h"
#include "common/ui/ankreuzliste.h"
#include "common/ui/statusmeldung.h"
#include "store/db_procedures.h"
#include "ui_schiripanel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kSchiriIdRole = Qt::UserRole;
constexpr int kPresentRole = Qt::UserRole + 1;
constexpr int kClassIdRole = Qt::UserRole;

// Present umpires stand out in the desktop colour; the others are black.
class UmpireDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        QColor textColour = index.data(kPresentRole).toBool() ? QColor(0x3a, 0x6e, 0xa5) : QColor(Qt::black);
        if (option.state & QStyle::State_Selected) {
            painter->fillRect(option.rect, option.palette.highlight());
            textColour = Qt::white;
        }
        painter->setPen(textColour);
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(5, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            QPen focusPen(option.palette.text(), 1, Qt::DotLine);
            painter->setPen(focusPen);
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

void fillCombo(QComboBox* combo, const QStringList& items, const QString& text) {
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

} // namespace

SchiriPanel::SchiriPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& /*clock*/,
                         QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SchiriPanel>()), interaction_(interaction),
      verwaltung_(state, db, interaction) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("schiripanel"));
    QFont titleFont = ui_->titel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    ui_->titel->setFont(titleFont);
    ui_->schiriliste->setItemDelegate(new UmpireDelegate(ui_->schiriliste));
    alsAnkreuzliste(ui_->schiriklassen);

    for (QLineEdit* edit : {ui_->schirinname, ui_->schirivname, ui_->schirigeb})
        connect(edit, &QLineEdit::textChanged, this, &SchiriPanel::fieldChanged);
    for (QComboBox* combo : {ui_->schiriverein, ui_->schirikverband, ui_->schiribverband, ui_->schirilverband,
                             ui_->schiriland, ui_->schiriklasse})
        connect(combo, &QComboBox::editTextChanged, this, &SchiriPanel::fieldChanged);
    connect(ui_->schiriangemeldet, &QCheckBox::toggled, this, &SchiriPanel::fieldChanged);
    connect(ui_->schirimemo, &QPlainTextEdit::textChanged, this, &SchiriPanel::fieldChanged);
    connect(ui_->schiriklassen, &QListWidget::itemSelectionChanged, this,
            &SchiriPanel::classSelectionChanged);
    connect(ui_->schiriliste, &QListWidget::currentRowChanged, this, &SchiriPanel::umpireRowChanged);
    connect(ui_->schiriliste, &QListWidget::itemClicked, this, &SchiriPanel::umpireClicked);
    connect(ui_->neuerschiri, &QPushButton::clicked, this, &SchiriPanel::newUmpire);
    connect(ui_->schirispeichern, &QPushButton::clicked, this, &SchiriPanel::save);
    connect(ui_->schiriloeschen, &QPushButton::clicked, this, &SchiriPanel::remove);
    ui_->schirinname->installEventFilter(this);

    showAll();
}

SchiriPanel::~SchiriPanel() = default;

void SchiriPanel::showPanel() {
    try {
        verwaltung_.open();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showAll();
}

bool SchiriPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->schirinname && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter takes the umpire the search found, as a click on his line does.
            chooseRow(verwaltung_.selectedEntry());
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            QString text = verwaltung_.searchText();
            text.chop(1);
            searchFor(text);
        } else if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            searchFor(verwaltung_.searchText() + key->text());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SchiriPanel::searchFor(const QString& text) {
    try {
        verwaltung_.search(text);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showSelection();
}

void SchiriPanel::fieldChanged() {
    if (updating_) return;
    readFields();
    verwaltung_.markChanged();
    showButton();
}

void SchiriPanel::classSelectionChanged() {
    if (updating_) return;
    QSet<int> kids;
    for (const QListWidgetItem* item : ui_->schiriklassen->selectedItems())
        kids.insert(item->data(kClassIdRole).toInt());
    verwaltung_.setSelectedClasses(kids);
    readFields();
    verwaltung_.markChanged();
    showButton();
}

void SchiriPanel::umpireRowChanged(int row) {
    if (updating_) return;
    chooseRow(row);
}

void SchiriPanel::umpireClicked() {
    // A click on a new line has loaded it through the row change already; a click on the loaded
    // umpire after editing his fields loads him again.
    const int row = ui_->schiriliste->currentRow();
    const bool shown = row == verwaltung_.selectedEntry() && !verwaltung_.saveEnabled() && row >= 0 &&
                       verwaltung_.loadedName() == verwaltung_.entries().at(row).name;
    if (!shown) chooseRow(row);
}

void SchiriPanel::chooseRow(int row) {
    if (row < 0) return;
    try {
        verwaltung_.choose(row);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showFields();
    showSelection();
    showButton();
}

void SchiriPanel::newUmpire() {
    verwaltung_.newUmpire();
    showFields();
    showSelection();
    showButton();
    ui_->schirinname->setFocus();
}

void SchiriPanel::save() {
    readFields();
    const bool pending = verwaltung_.saveEnabled();
    bool saved = false;
    try {
        verwaltung_.save();
        // A save that went through leaves nothing to save.
        saved = pending && !verwaltung_.saveEnabled();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showAll();
    if (saved) {
        statusmeldung(this, QStringLiteral("Schiedsrichter gespeichert"));
        ui_->schirinname->setFocus(Qt::OtherFocusReason);
    }
}

void SchiriPanel::remove() {
    readFields();
    try {
        verwaltung_.remove();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    showAll();
}

void SchiriPanel::readFields() {
    SchiriFields& f = verwaltung_.fields();
    f.nachname = ui_->schirinname->text();
    f.vorname = ui_->schirivname->text();
    f.geburtstag = ui_->schirigeb->text();
    f.verein = ui_->schiriverein->currentText();
    f.kverband = ui_->schirikverband->currentText();
    f.bverband = ui_->schiribverband->currentText();
    f.lverband = ui_->schirilverband->currentText();
    f.land = ui_->schiriland->currentText();
    f.spielklasse = ui_->schiriklasse->currentText();
    f.angemeldet = ui_->schiriangemeldet->isChecked();
    f.memo = ui_->schirimemo->toPlainText();
}

void SchiriPanel::showAll() {
    showLists();
    showFields();
    showSelection();
    showButton();
}

void SchiriPanel::showLists() {
    const bool was = updating_;
    updating_ = true;
    setUpdatesEnabled(false);

    QListWidget* list = ui_->schiriliste;
    list->clear();
    for (const SchiriEntry& e : verwaltung_.entries()) {
        auto* item = new QListWidgetItem(e.name);
        item->setData(kSchiriIdRole, e.schiriId);
        item->setData(kPresentRole, e.angemeldet);
        list->addItem(item);
    }

    QListWidget* classes = ui_->schiriklassen;
    classes->clear();
    for (const SchiriClass& c : verwaltung_.classes()) {
        auto* item = new QListWidgetItem(c.text);
        item->setData(kClassIdRole, c.kid);
        classes->addItem(item);
    }

    const SchiriValueLists& v = verwaltung_.valueLists();
    const SchiriFields& f = verwaltung_.fields();
    fillCombo(ui_->schiriverein, v.vereine, f.verein);
    fillCombo(ui_->schirikverband, v.kverband, f.kverband);
    fillCombo(ui_->schiribverband, v.bverband, f.bverband);
    fillCombo(ui_->schirilverband, v.lverband, f.lverband);
    fillCombo(ui_->schiriland, v.land, f.land);
    fillCombo(ui_->schiriklasse, v.spielklasse, f.spielklasse);

    setUpdatesEnabled(true);
    updating_ = was;
}

void SchiriPanel::showFields() {
    const bool was = updating_;
    updating_ = true;
    const SchiriFields& f = verwaltung_.fields();
    ui_->schirinname->setText(f.nachname);
    ui_->schirivname->setText(f.vorname);
    ui_->schirigeb->setText(f.geburtstag);
    ui_->schiriverein->setEditText(f.verein);
    ui_->schirikverband->setEditText(f.kverband);
    ui_->schiribverband->setEditText(f.bverband);
    ui_->schirilverband->setEditText(f.lverband);
    ui_->schiriland->setEditText(f.land);
    ui_->schiriklasse->setEditText(f.spielklasse);
    ui_->schiriangemeldet->setChecked(f.angemeldet);
    if (ui_->schirimemo->toPlainText() != f.memo) ui_->schirimemo->setPlainText(f.memo);
    ui_->schirimemo->moveCursor(QTextCursor::Start); // a long note shows its beginning
    updating_ = was;
}

void SchiriPanel::showSelection() {
    const bool was = updating_;
    updating_ = true;
    QListWidget* list = ui_->schiriliste;
    const int selected = verwaltung_.selectedEntry();
    if (selected >= 0 && selected < list->count()) {
        list->setCurrentRow(selected);
        list->scrollToItem(list->item(selected));
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
    const QSet<int>& kids = verwaltung_.selectedClasses();
    QListWidget* classes = ui_->schiriklassen;
    for (int i = 0; i < classes->count(); ++i) {
        QListWidgetItem* item = classes->item(i);
        item->setSelected(kids.contains(item->data(kClassIdRole).toInt()));
    }
    updating_ = was;
}

void SchiriPanel::showButton() {
    ui_->schirispeichern->setEnabled(verwaltung_.saveEnabled());
    ui_->schirispeichern->setText(verwaltung_.saveCaption());
}
