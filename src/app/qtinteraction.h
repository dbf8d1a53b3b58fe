#pragma once

#include "common/interaction.h"

#include <QPointer>

class QProgressBar;
class QWidget;

// The program's answers to Interaction: German message boxes, the file dialogs and the main window's
// progress bar.
class QtInteraction : public Interaction {
public:
    QtInteraction() = default;

    // The window the dialogs are centred on and the bar that shows progress; both may be unset.
    void setParentWidget(QWidget* parent);
    void setProgressBar(QProgressBar* bar);

    void message(Icon icon, const QString& text, Button button) override;
    bool confirm(const QString& text, Question question) override;
    bool confirmDefaultNo(const QString& text, Question question) override;
    QString openFile(const QString& caption, const QString& directory, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                     bool confirmOverwrite = true) override;
    void progress(int value, int maximum) override;
    bool print(const QString& title, QPageLayout::Orientation orientation,
               const std::function<void(PrintSurface&)>& draw, PrintMode mode) override;
    std::optional<DruckWahl> druckwahl(const Groessentexte& groessen) override;

    static QString buttonText(Button button);

private:
    bool ask(const QString& text, Question question, bool defaultNo);

    QPointer<QWidget> parent_;
    QPointer<QProgressBar> bar_;
};
