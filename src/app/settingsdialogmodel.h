#pragma once
// What the settings dialog "Programmeinstellungen" decides, without widgets:
// the port table behind the two port lists, the controller check box, the
// swap, the duration check, "Ok" and the close query.

#include "context/appcontext.h"
#include "base/prompt.h"

#include <QString>
#include <QStringList>
#include <array>

class MainController;

// What the dialog's controls show.
struct SettingsDialogView {
    QStringList printerItems;       // ComboBoxCOMPrint
    int printerCurrent = -1;
    QStringList controllerItems;    // ComboBoxCOMSteu
    int controllerCurrent = -1;
    bool controllerActive = false;  // CheckBoxVorhanden; also enables ComboBoxCOMSteu
                                    // and shows "Schnittstellen tauschen"
    bool autoEndChecked = false;    // CheckBoxDIEnde
    bool autoEndEnabled = false;
    bool durationVisible = false;   // "nach", MemoIstDauer, UpDownIstDauer, "Minute(n)"
    bool colour = true;             // "Ausdruck in Farbe", else "Ausdruck in S/W"
    bool askSave = false;           // CheckBoxDISpeichern
    QString durationText;           // MemoIstDauer
    int upDownPosition = 20;        // UpDownIstDauer
    QString standardFolder, writeFolder, simulatorFolder;
};

// What the user set in the controls when pressing "Ok".
struct SettingsDialogInput {
    bool colour;
    bool autoEnd;
    bool askSave;
    QString durationText;
    QString printerText;
    QString controllerText;
};

class SettingsDialogModel {
public:
    enum class Side { Printer, Controller };
    static constexpr int kPorts = 8;
    static constexpr int kMinMinutes = 1;
    static constexpr int kMaxMinutes = 20;

    SettingsDialogModel(AppContext &ctx, Prompt &prompt, MainController &mainWindow);

    const SettingsDialogView &view() const { return view_; }
    // What each COM port is chosen for.
    enum class PortUse { Free, Printer, Controller };

    // Showing the dialog: missing folders fall back to workingFolder +
    // "/Namenlos" or "/IstDruck" (and are created), the standard folder is
    // remembered, the main window re-evaluates its commands, the controls
    // are filled from the settings.
    void FormShow(const QString &workingFolder);
    // A picker changed a folder in the settings.
    void foldersChanged();

    // A click on CheckBoxVorhanden or on one of the two actual-run check boxes.
    void CheckBoxVorhandenClick(bool controllerActive, bool autoEnd);
    // A port chosen in one of the lists ("COM 1" … "COM 8" or "Keine").
    void ComboBoxCOMChange(Side side, const QString &text);
    void ButtonTauschenClick();

    // Leaving the duration field: false (after the message) when the text is
    // not a number of minutes; otherwise the up-down control takes it.
    bool MemoIstDauerExit(const QString &text);
    // The up-down control stepped by +1 or -1 (wrapping within 1 … 20).
    void UpDownIstDauerClick(int step);

    // "Ok" up to closing: stores the controls' values. False, with nothing
    // stored, when the duration does not check out (the message was shown).
    bool ButtonOkClick(const SettingsDialogInput &input);
    // "Ok" after closing: tells that a new standard folder needs a restart.
    void tellWhenStandardFolderChanged();
    void ButtonAbbruchClick() { cancelled_ = true; }
    // "Schnittstellen zuordnen" stored another device for some COM number.
    void devicesChanged() { devicesChanged_ = true; }

    // Closing: the ports are set up again from the settings (after "Abbruch"
    // only when the device assignment changed); true when the dialog may close.
    bool FormCloseQuery(bool standardPickerOpen);
    // The dialog was hidden: the main window re-evaluates its commands.
    void FormHide();

    // "COM 1" … "COM 8" → 0 … 7; anything else → -1.
    static int portIndexOfText(const QString &text);

private:
    void enterPort(int index, PortUse use);
    int portWith(PortUse use) const;
    void fillLists();
    void updateDependentControls();

    AppContext &ctx_;
    Prompt &prompt_;
    MainController &main_;
    std::array<PortUse, kPorts> table_{};
    SettingsDialogView view_;
    QString shownStandardFolder_;
    bool cancelled_ = false;
    bool devicesChanged_ = false;
};
