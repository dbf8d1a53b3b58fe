#include "play/ui/tplanung.h"

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {

const QString kMime = QStringLiteral("application/x-velmora-planung");

QColor zellenfarbe(const QString& name) {
    const QColor c = QColor::fromString(name);
    // A class without a valid colour still needs its matches to stand out from the empty cells.
    return c.isValid() ? c : QColor(0xdd, 0xdd, 0xdd);
}

// The list of unplanned matches: drags its lines to the grid, takes matches dragged back from the grid.
class PlanListe : public QListWidget {
public:
    std::function<void(int spalte, int zeile)> zurueck;

protected:
    void startDrag(Qt::DropActions) override {
        if (currentRow() < 0) return;
        auto* mime = new QMimeData;
        mime->setData(kMime, QByteArray("liste:") + QByteArray::number(currentRow()));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
    }
    void dragEnterEvent(QDragEnterEvent* e) override { annehmen(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { annehmen(e); }
    void dropEvent(QDropEvent* e) override {
        const QByteArray d = e->mimeData()->data(kMime);
        if (!d.startsWith("zelle:")) return;
        const QList<QByteArray> teile = d.mid(6).split(',');
        e->acceptProposedAction();
        if (zurueck && teile.size() == 2) zurueck(teile[0].toInt(), teile[1].toInt());
    }

private:
    static void annehmen(QDragMoveEvent* e) {
        if (e->mimeData()->data(kMime).startsWith("zelle:"))
            e->acceptProposedAction();
        else
            e->ignore();
    }
};

// The grid: table row i is grid row i + 1, table column c grid column c (column 0 the times).
class PlanGitter : public QTableWidget {
public:
    std::function<bool(int spalte, int zeile)> belegt;
    std::function<void(int listenzeile, int spalte, int zeile)> vonListe;
    std::function<void(int vonSpalte, int vonZeile, int spalte, int zeile)> verschieben;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        const QModelIndex i = indexAt(e->position().toPoint());
        quelle_ = e->button() == Qt::LeftButton && i.isValid() ? i : QModelIndex();
        druck_ = e->position().toPoint();
        QTableWidget::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton) || !quelle_.isValid() ||
            (e->position().toPoint() - druck_).manhattanLength() < QApplication::startDragDistance())
            return;
        const int spalte = quelle_.column(), zeile = quelle_.row() + 1;
        quelle_ = QModelIndex();
        if (spalte < 1 || !belegt || !belegt(spalte, zeile)) return;
        auto* mime = new QMimeData;
        mime->setData(kMime, "zelle:" + QByteArray::number(spalte) + ',' + QByteArray::number(zeile));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
    }
    void dragEnterEvent(QDragEnterEvent* e) override { annehmen(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { annehmen(e); }
    void dropEvent(QDropEvent* e) override {
        const QModelIndex ziel = indexAt(e->position().toPoint());
        const QByteArray d = e->mimeData()->data(kMime);
        if (!ziel.isValid() || ziel.column() < 1) return;
        e->acceptProposedAction();
        const int spalte = ziel.column(), zeile = ziel.row() + 1;
        if (d.startsWith("liste:") && vonListe) {
            vonListe(d.mid(6).toInt(), spalte, zeile);
        } else if (d.startsWith("zelle:") && verschieben) {
            const QList<QByteArray> teile = d.mid(6).split(',');
            if (teile.size() == 2) verschieben(teile[0].toInt(), teile[1].toInt(), spalte, zeile);
        }
    }

private:
    static void annehmen(QDragMoveEvent* e) {
        if (e->mimeData()->hasFormat(kMime))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    QModelIndex quelle_;
    QPoint druck_;
};

// A planned match drawn as one box over its two cells: outlined in black left, top and right at its top
// cell, left, bottom and right at its bottom cell.
class ZellenRahmen : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kOben = Qt::UserRole + 1; // 1 top cell, 2 bottom cell

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        const int teil = index.data(kOben).toInt();
        if (teil == 0) return;
        const QRect r = option.rect.adjusted(0, 0, -1, -1);
        p->save();
        p->setPen(Qt::black);
        p->drawLine(r.topLeft(), r.bottomLeft());
        p->drawLine(r.topRight(), r.bottomRight());
        if (teil == 1)
            p->drawLine(r.topLeft(), r.topRight());
        else
            p->drawLine(r.bottomLeft(), r.bottomRight());
        p->restore();
    }
};

// A list line as a rounded box, 50 pixels high, in its class's colour (the selection colour with white
// text when selected): side 1 at 5 and side 2 at 30 pixels from the top, the match number (and a rubber's
// number) small between them.
class ListenZeile : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kSeite1 = Qt::UserRole + 1;
    static constexpr int kSeite2 = Qt::UserRole + 2;
    static constexpr int kNummer = Qt::UserRole + 3;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 50};
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool gewaehlt = option.state & QStyle::State_Selected;
        const QColor farbe = gewaehlt ? option.palette.highlight().color()
                                      : index.data(Qt::BackgroundRole).value<QBrush>().color();
        const QColor schrift =
            gewaehlt ? QColor(Qt::white) : index.data(Qt::ForegroundRole).value<QBrush>().color();
        const QRect r = option.rect.adjusted(1, 1, -2, -2);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(farbe.darker(130));
        p->setBrush(farbe);
        p->drawRoundedRect(r, 6, 6);
        p->setPen(schrift);
        const int breite = r.width() - 10;
        QFont gross(QStringLiteral("Arial"), 8);
        p->setFont(gross);
        const QFontMetrics fm(gross);
        for (const auto& [rolle, y] : {std::pair{kSeite1, 5}, std::pair{kSeite2, 30}})
            p->drawText(QRect(r.left() + 5, r.top() + y, breite, fm.height()), Qt::AlignLeft | Qt::AlignTop,
                        fm.elidedText(index.data(rolle).toString(), Qt::ElideRight, breite));
        QFont klein(QStringLiteral("Arial"), 6);
        p->setFont(klein);
        p->drawText(QRect(r.left() + 5, r.top() + 19, breite, QFontMetrics(klein).height()),
                    Qt::AlignLeft | Qt::AlignTop, index.data(kNummer).toString());
        p->restore();
    }
};

} // namespace

Tplanung::Tplanung(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent)
    : QWidget(parent), state_(state), db_(db), interaction_(interaction) {
    setObjectName(QStringLiteral("Tplanung"));
    setWindowTitle(QStringLiteral("Spieleplaner"));
    resize(1100, 700);

    klassen_ = new QComboBox(this);
    klassen_->setObjectName(QStringLiteral("ComboBox1"));
    farben_ = new QComboBox(this);
    farben_->setObjectName(QStringLiteral("ColorBox1"));
    for (const QString& name : QColor::colorNames()) {
        QPixmap muster(16, 12);
        muster.fill(QColor::fromString(name));
        farben_->addItem(QIcon(muster), name, name);
    }
    auto* liste = new PlanListe;
    spiele_ = liste;
    spiele_->setObjectName(QStringLiteral("ListBox1"));
    spiele_->setDragEnabled(true);
    spiele_->setAcceptDrops(true);
    spiele_->setDragDropMode(QAbstractItemView::DragDrop);
    spiele_->setSpacing(2);
    spiele_->setItemDelegate(new ListenZeile(spiele_));

    auto* links = new QVBoxLayout;
    auto* kopf = new QFormLayout;
    auto* klasseLabel = new QLabel(QStringLiteral("Spielklasse"));
    klasseLabel->setBuddy(klassen_);
    auto* farbeLabel = new QLabel(QStringLiteral("Farbe"));
    farbeLabel->setBuddy(farben_);
    kopf->addRow(klasseLabel, klassen_);
    kopf->addRow(farbeLabel, farben_);
    links->addLayout(kopf);
    auto* spieleLabel = new QLabel(QStringLiteral("Spiele"));
    spieleLabel->setBuddy(spiele_);
    links->addWidget(spieleLabel);
    links->addWidget(spiele_, 1);
    auto* beenden = new QPushButton(QStringLiteral("Beenden"));
    beenden->setObjectName(QStringLiteral("beenden"));
    links->addWidget(beenden);

    zurueck_ = new QToolButton(this);
    zurueck_->setObjectName(QStringLiteral("Image1"));
    zurueck_->setArrowType(Qt::LeftArrow);
    zurueck_->setAccessibleName(QStringLiteral("Vorheriger Tag"));
    zurueck_->setCursor(Qt::PointingHandCursor);
    tag_ = new QLineEdit(this);
    tag_->setObjectName(QStringLiteral("Edit1"));
    tag_->setReadOnly(true);
    tag_->setAccessibleName(QStringLiteral("Tag"));
    tag_->setMaximumWidth(100);
    vor_ = new QToolButton(this);
    vor_->setObjectName(QStringLiteral("Image2"));
    vor_->setArrowType(Qt::RightArrow);
    vor_->setAccessibleName(QStringLiteral("Nächster Tag"));
    vor_->setCursor(Qt::PointingHandCursor);
    von_ = new QLabel(this);
    von_->setObjectName(QStringLiteral("von"));
    bis_ = new QLabel(this);
    bis_->setObjectName(QStringLiteral("bis"));
    auto* tagesleiste = new QHBoxLayout;
    tagesleiste->addWidget(zurueck_);
    tagesleiste->addWidget(tag_);
    tagesleiste->addWidget(vor_);
    tagesleiste->addSpacing(20);
    tagesleiste->addWidget(new QLabel(QStringLiteral("von")));
    tagesleiste->addWidget(von_);
    tagesleiste->addWidget(new QLabel(QStringLiteral("bis")));
    tagesleiste->addWidget(bis_);
    tagesleiste->addStretch(1);

    auto* gitter = new PlanGitter;
    gitter_ = gitter;
    gitter_->setObjectName(QStringLiteral("StringGrid1"));
    gitter_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gitter_->setSelectionMode(QAbstractItemView::SingleSelection);
    gitter_->setAcceptDrops(true);
    gitter_->setDragDropMode(QAbstractItemView::DragDrop);
    gitter_->verticalHeader()->hide();
    gitter_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gitter_->verticalHeader()->setMinimumSectionSize(14);
    gitter_->verticalHeader()->setDefaultSectionSize(14);
    gitter_->horizontalHeader()->setFixedHeight(26);
    gitter_->setItemDelegate(new ZellenRahmen(gitter_));
    gitter_->setContextMenuPolicy(Qt::CustomContextMenu);
    QFont klein(QStringLiteral("Arial"), 7);
    gitter_->setFont(klein);
    gitter_->horizontalHeader()->setFont(QFont(QStringLiteral("Arial"), 8));

    auto* rechts = new QVBoxLayout;
    rechts->addLayout(tagesleiste);
    rechts->addWidget(gitter_, 1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 0);
    haupt->addLayout(rechts, 1);

    gitter->belegt = [this](int spalte, int zeile) {
        return planung_ && planung_->zelle(spalte, zeile).spiel;
    };
    gitter->vonListe = [this](int i, int spalte, int zeile) { listeAufZelle(i, spalte, zeile); };
    gitter->verschieben = [this](int vs, int vz, int s, int z) { zelleAufZelle(vs, vz, s, z); };
    liste->zurueck = [this](int spalte, int zeile) { zelleAufListe(spalte, zeile); };

    connect(klassen_, &QComboBox::activated, this, [this] { sicher([this] { klasseGewaehlt(); }); });
    connect(farben_, &QComboBox::activated, this, [this] { sicher([this] { farbeGewaehlt(); }); });
    connect(zurueck_, &QToolButton::clicked, this, [this] { tagWechseln(false); });
    connect(vor_, &QToolButton::clicked, this, [this] { tagWechseln(true); });
    connect(beenden, &QPushButton::clicked, this, &QWidget::close);
    connect(gitter_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex i = gitter_->indexAt(pos);
        if (i.isValid() && QApplication::keyboardModifiers() == Qt::NoModifier)
            popup(i.column(), i.row() + 1, gitter_->viewport()->mapToGlobal(pos));
    });
}

Tplanung::~Tplanung() = default;

template <class F> bool Tplanung::sicher(F&& f) {
    try {
        f();
        return true;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        // The grid shows the store again: a failed drop wrote nothing.
        try {
            const QDate tag = planung_ ? planung_->tag() : QDate();
            if (planung_) {
                planung_->laden();
                planung_->tagZeigen(tag);
            }
            tagFuellen();
            listeFuellen();
        } catch (const DbError&) {
        }
        return false;
    }
}

bool Tplanung::oeffnen() {
    try {
        auto p = std::make_unique<Planung>(db_, interaction_, state_.tid);
        p->laden();
        planung_ = std::move(p);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return false;
    }
    klassen_->clear();
    for (const PlanungsKlasse& k : planung_->klassen())
        klassen_->addItem(k.anzeige(), k.KID);
    von_->setText(planung_->von().toString(QStringLiteral("dd.MM.yyyy")));
    bis_->setText(planung_->bis().toString(QStringLiteral("dd.MM.yyyy")));
    const bool ok = sicher([this] {
        klasseGewaehlt();
        tagFuellen();
    });
    spiele_->setFocus();
    return ok;
}

int Tplanung::gewaehlteKlasse() const {
    return klassen_->currentIndex() < 0 ? 0 : klassen_->currentData().toInt();
}

void Tplanung::klasseGewaehlt() {
    const int kid = gewaehlteKlasse();
    const int f = farben_->findData(planung_ ? planung_->farbe(kid) : QString());
    farben_->setCurrentIndex(f);
    listeFuellen();
}

void Tplanung::farbeGewaehlt() {
    const int kid = gewaehlteKlasse();
    if (!planung_ || kid == 0 || farben_->currentIndex() < 0) return;
    planung_->farbeSetzen(kid, farben_->currentData().toString());
    listeFuellen();
    gitterFuellen();
}

void Tplanung::listeFuellen() {
    spiele_->clear();
    liste_.clear();
    const int kid = gewaehlteKlasse();
    if (!planung_ || kid == 0) return;
    liste_ = planung_->ungeplant(kid);
    const QColor farbe = zellenfarbe(planung_->farbe(kid));
    for (const PlanSpiel& s : liste_) {
        QString nummer = QString::number(s.spielnummer) + QStringLiteral("                   -");
        if (s.rubber()) nummer += QStringLiteral("            Nr.: ") + QString::number(s.nummer);
        // The text is what screen readers say; the box draws the line itself.
        QString kurz = QString::number(s.spielnummer);
        if (s.rubber()) kurz += QStringLiteral(" Nr.: ") + QString::number(s.nummer);
        auto* item = new QListWidgetItem(kurz + u'\n' + s.spieler1 + u'\n' + s.spieler2);
        item->setData(ListenZeile::kSeite1, s.spieler1);
        item->setData(ListenZeile::kSeite2, s.spieler2);
        item->setData(ListenZeile::kNummer, nummer);
        item->setToolTip(s.spieler1 + QStringLiteral("-") + s.spieler2);
        item->setBackground(farbe);
        item->setForeground(farbe.lightness() < 110 ? Qt::white : Qt::black);
        spiele_->addItem(item);
    }
}

void Tplanung::tagFuellen() {
    if (!planung_) return;
    tag_->setText(planung_->tag().toString(QStringLiteral("dd.MM.yyyy")));
    gitter_->clear();
    gitter_->setColumnCount(planung_->spalten() + 1);
    gitter_->setRowCount(planung::kLetzteZeile);
    QStringList kopf{QStringLiteral("Uhrzeit")};
    kopf << planung_->tische();
    gitter_->setHorizontalHeaderLabels(kopf);
    gitter_->setColumnWidth(0, 50);
    for (int c = 1; c <= planung_->spalten(); ++c)
        gitter_->setColumnWidth(c, 100);
    const QBrush knopf = palette().button();
    for (int z = planung::kErsteZeile; z <= planung::kLetzteZeile; ++z) {
        auto* item = new QTableWidgetItem(planung::zeitVon(z).toString(QStringLiteral("hh:mm")));
        item->setBackground(knopf);
        item->setFlags(Qt::ItemIsEnabled);
        gitter_->setItem(z - 1, 0, item);
    }
    gitterFuellen();
    zumStart();
}

void Tplanung::zumStart() {
    gitter_->scrollToItem(gitter_->item(planung::kStartZeile - 1, 0), QAbstractItemView::PositionAtTop);
}

void Tplanung::gitterFuellen() {
    if (!planung_) return;
    for (int c = 1; c < gitter_->columnCount(); ++c)
        for (int r = 0; r < gitter_->rowCount(); ++r)
            delete gitter_->takeItem(r, c);
    for (const PlanSpiel* s : planung_->spieleDesTages()) {
        const int spalte = int(planung_->tische().indexOf(s->tisch)) + 1;
        const int zeile = planung::zeileVon(s->zeit);
        const QColor farbe = zellenfarbe(planung_->farbe(s->KID));
        QString hinweis = QStringLiteral("Schiedsrichter: ") + s->schiri;
        if (s->rubber()) hinweis += QStringLiteral("\nSpielnr.: ") + QString::number(s->nummer);
        for (int teil = 0; teil < 2 && zeile + teil <= planung::kLetzteZeile; ++teil) {
            auto* item = new QTableWidgetItem(teil == 0 ? s->spieler1 : s->spieler2);
            item->setBackground(farbe);
            item->setForeground(farbe.lightness() < 110 ? Qt::white : Qt::black);
            item->setToolTip(hinweis);
            item->setData(ZellenRahmen::kOben, teil == 0 ? 1 : 2);
            gitter_->setItem(zeile + teil - 1, spalte, item);
        }
    }
}

void Tplanung::tagWechseln(bool vor) {
    if (!planung_) return;
    if (vor ? planung_->naechsterTag() : planung_->vorherigerTag()) tagFuellen();
}

void Tplanung::listeAufZelle(int listenzeile, int spalte, int zeile) {
    if (!planung_ || listenzeile < 0 || listenzeile >= liste_.size()) return;
    sicher([&] {
        if (!planung_->einplanen(liste_[listenzeile], spalte, zeile)) return;
        geaendert_ = true;
        // Matches pushed out of the grid return to the list if they belong to the class shown.
        listeFuellen();
        gitterFuellen();
    });
}

void Tplanung::zelleAufZelle(int vonSpalte, int vonZeile, int spalte, int zeile) {
    if (!planung_) return;
    sicher([&] {
        if (!planung_->verschieben(vonSpalte, vonZeile, spalte, zeile)) return;
        geaendert_ = true;
        listeFuellen();
        gitterFuellen();
    });
}

void Tplanung::zelleAufListe(int spalte, int zeile) {
    if (!planung_) return;
    sicher([&] {
        const std::optional<PlanSpiel> s = planung_->ausplanen(spalte, zeile);
        if (!s) return;
        geaendert_ = true;
        if (s->KID == gewaehlteKlasse()) listeFuellen();
        gitterFuellen();
    });
}

QMenu* Tplanung::popupMenu(int spalte, int zeile) {
    if (!planung_) return nullptr;
    const PlanZelle z = planung_->zelle(spalte, zeile);
    if (!z.spiel) return nullptr;
    const PlanSpiel s = *z.spiel;
    QStringList schiris;
    if (!sicher([&] { schiris = planung_->schiris(s.KID); })) return nullptr;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* bearbeiten = menu->addAction(QStringLiteral("Spiel bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("Spielbearbeiten1"));
    connect(bearbeiten, &QAction::triggered, this, [this, s] {
        state_.kid = s.KID;
        emit spielBearbeiten(s.KID, s.spielnummer);
    });
    menu->addSeparator();
    menu->addAction(s.spieler1)->setEnabled(false);
    menu->addAction(s.spieler2)->setEnabled(false);
    menu->addSeparator();
    QMenu* umpires = menu->addMenu(QStringLiteral("Schiedsrichter"));
    umpires->setObjectName(QStringLiteral("schirimenu"));
    QStringList angebot = schiris;
    angebot << QString();
    for (const QString& name : angebot) {
        if (name.isEmpty()) umpires->addSeparator();
        QAction* a = umpires->addAction(name.isEmpty() ? QStringLiteral("Kein Schiedsrichter") : name);
        a->setCheckable(true);
        a->setChecked(name == s.schiri);
        connect(a, &QAction::triggered, this,
                [this, spalte, zeile, name] { schiriGewaehlt(spalte, zeile, name); });
    }
    return menu;
}

void Tplanung::popup(int spalte, int zeile, const QPoint& global) {
    QMenu* menu = popupMenu(spalte, zeile);
    if (!menu) return;
    menu->exec(global);
    delete menu;
}

void Tplanung::schiriGewaehlt(int spalte, int zeile, const QString& schiri) {
    if (!planung_) return;
    sicher([&] {
        if (!planung_->schiriSetzen(spalte, zeile, schiri)) return;
        geaendert_ = true;
        gitterFuellen();
    });
}

void Tplanung::neuLaden() {
    if (!planung_) return;
    geaendert_ = true;
    const QDate tag = planung_->tag();
    const int klasse = klassen_->currentIndex();
    // The operator stays where he was in the grid.
    const int oben = gitter_->verticalScrollBar()->value();
    sicher([&] {
        planung_->laden();
        planung_->tagZeigen(tag);
        klassen_->setCurrentIndex(klasse);
        listeFuellen();
        tagFuellen();
    });
    gitter_->verticalScrollBar()->setValue(oben);
}

void Tplanung::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Filled before it was shown, the grid could not scroll yet: it opens at 12:30.
    if (!event->spontaneous()) zumStart();
}

void Tplanung::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (geaendert_) emit planGeaendert();
    geaendert_ = false;
}
