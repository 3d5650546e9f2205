#pragma once

#include "report/RecordingPaintEngine.h"

#include <QPaintDevice>
#include <QSize>
#include <QStringList>

#include <memory>

class BandedReport;

/// A page-sized paint device at 1440 dots per inch, so that what it logs is
/// in twips from the printable area's corner. newPage() moves the log on to
/// the next page.
class RecordingPaintDevice : public QPaintDevice
{
public:
    /// \a size in twips.
    explicit RecordingPaintDevice(const QSize &size);
    ~RecordingPaintDevice() override;

    QPaintEngine *paintEngine() const override;
    void newPage() { ++m_engine->page; }
    int pageCount() const { return m_engine->page + 1; }
    const QVector<DrawnItem> &items() const { return m_engine->items; }
    /// Items of one kind, on \a page or on every page (-1).
    QVector<DrawnItem> itemsOf(DrawnItem::Kind kind, int page = -1) const;
    /// The texts of the runs whose centre lies inside \a region (twips).
    QStringList textsIn(const QRectF &region, int page = -1) const;

    /// Paints \a report page by page onto a fresh device of its printable size.
    static std::unique_ptr<RecordingPaintDevice> record(const BandedReport &report);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<RecordingPaintEngine> m_engine;
};
