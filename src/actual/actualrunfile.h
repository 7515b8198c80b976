#pragma once
// The actual-run file (*.DRI): a run's header data, its group names and its
// rows, all integers 32-bit little-endian, texts blank-padded Windows-1252.
//
//   offset  size        content
//        0  124         header record (location, customer, header mode byte at 100)
//      124  240         group names, 24 × 10
//      364  8           program name
//      372  10          controller type
//      382  13          maker banner (the last 4: software version)
//      395  14          print date
//      409  4           program of the first second
//      413  4           group rows shown
//      417  4           group count of the header
//      421  2916        program record (parameters and group flags)
//     3337  4           RowCount, 0 … 1200
//     3341  124 × RowCount  the rows, second 0 first
//
// No signature, version or checksum: a file is valid when it holds the
// RowCount rows it counts, in at most 3341 + 124 × 1200 bytes; bytes after
// the rows are ignored.

#include "actual/actualrun.h"

#include <QByteArray>
#include <QString>

constexpr int kRunFileFixedBytes = 3341;

// The file's bytes; rows beyond kMaxRunRows are not written.
QByteArray EncodeActualRunFile(const ActualRun &run);
// False, with *error saying why in German, for bytes that are not a whole
// actual-run file; run is then untouched.
bool DecodeActualRunFile(const QByteArray &bytes, const QString &fileName, ActualRun &run, QString *error);

// Writes the file whole or not at all (see saveWholeFile): on failure the
// previous file is kept and *error says why.
bool WriteActualRunFile(const QString &path, const ActualRun &run, QString *error);
// Reads a file of at most the size 1200 rows take; anything that is not a
// plain file of a valid size is refused without reading it.
bool ReadActualRunFile(const QString &path, ActualRun &run, QString *error);

// "Aus Datei laden": the run of the file, and the run as a chart ready to
// show and print (caption, source text, pages). Its group names replace the
// installation's. A file that cannot be used is refused with its reason in
// *error; then neither chart nor run changes.
bool LoadActualRunChart(const QString &path, ChartData &chart, ActualRun &run, QString *error);
