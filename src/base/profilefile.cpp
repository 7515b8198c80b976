#include "base/profilefile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// A settings file is a few hundred bytes; more is not one.
constexpr qint64 kLargestProfile = 1 << 20;

QString decoded(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString entryKey(const QString &section, const QString &key)
{
    return section.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

}  // namespace

ProfileFile::ProfileFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        parse(file.read(kLargestProfile));
}

ProfileFile ProfileFile::FromBytes(const QByteArray &bytes)
{
    ProfileFile profile;
    profile.parse(bytes);
    return profile;
}

void ProfileFile::parse(const QByteArray &bytes)
{
    QString section;
    bool inSection = false;  // keys before the first section belong to none
    const QString text = decoded(bytes);
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype end = line.indexOf(QLatin1Char(']'));
            inSection = end > 0;
            section = inSection ? line.mid(1, end - 1).toString() : QString();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || line.startsWith(QLatin1Char(';')) || eq <= 0)
            continue;
        const QString key = entryKey(section, line.left(eq).toString());
        if (!values_.contains(key))
            values_.insert(key, unquoted(line.mid(eq + 1).trimmed().toString()));
    }
}

QString ProfileFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto it = values_.constFind(entryKey(section, key));
    return it == values_.constEnd() ? defaultValue : *it;
}
