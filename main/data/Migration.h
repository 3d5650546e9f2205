#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

/// Upgrades of the two files' layouts. Each step takes a file from
/// user_version `from` to `from + 1`; adding a layout change is one step
/// function and one line in examineeSteps() or themeSteps().
namespace Migration {

/// Runs inside the upgrade's transaction; false and \a error refuse it.
/// The step does not touch user_version: the upgrade sets it.
using StepFunction = bool (*)(QSqlDatabase db, QString *error);

struct Step
{
    int from;
    StepFunction run;
};

/// The examinee file's steps, in order; the last one ends at Schema::kSchemaVersion.
const QVector<Step> &examineeSteps();
/// The clinic profile's steps; the last one ends at Schema::kThemeSchemaVersion.
const QVector<Step> &themeSteps();

enum class Outcome {
    Current, ///< already at the target layout: nothing was done
    Upgraded, ///< every step ran and was committed
    Failed, ///< nothing changed in the file (see \a error)
};

/// Brings the examinee file at \a path to the layout this program reads.
/// Before any change the file is copied, with a dated name, into Back (the
/// copy's path in \a safetyCopy). All pending steps run in one transaction,
/// so a step that fails leaves the file exactly as it was. A file newer
/// than the program fails unchanged. A file of this layout without the Code
/// indexes gains them the same way, after its safety copy.
Outcome upgradeExaminee(const QString &path, QString *error, QString *safetyCopy = nullptr);

/// The same for the clinic profile at \a path; its copy goes to Back as
/// "Theme v1 before upgrade 1405.9.20 14.05.sknB".
Outcome upgradeTheme(const QString &path, QString *error, QString *safetyCopy = nullptr);

/// The same with explicit steps and target version (an examinee file).
Outcome upgrade(const QString &path, const QVector<Step> &steps, int target, QString *error, QString *safetyCopy);

/// Where the copy of a file at layout \a version is kept before an upgrade:
/// "DBres v1 before upgrade 1405.9.20 14.05.mdbB" in Back, a name no file has yet.
QString safetyCopyPath(int version);
/// The same for the clinic profile: "Theme v1 before upgrade ... .sknB".
QString themeSafetyCopyPath(int version);

/// Copies the file at \a path whole, on the disk, into Back as
/// "<stem> <date> <time><extension>" before it is changed; the copy's path
/// in \a copy. False, with the file left alone by the caller, when it fails.
bool keepSafetyCopy(const QString &path, const QString &stem, const QString &extension, QString *copy, QString *error);

} // namespace Migration
