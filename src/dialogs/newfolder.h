#pragma once
// Creating a sub-folder from the standard-folder picker ("Neuer Ordner"):
// the name check and the creation, without the window.

#include <QString>

class Prompt;

// A name with any of < > | * ? \ / is refused.
bool isAcceptableFolderName(const QString &name);

// folder + separator (unless folder already ends with one) + name.
QString newFolderPath(const QString &folder, const QString &name);

struct NewFolderResult {
    enum Action {
        EditName,  // the name was refused and the user wants to correct it
        Close,     // leave the dialog, the folder tree stays as it is
        ShowNew,   // the folder exists: list it in the tree, then leave
    };
    Action action;
    QString path;  // the new folder's path (ShowNew, or the failed path)
};

// What "OK" of the new-folder dialog does with name below folder: refuses a
// name with unusable characters (asking whether to correct it), else creates
// the folder with all missing parents, telling the user when that fails.
NewFolderResult createNewFolder(Prompt &prompt, const QString &folder, const QString &name);
