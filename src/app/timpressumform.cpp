#include "app/timpressumform.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

QString TImpressumForm::text() {
    return QStringLiteral("<h2>Velmora %1</h2>"
                          "<p>Turnierverwaltung für Tischtennisturniere</p>"
                          "<p>Hersteller: Velmora-Entwicklerteam<br>"
                          "<a href=\"https://velmora.example.org\">https://velmora.example.org</a></p>"
                          "<h3>Verwendete Software und Lizenzen</h3>"
                          "<ul>"
                          "<li>Qt – GNU Lesser General Public License 3.0 (LGPL-3.0)</li>"
                          "<li>SQLite – gemeinfrei (Public Domain)</li>"
                          "<li>libpq / PostgreSQL – PostgreSQL-Lizenz (PostgreSQL Licence)</li>"
                          "<li>libxlsxwriter – BSD-2-Clause-Lizenz</li>"
                          "<li>libzip – BSD-3-Clause-Lizenz</li>"
                          "<li>Liberation-Schriften – SIL Open Font License 1.1 (OFL-1.1)</li>"
                          "</ul>")
        .arg(programVersion());
}

TImpressumForm::TImpressumForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TImpressumForm"));
    setWindowTitle(QStringLiteral("Impressum"));

    auto* layout = new QVBoxLayout(this);
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    logo->setAccessibleName(QStringLiteral("Velmora"));
    layout->addWidget(logo, 0, Qt::AlignHCenter);

    auto* info = new QLabel(text(), this);
    info->setObjectName(QStringLiteral("impressumtext"));
    info->setTextFormat(Qt::RichText);
    info->setOpenExternalLinks(true);
    info->setWordWrap(true);
    info->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(info);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
