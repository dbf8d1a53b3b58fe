#include "draw/ui/auslosungsform.h"

#include "common/interaction.h"
#include "draw/labels.h"
#include "draw/ui/gruppenliste.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

using Ort = Auslosung::Ort;

const char* const kListen[] = {"ListBox1", "ListBox2", "ListBox3", "ListBox4", "ListBox5"};

// Sets the texts of a list in place, so its scroll position and selection survive a refresh.
void setzeTexte(QListWidget* list, const QStringList& texts) {
    while (list->count() > texts.size()) delete list->takeItem(list->count() - 1);
    for (int i = 0; i < texts.size(); ++i) {
        if (i < list->count())
            list->item(i)->setText(texts[i]);
        else
            list->addItem(texts[i]);
    }
}

QButtonGroup* radioGroup(QWidget* parent, QVBoxLayout* into, const QString& name, const QString& caption,
                         const QStringList& items) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(name + QStringLiteral("_%1").arg(i));
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box);
    return group;
}

QWidget* titled(const QString& title, QWidget* content, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title, box));
    layout->addWidget(content);
    return box;
}

// A fresh content widget for a scroll area; the old one goes with its lists.
QWidget* neueFlaeche(QScrollArea* area) {
    auto* content = new QWidget;
    area->setWidget(content);
    return content;
}

// The lines of the later stages beside a bracket's first-stage slots: each pair meets, and the winners
// meet again, round by round, up to the final.
class BracketLines : public QWidget {
public:
    static constexpr int kRunde = 36;

    BracketLines(const QListWidget* erste, int rowHeight, QWidget* parent)
        : QWidget(parent), slots_(erste), rowHeight_(rowHeight) {
        int rounds = 0;
        for (int n = erste->count(); n > 1; n /= 2) ++rounds;
        setFixedSize(kRunde * rounds + 12, erste->height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int top = slots_->frameWidth();
        QVector<double> centres;
        for (int k = 0; k < slots_->count(); ++k) centres << top + rowHeight_ * (k + 0.5);
        int x = 0;
        while (centres.size() > 1) {
            QVector<double> next;
            for (int j = 0; j + 1 < centres.size(); j += 2) {
                const double a = centres[j], b = centres[j + 1], mid = (a + b) / 2;
                painter.drawLine(QPointF(x, a), QPointF(x + kRunde / 2, a));
                painter.drawLine(QPointF(x, b), QPointF(x + kRunde / 2, b));
                painter.drawLine(QPointF(x + kRunde / 2, a), QPointF(x + kRunde / 2, b));
                painter.drawLine(QPointF(x + kRunde / 2, mid), QPointF(x + kRunde, mid));
                next << mid;
            }
            centres = next;
            x += kRunde;
        }
    }

private:
    const QListWidget* slots_;
    int rowHeight_;
};

} // namespace

Tauslosungsform::Tauslosungsform(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                                 QWidget* parent)
    : QDialog(parent), state_(state), interaction_(interaction), random_(0),
      model_(db, interaction, clock, random_) {
    setObjectName(QStringLiteral("Tauslosungsform"));
    setWindowTitle(QStringLiteral("Auslosung"));
    resize(1100, 720);

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body);

    // The step strip: which page the operator is on.
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("schritte"));
    strip->setFrameShape(QFrame::StyledPanel);
    strip->setMinimumWidth(170);
    auto* stripLayout = new QVBoxLayout(strip);
    for (int i = 0; i < 4; ++i) {
        schritte_[i] = new QLabel(strip);
        schritte_[i]->setObjectName(QStringLiteral("schritt%1").arg(i + 1));
        schritte_[i]->setMargin(8);
        stripLayout->addWidget(schritte_[i]);
    }
    stripLayout->addStretch();
    body->addWidget(strip);

    seiten_ = new QStackedWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    for (int n = 1; n <= 3; ++n) seiten_->addWidget(phasenseite(n));
    seiten_->addWidget(tischseite());
    body->addWidget(seiten_, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch();
    zurueck_ = button("zurueck", QStringLiteral("<-- Zurück"));
    weiter_ = button("weiter", QStringLiteral("Weiter -->"));
    fertig_ = button("fertig", QStringLiteral("Fertig stellen"));
    abbrechen_ = button("cancel", QStringLiteral("Abbrechen"));
    outer->addLayout(buttons);

    connect(weiter_, &QPushButton::clicked, this, [this] {
        model_.weiter();
        zeigen();
    });
    connect(zurueck_, &QPushButton::clicked, this, [this] {
        model_.zurueck();
        zeigen();
    });
    connect(fertig_, &QPushButton::clicked, this, &Tauslosungsform::fertig);
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

GruppenListe* Tauslosungsform::neueListe(const QString& name, QWidget* parent) {
    auto* list = new GruppenListe(parent);
    list->setObjectName(name);
    connect(list, &GruppenListe::zeileAbgelegt, this,
            [this, name](const QString& quelle, int quellzeile, int zielzeile) {
                abgelegt(name, quelle, quellzeile, zielzeile);
            });
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    return list;
}

QWidget* Tauslosungsform::phasenseite(int n) {
    Seite& s = phasen_[n - 1];
    s.widget = new QWidget(this);
    s.widget->setObjectName(QStringLiteral("phase%1").arg(n));
    auto* layout = new QHBoxLayout(s.widget);
    auto* left = new QVBoxLayout;
    layout->addLayout(left);

    if (n == 1) {
        left->addWidget(titled(QStringLiteral("angemeldete Spieler"), neueListe(QStringLiteral("ListBox1"), s.widget),
                               s.widget));
        left->addWidget(titled(QStringLiteral("gesetzte Spieler"), neueListe(QStringLiteral("ListBox2"), s.widget),
                               s.widget));
        s.verfahren = radioGroup(s.widget, left, QStringLiteral("RadioGroup1"), QStringLiteral("Auslosungsverfahren"),
                                 {QStringLiteral("zufällig (gesetzte Spieler fest)"),
                                  QStringLiteral("zufällig (gesetzte Spieler losen)")});
        verein_ = new QCheckBox(QStringLiteral("Vereinszugehörigkeit beachten"), s.widget);
        verein_->setObjectName(QStringLiteral("Checkbox1"));
        left->addWidget(verein_);
        connect(verein_, &QCheckBox::toggled, this, [this](bool on) { model_.vereinBeachten = on; });
        connect(s.verfahren, &QButtonGroup::idClicked, this, [this](int id) { model_.auslosungsverfahren = id; });
    } else {
        left->addWidget(titled(QStringLiteral("Teilnehmer an Phase %1").arg(n),
                               neueListe(QLatin1String(kListen[n]), s.widget), s.widget));
        s.verfahren = radioGroup(s.widget, left, QStringLiteral("RadioGroup%1").arg(n),
                                 QStringLiteral("Setzverfahren für Zwischenrunde"),
                                 {QStringLiteral("nach System"), QStringLiteral("Zufall")});
        connect(s.verfahren, &QButtonGroup::idClicked, this, [this, n](int id) { model_.setzverfahren[n - 1] = id; });
    }
    s.freilose = new QCheckBox(QStringLiteral("Freilose zufällig verteilen"), s.widget);
    s.freilose->setObjectName(QStringLiteral("Checkbox%1").arg(n + 1));
    left->addWidget(s.freilose);
    connect(s.freilose, &QCheckBox::toggled, this, [this, n](bool on) { model_.freiloseZufaellig[n - 1] = on; });

    s.losen = new QPushButton(QStringLiteral("Losen"), s.widget);
    s.losen->setObjectName(QStringLiteral("dxButton%1").arg(n));
    s.loeschen = new QPushButton(QStringLiteral("Alles löschen"), s.widget);
    s.loeschen->setObjectName(QStringLiteral("ph%1_del").arg(n));
    for (QPushButton* b : {s.losen, s.loeschen}) {
        b->setAutoDefault(false);
        left->addWidget(b);
    }
    connect(s.losen, &QPushButton::clicked, this, [this, n] { losen(n); });
    connect(s.loeschen, &QPushButton::clicked, this, [this, n] {
        model_.allesLoeschen(n);
        zeigen();
    });

    s.flaeche = new QScrollArea(s.widget);
    s.flaeche->setObjectName(QStringLiteral("flaeche%1").arg(n));
    s.flaeche->setWidgetResizable(true);
    layout->addWidget(s.flaeche, 1);
    return s.widget;
}

QWidget* Tauslosungsform::tischseite() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tische"));
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    layout->addLayout(left);
    GruppenListe* tische = neueListe(QStringLiteral("ListBox5"), page);
    // Several tables go onto a group at once.
    tische->setSelectionMode(QAbstractItemView::ExtendedSelection);
    left->addWidget(titled(QStringLiteral("Verfügbare Tische"), tische, page));
    tischmodus_ = radioGroup(page, left, QStringLiteral("RadioGroup5"), QStringLiteral("Tischaufteilung"),
                             {QStringLiteral("Tische frei verteilen"), QStringLiteral("Tische Gruppen fest zuordnen")});
    connect(tischmodus_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.setTischmodus(id);
        zeigen();
    });
    tischflaeche_ = new QScrollArea(page);
    tischflaeche_->setObjectName(QStringLiteral("tischflaeche"));
    tischflaeche_->setWidgetResizable(true);
    layout->addWidget(tischflaeche_, 1);
    return page;
}

bool Tauslosungsform::laden(const std::function<bool()>& load) {
    try {
        if (!load()) return false;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return false;
    }
    aufbauen();
    zeigen();
    return true;
}

bool Tauslosungsform::neueAuslosung(int kid) {
    return laden([&] {
        model_.neu(kid);
        return true;
    });
}

bool Tauslosungsform::neuAuslosen(int kid, int phase) {
    return laden([&] { return model_.neuauslosen(kid, phase); });
}

void Tauslosungsform::aufbauen() {
    // Every opening starts with the options on their first choice.
    for (int n = 1; n <= 3; ++n) {
        Seite& s = phasen_[n - 1];
        s.verfahren->button(0)->setChecked(true);
        const QSignalBlocker block(s.freilose);
        s.freilose->setChecked(false);
        if (!model_.vorhanden(n))
            neueFlaeche(s.flaeche);
        else if (model_.gruppenphase(n))
            gruppenAufbauen(n);
        else
            bracketAufbauen(n);
    }
    {
        const QSignalBlocker block(verein_);
        verein_->setChecked(model_.vereinBeachten);
    }
    tischmodus_->button(0)->setChecked(true);
    tischgruppenAufbauen();
}

void Tauslosungsform::gruppenAufbauen(int n) {
    QWidget* content = neueFlaeche(phasen_[n - 1].flaeche);
    auto* grid = new QGridLayout(content);
    const QVector<Gruppenliste>& gruppen = model_.gruppen(n);
    for (int i = 0; i < gruppen.size(); ++i) {
        GruppenListe* list = neueListe(QStringLiteral("gruppe%1").arg(gruppen[i].gid), content);
        // As high as its lines, so the groups of a phase stand close together.
        QStringList lines;
        for (int r = 0; r < gruppen[i].zeilen.size(); ++r) lines << gruppen[i].zeilentext(r);
        setzeTexte(list, lines);
        const int row = qMax(list->sizeHintForRow(0), list->fontMetrics().height());
        list->setFixedHeight(qMin(480, row * int(lines.size()) + 2 * list->frameWidth() + 6));
        grid->addWidget(titled(gruppen[i].titel(), list, content), i / 2, i % 2);
    }
    grid->setRowStretch(int(gruppen.size() + 1) / 2, 1);
}

void Tauslosungsform::bracketAufbauen(int n) {
    QWidget* content = neueFlaeche(phasen_[n - 1].flaeche);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel(model_.systemtext(n), content));
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    GruppenListe* list = neueListe(QStringLiteral("ko%1").arg(n), content);
    // The whole first stage stands at once; the page scrolls, not the list, so the lines beside it fit.
    const int plaetze = int(model_.bracket(n).size());
    QStringList leer;
    for (int k = 0; k < plaetze; ++k) leer << QString();
    setzeTexte(list, leer);
    list->setUniformItemSizes(true);
    const int rowHeight = list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFixedSize(280, rowHeight * plaetze + 2 * list->frameWidth() + 2);
    row->addWidget(list, 0, Qt::AlignTop);
    row->addWidget(new BracketLines(list, rowHeight, content), 0, Qt::AlignTop);
    row->addStretch();
    layout->addStretch();
}

void Tauslosungsform::tischgruppenAufbauen() {
    QWidget* content = neueFlaeche(tischflaeche_);
    auto* grid = new QGridLayout(content);
    // As many lists per row as fit in steps of 80 pixels.
    const int perRow = qMax(1, (tischflaeche_->viewport()->width() > 100 ? tischflaeche_->viewport()->width() : 800) / 80);
    const QVector<int> gids = model_.tischgruppen();
    for (int i = 0; i < gids.size(); ++i) {
        GruppenListe* list = neueListe(QStringLiteral("tische%1").arg(gids[i]), content);
        list->setFixedWidth(76);
        list->setMinimumHeight(120);
        grid->addWidget(titled(labels::gruppentitel(gids[i]), list, content), i / perRow, i % perRow);
    }
    grid->setRowStretch(int(gids.size()) / perRow + 1, 1);
    grid->setColumnStretch(perRow, 1);
}

GruppenListe* Tauslosungsform::liste(const QString& name) const {
    return findChild<GruppenListe*>(name);
}

void Tauslosungsform::zeigen() {
    const int schritt = model_.schritt();
    for (int i = 0; i < 4; ++i) {
        QLabel* l = schritte_[i];
        if (i < 3) {
            l->setText(QStringLiteral("Phase %1\n").arg(i + 1) + model_.systemtext(i + 1));
            l->setVisible(model_.vorhanden(i + 1));
        } else {
            l->setText(QStringLiteral("Tische"));
        }
        l->setStyleSheet(i + 1 == schritt ? QStringLiteral("background-color: palette(highlight); color: "
                                                           "palette(highlighted-text); font-weight: bold;")
                                          : QString());
    }
    seiten_->setCurrentIndex(schritt - 1);

    setzeTexte(liste(QStringLiteral("ListBox1")), model_.listentexte(Ort::Angemeldete));
    setzeTexte(liste(QStringLiteral("ListBox2")), model_.listentexte(Ort::Gesetzte));
    setzeTexte(liste(QStringLiteral("ListBox3")), model_.listentexte(Ort::Teilnehmer, 2));
    setzeTexte(liste(QStringLiteral("ListBox4")), model_.listentexte(Ort::Teilnehmer, 3));
    setzeTexte(liste(QStringLiteral("ListBox5")), model_.listentexte(Ort::Tische));

    for (int n = 1; n <= 3; ++n) {
        const Seite& s = phasen_[n - 1];
        s.losen->setEnabled(model_.vorhanden(n) && model_.losenAktiv(n));
        s.freilose->setEnabled(model_.freiloseAktiv(n));
        if (!model_.vorhanden(n)) continue;
        if (model_.gruppenphase(n)) {
            for (const Gruppenliste& g : model_.gruppen(n)) {
                QStringList lines;
                for (int r = 0; r < g.zeilen.size(); ++r) lines << g.zeilentext(r);
                if (GruppenListe* l = liste(QStringLiteral("gruppe%1").arg(g.gid))) setzeTexte(l, lines);
            }
        } else if (GruppenListe* l = liste(QStringLiteral("ko%1").arg(n))) {
            const KoSlots& bracket = model_.bracket(n);
            QStringList lines;
            for (int k = 0; k < bracket.size(); ++k)
                lines << (n == 1 ? QStringLiteral("Spieler %1:  ").arg(k + 1) : QStringLiteral("%1.  ").arg(k + 1)) +
                             bracket[k].text;
            setzeTexte(l, lines);
            // The two slots of a first-stage match share a shade.
            for (int k = 0; k < l->count(); ++k)
                l->item(k)->setBackground((k / 2) % 2 ? palette().alternateBase() : palette().base());
        }
    }
    verein_->setEnabled(model_.vereinAktiv());

    const bool fest = model_.tischmodus() == Tischaufteilung::fest;
    tischflaeche_->setVisible(fest);
    for (int gid : model_.tischgruppen())
        if (GruppenListe* l = liste(QStringLiteral("tische%1").arg(gid))) setzeTexte(l, model_.tischeVon(gid));

    zurueck_->setEnabled(model_.zurueckAktiv());
    weiter_->setEnabled(model_.weiterAktiv());
    fertig_->setEnabled(model_.fertigAktiv());
}

Auslosung::Ort Tauslosungsform::ort(const QString& name, int zeile) const {
    Ort o;
    o.zeile = zeile;
    if (name == QLatin1String("ListBox1")) {
        o.art = Ort::Angemeldete;
    } else if (name == QLatin1String("ListBox2")) {
        o.art = Ort::Gesetzte;
    } else if (name == QLatin1String("ListBox3") || name == QLatin1String("ListBox4")) {
        o.art = Ort::Teilnehmer;
        o.phase = name.back().digitValue() - 1;
    } else if (name == QLatin1String("ListBox5")) {
        o.art = Ort::Tische;
    } else if (name.startsWith(QLatin1String("gruppe"))) {
        const int gid = name.mid(6).toInt();
        o.art = Ort::Gruppe;
        for (int n = 1; n <= 3; ++n)
            if (model_.gruppenphase(n) && gid >= model_.infos().ersteGid(n) &&
                gid < model_.infos().ersteGid(n) + model_.infos().gruppen(n)) {
                o.phase = n;
                o.index = gid - model_.infos().ersteGid(n);
            }
    } else if (name.startsWith(QLatin1String("ko"))) {
        o.art = Ort::Slot;
        o.phase = name.mid(2).toInt();
    } else if (name.startsWith(QLatin1String("tische"))) {
        o.art = Ort::Gruppentische;
        o.index = name.mid(6).toInt();
    } else {
        o.phase = 0; // no list of this dialog: the drop means nothing
    }
    return o;
}

void Tauslosungsform::abgelegt(const QString& ziel, const QString& quelle, int quellzeile, int zielzeile) {
    // Only lists of this dialog count as sources.
    if (!liste(quelle)) return;
    const Ort von = ort(quelle, quellzeile);
    const Ort nach = ort(ziel, zielzeile);
    bool changed = false;
    if (von.art == Ort::Tische && nach.art == Ort::Gruppentische) {
        // Every selected table goes onto the group, the dragged one included.
        QStringList tische;
        const QListWidget* source = liste(quelle);
        for (int i = 0; i < source->count(); ++i)
            if (source->item(i)->isSelected() || i == quellzeile) tische << source->item(i)->text();
        model_.tischeZuordnen(nach.index, tische);
        changed = true;
    } else {
        changed = model_.ablegen(von, nach);
    }
    if (changed) zeigen();
}

bool Tauslosungsform::eventFilter(QObject* watched, QEvent* event) {
    auto* list = qobject_cast<GruppenListe*>(watched);
    if (!list && watched->parent()) list = qobject_cast<GruppenListe*>(watched->parent());
    if (list && event->type() == QEvent::KeyPress && watched == list) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Ort o = ort(list->objectName(), list->currentRow());
        if (key->key() == Qt::Key_Delete && o.art == Ort::Gruppe && o.phase == 1) {
            if (model_.entfernen(o.index, o.zeile)) zeigen();
            return true;
        }
    }
    if (list && event->type() == QEvent::MouseButtonPress) {
        // A click in one list clears the selection of its neighbours: one line is dragged at a time.
        const QString name = list->objectName();
        if (name == QLatin1String("ListBox1") || name == QLatin1String("ListBox2")) {
            const QString other = name == QLatin1String("ListBox1") ? QStringLiteral("ListBox2") : QStringLiteral("ListBox1");
            if (GruppenListe* l = liste(other)) l->clearSelection();
        } else if (name.startsWith(QLatin1String("gruppe"))) {
            for (GruppenListe* l : findChildren<GruppenListe*>())
                if (l != list && l->objectName().startsWith(QLatin1String("gruppe"))) l->clearSelection();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tauslosungsform::losen(int n) {
    try {
        model_.losen(n);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    zeigen();
}

void Tauslosungsform::fertig() {
    Fertigstellen::Ergebnis e;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        e = model_.fertigstellen(state_.tid, dateien_);
    } catch (const DbError& err) {
        QApplication::restoreOverrideCursor();
        interaction_.error(err.message());
        return;
    }
    QApplication::restoreOverrideCursor();
    if (!e.geschrieben) return;
    const int kid = model_.kid();
    accept();
    emit planGeschrieben(kid, e.planleiste, e.planAnzeigen);
}
