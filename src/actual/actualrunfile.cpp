#include "actual/actualrunfile.h"

#include "actual/memoryrecords.h"
#include "data/fixedfile.h"
#include "data/wholefilesave.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kNamesOffset = 124;
constexpr int kProgramNameOffset = 364;
constexpr int kControllerTypeOffset = 372;
constexpr int kBannerOffset = 382;
constexpr int kPrintDateOffset = 395;
constexpr int kStartProgramOffset = 409;
constexpr int kShownGroupsOffset = 413;
constexpr int kHeaderGroupCountOffset = 417;
constexpr int kProgramRecordOffset = 421;
constexpr int kRowCountOffset = 3337;
constexpr qint64 kLargestFile = kRunFileFixedBytes + qint64(kChartRowBytes) * kMaxRunRows;

static_assert(kProgramRecordOffset + kProgramRecordBytes == kRowCountOffset);
static_assert(kRowCountOffset + 4 == kRunFileFixedBytes);

void appendLe32(QByteArray &out, int32_t value)
{
    const auto v = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

int32_t le32At(const QByteArray &bytes, int offset)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(bytes[offset + i])) << (8 * i);
    return int32_t(v);
}

template <std::size_t N> void appendText(QByteArray &out, const std::array<char, N> &text)
{
    out.append(text.data(), qsizetype(N));
}

template <std::size_t N> void textAt(const QByteArray &bytes, int offset, std::array<char, N> &text)
{
    for (std::size_t i = 0; i < N; ++i)
        text[i] = bytes[offset + qsizetype(i)];
}

QString unreadable(const QString &fileName)
{
    return QStringLiteral("Die Datei %1 kann nicht gelesen werden !").arg(fileName);
}

QString impossibleSize(const QString &fileName, qint64 size)
{
    return QStringLiteral("Die Datei %1 ist keine Ist-Druck-Datei !\n"
                          "Eine Ist-Druck-Datei kann nicht %2 Bytes groß sein.")
        .arg(fileName)
        .arg(size);
}

}  // namespace

QByteArray EncodeActualRunFile(const ActualRun &run)
{
    const int rows = std::min(int(run.Rows.size()), kMaxRunRows);
    QByteArray out;
    out.reserve(kRunFileFixedBytes + kChartRowBytes * rows);
    out += EncodeHeaderRecord(run.HeaderRecord);
    for (const GroupName &name : run.GroupNames)
        appendText(out, name);
    appendText(out, run.ProgramName);
    appendText(out, run.ControllerTypeText);
    appendText(out, run.BannerText);
    appendText(out, run.PrintDateText);
    appendLe32(out, run.StartProgram);
    appendLe32(out, run.ShownGroups);
    appendLe32(out, run.HeaderGroupCount);
    out += EncodeProgramRecord(run.ProgramRecord);
    appendLe32(out, rows);
    for (int s = 0; s < rows; ++s)
        out += EncodeChartRow(run.Rows[size_t(s)]);
    return out;
}

bool DecodeActualRunFile(const QByteArray &bytes, const QString &fileName, ActualRun &run, QString *error)
{
    const qint64 size = bytes.size();
    if (size < kRunFileFixedBytes || size > kLargestFile) {
        *error = impossibleSize(fileName, size);
        return false;
    }
    // Bytes after the counted rows (a copy padded to a block size, say) are
    // no part of the run; rows the file does not hold cannot be loaded.
    const int32_t rowCount = le32At(bytes, kRowCountOffset);
    const qint64 rowsHeld = (size - kRunFileFixedBytes) / kChartRowBytes;
    if (rowCount < 0 || rowCount > rowsHeld) {
        *error = QStringLiteral("Die Datei %1 ist beschädigt !\nSie gibt %2 Sekunden an, enthält aber %3.")
                     .arg(fileName)
                     .arg(rowCount)
                     .arg(rowsHeld);
        return false;
    }

    ActualRun loaded;
    loaded.HeaderRecord = DecodeHeaderRecord(bytes.constData());
    for (int g = 0; g < kGroupCount; ++g)
        textAt(bytes, kNamesOffset + kGroupNameLength * g, loaded.GroupNames[g]);
    textAt(bytes, kProgramNameOffset, loaded.ProgramName);
    textAt(bytes, kControllerTypeOffset, loaded.ControllerTypeText);
    textAt(bytes, kBannerOffset, loaded.BannerText);
    textAt(bytes, kPrintDateOffset, loaded.PrintDateText);
    loaded.StartProgram = le32At(bytes, kStartProgramOffset);
    loaded.ShownGroups = le32At(bytes, kShownGroupsOffset);
    loaded.HeaderGroupCount = le32At(bytes, kHeaderGroupCountOffset);
    loaded.ProgramRecord = DecodeProgramRecord(bytes.constData() + kProgramRecordOffset);
    loaded.Rows.resize(size_t(rowCount));
    for (int s = 0; s < rowCount; ++s)
        DecodeChartRow(QByteArrayView(bytes).sliced(kRunFileFixedBytes + qsizetype(kChartRowBytes) * s),
                       loaded.Rows[size_t(s)]);
    run = std::move(loaded);
    return true;
}

bool WriteActualRunFile(const QString &path, const ActualRun &run, QString *error)
{
    SaveFailure failure;
    if (saveWholeFile(path, EncodeActualRunFile(run), &failure))
        return true;
    *error = SaveFailureMessage(QFileInfo(path).fileName(), failure);
    return false;
}

bool ReadActualRunFile(const QString &path, ActualRun &run, QString *error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.isFile()) {
        *error = unreadable(name);
        return false;
    }
    const qint64 size = info.size();
    if (size < kRunFileFixedBytes || size > kLargestFile) {
        *error = impossibleSize(name, size);
        return false;
    }
    QByteArray bytes;
    switch (readFixedFile(path, size, bytes)) {
    case FixedFileResult::Read:
        return DecodeActualRunFile(bytes, name, run, error);
    case FixedFileResult::WrongSize:  // changed while it was read
    case FixedFileResult::NotOpened:
        break;
    }
    *error = unreadable(name);
    return false;
}

namespace {
ChartData RunFileChart(const ActualRun &run, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    ChartData chart = ActualRunChart(run, DisplayMode::RunFromFile, FileSourceText(name), run.ShownGroups);
    chart.WindowCaption = QStringLiteral("Drucker Vorschau Ist-Druck aus Datei ") + name;
    if (!chart.DataName.isEmpty())
        chart.WindowCaption += QStringLiteral(" - ") + chart.DataName;
    return chart;
}
}  // namespace

bool LoadActualRunChart(const QString &path, ChartData &chart, ActualRun &run, QString *error)
{
    ActualRun loaded;
    if (!ReadActualRunFile(path, loaded, error))
        return false;
    chart = RunFileChart(loaded, path);
    run = std::move(loaded);
    return true;
}
