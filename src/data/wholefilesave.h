#pragma once
// Saving a file whole or not at all.
//
// The bytes go to a temporary file in the target's folder, are flushed to
// the disk and only then take the target's place in one rename. Whenever the
// saving process stops - killed, disk full, power gone after the flush - the
// target holds either its old or its new content. A save that is killed
// leaves at most its temporary file behind, named
//   "." + target name + ".signovat-save-" + 6 letters,
// a name nothing else uses; the next save of the same target removes it.
// (QSaveFile cannot serve here: its temporary name is the target name plus
// six letters, so a leftover could not be told from a user's own
// "NAMEN.DAT.backup".)

#include <QByteArray>
#include <QString>

// True once the file holds exactly `bytes`. On false the target is as it was:
// the folder is missing or not writable, the target is a folder, the disk
// is full, ...
bool saveWholeFile(const QString &path, const QByteArray &bytes);
