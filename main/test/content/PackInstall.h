#pragma once

#include "test/content/ContentPack.h"

#include <QString>

/// Installing a content pack into a data folder: the pack is kept under
/// <data>/packs/<fingerprint>, the norms replace PPP in DBres.mdb in one
/// transaction after a dated safety copy in Back, and the pack becomes the
/// content in use. IDE and Answer are not touched.
namespace PackInstall {

struct Result
{
    QString packDir; ///< the unpacked pack the program loads
    QString safetyCopy; ///< the database as it was, in Back
};

/// Refuses a pack with errors (warnings are the caller's to accept).
bool install(const ContentPack &pack, const QString &dataDir, Result *result, QString *error);

/// Goes back to the bundled set in \a bundledDir: its norms replace PPP
/// (after the same safety copy) and no pack is in use any more. The
/// installed packs stay in the data folder.
bool useBundled(const QString &bundledDir, const QString &dataDir, Result *result, QString *error);

/// The unpacked folder of the pack in use, or empty for the bundled set.
QString activePackDir(const QString &dataDir);

} // namespace PackInstall
