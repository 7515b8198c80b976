#pragma once
// The prompt the windows use: a modal QMessageBox over the active window.

#include "base/prompt.h"

class QWidget;

class MessageBoxPrompt : public Prompt {
public:
    PromptAnswer ask(const QString &text, const QString &caption, PromptIcon icon,
                     PromptButtons buttons) override;
};
