#pragma once
// Messages told from inside a timer's tick, shown once the tick has
// returned. A timer does not fire again while its own handler is still
// running, and a message box runs inside it until it is dismissed; shown
// later, the box leaves the timer ticking. Questions, whose answer the
// caller needs at once, are asked right away.

#include "base/prompt.h"

#include <QObject>

class LaterPrompt : public Prompt {
public:
    // inner shows the messages; it must outlive this prompt. Messages still
    // waiting when this prompt goes are dropped with it.
    explicit LaterPrompt(Prompt &inner) : inner_(inner) {}

    // A message (OK only) answers OK at once and is shown from the event loop.
    PromptAnswer ask(const QString &text, const QString &caption, PromptIcon icon,
                     PromptButtons buttons) override;

private:
    Prompt &inner_;
    QObject context_;  // ends the waiting messages with this prompt
};
