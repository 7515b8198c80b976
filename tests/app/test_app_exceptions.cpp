// Errors that reach the event loop are shown and the program goes on; the printer's refusal has its own text.

#include "base/exceptionreport.h"
#include "app/signovatapplication.h"
#include "scriptedprompt.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ExceptionReport, ApplicationShowsEventErrorsAndKeepsRunning)
{
    int argc = 1;
    char name[] = "test";
    char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SignovatApplication app(argc, argv);
    ScriptedPrompt prompt;
    app.setPrompt(&prompt);

    QTimer::singleShot(0, [] { throw PrinterError(); });
    QTimer::singleShot(1, [] { throw std::runtime_error("kaputt"); });
    QTimer::singleShot(20, &app, &QCoreApplication::quit);
    EXPECT_EQ(app.exec(), 0);
    EXPECT_EQ(prompt.texts(), (QStringList{"Der Drucker kann zur Zeit keine\nweiteren Druckaufträge annehmen !\n"
                                           "Bitte wiederholen !",
                                           "kaputt"}));
    EXPECT_EQ(std::tuple(prompt.asked[0].caption, prompt.asked[0].icon, prompt.asked[1].caption),
              std::tuple(QString("Fehler"), PromptIcon::Error, QString("Signovat")));
}
