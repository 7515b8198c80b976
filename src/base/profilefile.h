#pragma once
// The profile file of the previous program generation ("PDATPFAD_2.00.INI"),
// read once at a first start. It was written on Windows and is read by the
// plain rules of Windows profile files: section and key names in any case,
// blanks around names and values ignored, a value in quotes without them,
// the first of two equal keys counts, and a value is taken as it stands —
// backslashes, commas and semicolons in it are ordinary characters. Text
// that is not UTF-8 is read as Latin-1.

#include "base/appsettings.h"

#include <QHash>

class ProfileFile : public SettingsSource {
public:
    // An unreadable file holds no values.
    explicit ProfileFile(const QString &path);
    // The same rules over bytes already read.
    static ProfileFile FromBytes(const QByteArray &bytes);

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const override;

private:
    ProfileFile() = default;
    void parse(const QByteArray &bytes);

    QHash<QString, QString> values_;  // "section\nkey", both lower case
};
