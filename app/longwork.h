#pragma once

#include "board/form.h"
#include "board/ui.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

class TForm1;

using StopFlag = std::atomic<bool>;

// What a handler run beside the event loop asks of the outside world, kept to be done on the
// GUI thread once the work is taken. Only boxes that offer OK alone may be asked there.
class DeferredUi : public Ui {
public:
    Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) override;
    std::optional<QString> openFileName() override { return std::nullopt; }
    std::optional<QString> saveFileName() override { return std::nullopt; }
    void setFocus(const QString& controlName) override;
    void focusNext() override;
    void quit() override;

    void replay(Ui& ui) const;
    // Whether the handler asked for the focus somewhere.
    bool movesFocus() const;

private:
    struct Request {
        enum Kind { Box, Focus, FocusNext, Quit } kind;
        QString title;
        BoxKind boxKind = BoxKind::Information;
        QString text;
    };
    QList<Request> requests_;
};

// Reading a page or searching the places of many moves takes seconds: it runs on a worker
// thread while the window goes on drawing itself. Until it ends, what the operator types or
// clicks in the window is held back, Esc stops the work, and past half a second a small
// window says what is being done. This is the one place where work leaves the GUI thread;
// the worker never touches the window or its record. Returns false when stopped.
bool runBeside(TForm1& window, const QString& what, const std::function<void(const StopFlag& stop)>& work);

// A handler run on a copy of the record beside the event loop; the window takes the copy, and
// what the handler asked of the Ui, only if the work ran to its end. Otherwise the record is
// exactly as it was. Returns whether it ran to its end.
bool runOnCopy(TForm1& window, const QString& what,
               const std::function<void(Form& copy, Ui& ui, const StopFlag& stop)>& handler);
