#include "app/commands.h"

namespace {
// Add a line here when a new command file lands.
const CommandSpec kCommands[] = {
    {"info", "info --data DIR     Datensatz laden, Ladebericht und Anlagendaten ausgeben", runInfoCommand},
};
}  // namespace

const CommandSpec *findCommand(const QString &name)
{
    for (const CommandSpec &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString commandUsage()
{
    QString out;
    for (const CommandSpec &c : kCommands)
        out += QStringLiteral("  signovat %1\n").arg(QString::fromUtf8(c.usage));
    return out;
}
