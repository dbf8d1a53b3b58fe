#include "entries/partnercheck.h"

#include "common/interaction.h"
#include "entries/spieler.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

const QString Partnercheck::kGleichesGeschlecht =
    QStringLiteral("Beide Spieler haben das gleiche Geschlecht");

namespace {

constexpr int kMixed = 2;
constexpr int kTeam = 3;

const KlassenEintrag* classOf(const Spielerverwaltung& panel, int kid) {
    for (const auto& k : panel.klassen())
        if (k.kid == kid) return &k;
    return nullptr;
}

// The player of the tournament with that text; deleted players are no partners.
const SpielerInfo* playerByText(const Spielerverwaltung& panel, const QString& text) {
    if (text.isEmpty()) return nullptr;
    for (const auto& s : panel.spielerinfos())
        if (!s.deleted() && s.text() == text) return &s;
    return nullptr;
}

void refuseSameSex(Interaction& interaction) {
    interaction.warning(Partnercheck::kGleichesGeschlecht, Interaction::Button::Cancel);
}

// doppeldelete
void deleteRow(Tdb_procedures& db, int sid, int kid) {
    db.exec(QStringLiteral("DELETE FROM Doppelpartner WHERE SID=:d0 AND KID=:d1"),
            {{":d0", sid}, {":d1", kid}});
}

// doppelupdate
void clearReferences(Tdb_procedures& db, int sid, int kid) {
    db.exec(QStringLiteral("UPDATE Doppelpartner SET partner_SID=NULL WHERE partner_SID=:d0 AND KID=:d1"),
            {{":d0", sid}, {":d1", kid}});
}

} // namespace

void doppelinsert(Tdb_procedures& db, int kid, int sid, int partner, const QVariant& mannschaft) {
    db.exec(
        QStringLiteral("INSERT INTO Doppelpartner VALUES (:d0,:d1,:d2,:d3)"),
        {{":d0", kid}, {":d1", sid}, {":d2", partner ? QVariant(partner) : QVariant()}, {":d3", mannschaft}});
}

QList<PartnerKandidat> partnerKandidaten(Tdb_procedures& db, int kid, int sid, bool mixed, bool mann) {
    const Rows rows = db.select(QStringLiteral("SELECT s.SID,s.nachname,s.vorname,s.mann,s.frau FROM "
                                               "Spieler_im_Turnier as st INNER JOIN Spielerdaten as s ON "
                                               "(st.SID=s.SID AND st.KID=:KID)"),
                                {{":KID", kid}});
    QList<PartnerKandidat> list;
    list.reserve(rows.size());
    for (const Row& r : rows) {
        const int other = r.integer(u"SID");
        if (other == sid) continue;
        // A man is offered the women of a mixed class and a woman the men.
        if (mixed && !(r.boolean(u"mann") != mann && r.boolean(u"frau") == mann)) continue;
        list.append({other, r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname")});
    }
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(list.begin(), list.end(), [&](const PartnerKandidat& a, const PartnerKandidat& b) {
        return collator.compare(a.text, b.text) < 0;
    });
    return list;
}

QString partnerTextOf(const Spielerverwaltung& panel, const PartnerLine& line) {
    // The class is known by the line's id, so a ':' in a class name cannot cut the text short.
    int colon = -1;
    if (const KlassenEintrag* k = classOf(panel, line.kid); k && line.text.startsWith(k->text + u':'))
        colon = int(k->text.size());
    else
        colon = int(line.text.indexOf(u':'));
    if (colon < 0) return {};
    QString rest = line.text.mid(colon + 1);
    if (rest.startsWith(u' ')) rest.remove(0, 1);
    return rest;
}

bool Partnercheck::prepare(Spielerverwaltung& panel) {
    plan_.clear();
    Tdb_procedures& db = panel.db();
    const int self = panel.loadedSid(); // 0 for a player not stored yet
    const bool mann = panel.felder().mann;

    struct Line {
        int kid = 0;
        int partner = 0;
        bool mixed = false;
        bool partnerMann = false;
        bool hasRow = false;
        int playsWith = 0; // whom the partner's row names
        bool entered = false;
    };
    QList<Line> lines;
    for (const PartnerLine& pl : panel.partnerLines()) {
        const KlassenEintrag* k = classOf(panel, pl.kid);
        if (!k) continue; // a class gone meanwhile has nothing to store
        Line l;
        l.kid = pl.kid;
        l.mixed = k->system == kMixed;
        if (k->system != kTeam) {
            const SpielerInfo* p = playerByText(panel, partnerTextOf(panel, pl));
            if (p && p->sid != self) {
                // The partner's sex, his row in the class and his entry, in one read.
                const Row r = db.selectOne(
                    QStringLiteral("SELECT s.mann,d.KID AS paar,d.partner_SID,st.KID AS gemeldet FROM "
                                   "(Spielerdaten AS s LEFT JOIN Doppelpartner AS d ON (d.SID=s.SID AND "
                                   "d.KID=:k1)) LEFT JOIN Spieler_im_Turnier AS st ON (st.SID=s.SID AND "
                                   "st.KID=:k2) WHERE s.SID=:p"),
                    {{":k1", pl.kid}, {":k2", pl.kid}, {":p", p->sid}});
                if (!r.isEmpty()) {
                    l.partner = p->sid;
                    l.partnerMann = r.boolean(u"mann");
                    l.hasRow = !r.isNull(u"paar");
                    l.playsWith = r.integer(u"partner_SID");
                    l.entered = !r.isNull(u"gemeldet");
                }
            }
        }
        lines.append(l);
    }

    // Every refusal comes before any question, so a refused save asked nothing in vain.
    for (const Line& l : lines) {
        if (l.partner && l.mixed && l.partnerMann == mann) {
            refuseSameSex(panel.interaction());
            return false;
        }
    }

    QList<Schritt> plan;
    for (const Line& l : lines) {
        Schritt s{l.kid, 0};
        if (l.partner) {
            if (!l.hasRow) {
                if (l.entered) s.partner = l.partner;
            } else if (l.playsWith == 0 || l.playsWith == self) {
                s.partner = l.partner;
            } else if (panel.interaction().askYesNo(
                           QString::number(l.partner) + QStringLiteral(" spielt schon mit ") +
                           QString::number(l.playsWith) + QStringLiteral(" .Tauschen?"))) {
                s.partner = l.partner;
            }
        }
        plan.append(s);
    }
    plan_ = plan;
    return true;
}

void Partnercheck::store(Spielerverwaltung& panel, int sid) {
    Tdb_procedures& db = panel.db();
    Transaction t(db);
    // The team names are kept: they belong to the team administration, not to this save.
    QHash<int, QString> teams;
    for (const Row& r :
         db.select(QStringLiteral(
                       "SELECT KID,mannschaft FROM Doppelpartner WHERE SID=:d0 AND mannschaft IS NOT NULL"),
                   {{":d0", sid}}))
        teams.insert(r.integer(u"KID"), r.text(u"mannschaft"));

    db.exec(QStringLiteral("DELETE FROM Doppelpartner WHERE SID=:d0"), {{":d0", sid}});
    db.exec(QStringLiteral("UPDATE Doppelpartner SET partner_SID=:d0 WHERE partner_SID=:d1"),
            {{":d0", QVariant()}, {":d1", sid}});

    for (const Schritt& s : plan_) {
        deleteRow(db, sid, s.kid);
        if (s.partner == 0) {
            doppelinsert(db, s.kid, sid, 0, teams.contains(s.kid) ? QVariant(teams.value(s.kid)) : QVariant());
            clearReferences(db, sid, s.kid);
            continue;
        }
        // Whoever played with either of the two is left without partner.
        clearReferences(db, s.partner, s.kid);
        clearReferences(db, sid, s.kid);
        deleteRow(db, s.partner, s.kid);
        deleteRow(db, sid, s.kid);
        doppelinsert(db, s.kid, sid, s.partner);
        doppelinsert(db, s.kid, s.partner, sid);
    }
    t.commit();
}

Doppelauswahl::Doppelauswahl(Spielerverwaltung& panel, int line, const QString& caption)
    : panel_(panel), line_(line), caption_(caption) {
    if (line < 0 || line >= panel.partnerLines().size()) return;
    const PartnerLine& pl = panel.partnerLines()[line];
    kid_ = pl.kid;
    if (const KlassenEintrag* k = classOf(panel, kid_)) {
        mixed_ = k->system == kMixed;
        caption_ = k->text + u':';
    } else {
        mixed_ = caption.startsWith(u'M');
    }
    // The line shows the partner chosen last, stored or not yet.
    current_ = partnerTextOf(panel, pl);
    kandidaten_ = partnerKandidaten(panel.db(), kid_, panel.loadedSid(), mixed_, panel.felder().mann);
}

QStringList Doppelauswahl::kandidatenTexte() const {
    QStringList texts;
    texts.reserve(kandidaten_.size());
    for (const auto& k : kandidaten_)
        texts << k.text;
    return texts;
}

bool Doppelauswahl::take(const QString& text) {
    if (line_ < 0 || line_ >= panel_.partnerLines().size() || panel_.partnerLines()[line_].kid != kid_)
        return false;
    if (mixed_) {
        const SpielerInfo* p = playerByText(panel_, text);
        if (p && p->sid != panel_.loadedSid()) {
            const Row r = panel_.db().selectOne(QStringLiteral("SELECT mann FROM Spielerdaten WHERE SID=:s"),
                                                {{":s", p->sid}});
            if (!r.isEmpty() && r.boolean(u"mann") == panel_.felder().mann) {
                refuseSameSex(panel_.interaction());
                return false;
            }
        }
    }
    panel_.replacePartnerLine(line_, text.isEmpty() ? caption_ : caption_ + u' ' + text);
    return true;
}
