#pragma once
// The last data folders or run files the user opened, newest first, kept in
// the settings store (section "Zuletzt", keys PREFIX1 … PREFIX5).

#include "base/appsettings.h"

#include <QString>
#include <QStringList>

class RecentList {
public:
    static constexpr int kMaxEntries = 5;

    RecentList(SettingsStore &store, const QString &keyPrefix);

    QStringList entries() const;
    // Puts path in front (once), drops what falls off the end, and stores the list.
    void add(const QString &path);

private:
    SettingsStore &store_;
    QString prefix_;
};
