#include "base/laterprompt.h"

#include <QTimer>

void tellLater(QObject &context, Prompt &prompt, std::optional<Message> message,
               std::function<void()> afterwards)
{
    QTimer::singleShot(0, &context, [&prompt, message = std::move(message), afterwards = std::move(afterwards)] {
        if (message)
            prompt.tell(*message);
        if (afterwards)
            afterwards();
    });
}
