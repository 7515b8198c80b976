#include "base/exceptionreport.h"

ExceptionMessage exceptionMessage(const std::exception *e)
{
    if (dynamic_cast<const PrinterError *>(e))
        return {QStringLiteral("Der Drucker kann zur Zeit keine\nweiteren Druckaufträge annehmen !\n"
                               "Bitte wiederholen !"),
                QStringLiteral("Fehler")};
    const QString detail = e ? QString::fromLocal8Bit(e->what()) : QStringLiteral("Unbekannter Fehler.");
    return {detail, QStringLiteral("Signovat")};
}
