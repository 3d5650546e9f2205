#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

/// What the printouts take from the main window at print time: the
/// show-logo flag, the logo picture and the clinic summary text.
struct ClinicValues
{
    bool showLogo = false;
    QImage logo;
    QString summary;
};

/// The Theme fields of the contact lines, in the summary's order.
inline const QStringList kClinicContactFields = { QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3"),
    QStringLiteral("T4"), QStringLiteral("T5"), QStringLiteral("T6") };

/// The clinic summary: every non-empty contact line (T1 to T6, in order),
/// each followed by CR LF.
inline QString ClinicSummary(const QStringList &contactLines)
{
    QString summary;
    for (const QString &line : contactLines) {
        if (!line.isEmpty())
            summary += line + QStringLiteral("\r\n");
    }
    return summary;
}
