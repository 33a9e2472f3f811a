#pragma once

#include "board/ui.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A Ui that answers from queues and records everything it was asked. A box with no queued
// answer is answered OK (Yes for Yes/No/Cancel), so a test scripts only what matters.
class ScriptedUi : public Ui {
public:
    struct Box {
        QString title;
        BoxKind kind;
        QString text;
        BoxButtons buttons;
    };

    Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) override
    {
        boxes.append({title, kind, text, buttons});
        if (onBox)
            onBox(boxes.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == BoxButtons::YesNoCancel || buttons == BoxButtons::YesNoKeep ? Answer::Yes : Answer::Ok;
    }
    std::optional<QString> openFileName() override
    {
        ++openDialogs;
        return openPaths.isEmpty() ? std::nullopt : openPaths.takeFirst();
    }
    std::optional<QString> saveFileName() override
    {
        ++saveDialogs;
        return savePaths.isEmpty() ? std::nullopt : savePaths.takeFirst();
    }
    void setFocus(const QString& controlName) override { focusRequests.append(controlName); }
    void focusNext() override { ++focusNextCount; }
    void quit() override { ++quitCount; }

    QList<Answer> answers;
    QList<std::optional<QString>> openPaths;
    QList<std::optional<QString>> savePaths;
    std::function<void(const Box&)> onBox;

    QList<Box> boxes;
    QStringList focusRequests;
    int openDialogs = 0;
    int saveDialogs = 0;
    int focusNextCount = 0;
    int quitCount = 0;
};
