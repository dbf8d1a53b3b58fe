#include "output/ui/tdruck_form.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

Tdruck_form::Tdruck_form(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tdruck_form"));
    setWindowTitle(QStringLiteral("Drucken"));
    auto* layout = new QVBoxLayout(this);

    groesseBox_ = new QGroupBox(QStringLiteral("Druckgröße"), this);
    groesseBox_->setObjectName(QStringLiteral("druckgroesse"));
    auto* gl = new QVBoxLayout(groesseBox_);
    for (int n = 0; n < int(groessen_.size()); ++n) {
        groessen_[n] = new QRadioButton(QStringLiteral("Größe %1").arg(n), groesseBox_);
        groessen_[n]->setObjectName(QStringLiteral("groesse%1").arg(n));
        gl->addWidget(groessen_[n]);
    }
    layout->addWidget(groesseBox_);

    formatBox_ = new QGroupBox(QStringLiteral("Druckformat"), this);
    formatBox_->setObjectName(QStringLiteral("druckformat"));
    auto* fl = new QHBoxLayout(formatBox_);
    hoch_ = new QRadioButton(QStringLiteral("Hochformat"), formatBox_);
    hoch_->setObjectName(QStringLiteral("hochformat"));
    quer_ = new QRadioButton(QStringLiteral("Querformat"), formatBox_);
    quer_->setObjectName(QStringLiteral("querformat"));
    fl->addWidget(hoch_);
    fl->addWidget(quer_);
    layout->addWidget(formatBox_);
    // The page counts follow the format.
    connect(quer_, &QRadioButton::toggled, this, &Tdruck_form::beschriften);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* text;
        const char* name;
        Interaction::DruckWahl::Ziel ziel;
    } ziele[] = {{"Drucken", "drucken", Interaction::DruckWahl::Ziel::Drucker},
                 {"Vorschau", "vorschau", Interaction::DruckWahl::Ziel::Vorschau},
                 {"Als PDF speichern", "pdf", Interaction::DruckWahl::Ziel::Pdf}};
    for (const auto& z : ziele) {
        auto* b = new QPushButton(QString::fromUtf8(z.text), this);
        b->setObjectName(QString::fromLatin1(z.name));
        connect(b, &QPushButton::clicked, this, [this, ziel = z.ziel] { schliessen(ziel); });
        buttons->addWidget(b);
        if (z.ziel == Interaction::DruckWahl::Ziel::Drucker) b->setDefault(true);
    }
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(abbrechen);
    layout->addLayout(buttons);
    vorbereiten({});
}

void Tdruck_form::vorbereiten(const Interaction::Groessentexte& groessen) {
    texte_ = groessen;
    groessen_[2]->setChecked(true);
    {
        const QSignalBlocker block(quer_);
        hoch_->setChecked(true);
    }
    groesseBox_->setVisible(bool(texte_));
    formatBox_->setVisible(bool(texte_));
    ziel_ = Interaction::DruckWahl::Ziel::Drucker;
    beschriften();
    adjustSize();
}

void Tdruck_form::beschriften() {
    if (!texte_) return;
    const QStringList t = texte_(quer_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    for (int n = 0; n < int(groessen_.size()) && n < t.size(); ++n)
        groessen_[n]->setText(t[n]);
}

void Tdruck_form::schliessen(Interaction::DruckWahl::Ziel ziel) {
    ziel_ = ziel;
    accept();
}

Interaction::DruckWahl Tdruck_form::wahl() const {
    Interaction::DruckWahl w;
    for (int n = 0; n < int(groessen_.size()); ++n)
        if (groessen_[n]->isChecked()) w.groesse = n;
    w.format = quer_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    w.ziel = ziel_;
    return w;
}
