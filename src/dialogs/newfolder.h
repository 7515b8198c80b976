#pragma once
// Creating a sub-folder from the standard-folder picker ("Neuer Ordner"):
// the name check and the creation, without the window.

#include "base/message.h"

#include <QString>
#include <optional>

// A name with any of < > | * ? \ / is refused: the message says why. The
// dialog asks it with OK (correct the name) and Cancel (leave).
std::optional<Message> folderNameRefusal(const QString &name);

// folder + separator (unless folder already ends with one) + name.
QString newFolderPath(const QString &folder, const QString &name);

struct NewFolderResult {
    QString path;                    // the new folder's path
    std::optional<Message> failure;  // it could not be created: tell the user
};

// Creates the folder name (one that folderNameRefusal accepts) below folder,
// with all missing parents. A folder that exists already is no failure.
NewFolderResult createNewFolder(const QString &folder, const QString &name);
