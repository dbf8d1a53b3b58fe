#include "app/qtinteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// What the box showed, seen from inside its event loop.
struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QStringList buttons;
};

// Answers the next message box by clicking the button with this text, or by Escape when empty.
Seen answerNextBox(const QString& press, const std::function<void()>& show) {
    Seen seen;
    bool answered = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || answered) return;
        answered = true;
        seen.icon = box->icon();
        seen.text = box->text();
        QAbstractButton* target = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons << b->text();
            if (b->text() == press) target = b;
        }
        if (target)
            target->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    poll.start();
    show();
    seen.buttons.sort();
    return seen;
}

struct MessageCase {
    const char* name;
    std::function<void(Interaction&)> call;
    QMessageBox::Icon icon;
    QStringList buttons;
};

class QtInteractionMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(QtInteractionMessage, ShowsTextIconAndGermanButton) {
    QtInteraction ia;
    const MessageCase& c = GetParam();
    const Seen seen = answerNextBox(c.buttons.first(), [&] { c.call(ia); });
    EXPECT_EQ(seen.text, QStringLiteral("Nachricht"));
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, QtInteractionMessage,
    ::testing::Values(MessageCase{"Error",
                                  [](Interaction& ia) { ia.error(QStringLiteral("Nachricht")); },
                                  QMessageBox::Critical,
                                  {"Abbrechen"}},
                      MessageCase{"ErrorWithOk",
                                  [](Interaction& ia) {
                                      ia.error(QStringLiteral("Nachricht"), Interaction::Button::Ok);
                                  },
                                  QMessageBox::Critical,
                                  {"OK"}},
                      MessageCase{"Warning",
                                  [](Interaction& ia) { ia.warning(QStringLiteral("Nachricht")); },
                                  QMessageBox::Warning,
                                  {"OK"}},
                      MessageCase{"Information",
                                  [](Interaction& ia) { ia.information(QStringLiteral("Nachricht")); },
                                  QMessageBox::Information,
                                  {"OK"}},
                      MessageCase{"Plain",
                                  [](Interaction& ia) { ia.plain(QStringLiteral("Nachricht")); },
                                  QMessageBox::NoIcon,
                                  {"OK"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct QuestionCase {
    const char* name;
    Interaction::Question question;
    const char* press; // "" = Escape
    QStringList buttons;
    bool result;
};

class QtInteractionQuestion : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(QtInteractionQuestion, AnswerMapsToResult) {
    QtInteraction ia;
    const QuestionCase& c = GetParam();
    bool result = !c.result;
    const Seen seen = answerNextBox(QString::fromUtf8(c.press),
                                    [&] { result = ia.confirm(QStringLiteral("Frage?"), c.question); });
    EXPECT_EQ(seen.text, QStringLiteral("Frage?"));
    EXPECT_EQ(seen.buttons, c.buttons);
    EXPECT_EQ(result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QtInteractionQuestion,
    ::testing::Values(
        QuestionCase{"Ja", Interaction::Question::YesNo, "Ja", {"Ja", "Nein"}, true},
        QuestionCase{"Nein", Interaction::Question::YesNo, "Nein", {"Ja", "Nein"}, false},
        QuestionCase{"EscapeIsNein", Interaction::Question::YesNo, "", {"Ja", "Nein"}, false},
        QuestionCase{"Ok", Interaction::Question::OkCancel, "OK", {"Abbrechen", "OK"}, true},
        QuestionCase{"Abbrechen", Interaction::Question::OkCancel, "Abbrechen", {"Abbrechen", "OK"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtInteractionProgress, DrivesTheBar) {
    struct Case {
        int value, maximum;
        int barValue, barMaximum;
    };
    const Case cases[] = {
        {3, 10, 3, 10},
        {10, 10, 10, 10},
        {12, 10, 10, 10}, // never beyond the end
        {0, 0, 0, 1},     // no operation: an empty bar, not the busy indicator
    };
    QProgressBar bar;
    QtInteraction ia;
    ia.setProgressBar(&bar);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << "/" << c.maximum);
        ia.progress(c.value, c.maximum);
        EXPECT_EQ(bar.value(), c.barValue);
        EXPECT_EQ(bar.maximum(), c.barMaximum);
        EXPECT_EQ(bar.minimum(), 0);
    }
}

} // namespace
