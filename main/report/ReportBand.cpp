#include "report/ReportBand.h"

ReportElement *ReportBand::element(const QString &elementName)
{
    for (ReportElement &e : elements) {
        if (e.name.compare(elementName, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

const ReportElement *ReportBand::element(const QString &elementName) const
{
    return const_cast<ReportBand *>(this)->element(elementName);
}

ReportElement &ReportBand::add(const ReportElement &e)
{
    elements.append(e);
    return elements.last();
}
