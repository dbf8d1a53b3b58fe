#include "draw/ui/teamform.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using teamsystem::Seite;

Tteamform::Tteamform(AppState& /*state*/, Tdb_procedures& db, Interaction& interaction, Clock& /*clock*/,
                     QWidget* parent)
    : QDialog(parent), db_(db), interaction_(interaction), eingabe_(interaction) {
    setObjectName(QStringLiteral("Tteamform"));
    setWindowTitle(QStringLiteral("Teamsystem bearbeiten"));
    setWindowModality(Qt::ApplicationModal);

    spieler_ = new QSpinBox(this);
    spieler_->setObjectName(QStringLiteral("spieler"));
    spieler_->setRange(0, teamsystem::kMaxSpieler);
    reserve_ = new QSpinBox(this);
    reserve_->setObjectName(QStringLiteral("reserve"));
    reserve_->setRange(0, teamsystem::kMaxReserve);
    auto* sizes = new QFormLayout;
    sizes->addRow(QStringLiteral("Anzahl der Spieler pro Team"), spieler_);
    sizes->addRow(QStringLiteral("Anzahl der Reservespieler"), reserve_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Team A"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Team B"), this), 0, 2);
    for (int k = 0; k < teamsystem::kSpiele; ++k) {
        const QString spiel = QStringLiteral("Spiel %1").arg(k + 1);
        auto* label = new QLabel(spiel, this);
        for (const Seite seite : {Seite::A, Seite::B}) {
            auto* box = new QComboBox(this);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            const bool a = seite == Seite::A;
            box->setObjectName(QStringLiteral("%1%2").arg(QChar(a ? u'a' : u'b')).arg(k + 1));
            box->setAccessibleName(spiel + (a ? QStringLiteral(" Team A") : QStringLiteral(" Team B")));
            box->installEventFilter(this);
            box->lineEdit()->installEventFilter(this);
            (a ? a_ : b_)[k] = box;
            grid->addWidget(box, k + 1, a ? 1 : 2);
            connect(box, &QComboBox::editTextChanged, this, [this, seite, k](const QString& text) {
                if (!updating_) eingabe_.setText(seite, k, text);
            });
        }
        label->setBuddy(a_[k]);
        grid->addWidget(label, k + 1, 0);
    }

    uebernehmen_ = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen_->setObjectName(QStringLiteral("uebernehmen"));
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(uebernehmen_);
    buttons->addWidget(zurueck_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizes);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(spieler_, &QSpinBox::valueChanged, this, &Tteamform::spielerChanged);
    connect(reserve_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!updating_) eingabe_.setReserve(value);
    });
    connect(uebernehmen_, &QPushButton::clicked, this, &Tteamform::uebernehmen);
    connect(zurueck_, &QPushButton::clicked, this, &Tteamform::zurueck);

    neu();
}

QComboBox* Tteamform::boxOf(Seite seite, int spiel) const {
    return seite == Seite::A ? a_.at(spiel) : b_.at(spiel);
}

void Tteamform::system_laden(int kid) {
    fill(teamsystem::laden(db_, kid), kid);
}

void Tteamform::neu() {
    fill(TeamSystem{}, 0);
}

void Tteamform::fill(const TeamSystem& system, int kid) {
    eingabe_.zeigen(system, kid);
    confirmed_ = eingabe_.system();
    const bool was = updating_;
    updating_ = true;
    spieler_->setValue(eingabe_.spieler());
    reserve_->setValue(eingabe_.reserve());
    rebuildChoices();
    updating_ = was;
}

void Tteamform::edit(int kid) {
    if (kid != eingabe_.kid()) {
        try {
            system_laden(kid);
        } catch (const DbError& e) {
            interaction_.error(e.message());
            return;
        }
    }
    show();
    raise();
    activateWindow();
}

void Tteamform::edit(int kid, const TeamSystem& current) {
    fill(current, kid);
    show();
    raise();
    activateWindow();
}

void Tteamform::spielerChanged(int value) {
    if (updating_) return;
    eingabe_.setSpieler(value);
    rebuildChoices();
}

void Tteamform::rebuildChoices() {
    const bool was = updating_;
    updating_ = true;
    for (const Seite seite : {Seite::A, Seite::B}) {
        const QStringList choices = eingabe_.choices(seite);
        for (int k = 0; k < teamsystem::kSpiele; ++k) {
            QComboBox* box = boxOf(seite, k);
            box->clear();
            box->addItems(choices);
            // The box keeps what it showed; a text that is no choice any more is refused when it is left.
            box->setCurrentIndex(-1);
            box->setEditText(eingabe_.text(seite, k));
        }
    }
    updating_ = was;
}

bool Tteamform::leaveBox(QComboBox* box) {
    for (int k = 0; k < teamsystem::kSpiele; ++k) {
        for (const Seite seite : {Seite::A, Seite::B}) {
            if (boxOf(seite, k) != box) continue;
            eingabe_.setText(seite, k, box->currentText());
            const bool ok = eingabe_.verlassen(seite, k);
            const bool was = updating_;
            updating_ = true;
            box->setEditText(eingabe_.text(seite, k));
            updating_ = was;
            return ok;
        }
    }
    return true;
}

bool Tteamform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_) {
        QComboBox* box = qobject_cast<QComboBox*>(watched);
        if (!box) box = qobject_cast<QComboBox*>(watched->parent());
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // The box's own drop-down list, or switching to another program, takes the focus without the
        // box being left.
        if (box && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !box->view()->isVisible() && (watched == box || watched == box->lineEdit())) {
            checking_ = true;
            if (!leaveBox(box)) box->setFocus();
            checking_ = false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tteamform::uebernehmen() {
    checking_ = true;
    for (int k = 0; k < teamsystem::kSpiele; ++k)
        for (const Seite seite : {Seite::A, Seite::B})
            eingabe_.setText(seite, k, boxOf(seite, k)->currentText());
    const std::optional<TeamsystemEingabe::Box> refused = eingabe_.pruefen();
    // Each box shows its text as checked: choices in their own spelling, the refused box empty.
    rebuildChoices();
    checking_ = false;
    if (refused) {
        boxOf(refused->first, refused->second)->setFocus();
        return;
    }
    confirmed_ = eingabe_.system();
    emit uebernommen();
    hide();
}

void Tteamform::zurueck() {
    close();
}

void Tteamform::closeEvent(QCloseEvent* event) {
    // Leaving without "Übernehmen" keeps the team system as it was confirmed.
    checking_ = true;
    fill(confirmed_, eingabe_.kid());
    checking_ = false;
    QDialog::closeEvent(event);
}
