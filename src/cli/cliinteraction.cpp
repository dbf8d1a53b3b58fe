#include "cli/cliinteraction.h"

void CliInteraction::message(Icon icon, const QString& text, Button) {
    meldungen << text;
    if (icon == Icon::Warning || icon == Icon::Error) ablehnungen << text;
    err_ << text << Qt::endl;
}

bool CliInteraction::confirm(const QString& text, Question question) {
    const bool ja = jaZuAllem;
    const QString antwort = question == Question::YesNo
                                ? (ja ? QStringLiteral("Ja") : QStringLiteral("Nein"))
                                : (ja ? QStringLiteral("OK") : QStringLiteral("Abbrechen"));
    meldungen << text;
    if (!ja) ablehnungen << text;
    err_ << text << QStringLiteral(" -> ") << antwort
         << (ja ? QString() : QStringLiteral(" (--yes antwortet mit Ja)")) << Qt::endl;
    return ja;
}

QString CliInteraction::openFile(const QString&, const QString&, const QString&) {
    return {};
}

QString CliInteraction::saveFile(const QString&, const QString&, const QString&, bool) {
    return {};
}

bool CliInteraction::print(const QString&, QPageLayout::Orientation,
                           const std::function<void(PrintSurface&)>&, PrintMode) {
    return false;
}
