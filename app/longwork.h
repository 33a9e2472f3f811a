#pragma once

#include "board/form.h"
#include "board/ui.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

class TForm1;

using StopFlag = std::atomic<bool>;

// What a handler run beside the event loop tells, kept to be shown on the GUI thread once the
// work is taken.
class DeferredNotices : public Notices {
public:
    void tell(const QString& title, BoxKind kind, const QString& text) override;
    void setFocus(const QString& controlName) override;
    void focusNext() override;

    void replay(Notices& notices) const;
    // Whether the handler asked for the focus somewhere.
    bool movesFocus() const;

private:
    struct Request {
        enum Kind { Box, Focus, FocusNext } kind;
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

struct WorkTaken {
    bool taken = false;
    // The handler asked for the focus somewhere.
    bool focusMoved = false;
    explicit operator bool() const { return taken; }
};

// A handler run on a copy of the record beside the event loop; the window takes the copy, and
// what the handler told, only if the work ran to its end. Otherwise the record is exactly as
// it was. `beforeTaking` runs once the work has ended, before the copy is taken. Nothing runs
// while other work does.
WorkTaken runOnCopy(TForm1& window, const QString& what,
                    const std::function<void(Form& copy, Notices& notices, const StopFlag& stop)>& handler,
                    const std::function<void()>& beforeTaking = {});
