#pragma once
// Leaving the preview of a received run ("Beenden"): the capture ends, a KVX
// controller is asked to stop printing, and the user may edit the group
// names and save the run as an actual-run file.

#include "actual/actualruncapture.h"
#include "context/appcontext.h"
#include "base/prompt.h"

#include <QString>

// The window side of leaving.
class CaptureLeaveHost {
public:
    virtual ~CaptureLeaveHost() = default;
    // The group names editor, modal; it edits the installation's names.
    virtual void editGroupNames() = 0;
    // Draws the shown page again (after the names changed).
    virtual void redrawShownPage() = 0;
    // The save dialog "Druck Ist Daten speichern" (filter "DruckIst(*.DRI)|*.DRI",
    // default extension "DRI", asking before overwriting and before creating)
    // starting in startDir with proposedName; the chosen path, or empty when
    // the user cancelled.
    virtual QString chooseSaveFile(const QString &startDir, const QString &proposedName) = 0;
};

extern const QString kEditGroupNamesQuestion;  // "Gruppenbezeichnungen editieren ?"

// Everything "Beenden" does before the window closes. A save that fails is
// reported and the save dialog comes again, so that the run is not lost
// without the user deciding so. Returns whether the run was saved.
bool LeaveActualRun(ActualRunCapture &capture, AppContext &ctx, Prompt &prompt, CaptureLeaveHost &host);
