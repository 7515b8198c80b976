#include "actual/memoryrecords.h"

#include "data/datalayout.h"

#include <array>

namespace {

// Walks the fields as the compiler lays them out in memory: each scalar at a
// multiple of its size, the record padded to a multiple of four.
class MemoryWriter {
public:
    template <class T> void field(const char *, const T &v)
    {
        align(sizeof(T));
        const auto u = uint32_t(v);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bytes_.append(char((u >> (8 * i)) & 0xff));
    }
    template <class T, std::size_t N> void field(const char *name, const std::array<T, N> &a)
    {
        for (const T &e : a)
            field(name, e);
    }
    void text(const char *, const TextField32 &t) { bytes_.append(t.data(), qsizetype(t.size())); }
    QByteArray finish()
    {
        align(4);
        return bytes_;
    }

private:
    void align(std::size_t n)
    {
        while (bytes_.size() % qsizetype(n) != 0)
            bytes_.append('\0');
    }
    QByteArray bytes_;
};

class MemoryReader {
public:
    explicit MemoryReader(const char *data) : data_(data) {}
    template <class T> void field(const char *, T &v)
    {
        align(sizeof(T));
        uint32_t u = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            u |= uint32_t(uint8_t(data_[pos_ + i])) << (8 * i);
        pos_ += sizeof(T);
        v = T(u);
    }
    template <class T, std::size_t N> void field(const char *name, std::array<T, N> &a)
    {
        for (T &e : a)
            field(name, e);
    }
    void text(const char *, TextField32 &t)
    {
        for (char &c : t)
            c = data_[pos_++];
    }

private:
    void align(std::size_t n) { pos_ = (pos_ + n - 1) / n * n; }
    const char *data_;
    std::size_t pos_ = 0;
};

}  // namespace

QByteArray EncodeHeaderRecord(const InstallationHeader &header)
{
    MemoryWriter writer;
    InstallationHeader copy = header;  // the walkers visit mutable records
    walkHeader(writer, copy);
    return writer.finish();
}

QByteArray EncodeProgramRecord(const SignalProgram &program)
{
    MemoryWriter writer;
    SignalProgram copy = program;
    walkProgram(writer, copy);
    return writer.finish();
}

InstallationHeader DecodeHeaderRecord(const char *data)
{
    MemoryReader reader(data);
    InstallationHeader header;
    walkHeader(reader, header);
    return header;
}

SignalProgram DecodeProgramRecord(const char *data)
{
    MemoryReader reader(data);
    SignalProgram program;
    walkProgram(reader, program);
    return program;
}
