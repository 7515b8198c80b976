// signovat printers: the print queues the print dialog offers, one a line,
// the default one marked with "*".

#include "app/commands.h"
#include "preview/printspooler.h"

#include <cstdio>

int runPrintersCommand(const QStringList &args, const CommandEnvironment &env)
{
    if (!args.isEmpty())
        return refuseCommand("printers", QStringLiteral("unerwartetes Argument \"%1\"").arg(args.first()));
    QList<PrintQueue> queues;
    QString error;
    if (!env.spooler->queues(queues, &error))
        return refuseCommand("printers", error);
    if (queues.isEmpty())
        std::puts("Es ist kein Drucker eingerichtet.");
    for (const PrintQueue &q : queues)
        std::printf("%s %s\n", q.isDefault ? "*" : " ", qPrintable(q.name));
    return 0;
}
