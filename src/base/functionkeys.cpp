#include "base/functionkeys.h"

#include "base/utilities.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {
QWidget *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TFormSteuer"))
            return w;
    return nullptr;
}
}  // namespace

bool handleFunctionKey(QKeyEvent *event)
{
    switch (HandleFunctionKeys(event->key())) {
    case FunctionKeyAction::OpenHelp:
        OpenHelp(qApp->property("startupDir").toString(), qApp->property("programDir").toString());
        return true;
    case FunctionKeyAction::RaiseMainWindow:
        if (QWidget *w = mainWindow()) {
            w->showNormal();
            w->raise();
            w->activateWindow();
        }
        return true;
    case FunctionKeyAction::Consume:
        return true;
    case FunctionKeyAction::PassOn:
        break;
    }
    return false;
}
