#pragma once

#include "report/ReportElement.h"

#include <QString>
#include <QVector>

/// A band of a report: a strip of the page \a height twips high, named as
/// the callers address it ("Section1" ...).
struct ReportBand
{
    QString name;
    int height = 0;
    /// The report footer begins on a page of its own (a second sheet).
    bool startsPage = false;
    QVector<ReportElement> elements;

    /// The named element, or nullptr.
    ReportElement *element(const QString &elementName);
    const ReportElement *element(const QString &elementName) const;
    ReportElement &add(const ReportElement &e);
};
