#pragma once

#include "common/interaction.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

// Answers the program's questions from a script and records every message, so tests can assert the
// exact German texts. A question or file choice nobody scripted fails the test.
class ScriptedInteraction : public Interaction {
public:
    struct Message {
        Icon icon;
        QString text;
        Button button;
    };

    void message(Icon icon, const QString& text, Button button) override;
    bool confirm(const QString& text, Question question) override;
    bool confirmDefaultNo(const QString& text, Question question) override;
    QString openFile(const QString& caption, const QString& directory, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                     bool confirmOverwrite = true) override;
    void progress(int value, int maximum) override;
    // Confirms the print dialog (unless scripted otherwise) and draws into a PDF file in a temporary folder.
    bool print(const QString& title, QPageLayout::Orientation orientation,
               const std::function<void(PrintSurface&)>& draw, PrintMode mode) override;
    // Takes the next scripted choice of the print-size dialog (the preset when none is scripted) and keeps
    // the size captions it would have shown in both formats.
    std::optional<DruckWahl> druckwahl(const Groessentexte& groessen) override;

    // Script.
    ScriptedInteraction& answer(bool yes) {
        answers << yes;
        return *this;
    }
    ScriptedInteraction& chooseFile(const QString& path) {
        files << path;
        return *this;
    }

    QStringList texts() const;  // every message text in order
    void clear();

    QList<Message> messages;
    QStringList questions;
    QList<bool> questionDefaultNo;  // per question: "Nein" / "Abbrechen" was the default button
    QList<bool> answers;
    QStringList files;          // answers to open and save choices, in order ("" = cancelled)
    QStringList fileCaptions;
    QStringList fileFilters;
    QStringList presetPaths;
    QList<bool> printAnswers;   // false = the print dialog is cancelled; empty = confirmed
    QStringList printTitles;
    QList<PrintMode> printModes; // per print: the print dialog or a preview
    bool printerFails = false;   // the confirmed printer cannot start a document
    QList<std::optional<DruckWahl>> druckWahlen; // nullopt = "Abbrechen"; empty = the preset confirmed
    int druckwahlGezeigt = 0;
    bool druckwahlMitGroessen = false;      // the last dialog offered the print sizes
    QStringList groessenHoch, groessenQuer; // its captions for "Hochformat" and "Querformat"
    QString lastPrintPdf;       // the PDF the last confirmed print went to
    int lastPrintPages = 0;
    int lastProgress = -1;
    int lastProgressMaximum = -1;

private:
    QTemporaryDir printDir_;
    int printCount_ = 0;
};
