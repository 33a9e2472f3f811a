#pragma once

#include "app/tform1.h"
#include "support/scriptedui.h"

// Answers boxes and file dialogs from queues like ScriptedUi, but moves the focus in the real
// window, so that Enter walks the board and a check leaves the focus where the operator
// expects it.
class WindowUi : public ScriptedUi {
public:
    TForm1* window = nullptr;

    void setFocus(const QString& controlName) override
    {
        ScriptedUi::setFocus(controlName);
        if (!window)
            return;
        window->showModel();
        window->focusControl(controlName);
    }
    void focusNext() override
    {
        ScriptedUi::focusNext();
        if (!window)
            return;
        window->showModel();
        window->moveFocusNext();
    }
};

// The window with a WindowUi of its own, shown; the focus needs it active as well.
struct ShownWindow {
    WindowUi ui;
    TForm1 w;

    explicit ShownWindow(const BuildKind& kind = BuildKind::standard())
        : w(kind, &ui)
    {
        ui.window = &w;
        w.show();
    }
};
