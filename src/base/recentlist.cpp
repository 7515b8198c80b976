#include "base/recentlist.h"

namespace {
const QString kSection = QStringLiteral("Zuletzt");
}

RecentList::RecentList(SettingsStore &store, const QString &keyPrefix) : store_(store), prefix_(keyPrefix) {}

QStringList RecentList::entries() const
{
    QStringList list;
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString path = store_.ReadString(kSection, prefix_ + QString::number(i), QString());
        if (!path.isEmpty() && !list.contains(path))
            list << path;
    }
    return list;
}

void RecentList::add(const QString &path)
{
    QStringList list = entries();
    list.removeAll(path);
    list.prepend(path);
    for (int i = 1; i <= kMaxEntries; ++i)
        store_.WriteString(kSection, prefix_ + QString::number(i), list.value(i - 1));
    store_.sync();
}
