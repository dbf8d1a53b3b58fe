#include "store/row.h"

#include <QVarLengthArray>
#include <limits>

RowColumns::RowColumns(const QStringList& names) : names_(names) {
    index_.reserve(2 * names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString key = names[i].toLower();
        if (!index_.contains(key)) index_.insert(key, i);
    }
    // The names as stored too, so the usual lookup needs no folding; a folded name wins over a later column
    // spelt like it.
    for (int i = 0; i < names.size(); ++i)
        if (!index_.contains(names[i])) index_.insert(names[i], i);
}

int RowColumns::indexOf(QStringView name) const {
    // Looked up in place, without copying the name: most callers spell it as stored.
    auto it = index_.constFind(QString::fromRawData(name.data(), name.size()));
    if (it != index_.constEnd()) return *it;
    QVarLengthArray<QChar, 64> folded(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) folded[i] = name[i].toLower();
    it = index_.constFind(QString::fromRawData(folded.data(), folded.size()));
    return it == index_.constEnd() ? -1 : *it;
}

namespace {
const QVariant kMissing;
}

const QVariant& Row::ref(QStringView name) const {
    if (!columns_) return kMissing;
    const int i = columns_->indexOf(name);
    return i >= 0 && i < values_.size() ? values_[i] : kMissing;
}

QVariant Row::value(QStringView name) const { return ref(name); }

bool Row::isNull(QStringView name) const {
    const QVariant& v = ref(name);
    return !v.isValid() || v.isNull();
}

QString Row::text(QStringView name) const {
    const QVariant& v = ref(name);
    if (!v.isValid() || v.isNull()) return QString();
    if (v.typeId() == QMetaType::QString) return *static_cast<const QString*>(v.constData());
    return v.toString();
}

int Row::integer(QStringView name) const {
    const QVariant& v = ref(name);
    if (v.typeId() == QMetaType::LongLong) {
        // What the file database reads: a whole number.
        const qlonglong n = *static_cast<const qlonglong*>(v.constData());
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max()) return int(n);
    }
    if (!v.isValid() || v.isNull()) return 0;
    bool ok = false;
    const int i = v.toInt(&ok);
    if (ok) return i;
    return static_cast<int>(v.toDouble());
}

double Row::number(QStringView name) const {
    const QVariant& v = ref(name);
    if (!v.isValid() || v.isNull()) return 0.0;
    return v.toDouble();
}

bool Row::boolean(QStringView name) const {
    const QVariant& v = ref(name);
    if (!v.isValid() || v.isNull()) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok) return n != 0;
    const QString s = v.toString().trimmed().toLower();
    return s == QLatin1String("true") || s == QLatin1String("t");
}

QDate Row::date(QStringView name) const { return dbvalue::toDate(value(name)); }
QTime Row::time(QStringView name) const { return dbvalue::toTime(value(name)); }
QDateTime Row::dateTime(QStringView name) const { return dbvalue::toDateTime(value(name)); }

namespace dbvalue {

QDateTime toDateTime(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime();
    case QMetaType::QDate: return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QTime: return QDateTime(QDate(1899, 12, 30), v.toTime());
    default: break;
    }
    const QString s = v.toString().trimmed();
    if (s.isEmpty()) return {};
    QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.isValid()) return dt;
    dt = QDateTime::fromString(s, Qt::ISODate);
    if (dt.isValid()) return dt;
    const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (d.isValid()) return QDateTime(d, QTime(0, 0));
    const QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
    if (t.isValid()) return QDateTime(QDate(1899, 12, 30), t);
    return {};
}

QDate toDate(const QVariant& v) { return toDateTime(v).date(); }

QTime toTime(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return {};
    if (v.typeId() == QMetaType::QTime) return v.toTime();
    const QString s = v.toString().trimmed();
    const QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
    if (t.isValid()) return t;
    return toDateTime(v).time();
}

} // namespace dbvalue
