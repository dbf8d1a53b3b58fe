#include "draw/ui/teamauswahl.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QComboBox>
#include <QDataStream>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

// A list of the dialog that players are dragged from and dropped on. What moves is decided by
// Teamauswahl; the list only says where a drag came from and where it ended.
class TeamListWidget : public QListWidget {
public:
    TeamListWidget(TeamListe liste, QWidget* parent) : QListWidget(parent), liste_(liste) {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDropIndicatorShown(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

    TeamListe liste() const { return liste_; }
    std::function<void(TeamListe, int, TeamListe, int)> onDrop;

protected:
    void startDrag(Qt::DropActions) override {
        const int row = currentRow();
        if (row < 0) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(Tteamauswahl::dragData(liste_, row).release());
        drag->exec(Qt::MoveAction);
    }

    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasFormat(Tteamauswahl::kMimeType))
            event->acceptProposedAction();
        else
            event->ignore();
    }

    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->mimeData()->hasFormat(Tteamauswahl::kMimeType))
            event->acceptProposedAction();
        else
            event->ignore();
    }

    void dropEvent(QDropEvent* event) override {
        const QMimeData* data = event->mimeData();
        if (!data || !data->hasFormat(Tteamauswahl::kMimeType)) {
            event->ignore();
            return;
        }
        QByteArray bytes = data->data(Tteamauswahl::kMimeType);
        QDataStream in(&bytes, QIODevice::ReadOnly);
        qint32 source = 0;
        qint32 sourceRow = -1;
        in >> source >> sourceRow;
        // Below the last line counts as no line: the first empty position takes the player.
        const int row = indexAt(event->position().toPoint()).row();
        event->setDropAction(Qt::CopyAction); // the source list is rebuilt, never emptied by the view
        event->accept();
        if (onDrop) onDrop(liste_, row, TeamListe(source), sourceRow);
    }

private:
    TeamListe liste_;
};

const QString Tteamauswahl::kMimeType = QStringLiteral("application/x-velmora-teamspieler");

std::unique_ptr<QMimeData> Tteamauswahl::dragData(TeamListe source, int row) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(source) << qint32(row);
    auto data = std::make_unique<QMimeData>();
    data->setData(kMimeType, bytes);
    return data;
}

namespace {

QWidget* labelled(const QString& caption, QWidget* field, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* label = new QLabel(caption, box);
    label->setBuddy(field);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(field);
    return box;
}

} // namespace

Tteamauswahl::Tteamauswahl(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& /*clock*/,
                           QWidget* parent)
    : QDialog(parent), interaction_(interaction), auswahl_(state, db, interaction) {
    setObjectName(QStringLiteral("Tteamauswahl"));
    setWindowTitle(QStringLiteral("Team bearbeiten"));
    setWindowModality(Qt::ApplicationModal);

    klassen_ = new QListWidget(this);
    klassen_->setObjectName(QStringLiteral("ListBox6"));
    gemeldet_ = new TeamListWidget(TeamListe::Gemeldet, this);
    gemeldet_->setObjectName(QStringLiteral("ListBox3"));
    teamname_ = new QComboBox(this);
    teamname_->setObjectName(QStringLiteral("ComboBox1"));
    teamname_->setEditable(true);
    teamname_->setInsertPolicy(QComboBox::NoInsert);
    verein_ = new QComboBox(this);
    verein_->setObjectName(QStringLiteral("ComboBox2"));
    verein_->setEditable(true);
    verein_->setInsertPolicy(QComboBox::NoInsert);
    spieler_ = new TeamListWidget(TeamListe::Spieler, this);
    spieler_->setObjectName(QStringLiteral("ListBox1"));
    reserve_ = new TeamListWidget(TeamListe::Reserve, this);
    reserve_->setObjectName(QStringLiteral("ListBox2"));
    doppel1_ = new TeamListWidget(TeamListe::Doppel1, this);
    doppel1_->setObjectName(QStringLiteral("ListBox4"));
    doppel2_ = new TeamListWidget(TeamListe::Doppel2, this);
    doppel2_->setObjectName(QStringLiteral("ListBox5"));
    for (TeamListWidget* l : {gemeldet_, spieler_, reserve_, doppel1_, doppel2_})
        l->onDrop = [this](TeamListe target, int row, TeamListe source, int sourceRow) {
            dropped(target, row, source, sourceRow);
        };
    for (TeamListWidget* l : {reserve_, doppel1_, doppel2_})
        l->setMaximumHeight(80);

    neuesTeam_ = new QPushButton(QStringLiteral("Neues Team"), this);
    neuesTeam_->setObjectName(QStringLiteral("neuesTeam"));
    loeschen_ = new QPushButton(QStringLiteral("Team löschen"), this);
    loeschen_->setObjectName(QStringLiteral("teamLoeschen"));
    uebernehmen_ = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen_->setObjectName(QStringLiteral("uebernehmen"));
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));

    auto* left = new QVBoxLayout;
    left->addWidget(labelled(QStringLiteral("Spielklassen"), klassen_, this));
    left->addWidget(labelled(QStringLiteral("gemeldete Spieler"), gemeldet_, this), 1);

    auto* right = new QGridLayout;
    right->addWidget(labelled(QStringLiteral("Teamname"), teamname_, this), 0, 0);
    right->addWidget(labelled(QStringLiteral("Verein"), verein_, this), 0, 1);
    right->addWidget(labelled(QStringLiteral("Spieler"), spieler_, this), 1, 0);
    right->addWidget(labelled(QStringLiteral("Reservespieler"), reserve_, this), 1, 1);
    right->addWidget(labelled(QStringLiteral("Doppel 1"), doppel1_, this), 2, 0);
    right->addWidget(labelled(QStringLiteral("Doppel 2"), doppel2_, this), 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(neuesTeam_);
    buttons->addWidget(loeschen_);
    buttons->addStretch(1);
    buttons->addWidget(uebernehmen_);
    buttons->addWidget(zurueck_);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(720, 520);

    connect(klassen_, &QListWidget::currentRowChanged, this, &Tteamauswahl::classChanged);
    connect(teamname_, &QComboBox::activated, this, &Tteamauswahl::teamChosen);
    connect(teamname_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!updating_) auswahl_.setTeamname(text);
    });
    connect(verein_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!updating_) auswahl_.setVerein(text);
    });
    connect(gemeldet_, &QListWidget::itemClicked, this, &Tteamauswahl::playerClicked);
    connect(neuesTeam_, &QPushButton::clicked, this, &Tteamauswahl::neu);
    connect(loeschen_, &QPushButton::clicked, this, &Tteamauswahl::loeschen);
    connect(uebernehmen_, &QPushButton::clicked, this, &Tteamauswahl::uebernehmen);
    connect(zurueck_, &QPushButton::clicked, this, &QDialog::close);

    showAll();
}

Tteamauswahl::~Tteamauswahl() = default;

bool Tteamauswahl::run(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return false;
    }
}

void Tteamauswahl::laden() {
    run([this] { auswahl_.open(); });
    showAll();
}

void Tteamauswahl::oeffnen() {
    laden();
    show();
    raise();
    activateWindow();
}

void Tteamauswahl::neuesTeam(const QString& name) {
    laden();
    auswahl_.newTeam(name);
    showTeam();
    show();
    raise();
    activateWindow();
    teamname_->setFocus();
}

void Tteamauswahl::classChanged(int row) {
    if (updating_ || row < 0) return;
    run([this, row] { auswahl_.chooseClass(row); });
    showAll();
}

void Tteamauswahl::teamChosen(int index) {
    run([this, index] { auswahl_.chooseTeam(index); });
    showTeam();
}

void Tteamauswahl::playerClicked() {
    const int row = gemeldet_->currentRow();
    run([this, row] { auswahl_.playerClicked(row); });
    showTeam();
}

void Tteamauswahl::dropped(TeamListe target, int row, TeamListe source, int sourceRow) {
    if (auswahl_.drop(target, row, source, sourceRow)) showTeam();
}

void Tteamauswahl::neu() {
    auswahl_.newTeam();
    showTeam();
    teamname_->setFocus();
}

void Tteamauswahl::loeschen() {
    bool deleted = false;
    run([this, &deleted] { deleted = auswahl_.deleteTeam(); });
    if (deleted) emit teamsChanged();
    showPlayers();
    showTeam();
}

void Tteamauswahl::uebernehmen() {
    bool saved = false;
    run([this, &saved] { saved = auswahl_.save(); });
    if (saved) emit teamsChanged();
    showPlayers();
    showTeam();
    if (auswahl_.focus() == Teamauswahl::Feld::Teamname) teamname_->setFocus();
    if (auswahl_.focus() == Teamauswahl::Feld::Verein) verein_->setFocus();
}

void Tteamauswahl::showAll() {
    const bool was = updating_;
    updating_ = true;
    klassen_->clear();
    for (const TeamKlasse& k : auswahl_.classes())
        klassen_->addItem(k.name);
    klassen_->setCurrentRow(auswahl_.selectedClass());
    updating_ = was;
    showPlayers();
    showTeam();
}

void Tteamauswahl::showPlayers() {
    const bool was = updating_;
    updating_ = true;
    gemeldet_->clear();
    const QColor highlight(0, 0, 160);
    for (const TeamMitglied& p : auswahl_.players()) {
        auto* item = new QListWidgetItem(p.text, gemeldet_);
        // Players who already play for a team of the class stand out.
        if (p.imTeam) {
            item->setForeground(highlight);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
    }
    verein_->clear();
    verein_->addItems(auswahl_.clubs());
    verein_->setCurrentIndex(-1);
    verein_->setEditText(auswahl_.verein());
    updating_ = was;
}

void Tteamauswahl::showTeam() {
    const bool was = updating_;
    updating_ = true;
    teamname_->clear();
    for (const TeamEintrag& t : auswahl_.teams())
        teamname_->addItem(t.name);
    teamname_->setCurrentIndex(auswahl_.teamIndex());
    teamname_->setEditText(auswahl_.teamname());
    const int club = verein_->findText(auswahl_.verein());
    verein_->setCurrentIndex(club);
    verein_->setEditText(auswahl_.verein());
    updating_ = was;
    for (const TeamListe l : {TeamListe::Spieler, TeamListe::Reserve, TeamListe::Doppel1, TeamListe::Doppel2})
        showPositions(l);
}

void Tteamauswahl::showPositions(TeamListe liste) {
    TeamListWidget* w = listOf(liste);
    const QVector<int>& sids = auswahl_.positions(liste);
    w->clear();
    for (int i = 0; i < sids.size(); ++i) {
        QString text;
        run([&] { text = auswahl_.playerText(sids[i]); });
        w->addItem((QString::number(i + 1) + QStringLiteral(". ") + text).trimmed());
    }
}

TeamListWidget* Tteamauswahl::listOf(TeamListe liste) const {
    switch (liste) {
    case TeamListe::Spieler:
        return spieler_;
    case TeamListe::Reserve:
        return reserve_;
    case TeamListe::Doppel1:
        return doppel1_;
    case TeamListe::Doppel2:
        return doppel2_;
    case TeamListe::Gemeldet:
        break;
    }
    return gemeldet_;
}
