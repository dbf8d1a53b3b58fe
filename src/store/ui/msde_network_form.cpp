#include "store/ui/msde_network_form.h"

#include "store/tournaments.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QVBoxLayout>

TMSDENetworkForm::TMSDENetworkForm(AppState& state, Tdb_procedures& db, Interaction& ui, QWidget* parent)
    : QDialog(parent), state_(state), db_(db), ui_(ui), databaseName_(tournaments::kDatabaseName) {
    setObjectName(QStringLiteral("TMSDENetworkForm"));
    setWindowTitle(QStringLiteral("PCs im Netzwerk"));
    setWindowModality(Qt::ApplicationModal);

    auto* listLabel = new QLabel(QStringLiteral("PCs im Netzwerk"), this);
    pcliste_ = new QListWidget(this);
    pcliste_->setObjectName(QStringLiteral("pcliste"));
    listLabel->setBuddy(pcliste_);

    auto* nameLabel = new QLabel(QStringLiteral("Gewählter PC"), this);
    gewaehlterPC_ = new QLineEdit(this);
    gewaehlterPC_->setObjectName(QStringLiteral("gewaehlterPC"));
    nameLabel->setBuddy(gewaehlterPC_);

    wartetext_ = new QLabel(QStringLiteral("Untersuche den Computer     ...bitte warten..."), this);
    wartetext_->setObjectName(QStringLiteral("wartetext"));
    wartetext_->hide();

    uebernehmen_ = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen_->setObjectName(QStringLiteral("uebernehmen"));
    uebernehmen_->setDefault(true);
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("abbrechen"));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(gewaehlterPC_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(uebernehmen_);
    buttons->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(pcliste_, 1);
    layout->addLayout(nameRow);
    layout->addWidget(wartetext_);
    layout->addLayout(buttons);
    setTabOrder(pcliste_, gewaehlterPC_);
    setTabOrder(gewaehlterPC_, uebernehmen_);
    setTabOrder(uebernehmen_, abbrechen_);

    connect(pcliste_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) gewaehlterPC_->setText(stripName(text));
    });
    connect(gewaehlterPC_, &QLineEdit::textEdited, this, &TMSDENetworkForm::nameEdited);
    connect(uebernehmen_, &QPushButton::clicked, this, &TMSDENetworkForm::uebernehmen);
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

QString TMSDENetworkForm::stripName(const QString& text) {
    static const QRegularExpression unwanted(QStringLiteral("[\\\\ /'\"]"));
    QString s = text;
    s.remove(unwanted);
    return s;
}

void TMSDENetworkForm::nameEdited(const QString& text) {
    const QString stripped = stripName(text);
    if (stripped == text) return;
    // Keep the cursor where the user types: count what was removed in front of it.
    const int cursor = gewaehlterPC_->cursorPosition();
    const int before = stripName(text.left(cursor)).size();
    gewaehlterPC_->setText(stripped);
    gewaehlterPC_->setCursorPosition(before);
}

void TMSDENetworkForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    pcliste_->clear();
    wartetext_->hide();
    previous_ = state_.serverName;
    gewaehlterPC_->setText(previous_);
    gewaehlterPC_->setFocus();
    emit opened();
}

void TMSDENetworkForm::uebernehmen() {
    const QString name = gewaehlterPC_->text();
    wartetext_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    state_.serverName = name;
    state_.dbKind = DbKind::Server;
    state_.trueValue = 1;
    try {
        tournaments::db_verbinden(db_, state_, databaseName_);
    } catch (const DbError&) {
        ui_.error(
            QStringLiteral(
                "Die Datenbank konnte nicht erreicht werden. Dies kann die folgenden Gründe haben:\n\n") +
            QStringLiteral("1.) Der Server ") + name + QStringLiteral(" konnte nicht erreicht werden.") +
            QStringLiteral("\n") +
            QStringLiteral("2.) Auf dem Server ist die Turnier-Datenbank nicht vorhanden.") +
            QStringLiteral("\n") +
            QStringLiteral("3.) Der Datenbank-Server ist für das Netzwerk nicht freigegeben.") +
            QStringLiteral("\n") +
            QStringLiteral("4.) Eine Firewall blockiert den Netzwerkverkehr (Port 5432)."));
        wartetext_->hide();
        state_.serverName = previous_;
        gewaehlterPC_->setText(previous_);
        return;
    }
    wartetext_->hide();
    pcliste_->clear();
    emit serverAccepted(name);
    accept();
}
