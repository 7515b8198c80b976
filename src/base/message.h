#pragma once
// A message for the user, as any layer returns it: the window that receives
// it shows it in a message box with an OK button.

#include <QString>

enum class PromptIcon { None, Error, Warning, Information, Question };

struct Message {
    QString text;
    QString caption;
    PromptIcon icon = PromptIcon::None;
};
