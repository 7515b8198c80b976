#pragma once
// Messages that come out of a timer's tick, shown once the tick has
// returned. A timer does not fire again while its own handler is still
// running, and a message box runs inside it until it is dismissed; shown
// from the event loop, the box leaves every timer ticking.

#include "base/prompt.h"

#include <QObject>
#include <functional>
#include <optional>

// Shows message (when there is one) through prompt from the event loop, then
// runs afterwards. Nothing happens once context is gone; prompt must outlive it.
void tellLater(QObject &context, Prompt &prompt, std::optional<Message> message,
               std::function<void()> afterwards = {});
