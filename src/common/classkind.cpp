#include "common/classkind.h"

#include <array>

namespace classkind {

namespace {
const std::array<const char*, 4> words{"Einzel", "Doppel", "Mixed", "Team"};
}

QString word(int kind) {
    if (kind < 0 || kind >= int(words.size())) return {};
    return QString::fromLatin1(words[kind]);
}

QString suffix(int kind) {
    const QString w = word(kind);
    return w.isEmpty() ? QString() : QStringLiteral(" (") + w + QLatin1Char(')');
}

QString caption(const QString& name, int kind) {
    return name + suffix(kind);
}

int kindOfCaption(const QString& caption) {
    for (int k = 0; k < int(words.size()); ++k)
        if (caption.endsWith(suffix(k)) && caption.size() > suffix(k).size()) return k;
    return -1;
}

QString nameOfCaption(const QString& caption) {
    const qsizetype open = caption.lastIndexOf(QStringLiteral(" ("));
    return open < 0 ? caption : caption.left(open);
}

} // namespace classkind
