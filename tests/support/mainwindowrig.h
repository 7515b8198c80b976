#pragma once
// A main window on in-memory ports and a scripted prompt, with its settings
// in a private folder: the start of every test that drives the whole window.

#include "base/appsettings.h"
#include "app/mainwindow.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "scriptedprompt.h"
#include "serial/fakeserialport.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct MainWindowRig {
    QTemporaryDir tmp;
    AppContext ctx;
    std::unique_ptr<SettingsStore> registry;
    ScriptedPrompt prompt;
    FakeSerialPort controllerPort, printerPort;
    SteppedAnswerTimer answerTimer;
    ControllerLink link{controllerPort, answerTimer};
    std::unique_ptr<TFormSteuer> w;

    MainWindowRig()
    {
        ctx.StartupDir = tmp.path();
        registry = std::make_unique<SettingsStore>(tmp.filePath("store.ini"));
        ctx.settings = LoadSettings(*registry, nullptr, ctx.StartupDir);
    }

    // Creates and shows the window (change ctx.settings before); true once
    // the first Init tick has created the start-up data.
    bool startWindow()
    {
        w = std::make_unique<TFormSteuer>(ctx, *registry, prompt, controllerPort, printerPort, link);
        w->show();
        return QTest::qWaitFor([this] { return ctx.StartupDone; });
    }
};
