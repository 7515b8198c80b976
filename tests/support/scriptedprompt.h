#pragma once
// A prompt that records every message and answers from a script; without a
// scripted answer it takes the first button (OK or Yes).

#include "base/prompt.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

struct PromptRecord {
    QString text;
    QString caption;
    PromptIcon icon;
    PromptButtons buttons;
};

class ScriptedPrompt : public Prompt {
public:
    std::vector<PromptRecord> asked;
    std::deque<PromptAnswer> answers;
    std::function<void()> onAsk;  // runs as the box would open

    PromptAnswer ask(const QString &text, const QString &caption, PromptIcon icon,
                     PromptButtons buttons) override
    {
        asked.push_back({text, caption, icon, buttons});
        if (onAsk)
            onAsk();
        if (!answers.empty()) {
            PromptAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &r : asked)
            out << r.text;
        return out;
    }
};
