#pragma once
// Message boxes over a window that shows what it has decided so far. A
// window handler changes the state first and shows it when it returns; a box
// raised in between would cover a stale window (at start-up an empty one).

#include "base/prompt.h"

#include <functional>

class RefreshingPrompt : public Prompt {
public:
    // refresh brings the window up to date; inner shows the boxes.
    RefreshingPrompt(Prompt &inner, std::function<void()> refresh)
        : inner_(inner), refresh_(std::move(refresh))
    {
    }

    PromptAnswer ask(const QString &text, const QString &caption, PromptIcon icon,
                     PromptButtons buttons) override
    {
        refresh_();
        return inner_.ask(text, caption, icon, buttons);
    }

private:
    Prompt &inner_;
    std::function<void()> refresh_;
};
