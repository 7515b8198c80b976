#include "base/inputchecks.h"

int CheckNumberInput(Prompt &prompt, const QString &text, int minimum, int maximum)
{
    if (text.isEmpty()) {
        prompt.tell(QStringLiteral("Eingabe fehlt."), QStringLiteral("Fehler"));
        return -1;
    }
    int result = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            result = -1;
            break;
        }
        // Beyond the largest sensible range the number is out of range anyway.
        if (result > 100000000) {
            result = -1;
            break;
        }
        result = result * 10 + (c.unicode() - '0');
    }
    if (result < minimum || result > maximum)
        result = -1;
    if (result == -1)
        prompt.tell(QStringLiteral("Eingabe muß %1 bis %2 sein").arg(minimum).arg(maximum),
                    QStringLiteral("Üngültiger Wert"));
    return result;
}

PromptAnswer ConfirmDeleteData(Prompt &prompt)
{
    return prompt.ask(QStringLiteral("Daten löschen ?"), QStringLiteral("Bitte bestätigen"),
                      PromptIcon::Question, PromptButtons::YesNo);
}
