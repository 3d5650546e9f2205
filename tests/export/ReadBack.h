#pragma once

// Readers of exported files written for the tests, independent of the
// writers: a CSV parser, a zip archive reader for .xlsx and readstat's reader
// for .sav.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace ReadBack {

/// RFC 4180 with CRLF line ends; false on anything else (a bare LF outside
/// quotes, an unterminated quote, text after a closing quote).
bool parseCsv(const QByteArray &bytes, bool *hadBom, QVector<QStringList> *rows, QString *error);

/// One cell of a sheet: a number or a text (shared or inline string).
struct XlsxCell
{
    bool number = false;
    double value = 0;
    QString text;
    int style = 0;
};

struct XlsxSheet
{
    QVector<QHash<int, XlsxCell>> rows; ///< by row index from 0, cells by column from 0
    bool rightToLeft = false;
    bool frozenHeader = false;
    QStringList boldStyles; ///< indexes of cell formats whose font is bold
    QHash<int, QString> numberFormats; ///< cell format index -> its own number format ("0.0")
};

/// The members of a zip archive by name (stored or deflated).
bool readZip(const QString &path, QHash<QString, QByteArray> *members, QString *error);
bool readXlsx(const QString &path, XlsxSheet *sheet, QString *error);

struct SavVariable
{
    QString name;
    QString label;
    bool numeric = false;
    QString format;
    QHash<double, QString> valueLabels;
    QVector<double> missing; ///< user-missing values
};

struct SavValue
{
    bool systemMissing = false;
    bool userMissing = false;
    double number = 0;
    QString text;
};

struct SavFile
{
    QVector<SavVariable> variables;
    QVector<QVector<SavValue>> rows;
    QString encoding;
};

bool readSav(const QString &path, SavFile *file, QString *error);

} // namespace ReadBack
