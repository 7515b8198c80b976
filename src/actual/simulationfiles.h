#pragma once
// The files the simulation program hands a run over in: "D0.ist" holds the
// header lines, each of "D1.ist" … "D9.ist" one data line. Their order comes
// from their time stamps in the file system's packed form, two seconds fine.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>

// Year − 1980, month, day, hours, minutes and seconds / 2 in one number
// (local time), as the file system stamps files.
uint32_t PackedStamp(const QDateTime &time);

class SimulationFiles {
public:
    static constexpr int kHeaderFile = 0;
    static constexpr int kLastFile = 9;
    // A line of these files has room for 99 characters; the rest is cut off.
    static constexpr int kLineCapacity = 99;

    explicit SimulationFiles(const QString &folder) : folder_(folder) {}

    QString path(int number) const;
    // Removes D0.ist … D9.ist; a missing file is no error.
    void DeleteAll() const;
    bool Delete(int number) const;

    // The file to read next, or -1: the header file when it is newer than
    // the start; else, among the data files newer than both the start and
    // the last header, the oldest (the lowest number among equal stamps).
    // *stamp gets the chosen file's stamp.
    int ChooseNext(uint32_t startStamp, uint32_t headerStamp, uint32_t *stamp) const;

    // The lines of a file, at most maxLines of them. Empty for a file that is
    // missing or not a plain file.
    QList<QByteArray> ReadLines(int number, int maxLines) const;

private:
    bool stampOf(int number, uint32_t *stamp) const;
    QString folder_;
};
