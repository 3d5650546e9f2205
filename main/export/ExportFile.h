#pragma once

#include "test/scoring/ScoreChain.h"

#include <QString>

#include <optional>

class ExportTable;
class QIODevice;
class RecordSource;

enum class ExportFormat { Csv, Xlsx, Sav };

/// The format a file name asks for by its extension (any letter case).
std::optional<ExportFormat> ExportFormatOf(const QString &path);
/// "csv", "xlsx", "sav", and back.
std::optional<ExportFormat> ExportFormatNamed(const QString &name);

/// The save dialog's file types, one per format.
QString ExportFileFilter();

/// CSV for any spreadsheet: UTF-8 with a byte-order mark, a header row, CRLF
/// line ends, a field with a comma, quote or line break quoted and its
/// quotes doubled.
bool WriteCsv(const ExportTable &table, QIODevice *device, QString *error);

/// Writes \a table in \a format to \a path. The file is written under a
/// temporary name beside \a path and renamed into place once it is whole and
/// on disk; on failure nothing carries the name \a path (a file that had it
/// before is left as it was).
bool ExportToFile(const ExportTable &table, ExportFormat format, const QString &path, QString *error);

/// The answer key of the test materials in \a contentDir.
bool LoadExportKey(const QString &contentDir, AnswerKey *key, QString *error);

/// The records window's export: the visible rows of \a ide (as the grid and
/// the full report show them) with their answers from \a answers, scored
/// against the program folder's test materials, in the format of \a path's
/// extension.
bool ExportRecords(const RecordSource &ide, const RecordSource &answers, const QString &path, QString *error);
