#pragma once
// A capture on in-memory ports and a stepped link; the messages the ticks return are kept in `told`.

#include "actual/actualruncapture.h"
#include "context/appcontext.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/fakeserialport.h"

#include <QByteArray>
#include <vector>

struct CaptureRig {
    AppContext ctx;
    std::vector<Message> told;
    FakeSerialPort printer;
    FakeSerialPort controller;
    SteppedAnswerTimer timer;
    ControllerLink link{controller, timer};
    ActualRunCapture capture{ctx.captureContext(), {&printer, &controller, &link}};
    int pageStart = 0;  // the page the window shows, following the capture

    explicit CaptureRig(int controllerPortIndex = 1)
    {
        ctx.settings.ControllerPortIndex = controllerPortIndex;
        for (GroupName &name : ctx.data.GroupNames)
            name.fill(' ');
        printer.open();
        controller.open();
    }

    CaptureUpdate tick()
    {
        const CaptureUpdate u = capture.ScanDataTimer(pageStart);
        if (u.message)
            told.push_back(*u.message);
        if (u.chartStarted || u.cleared)
            pageStart = 0;
        if (u.pageTurnTo >= 0)
            pageStart = u.pageTurnTo;
        return u;
    }

    // One line as the controller sends it, taken by the next tick.
    CaptureUpdate line(const QByteArray &text)
    {
        printer.inject(text + "\r\n");
        return tick();
    }

    // The print command the link sends next (2 start, 3 stop, -1 none), answered by the controller.
    int printCommandSent()
    {
        link.SendStep();
        const QByteArray sent = controller.takeWritten();
        if (sent.isEmpty())
            return -1;
        int code = -1;
        for (uint8_t c : {uint8_t(2), uint8_t(3)})
            if (sent == StuffFrame(BuildPrintCommandFrame({c, 0, 0}, link.protocolVariant(), link.checksumSeed())))
                code = c;
        controller.inject(StuffFrame(BuildFrame(2, kPrintCommandClassKvx40, 101, {}, link.protocolVariant(),
                                                link.checksumSeed())));
        link.SendStep();
        controller.takeWritten();
        return code;
    }
};
