#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

/// The tables of the two database files, written once here. Every field is
/// TEXT but those a table lists as INTEGER.
namespace Schema {

/// Marks a file as one of ours ("PELO" / "PELT"); the user_version is the
/// layout version. Both files' layouts change through the steps in
/// data/Migration.
constexpr int kExamineeApplicationId = 0x50454C4F;
constexpr int kThemeApplicationId = 0x50454C54;
constexpr int kSchemaVersion = 3; ///< the examinee file's layout
constexpr int kThemeSchemaVersion = 2; ///< the clinic profile's layout

struct Table
{
    QString name;
    QStringList fields;
    /// Fields a later layout added, with the version that added each; a
    /// file of an earlier version lacks them until it is upgraded.
    QHash<QString, int> addedIn = {};
    /// Fields stored as INTEGER; every other one is TEXT.
    QStringList integerFields = {};
    int since = 1; ///< the layout version that brought the table

    /// The fields a file of layout \a version holds.
    QStringList fieldsAt(int version) const;
    QString sqlType(const QString &field) const;
};

Table ide();
Table answer();
Table ppp();
/// Every recorded click of a test, in order per examinee (layout 3).
Table answerLog();
/// The clinic profile's one row; ChildMode (layout 2) 0 or 1.
Table theme();

/// The tables each file must hold.
QVector<Table> examineeTables();
QVector<Table> themeTables();

/// One norms row: raw score text, six IQs (ages 5..10), six percentiles.
struct NormsRow
{
    QString code;
    QStringList iq; // 6 values
    QStringList percentile; // 6 values
};

/// The raw scores the norms table has a row for, each exactly once.
constexpr int kLowestNormsRaw = 5;
constexpr int kHighestNormsRaw = 36;

/// Reads the shipped norms table (header Code,5..10,5p..10p). False and
/// *error naming the line on a malformed file: a row for each raw score 5
/// to 36 exactly once, every cell a number.
bool readNormsCsv(const QString &path, QVector<NormsRow> *rows, QString *error);

/// Creates the tables, identification pragmas and (for the examinee file)
/// the norms rows in \a db, in one transaction.
bool createExamineeDatabase(QSqlDatabase db, const QVector<NormsRow> &norms, QString *error);
bool createThemeDatabase(QSqlDatabase db, QString *error);
/// Adds the clinic profile's one row, empty with the logo not shown.
bool addThemeRow(QSqlDatabase db, QString *error);

/// Creates the indexes on the fields looked up by equality (the examinee
/// code in IDE, Answer and AnswerLog) where they are missing. Adds nothing
/// else; a file of this layout without them gains them at open, after its
/// safety copy, as an upgrade step would.
bool ensureIndexes(QSqlDatabase db, QString *error);
/// The names ensureIndexes gives its indexes.
QStringList codeIndexNames();

/// Writes a new database file at \a path (via a temporary file renamed into
/// place); refuses to touch an existing file.
bool createExamineeFile(const QString &path, const QVector<NormsRow> &norms, QString *error);
bool createThemeFile(const QString &path, QString *error);

/// The CREATE TABLE statement of \a t with all its fields.
QString createSql(const Table &t);

/// SQL identifier quoting ("1", "Group" and friends are identifiers).
QString quoted(const QString &identifier);

} // namespace Schema
