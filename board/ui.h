#pragma once

#include <QString>

#include <optional>

enum class BoxKind { Warning, Error, Information, Confirm };
// YesNoKeep: Yes, No and Cancel where Yes throws the record away, so that Enter answers No.
enum class BoxButtons { Ok, OkCancel, YesNoCancel, YesNoKeep };
enum class Answer { Ok, Cancel, Yes, No };

// What a handler may ask of the world outside the record without waiting for an answer: a
// box that offers OK alone, and the focus. Work run beside the window gets this much and no
// more, so that a question there does not compile.
class Notices {
public:
    virtual ~Notices() = default;

    // A box with OK alone and an explicit title.
    virtual void tell(const QString& title, BoxKind kind, const QString& text) = 0;
    // Give the named control the keyboard focus.
    virtual void setFocus(const QString& controlName) = 0;
    // Move the focus to the next control in tab order.
    virtual void focusNext() = 0;

    // A box titled by its kind: "Warning", "Error", "Information" or "Confirm".
    void warn(const QString& text) { tell(titleOf(BoxKind::Warning), BoxKind::Warning, text); }
    void inform(const QString& text) { tell(titleOf(BoxKind::Information), BoxKind::Information, text); }
    void error(const QString& text) { tell(titleOf(BoxKind::Error), BoxKind::Error, text); }

    static QString titleOf(BoxKind kind);
};

// All a handler on the GUI thread may need besides: questions, file dialogs, the end of the
// program. The window gives the Qt one; tests give a scripted one.
class Ui : public Notices {
public:
    // A modal box with an explicit title. Closing it counts as Cancel where it has one.
    virtual Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) = 0;
    // Path chosen in the open or save dialog; nothing when cancelled.
    virtual std::optional<QString> openFileName() = 0;
    virtual std::optional<QString> saveFileName() = 0;
    // End the program without asking again.
    virtual void quit() = 0;

    void tell(const QString& title, BoxKind kind, const QString& text) final { box(title, kind, text, BoxButtons::Ok); }
    Answer ask(BoxKind kind, const QString& text, BoxButtons buttons);
};
