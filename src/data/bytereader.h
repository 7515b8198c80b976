#pragma once
// Unpacks little-endian fields from a byte buffer, byte by byte, for the
// walkers of datalayout.h. It never reads outside the buffer: a field that
// does not fit is set to zero and the reader is marked as overrun.

#include "data/installationdata.h"

#include <QtGlobal>
#include <array>
#include <cstdint>

class ByteReader {
public:
    ByteReader(const char *data, qsizetype size) : data_(data), size_(size) {}

    void field(const char *, uint8_t &v) { v = uint8_t(take(1)); }
    void field(const char *, char &v) { v = char(take(1)); }
    void field(const char *, uint16_t &v) { v = uint16_t(take(2)); }
    void field(const char *, uint32_t &v) { v = take(4); }
    void field(const char *, int32_t &v) { v = int32_t(take(4)); }

    template <class T, std::size_t N> void field(const char *name, std::array<T, N> &a)
    {
        for (T &e : a)
            field(name, e);
    }

    // The byte before the characters is not part of the text.
    void text(const char *name, TextField32 &t)
    {
        take(1);
        field(name, t);
    }

    // True when every field fitted and the whole buffer was consumed.
    bool complete() const { return !overrun_ && pos_ == size_; }

private:
    uint32_t take(int n)
    {
        if (n > size_ - pos_) {
            overrun_ = true;
            pos_ = size_;
            return 0;
        }
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= uint32_t(uint8_t(data_[pos_ + i])) << (8 * i);
        pos_ += n;
        return v;
    }

    const char *data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    bool overrun_ = false;
};
