#include "base/laterprompt.h"

#include <QTimer>

PromptAnswer LaterPrompt::ask(const QString &text, const QString &caption, PromptIcon icon,
                              PromptButtons buttons)
{
    if (buttons != PromptButtons::Ok)
        return inner_.ask(text, caption, icon, buttons);
    QTimer::singleShot(0, &context_, [this, text, caption, icon] { inner_.tell(text, caption, icon); });
    return PromptAnswer::Ok;
}
