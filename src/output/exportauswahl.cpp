#include "output/exportauswahl.h"

#include "output/htmlexport.h"
#include "output/pdflisten.h"
#include "output/xlsxexport.h"
#include "store/appstate.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

Exportauswahl::Exportauswahl(const AppState& state, Tdb_procedures& db, Interaction& interaction, QString programDir)
    : state_(state), db_(db), interaction_(interaction), programDir_(std::move(programDir)) {}

Exportauswahl::Verwendung Exportauswahl::verwendung(const QString& caption) {
    if (caption == u"Excel-Export") return Verwendung::Excel;
    if (caption == u"PDF-Export") return Verwendung::Pdf;
    if (caption == u"HTML-Export") return Verwendung::Html;
    throw std::invalid_argument("unknown export");
}

QString Exportauswahl::caption() const {
    switch (verwendung_) {
    case Verwendung::Excel: return QStringLiteral("Excel-Export");
    case Verwendung::Pdf: return QStringLiteral("PDF-Export");
    case Verwendung::Html: return QStringLiteral("HTML-Export");
    }
    return QStringLiteral("Export");
}

void Exportauswahl::oeffnen(Verwendung v) {
    verwendung_ = v;
    datensaetze_.clear();
    if (v == Verwendung::Html)
        datensaetze_ << listen::Datensatz{QStringLiteral("Turnier (komplett)"), 0, listen::Art::Spieler, {}};
    else
        datensaetze_ = listen::datensaetze(db_, state_.tid);
    gewaehlt_ = -1;
    waehlen(0);
}

QStringList Exportauswahl::datensaetze() const {
    QStringList out;
    for (const listen::Datensatz& d : datensaetze_)
        out << d.text;
    return out;
}

void Exportauswahl::waehlen(int index) {
    gewaehlt_spalten_.clear();
    if (index < 0 || index >= datensaetze_.size()) {
        gewaehlt_ = -1;
        return;
    }
    gewaehlt_ = index;
    if (verwendung_ != Verwendung::Html) gewaehlt_spalten_ = listen::vorgewaehlt(datensaetze_[index].art);
}

QStringList Exportauswahl::vorhanden() const {
    if (gewaehlt_ < 0 || verwendung_ == Verwendung::Html) return {};
    QList<listen::Spalte> offen;
    for (const listen::Spalte& s : listen::katalog(datensaetze_[gewaehlt_].art))
        if (!gewaehlt_spalten_.contains(s.caption)) offen << s;
    std::stable_sort(offen.begin(), offen.end(), [](const listen::Spalte& a, const listen::Spalte& b) {
        return a.column.compare(b.column, Qt::CaseInsensitive) < 0;
    });
    QStringList out;
    for (const listen::Spalte& s : offen)
        out << s.caption;
    return out;
}

void Exportauswahl::hin(const QString& caption) {
    if (vorhanden().contains(caption)) gewaehlt_spalten_ << caption;
}

void Exportauswahl::zurueck(const QString& caption) {
    gewaehlt_spalten_.removeAll(caption);
}

QString Exportauswahl::exportieren() {
    if (gewaehlt_ < 0) return {};
    switch (verwendung_) {
    case Verwendung::Html:
        return htmlexport::exportieren(state_, db_, interaction_, programDir_);
    case Verwendung::Excel:
        return xlsxexport::exportieren(state_, db_, interaction_, programDir_, datensaetze_[gewaehlt_],
                                       gewaehlt_spalten_);
    case Verwendung::Pdf:
        return pdflisten::exportieren(state_, db_, interaction_, programDir_, datensaetze_[gewaehlt_], gewaehlt_spalten_);
    }
    return {};
}
