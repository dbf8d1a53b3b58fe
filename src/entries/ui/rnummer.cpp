#include "entries/ui/rnummer.h"

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
QFont titleFont() {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(12);
    return f;
}
QFont rowFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    return f;
}
} // namespace

StartNumberView::StartNumberView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("nummernbild"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void StartNumberView::setList(const QString& turniername, const QList<StartNumberRow>& rows) {
    title_ = QStringLiteral("Rückennummern: ") + turniername;
    rows_ = rows;
    // Columns stand at 30, 70 and 270 unless a long number or name needs more room.
    const QFontMetrics fm(rowFont());
    int widestNumber = 0;
    int widestName = 0;
    for (const auto& r : rows_) {
        widestNumber = qMax(widestNumber, fm.horizontalAdvance(QString::number(r.nummer)));
        widestName = qMax(widestName, fm.horizontalAdvance(r.name));
    }
    nameX_ = qMax(70, 30 + widestNumber + 8);
    clubX_ = qMax(270, nameX_ + widestName + 10);
    int widestClub = 0;
    for (const auto& r : rows_)
        widestClub = qMax(widestClub, fm.horizontalAdvance(r.verein));
    setMinimumSize(qMax(500, clubX_ + widestClub + 30), neededHeight());
    update();
}

void StartNumberView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Text));
    const int big = 1000;
    auto text = [&](int x, int y, const QString& s) {
        p.drawText(QRect(x, y, big, big), Qt::AlignLeft | Qt::AlignTop, s);
    };
    p.setFont(titleFont());
    text(30, 5, title_);
    p.setFont(rowFont());
    text(30, 30, QStringLiteral("Nr."));
    text(nameX_ - 10, 30, QStringLiteral("Name"));
    text(clubX_, 30, QStringLiteral("Verein"));
    p.drawLine(30, 50, width() - 30, 50);
    int y = 60;
    for (const auto& r : rows_) {
        text(30, y, QString::number(r.nummer));
        text(nameX_, y, r.name);
        text(clubX_, y, r.verein);
        y += 20;
    }
}

TR_Nummer::TR_Nummer(AppState& state, Tdb_procedures& db, Interaction& interaction, QWidget* parent)
    : QDialog(parent), state_(state), db_(db), interaction_(interaction) {
    setObjectName(QStringLiteral("TR_Nummer"));
    setWindowTitle(QStringLiteral("Rückennummern"));
    // The window behind takes no input while the list is open.
    setWindowModality(Qt::WindowModal);
    resize(620, 520);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollbox"));
    scroll_->setWidgetResizable(true);
    scroll_->verticalScrollBar()->setSingleStep(5);
    view_ = new StartNumberView;
    scroll_->setWidget(view_);

    auto* drucken = new QPushButton(QStringLiteral("Drucken"), this);
    drucken->setObjectName(QStringLiteral("drucken"));
    auto* zurueck = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck->setObjectName(QStringLiteral("zurueck"));
    zurueck->setDefault(true);
    connect(drucken, &QPushButton::clicked, this, &TR_Nummer::print);
    connect(zurueck, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(drucken);
    buttons->addStretch();
    buttons->addWidget(zurueck);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll_);
    layout->addLayout(buttons);
    setTabOrder(scroll_, drucken);
    setTabOrder(drucken, zurueck);
}

void TR_Nummer::reload() {
    try {
        rows_ = startNumberRows(db_, state_.tid);
    } catch (const DbError& e) {
        rows_.clear();
        interaction_.error(e.message());
    }
    view_->setList(state_.turniername, rows_);
}

void TR_Nummer::showEvent(QShowEvent* event) {
    reload();
    QDialog::showEvent(event);
}

void TR_Nummer::print() {
    try {
        printStartNumberList(db_, interaction_, state_.tid, state_.turniername);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
}
