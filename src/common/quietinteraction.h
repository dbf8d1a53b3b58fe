#pragma once

#include "common/interaction.h"

// Answers without anybody at the desk: every question gets the one answer it was made with, no file is
// chosen, nothing is printed; the messages are kept in order. For the tools and the benchmarks.
class QuietInteraction : public Interaction {
public:
    explicit QuietInteraction(bool answer = false) : answer_(answer) {}

    void message(Icon, const QString& text, Button) override { texts << text; }
    bool confirm(const QString&, Question) override { return answer_; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void progress(int, int) override {}
    bool print(const QString&, QPageLayout::Orientation, const std::function<void(PrintSurface&)>&,
               PrintMode) override {
        return false;
    }

    QString last() const { return texts.isEmpty() ? QString() : texts.last(); }
    QStringList texts;

private:
    bool answer_;
};
