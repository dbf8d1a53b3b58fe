#include "support/pdfwords.h"

#include <QProcess>
#include <QRegularExpression>

QList<PdfWord> pdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000)) return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    constexpr double mmPerPoint = 25.4 / 72.0;
    static const QRegularExpression re(
        QStringLiteral("<page|<word xMin=\"(-?[0-9.]+)\" yMin=\"(-?[0-9.]+)\" "
                       "xMax=\"(-?[0-9.]+)\" yMax=\"(-?[0-9.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    auto it = re.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0) == u"<page") {
            ++page;
            continue;
        }
        // pdftotext writes &amp; and friends in its HTML.
        QString text = m.captured(5);
        text.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words << PdfWord{text, m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                         m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint, page};
    }
    return words;
}

QList<PdfWord> pdfWordsNamed(const QList<PdfWord>& words, const QString& text) {
    QList<PdfWord> out;
    for (const PdfWord& w : words)
        if (w.text == text) out << w;
    return out;
}
