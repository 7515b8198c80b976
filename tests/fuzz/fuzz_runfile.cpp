// The actual-run file (*.DRI) as it comes from another machine: the input is
// the file's bytes, any length.
//
// What must hold: the decoder takes exactly the files that hold the rows
// their row count says (3341 plus 124 bytes a row, at most 1200 rows, bytes
// after them ignored) and refuses the rest with a reason; a taken file is
// written back byte for byte up to its last row, but for the padding bytes
// of its two records, which are written as zero; the reader from disk
// agrees with the decoder, and a taken file opens as a chart of its rows
// with at most 24 group rows and the file's group names.

#include "actual/actualrunfile.h"
#include "fuzzsupport.h"

#include <cstring>

namespace {

// Whether `written` is `read` written back: equal but where the fixed part
// has padding (or a field that only keeps some of its byte's values).
bool writtenBack(const QByteArray &read, const QByteArray &written)
{
    static const QByteArray ignored = [] {
        QByteArray ones(kRunFileFixedBytes, char(0xff));
        ones.replace(kRunFileFixedBytes - 4, 4, QByteArray(4, '\0'));  // no rows
        ActualRun run;
        QString error;
        FUZZ_CHECK(DecodeActualRunFile(ones, QString(), run, &error));
        const QByteArray back = EncodeActualRunFile(run);
        QByteArray mask(kRunFileFixedBytes, '\0');
        for (int i = 0; i < kRunFileFixedBytes; ++i)
            mask[i] = char(back[i] != ones[i]);
        return mask;
    }();
    if (read.size() != written.size())
        return false;
    for (qsizetype i = 0; i < read.size(); ++i)
        if (read[i] != written[i] && !(i < ignored.size() && ignored[i]))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // Valid: the fixed part, then at least as many rows as its row count (at
    // offset 3337) says, in a file no larger than one of 1200 rows.
    const qsizetype rowBytes = qsizetype(size) - kRunFileFixedBytes;
    int32_t rowCount = -1;
    if (rowBytes >= 0)
        std::memcpy(&rowCount, data + kRunFileFixedBytes - 4, 4);  // little-endian machine
    const bool validSize = rowBytes >= 0 && rowBytes <= 124 * kMaxRunRows && rowCount >= 0
                           && rowCount <= rowBytes / 124;

    ActualRun run;
    QString error;
    const bool decoded = DecodeActualRunFile(bytes, QStringLiteral("FUZZ.DRI"), run, &error);
    FUZZ_CHECK(decoded == validSize);
    FUZZ_CHECK(decoded == error.isEmpty());
    if (decoded) {
        FUZZ_CHECK(run.Rows.size() == size_t(rowCount));
        const QByteArray written = EncodeActualRunFile(run);
        FUZZ_CHECK(writtenBack(bytes.left(kRunFileFixedBytes + 124 * qsizetype(rowCount)), written));
        ActualRun again;
        FUZZ_CHECK(DecodeActualRunFile(written, QString(), again, &error));
        FUZZ_CHECK(EncodeActualRunFile(again) == written);
    }

    // The same bytes through the file system: same verdict, and the chart.
    const QString path = scratchDir() + QStringLiteral("/FUZZ.DRI");
    writeScratchFile(path, bytes.constData(), size);
    ActualRun fromDisk;
    QString diskError;
    FUZZ_CHECK(ReadActualRunFile(path, fromDisk, &diskError) == decoded);
    if (decoded) {
        FUZZ_CHECK(EncodeActualRunFile(fromDisk) == EncodeActualRunFile(run));
        ChartData chart;
        ActualRun loaded;
        FUZZ_CHECK(LoadActualRunChart(path, chart, loaded, &diskError));
        FUZZ_CHECK(loaded.GroupNames == run.GroupNames);
        FUZZ_CHECK(chart.Rows.size() == run.Rows.size());
        FUZZ_CHECK(chart.ShownGroups >= 0 && chart.ShownGroups <= kGroupCount);
    }
    return 0;
}
