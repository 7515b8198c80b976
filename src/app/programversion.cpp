#include "app/programversion.h"

#include <QtGlobal>

QString programVersion()
{
    return QStringLiteral(SIGNOVAT_VERSION);
}

QString versionText()
{
    return QStringLiteral("Signovat %1\nQt %2\n").arg(programVersion(), QString::fromLatin1(qVersion()));
}
