#pragma once
// Why a port could not be opened, in terms the user can act on, and the lines
// every port message adds below its own text: which COM number and device,
// the cause with what to do about it, and where the assignment is changed.

#include <QString>
#include <QStringList>

enum class PortFault { None, Unassigned, Missing, NoPermission, InUse, NotSerial, Other };

struct PortProblem {
    int comNumber = 0;
    QString device;
    PortFault fault = PortFault::None;
    QString group;   // the device's owning group, for NoPermission
    QString detail;  // the port's own error text, for Other

    bool operator==(const PortProblem &o) const
    {
        return comNumber == o.comNumber && device == o.device && fault == o.fault && group == o.group
               && detail == o.detail;
    }
    bool operator!=(const PortProblem &o) const { return !(*this == o); }
};

// The cause with what to do about it; none for a port that is only unassigned.
QStringList portCauseLines(const PortProblem &problem);
// The lines to add below a port message (no leading line break).
QString portProblemHelp(const PortProblem &problem);
// text, an empty line, then portProblemHelp(problem).
QString withPortHelp(const QString &text, const PortProblem &problem);
