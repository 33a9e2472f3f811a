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
