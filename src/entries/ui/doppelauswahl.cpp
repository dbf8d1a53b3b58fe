#include "entries/ui/doppelauswahl.h"

#include "common/interaction.h"
#include "entries/spieler.h"
#include "store/db_procedures.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The pairing behind the player panel: this dialog to choose, Partnercheck to store.
class TDoppelauswahl::Hook : public Partnercheck {
public:
    explicit Hook(TDoppelauswahl& dialog) : dialog_(dialog) {}
    void openPairing(Spielerverwaltung& panel, int line, const QString& caption) override {
        dialog_.start(panel, line, caption);
    }

private:
    TDoppelauswahl& dialog_;
};

TDoppelauswahl::TDoppelauswahl(AppState&, Tdb_procedures&, Interaction& interaction, Clock&, QWidget* parent)
    : QDialog(parent), interaction_(interaction), hook_(std::make_unique<Hook>(*this)) {
    setObjectName(QStringLiteral("TDoppelauswahl"));
    setWindowTitle(QStringLiteral("Doppelpartner"));
    // A window of its own that keeps input from the window behind while it is open.
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::WindowModal);

    auto* heading = new QLabel(QStringLiteral("Wählen Sie den Doppelpartner für die Klasse:"), this);
    heading->setObjectName(QStringLiteral("ueberschrift"));
    doppelklasse_ = new QLabel(this);
    doppelklasse_->setObjectName(QStringLiteral("doppelklasse"));
    QFont bold = doppelklasse_->font();
    bold.setBold(true);
    doppelklasse_->setFont(bold);

    doppelcombo_ = new QComboBox(this);
    doppelcombo_->setObjectName(QStringLiteral("doppelcombo"));
    // Editable: emptying the text takes the partner away; typing finds a name in the list.
    doppelcombo_->setEditable(true);
    doppelcombo_->setInsertPolicy(QComboBox::NoInsert);
    doppelcombo_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    doppelcombo_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    doppelcombo_->setMinimumContentsLength(28);
    heading->setBuddy(doppelcombo_);
    doppelcombo_->setAccessibleName(QStringLiteral("Doppelpartner"));

    mannschaftsname_ = new QLineEdit(this);
    mannschaftsname_->setObjectName(QStringLiteral("mannschaftsname"));
    // Teams are formed in the team administration, never here.
    mannschaftsname_->setEnabled(false);
    auto* teamLabel = new QLabel(QStringLiteral("Mannschaftsname"), this);
    teamLabel->setBuddy(mannschaftsname_);

    uebernehmen_ = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen_->setObjectName(QStringLiteral("OK"));
    uebernehmen_->setDefault(true);
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("zurueck"));
    connect(uebernehmen_, &QPushButton::clicked, this, &TDoppelauswahl::uebernehmen);
    connect(zurueck_, &QPushButton::clicked, this, &QDialog::close);

    auto* form = new QFormLayout;
    form->addRow(teamLabel, mannschaftsname_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uebernehmen_);
    buttons->addWidget(zurueck_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(doppelklasse_);
    layout->addWidget(doppelcombo_);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    setTabOrder(doppelcombo_, uebernehmen_);
    setTabOrder(uebernehmen_, zurueck_);
}

TDoppelauswahl::~TDoppelauswahl() = default;

PairingHook* TDoppelauswahl::hook() {
    return hook_.get();
}

void TDoppelauswahl::start(Spielerverwaltung& panel, int line, const QString& caption) {
    auswahl_ = std::make_unique<Doppelauswahl>(panel, line, caption);
    doppelklasse_->setText(auswahl_->caption());
    doppelcombo_->clear();
    doppelcombo_->addItems(auswahl_->kandidatenTexte());
    doppelcombo_->setCurrentIndex(doppelcombo_->findText(auswahl_->current(), Qt::MatchExactly));
    doppelcombo_->setEditText(auswahl_->current());
    show();
    raise();
    activateWindow();
    doppelcombo_->setFocus();
    doppelcombo_->lineEdit()->selectAll();
}

void TDoppelauswahl::uebernehmen() {
    if (!auswahl_) return;
    bool taken = false;
    try {
        taken = auswahl_->take(doppelcombo_->currentText());
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    if (taken) close();
}
