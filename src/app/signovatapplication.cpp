#include "app/signovatapplication.h"

#include "base/dialogplacement.h"
#include "base/exceptionreport.h"
#include "base/prompt.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>

SignovatApplication::SignovatApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // The windows are laid out for a small proportional sans face of 8 points.
    // Qt's own dialogs (file, print, message box buttons) speak German too.
    if (translator_.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&translator_);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    setFont(font);
    installEventFilter(new DialogPlacement(this));
}

bool SignovatApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        const ExceptionMessage m = exceptionMessage(&e);
        if (prompt_)
            prompt_->tell(m.text, m.caption, PromptIcon::Error);
    } catch (...) {
        const ExceptionMessage m = exceptionMessage(nullptr);
        if (prompt_)
            prompt_->tell(m.text, m.caption, PromptIcon::Error);
    }
    return false;
}
