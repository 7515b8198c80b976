#include "datasetwriter.h"

#include "data/datalayout.h"

#include <QDir>
#include <QSaveFile>

namespace {

// The counterpart of the data library's ByteReader: little-endian, byte by byte.
class ByteWriter {
public:
    QByteArray out;

    void field(const char *, uint8_t v) { put(v, 1); }
    void field(const char *, char v) { put(uint8_t(v), 1); }
    void field(const char *, uint16_t v) { put(v, 2); }
    void field(const char *, uint32_t v) { put(v, 4); }
    void field(const char *, int32_t v) { put(uint32_t(v), 4); }

    template <class T, std::size_t N> void field(const char *name, const std::array<T, N> &a)
    {
        for (const T &e : a)
            field(name, e);
    }

    // Readers skip the byte before a text; it is written as the field width.
    void text(const char *name, const TextField32 &t)
    {
        put(kTextFieldLength, 1);
        field(name, t);
    }

private:
    void put(uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            out.append(char((v >> (8 * i)) & 0xff));
    }
};

}  // namespace

QByteArray packDataFile(const InstallationData &d, DataFile file)
{
    ByteWriter writer;
    InstallationData copy = d;  // the walkers visit mutable fields
    walkDataFile(writer, copy, file);
    return writer.out;
}

bool writeDataSet(const InstallationData &d, const QString &dir, QString &error)
{
    if (!QDir().mkpath(dir)) {
        error = QStringLiteral("cannot create folder %1").arg(dir);
        return false;
    }
    for (const DataFileInfo &info : kDataFiles) {
        const QByteArray bytes = packDataFile(d, info.file);
        const QString path = QDir(dir).filePath(QString::fromLatin1(info.name));
        QSaveFile file(path);  // unbuffered: a failed buffer flush may still commit
        if (bytes.size() != info.size || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
            || file.write(bytes) != bytes.size() || !file.commit()) {
            error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}
