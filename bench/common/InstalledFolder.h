#pragma once

// The built program folder (content and templates) with a data folder of
// its own in a temporary directory, made from the templates as a first
// start makes it.

#include "data/AppPaths.h"
#include "data/DataFolder.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

struct InstalledFolder
{
    QTemporaryDir data;

    InstalledFolder()
    {
        AppPaths::setProgramDir(QStringLiteral(PELORIN_PROGRAM_DIR));
        AppPaths::setDataDir(data.path());
        DataFolder::Result result;
        QString error;
        if (!DataFolder::fillFromTemplates(AppPaths::templatesDir(), data.path(), &result, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    }
    ~InstalledFolder() { AppPaths::setProgramDir(QString()); }
};
