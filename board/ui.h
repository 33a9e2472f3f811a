#pragma once

#include <QString>

#include <optional>

enum class BoxKind { Warning, Error, Information, Confirm };
// YesNoKeep: Yes, No and Cancel where Yes throws the record away, so that Enter answers No.
enum class BoxButtons { Ok, OkCancel, YesNoCancel, YesNoKeep };
enum class Answer { Ok, Cancel, Yes, No };

// What a handler needs of the world outside the record: boxes, file dialogs, focus, the end
// of the program. The window gives the Qt one; tests give a scripted one.
class Ui {
public:
    virtual ~Ui() = default;

    // A modal box with an explicit title. Closing it counts as Cancel where it has one.
    virtual Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) = 0;
    // Path chosen in the open or save dialog; nothing when cancelled.
    virtual std::optional<QString> openFileName() = 0;
    virtual std::optional<QString> saveFileName() = 0;
    // Give the named control the keyboard focus.
    virtual void setFocus(const QString& controlName) = 0;
    // Move the focus to the next control in tab order.
    virtual void focusNext() = 0;
    // End the program without asking again.
    virtual void quit() = 0;

    // A box titled by its kind: "Warning", "Error", "Information" or "Confirm".
    Answer ask(BoxKind kind, const QString& text, BoxButtons buttons);
    void warn(const QString& text) { ask(BoxKind::Warning, text, BoxButtons::Ok); }
    void inform(const QString& text) { ask(BoxKind::Information, text, BoxButtons::Ok); }
    void error(const QString& text) { ask(BoxKind::Error, text, BoxButtons::Ok); }

    static QString titleOf(BoxKind kind);
};
