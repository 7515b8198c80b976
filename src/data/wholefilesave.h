#pragma once
// Saving a file whole or not at all.
//
// The bytes go to a temporary file in the target's folder, are flushed to
// the disk and only then take the target's place in one rename. Whenever the
// saving process stops - killed, disk full, power gone after the flush - the
// target holds either its old or its new content. The temporary file has no
// name while it is written, where the file system allows (ext4, tmpfs, ...),
// so a killed save leaves nothing. Elsewhere (FAT on a USB stick), and for
// the moment between naming and renaming, a killed save leaves its file as
//   "." + target name + ".signovat-save-" + 6 letters,
// a name nothing else uses; the next save of the same target removes it.
// (QSaveFile cannot serve here: its temporary name is the target name plus
// six letters, so a leftover could not be told from a user's own
// "NAMEN.DAT.backup".)

#include <QByteArray>
#include <QString>

// Where a save failed, and the system's reason.
struct SaveFailure {
    enum Stage {
        Create,   // no file could be made in the folder (missing, not writable, the target is a folder)
        Write,    // the bytes did not all reach the disk (disk full, ...)
        Replace,  // the finished file could not take the target's place
    };
    Stage stage = Create;
    QString reason;
};

// True once the file holds exactly `bytes`. On false the target is as it was:
// the folder is missing or not writable, the target is a folder, the disk
// is full, ...; *failure (when given) says which.
bool saveWholeFile(const QString &path, const QByteArray &bytes, SaveFailure *failure = nullptr);

// The message for a failed save of the file named fileName, e.g.
// "Die Datei NAMEN.DAT kann nicht angelegt werden:\n<reason>".
QString SaveFailureMessage(const QString &fileName, const SaveFailure &failure);
