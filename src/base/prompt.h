#pragma once
// Every message box of the program goes through this interface, so the core
// can ask questions without a window and tests can script the answers.

#include "base/message.h"

#include <QString>

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const QString &text, const QString &caption, PromptIcon icon,
                             PromptButtons buttons) = 0;

    // A message with only an OK button.
    void tell(const QString &text, const QString &caption, PromptIcon icon = PromptIcon::None)
    {
        ask(text, caption, icon, PromptButtons::Ok);
    }
    void tell(const Message &message) { tell(message.text, message.caption, message.icon); }
};
