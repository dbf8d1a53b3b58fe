#pragma once

#include <QString>
#include <QStringList>

// The only way logic talks to the user. The program answers through dialogs;
// tests answer from a script and record every message.
class Interaction {
public:
    enum class Icon { None, Information, Warning, Error };
    enum class Button { Ok, Cancel, Yes, No };
    enum class Question { YesNo, OkCancel };

    virtual ~Interaction() = default;

    // A message with one button.
    virtual void message(Icon icon, const QString& text, Button button) = 0;
    // A question; true for "Ja" / "OK".
    virtual bool confirm(const QString& text, Question question) = 0;
    // File choices; an empty result means the user cancelled.
    virtual QString openFile(const QString& caption, const QString& directory, const QString& filter) = 0;
    virtual QString saveFile(const QString& caption, const QString& presetPath, const QString& filter) = 0;
    // Progress of a long operation; maximum 0 hides it.
    virtual void progress(int value, int maximum) = 0;

    // Error messages carry the button "Abbrechen" unless told otherwise.
    void error(const QString& text, Button button = Button::Cancel) { message(Icon::Error, text, button); }
    void warning(const QString& text, Button button = Button::Ok) { message(Icon::Warning, text, button); }
    void information(const QString& text) { message(Icon::Information, text, Button::Ok); }
    void plain(const QString& text) { message(Icon::None, text, Button::Ok); }
    bool askYesNo(const QString& text) { return confirm(text, Question::YesNo); }
    bool askOkCancel(const QString& text) { return confirm(text, Question::OkCancel); }
};
