#pragma once
// The CUPS print system behind the print command: the queues as the print
// dialog lists them, jobs handed to the scheduler with its answer read back.

#include "preview/printspooler.h"

class CupsSpooler : public PrintSpooler {
public:
    bool queues(QList<PrintQueue> &out, QString *error) override;
    PrintResult print(const QString &queue, const PrintJob &job, int *jobId, QString *error) override;
};
