#include "store/dialect.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

} // namespace

QString Dialect::adapt(const QString& sql) const {
    QString out;
    out.reserve(sql.size() + 16);
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // Copy a quoted literal or identifier untouched ('' and "" escape the quote).
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += QStringView(sql).mid(i, qMin(j + 1, n) - i);
            i = j + 1;
            continue;
        }
        if (c == u'[') {
            const int close = sql.indexOf(u']', i + 1);
            if (close > i) {
                const QString name = sql.mid(i + 1, close - i - 1);
                if (kind_ == DbKind::Server)
                    out += u'"' + name.toLower() + u'"'; // the server stores unquoted names folded to lower case
                else
                    out += u'[' + name + u']';
                i = close + 1;
                continue;
            }
        }
        if (c == u':' && i + 1 < n && isWordChar(sql[i + 1])) {
            // A named parameter: keep it whole so its name is never taken for a keyword.
            int j = i + 1;
            while (j < n && isWordChar(sql[j])) ++j;
            out += QStringView(sql).mid(i, j - i);
            i = j;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(sql[j])) ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            if (word.compare(u"true", Qt::CaseInsensitive) == 0)
                out += QString::number(trueValue());
            else if (word.compare(u"false", Qt::CaseInsensitive) == 0)
                out += u'0';
            else if (kind_ == DbKind::Server && word.compare(u"like", Qt::CaseInsensitive) == 0)
                out += u"ILIKE";
            else
                out += word;
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QVariant Dialect::bindValue(const QVariant& v) const {
    if (!v.isValid()) return v;
    switch (v.typeId()) {
    case QMetaType::Bool:
        if (v.isNull()) return QVariant(QMetaType(QMetaType::Int));
        return v.toBool() ? trueValue() : 0;
    case QMetaType::QDate:
        if (v.isNull() || !v.toDate().isValid()) return QVariant(QMetaType(QMetaType::QString));
        if (kind_ == DbKind::File) return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
        return v;
    case QMetaType::QDateTime:
        if (v.isNull() || !v.toDateTime().isValid()) return QVariant(QMetaType(QMetaType::QString));
        if (kind_ == DbKind::File) return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        // Local wall-clock time, no zone: the server column is a plain timestamp.
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QTime:
        if (v.isNull() || !v.toTime().isValid()) return QVariant(QMetaType(QMetaType::QString));
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    default: return v;
    }
}

QString Dialect::addImportKlassen() const {
    return kind_ == DbKind::File ? QStringLiteral("ALTER TABLE Import ADD klassen Text(50);")
                                 : QStringLiteral("ALTER TABLE Import ADD klassen VARCHAR(50);");
}
