#include "store/row.h"

RowColumns::RowColumns(const QStringList& names) : names_(names) {
    index_.reserve(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString key = names[i].toLower();
        if (!index_.contains(key)) index_.insert(key, i);
    }
}

int RowColumns::indexOf(QStringView name) const {
    // Most callers already spell the name as stored; try that before folding case.
    auto it = index_.constFind(name.toString());
    if (it != index_.constEnd()) return *it;
    it = index_.constFind(name.toString().toLower());
    return it == index_.constEnd() ? -1 : *it;
}

QVariant Row::value(QStringView name) const {
    if (!columns_) return {};
    return at(columns_->indexOf(name));
}

bool Row::isNull(QStringView name) const {
    const QVariant v = value(name);
    return !v.isValid() || v.isNull();
}

QString Row::text(QStringView name) const {
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull()) return QString();
    return v.toString();
}

int Row::integer(QStringView name) const {
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull()) return 0;
    bool ok = false;
    const int i = v.toInt(&ok);
    if (ok) return i;
    return static_cast<int>(v.toDouble());
}

double Row::number(QStringView name) const {
    const QVariant v = value(name);
    if (!v.isValid() || v.isNull()) return 0.0;
    return v.toDouble();
}

bool Row::boolean(QStringView name) const {
    const QVariant v = value(name);
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
