#pragma once
// The system's print spooler as the print command sees it: the queues it
// offers and print jobs sent to one of them. CupsSpooler (cupsspooler.h) is
// the real one.

#include "preview/printrun.h"

#include <QList>
#include <QString>

struct PrintQueue {
    QString name;
    bool isDefault = false;
};

class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;
    // The queues the print dialog offers. False, with *error saying why, when
    // no print system answers.
    virtual bool queues(QList<PrintQueue> &out, QString *error) = 0;
    // Draws one job for queue and hands it to the spooler. DeviceFailed with
    // *error holding the spooler's reason when it refuses the job; *jobId is
    // the spooler's number of an accepted one.
    virtual PrintResult print(const QString &queue, const PrintJob &job, int *jobId, QString *error) = 0;
};
