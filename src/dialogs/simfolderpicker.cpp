#include "dialogs/simfolderpicker.h"

#include "base/appsettings.h"

TFormGetSimDir::TFormGetSimDir(Prompt &prompt, AppSettings &settings, QWidget *parent)
    : SettingsFolderPicker(prompt, settings, QStringLiteral("TFormGetSimDir"), QStringLiteral("Pfad wählen"),
                           parent)
{
}

QString &TFormGetSimDir::setting()
{
    return settings_.SimulatorWorkDir;
}

QString TFormGetSimDir::labelFor() const
{
    return QStringLiteral("gewähltes Arbeitsverzeichnis Simulationsprogramm:");
}
