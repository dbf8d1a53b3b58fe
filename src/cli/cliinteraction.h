#pragma once

#include "common/interaction.h"

#include <QStringList>
#include <QTextStream>

// The program's questions answered without anybody at the keyboard. Every message goes to the error
// stream as it comes, so a refusal reads exactly as the program shows it; questions are answered with
// the safe "Nein" unless the caller said yes to all (--yes), and the question and its answer are
// written out too. File choices are never asked: commands name their files.
class CliInteraction : public Interaction {
public:
    explicit CliInteraction(QTextStream& err) : err_(err) {}

    void message(Icon icon, const QString& text, Button button) override;
    bool confirm(const QString& text, Question question) override;
    QString openFile(const QString& caption, const QString& directory, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                     bool confirmOverwrite = true) override;
    void progress(int, int) override {}
    bool print(const QString& title, QPageLayout::Orientation orientation,
               const std::function<void(PrintSurface&)>& draw, PrintMode mode) override;

    bool jaZuAllem = false;
    // Messages and questions of the current command, in order (for --json).
    QStringList meldungen;
    // Warnings and errors only: a command that failed without telling why names the first of these.
    QStringList ablehnungen;
    void leeren() {
        meldungen.clear();
        ablehnungen.clear();
    }

private:
    QTextStream& err_;
};
