#include "scripted_interaction.h"

#include "output/pdfprint.h"

#include <QPdfWriter>

#include <gtest/gtest.h>

void ScriptedInteraction::message(Icon icon, const QString& text, Button button) {
    messages << Message{icon, text, button};
}

bool ScriptedInteraction::confirmDefaultNo(const QString& text, Question question) {
    const bool answer = confirm(text, question);
    questionDefaultNo.last() = true;
    return answer;
}

bool ScriptedInteraction::confirm(const QString& text, Question) {
    questions << text;
    questionDefaultNo << false;
    if (answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    return answers.takeFirst();
}

QString ScriptedInteraction::openFile(const QString& caption, const QString& directory, const QString& filter) {
    fileCaptions << caption;
    fileFilters << filter;
    presetPaths << directory;
    if (files.isEmpty()) {
        ADD_FAILURE() << "unexpected file choice: " << caption.toStdString();
        return {};
    }
    return files.takeFirst();
}

QString ScriptedInteraction::saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                                     bool) {
    return openFile(caption, presetPath, filter);
}

void ScriptedInteraction::progress(int value, int maximum) {
    lastProgress = value;
    lastProgressMaximum = maximum;
}

QStringList ScriptedInteraction::texts() const {
    QStringList t;
    for (const auto& m : messages) t << m.text;
    return t;
}

void ScriptedInteraction::clear() {
    messages.clear();
    questions.clear();
    questionDefaultNo.clear();
    answers.clear();
    files.clear();
}

bool ScriptedInteraction::print(const QString& title, QPageLayout::Orientation orientation,
                                const std::function<void(PrintSurface&)>& draw, PrintMode mode) {
    printTitles << title;
    printModes << mode;
    if (!printAnswers.isEmpty() && !printAnswers.takeFirst()) return false;
    if (printerFails) {
        // A printer that cannot start: the drawing gets the surface unbegun, as the program's does.
        QPdfWriter writer(printDir_.filePath(QStringLiteral("failed.pdf")));
        PrintSurface s(&writer);
        draw(s);
        return false;
    }
    lastPrintPdf = printDir_.filePath(QStringLiteral("print%1.pdf").arg(++printCount_));
    lastPrintPages = 0;
    return printToPdf(lastPrintPdf, orientation, [&](PrintSurface& s) {
        draw(s);
        lastPrintPages = s.pageCount();
    });
}

std::optional<Interaction::DruckWahl> ScriptedInteraction::druckwahl(const Groessentexte& groessen) {
    ++druckwahlGezeigt;
    druckwahlMitGroessen = bool(groessen);
    groessenHoch = groessen ? groessen(QPageLayout::Portrait) : QStringList();
    groessenQuer = groessen ? groessen(QPageLayout::Landscape) : QStringList();
    if (druckWahlen.isEmpty()) return DruckWahl{};
    return druckWahlen.takeFirst();
}
