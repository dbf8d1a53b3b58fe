#include "results/ui/tvergleich.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Tvergleich::Tvergleich(tabelle::Vergleich& vergleich, QWidget* parent)
    : QDialog(parent), vergleich_(vergleich) {
    setObjectName(QStringLiteral("Tvergleich"));
    setWindowTitle(tabelle::Vergleich::kTitel);
    setModal(true);
    resize(319, 253);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tabelle::Vergleich::kZeile1, this));
    layout->addWidget(new QLabel(tabelle::Vergleich::kZeile2, this));

    liste_ = new QListWidget(this);
    liste_->setObjectName(QStringLiteral("ListBox2"));
    liste_->setAccessibleName(tabelle::Vergleich::kTitel);
    liste_->setMouseTracking(true);
    // The selected entry white on the highlight colour, every other one on white in its mark's colour.
    QPalette pal = liste_->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    liste_->setPalette(pal);
    layout->addWidget(liste_);

    auto* buttons = new QHBoxLayout;
    auto* raufButton = new QPushButton(QStringLiteral("Rauf"), this);
    raufButton->setObjectName(QStringLiteral("rauf"));
    auto* runterButton = new QPushButton(QStringLiteral("Runter"), this);
    runterButton->setObjectName(QStringLiteral("runter"));
    auto* uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen->setObjectName(QStringLiteral("uebernehmen"));
    uebernehmen->setDefault(true);
    buttons->addWidget(raufButton);
    buttons->addWidget(runterButton);
    buttons->addStretch();
    buttons->addWidget(uebernehmen);
    layout->addLayout(buttons);

    connect(raufButton, &QPushButton::clicked, this, &Tvergleich::rauf);
    connect(runterButton, &QPushButton::clicked, this, &Tvergleich::runter);
    connect(uebernehmen, &QPushButton::clicked, this, &QDialog::accept);

    fuellen(0);
}

tabelle::Entscheider Tvergleich::entscheider(QWidget* parent) {
    return [parent](tabelle::Vergleich& v) {
        Tvergleich dialog(v, parent);
        dialog.exec();
    };
}

void Tvergleich::fuellen(int auswahl) {
    liste_->clear();
    for (int i = 0; i < vergleich_.size(); ++i) {
        auto* item = new QListWidgetItem(vergleich_.eintraege()[i].bez, liste_);
        item->setForeground(vergleich_.markiert(i) ? QColor(255, 0, 0) : QColor(0, 0, 0));
        item->setToolTip(vergleich_.hinweis(i));
        item->setSizeHint(QSize(0, 16));
    }
    if (vergleich_.size() > 0) liste_->setCurrentRow(qBound(0, auswahl, vergleich_.size() - 1));
}

void Tvergleich::rauf() {
    const int i = liste_->currentRow();
    if (vergleich_.rauf(i)) fuellen(i - 1);
}

void Tvergleich::runter() {
    const int i = liste_->currentRow();
    if (vergleich_.runter(i)) fuellen(i + 1);
}
