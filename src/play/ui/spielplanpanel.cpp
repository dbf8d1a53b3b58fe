#include "play/ui/spielplanpanel.h"

#include "common/interaction.h"
#include "output/plandruck.h"
#include "play/planbereich.h"
#include "play/ui/planscene.h"
#include "play/ui/platzfeld.h"
#include "play/ui/spielplanliste_form.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsProxyWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const kPageNames[] = {"sp_scrollbox1", "sp_ScrollBox2", "sp_ScrollBox3", "sp_ScrollBox4"};
const char* const kPageTitles[] = {"Phase 1", "Phase 2", "Phase 3", "Plazierungsspiele"};

// The placement page: the combo box of the number of placings and the two sides of each row.
constexpr QPoint kAnzahlPos(150, 8);
constexpr int kAnzahlWidth = 50;
constexpr int kSeite1X = 100;
constexpr int kSeite2X = 250;
constexpr int kErsteZeileY = 60;
constexpr int kZeilenAbstand = 30;

// The player card.
constexpr int kKarteBreite = 300;
constexpr int kKarteHoehe = 330;
constexpr int kKarteUeberZeiger = 100;
constexpr int kKarteX = 20;

bool laeuft(const PlanDaten& d) {
    for (const SpielplanRow& m : d.matches)
        if (m.in_planung || m.begonnen || m.beendet) return true;
    return false;
}

} // namespace

SpielplanPanel::SpielplanPanel(AppState& state, Tdb_procedures& db, Interaction& interaction,
                               const QString& programDir, QWidget* parent)
    : QWidget(parent), state_(state), db_(db), interaction_(interaction), programDir_(programDir),
      koSystemPath_(QDir(programDir).filePath(QStringLiteral("Files/ko_system.txt"))) {
    setObjectName(QStringLiteral("spielplanform"));

    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(QStringLiteral("Spielplan für"), this);
    title_->setObjectName(QStringLiteral("spielplantext"));
    QFont f = title_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.5);
    title_->setFont(f);
    layout->addWidget(title_);

    auto* row = new QHBoxLayout;
    layout->addLayout(row, 1);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("sp_contol"));
    pages_->setAccessibleName(QStringLiteral("Spielplan"));
    for (int page = 1; page <= 4; ++page)
        pages_->addTab(buildPage(page), QString::fromLatin1(kPageTitles[page - 1]));
    row->addWidget(pages_, 1);

    auto* side = new QVBoxLayout;
    row->addLayout(side);
    buildZoomPanel(this);
    side->addWidget(zoompanel_);
    turniergo_ = new QPushButton(QStringLiteral("Turnierklasse &starten"), this);
    turniergo_->setObjectName(QStringLiteral("turniergo"));
    side->addWidget(turniergo_);
    auto* infoLabel = new QLabel(QStringLiteral("Erinnerungen"), this);
    side->addWidget(infoLabel);
    info_ = new QListWidget(this);
    info_->setObjectName(QStringLiteral("sp_info"));
    info_->setFixedWidth(170);
    infoLabel->setBuddy(info_);
    side->addWidget(info_, 1);

    karte1_ = new QLabel(this);
    karte1_->setObjectName(QStringLiteral("spielernotiz"));
    karte1_->hide();
    karte2_ = new QLabel(this);
    karte2_->setObjectName(QStringLiteral("spielernotiz2"));
    karte2_->hide();

    matchList_ = new Tspielplan_form(interaction_, this);

    connect(pages_, &QTabWidget::currentChanged, this, &SpielplanPanel::seiteGewechselt);
    connect(turniergo_, &QPushButton::clicked, this, [this] { emit startRequested(kid_); });
}

QWidget* SpielplanPanel::buildPage(int page) {
    auto* scene = new PlanScene(QDir(programDir_).filePath(QStringLiteral("images")), this);
    scenes_[page - 1] = scene;
    connect(scene, &PlanScene::toolClicked, this,
            [this, page](PlanToolAction a, int tag) { toolClicked(page, int(a), tag); });
    connect(scene, &PlanScene::statusClicked, this, &SpielplanPanel::statusClicked);
    connect(scene, &PlanScene::namePressed, this, &SpielplanPanel::karteZeigen);
    connect(scene, &PlanScene::nameReleased, this, &SpielplanPanel::kartenVerbergen);

    auto* view = new PlanView(scene);
    view->setObjectName(QString::fromLatin1(kPageNames[page - 1]));
    views_[page - 1] = view;
    if (page < 4) return view;

    auto* container = new QWidget;
    auto* l = new QHBoxLayout(container);
    l->setContentsMargins(0, 0, 0, 0);
    view->setParent(container);
    l->addWidget(view, 1);
    platz_ = new PlatzListe(container);
    platz_->setFixedWidth(150);
    platz_->setAccessibleName(QStringLiteral("Platzierungen"));
    l->addWidget(platz_);
    connect(platz_, &PlatzListe::feldZurueck, this, &SpielplanPanel::feldZurueck);
    return container;
}

void SpielplanPanel::buildZoomPanel(QWidget* parent) {
    zoompanel_ = new QWidget(parent);
    zoompanel_->setObjectName(QStringLiteral("zoompanel"));
    auto* l = new QHBoxLayout(zoompanel_);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(new QLabel(QStringLiteral("Zoom"), zoompanel_));
    for (int level = 1; level <= 3; ++level) {
        auto* b = new QPushButton(QString::number(level), zoompanel_);
        b->setObjectName(QStringLiteral("zoom1_%1").arg(level));
        b->setAccessibleName(QStringLiteral("Zoom %1").arg(level));
        b->setFixedWidth(32);
        zoomButtons_[level - 1] = b;
        l->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, level] {
            try {
                zoom(level);
            } catch (const DbError& e) {
                interaction_.error(e.message());
            }
        });
    }
    zoomCaptions();
}

void SpielplanPanel::zoomCaptions() {
    // The chosen level's caption is white, the others black, on a background both read well on.
    for (int level = 1; level <= 3; ++level)
        zoomButtons_[level - 1]->setStyleSheet(
            QStringLiteral("QPushButton { background-color: #6f8fbf; border: 1px solid #3f5f8f; padding: 2px; "
                           "color: %1; font-weight: bold; }")
                .arg(level == zoom_ ? QStringLiteral("white") : QStringLiteral("black")));
}

QString SpielplanPanel::titel() const {
    return title_->text();
}

PlanScene* SpielplanPanel::scene(int page) const {
    return page >= 1 && page <= 4 ? scenes_[page - 1] : nullptr;
}

PlanView* SpielplanPanel::view(int page) const {
    return page >= 1 && page <= 4 ? views_[page - 1] : nullptr;
}

QComboBox* SpielplanPanel::anzahlBox() const {
    return anzahl_;
}

PlatzFeld* SpielplanPanel::platzFeld(int seite, int zeile) const {
    for (const auto& f : felder_)
        if (f && f->seite() == seite && f->zeile() == zeile) return f;
    return nullptr;
}

void SpielplanPanel::datenLaden() {
    daten_ = planDatenLaden(db_, kid_, koSystemPath_);
}

void SpielplanPanel::oeffnen(int kid, const QString& caption) {
    kid_ = kid;
    kartenVerbergen();
    {
        const QSignalBlocker block(pages_);
        pages_->setCurrentIndex(0);
    }
    title_->setText(QStringLiteral("Spielplan für ") + caption);
    info_->clear();
    for (PlanScene* s : scenes_)
        s->clearPlan();

    // The class settings, read once per opening; plans are first drawn at zoom 2.
    zoom_ = 2;
    zoomCaptions();
    datenLaden();
    const Klasseninfo& info = daten_.info;
    pages_->setTabVisible(0, true);
    pages_->setTabVisible(1, info.found && info.phase[1] >= 0);
    pages_->setTabVisible(2, info.found && info.phase[2] >= 0);
    zoompanel_->setVisible(info.found && info.phase[0] != 0);
    if (!info.found) {
        interaction_.warning(keineEinstellungen());
        platzseiteAufbauen();
        turniergo_->setEnabled(false);
        return;
    }
    zeichnen();
}

void SpielplanPanel::planshow() {
    if (kid_ <= 0) return;
    datenLaden();
    zeichnen();
}

void SpielplanPanel::zeichnen() {
    // Every drawing starts at zoom 2, whatever level was chosen before.
    for (int p = 1; p <= 3; ++p)
        scenes_[p - 1]->setPlan(phasenplan(daten_, p, 2));
    if (zoom_ != 2) {
        zoom_ = 2;
        zoomCaptions();
    }
    platzseiteAufbauen();
    const bool running = laeuft(daten_);
    turniergo_->setEnabled(!running);
    if (running) emit klasseLaeuft(kid_);
}

void SpielplanPanel::zoom(int level) {
    if (level < 1 || level > 3) return;
    zoom_ = level;
    for (int p = 1; p <= 3; ++p) {
        const int system = daten_.info.phase[p - 1];
        if (system == 1 || system == 2) scenes_[p - 1]->setPlan(phasenplan(daten_, p, zoom_));
    }
    if (laeuft(daten_)) emit statusRebuildRequested(kid_);
    zoomCaptions();
}

void SpielplanPanel::seiteGewechselt(int index) {
    kartenVerbergen();
    if (index < 0 || index > 2) return;
    const int system = daten_.info.phase[index];
    if (system > 0) zoompanel_->show();
    else if (system == 0) zoompanel_->hide();
}

void SpielplanPanel::toolClicked(int phase, int action, int tag) {
    try {
        switch (PlanToolAction(action)) {
        case PlanToolAction::MatchList:
            spielplananzeigen(tag);
            break;
        case PlanToolAction::Redraw:
            neulosen(phase);
            break;
        case PlanToolAction::Print:
            plandrucken(phase);
            break;
        }
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void SpielplanPanel::spielplananzeigen(int tag) {
    matchList_->fuellen(daten_, tag, titel(), state_.turniername);
    emit dialogRequested(matchList_);
}

void SpielplanPanel::neulosen(int phase) {
    const QString refusal = planbereich::neulosenVerweigert(db_, kid_, phase);
    if (!refusal.isEmpty()) {
        interaction_.warning(refusal);
        return;
    }
    emit redrawRequested(kid_, phase);
}

void SpielplanPanel::plandrucken(int phase) {
    // The plans as they were read for the screen: paper shows what the page shows.
    plandruck::drucken(interaction_, daten_, phase, state_.turniername, titel(), programDir_);
}

// --- The placement page ----------------------------------------------------------------------------

void SpielplanPanel::platzseiteAufbauen() {
    PlanScene* scene = scenes_[3];
    felder_.clear();
    platz_->clear();
    platzseite_ = platzierungsspiele(daten_);
    // The sides are widgets that take drops; they stand where the drawing has their labels. The scene
    // deletes the previous combo box and sides with their proxies.
    PlanLayout layout = platzseite_.layout;
    QHash<QString, QRect> seitenBoxen;
    layout.texts.erase(std::remove_if(layout.texts.begin(), layout.texts.end(),
                                      [&](const PlanText& t) {
                                          if (!t.name.startsWith(QLatin1String("platz"))) return false;
                                          seitenBoxen.insert(t.name, t.box);
                                          return true;
                                      }),
                       layout.texts.end());
    scene->setPlan(layout);

    for (const PlatzEintrag& e : platzseite_.liste) {
        auto* item = new QListWidgetItem(e.text, platz_);
        item->setData(Qt::UserRole, e.spielnummer);
    }

    auto* anzahl = new QComboBox;
    anzahl->setObjectName(QStringLiteral("anzahl"));
    anzahl->setAccessibleName(QStringLiteral("Anzahl der Platzierungen"));
    anzahl->addItems(platzseite_.anzahlItems);
    anzahl->setCurrentIndex(platzseite_.anzahl > 0 ? anzahl->findText(QString::number(platzseite_.anzahl)) : -1);
    anzahl->setFixedWidth(kAnzahlWidth);
    // Above the sides, so its popup list is not hidden under them.
    scene->addWidgetAt(anzahl, kAnzahlPos)->setZValue(7);
    anzahl_ = anzahl;
    connect(anzahl, &QComboBox::currentTextChanged, this, &SpielplanPanel::anzahlGewechselt);

    for (const PlatzZeile& z : platzseite_.zeilen) {
        const int y = kErsteZeileY + kZeilenAbstand * (z.i - 1);
        for (int seite = 1; seite <= 2; ++seite) {
            const QRect box = seitenBoxen.value(QStringLiteral("platz%1%2").arg(seite).arg(z.i),
                                                QRect(seite == 1 ? kSeite1X : kSeite2X, y, 120, 22));
            auto* feld = new PlatzFeld(z.i, seite);
            feld->setFont(PlanScene::planFont(QStringLiteral("Arial"), 8, false));
            // The final's sides come from the bracket.
            feld->setAcceptDrops(!z.gesperrt);
            feld->setFixedSize(box.size());
            feld->setEintrag(seite == 1 ? z.name1 : z.name2, seite == 1 ? z.sid1 : z.sid2);
            scene->addWidgetAt(feld, box.topLeft());
            connect(feld, &PlatzFeld::eintragAbgelegt, this, &SpielplanPanel::eintragAbgelegt);
            felder_ << feld;
        }
    }
}

void SpielplanPanel::platzseiteNeu() {
    // Later: the drop or the combo box that asked for it must not be deleted under its own event.
    if (platzseiteGeplant_) return;
    platzseiteGeplant_ = true;
    QTimer::singleShot(0, this, [this] {
        platzseiteGeplant_ = false;
        try {
            datenLaden();
            platzseiteAufbauen();
        } catch (const DbError& e) {
            interaction_.error(e.message());
        }
    });
}

void SpielplanPanel::eintragAbgelegt(int zeile, int seite, int listRow) {
    if (listRow < 0 || listRow >= platzseite_.liste.size()) return;
    try {
        if (feldDragDrop(db_, daten_, zeile, seite, platzseite_.liste[listRow])) platzseiteNeu();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void SpielplanPanel::feldZurueck(int zeile, int seite) {
    try {
        if (platzDragDrop(db_, daten_, zeile, seite)) platzseiteNeu();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void SpielplanPanel::anzahlGewechselt(const QString& text) {
    try {
        if (anzahlchange(db_, daten_, text)) platzseiteNeu();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

// --- The player card -------------------------------------------------------------------------------

QPixmap SpielplanPanel::kartenbild(int sid) const {
    const planbereich::Spielerkarte k = planbereich::spielerkarte(db_, sid);
    if (!k.gefunden) return {};

    QImage card;
    const QString file = QDir(programDir_).filePath(QStringLiteral("images/notizblock.bmp"));
    if (QFileInfo::exists(file) && card.load(file)) {
        // The note's white is transparent.
        card = card.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < card.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(card.scanLine(y));
            for (int x = 0; x < card.width(); ++x)
                if ((line[x] & 0x00ffffff) == 0x00ffffff) line[x] = 0;
        }
    } else {
        // Without its picture the card is a plain note.
        card = QImage(kKarteBreite, kKarteHoehe, QImage::Format_ARGB32);
        card.fill(QColor(255, 250, 205));
        QPainter g(&card);
        g.setPen(QColor(180, 160, 90));
        g.drawRect(0, 0, card.width() - 1, card.height() - 1);
        g.setPen(QColor(200, 215, 235));
        for (int y = 63; y < card.height() - 10; y += 25)
            g.drawLine(10, y, card.width() - 10, y);
    }

    QPainter g(&card);
    g.setRenderHint(QPainter::TextAntialiasing, true);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(21);
    g.setFont(f);
    g.setPen(Qt::black);
    const QFontMetrics fm(f);
    const int room = card.width() - kKarteX - 10;
    auto line = [&](int y, const QString& text) {
        g.drawText(QPoint(kKarteX, y + fm.ascent()), fm.elidedText(text, Qt::ElideRight, room));
    };
    line(40, k.name);
    line(65, k.verein);
    line(90, k.geburtsdatum);
    line(115, QStringLiteral("Gemeldet für:"));
    int y = 140;
    for (const QString& klasse : k.klassen) {
        if (y + fm.height() > card.height()) break;
        line(y, klasse);
        y += 25;
    }
    g.end();
    return QPixmap::fromImage(card);
}

void SpielplanPanel::karteZeigen(int sid, const QPoint& screenPos) {
    if (sid <= 0 || daten_.info.isTeam()) return;
    try {
        const QPixmap first = kartenbild(sid);
        if (first.isNull()) return;
        QPixmap second;
        if (daten_.info.system == 1 || daten_.info.system == 2) {
            const int p = planbereich::partner(db_, sid, kid_);
            if (p > 0) second = kartenbild(p);
        }
        const int total = first.width() + (second.isNull() ? 0 : first.width());
        QPoint at = mapFromGlobal(screenPos) - QPoint(0, kKarteUeberZeiger);
        at.setX(qBound(0, at.x(), qMax(0, width() - total)));
        at.setY(qBound(0, at.y(), qMax(0, height() - first.height())));
        karte1_->setPixmap(first);
        karte1_->setGeometry(QRect(at, first.size()));
        karte1_->show();
        karte1_->raise();
        if (!second.isNull()) {
            karte2_->setPixmap(second);
            karte2_->setGeometry(QRect(at + QPoint(first.width(), 0), first.size()));
            karte2_->show();
            karte2_->raise();
        } else {
            karte2_->hide();
        }
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}

void SpielplanPanel::kartenVerbergen() {
    karte1_->hide();
    karte2_->hide();
}
