#pragma once

#include "board/ui.h"

#include <functional>

class TForm1;

// The Ui of the running program: real message boxes, file dialogs and focus moves.
class QtUi : public Ui {
public:
    explicit QtUi(TForm1& window);

    Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) override;
    std::optional<QString> openFileName() override;
    std::optional<QString> saveFileName() override;
    void setFocus(const QString& controlName) override;
    void focusNext() override;
    void quit() override;

    // The filter of both file dialogs, in Qt's notation.
    static QString dialogFilter();

private:
    TForm1& window_;
};
