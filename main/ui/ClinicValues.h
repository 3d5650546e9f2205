#pragma once

#include <QImage>
#include <QString>

/// What the printouts take from the main window at print time: the
/// show-logo flag, the logo picture and the clinic summary text.
struct ClinicValues
{
    bool showLogo = false;
    QImage logo;
    QString summary;
};
