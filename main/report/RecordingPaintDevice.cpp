#include "report/RecordingPaintDevice.h"

#include "report/BandedReport.h"

#include <QPainter>

namespace {
constexpr int kDpi = 1440;
}

RecordingPaintDevice::RecordingPaintDevice(const QSize &size)
    : m_size(size)
    , m_engine(std::make_unique<RecordingPaintEngine>())
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / kDpi);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / kDpi);
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return kDpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

std::unique_ptr<RecordingPaintDevice> RecordingPaintDevice::record(const BandedReport &report)
{
    auto device = std::make_unique<RecordingPaintDevice>(QSize(report.printableWidth(), report.printableHeight()));
    QPainter painter(device.get());
    report.paint(painter, [&device] {
        device->newPage();
        return true;
    });
    painter.end();
    return device;
}

QVector<DrawnItem> RecordingPaintDevice::itemsOf(DrawnItem::Kind kind, int page) const
{
    QVector<DrawnItem> found;
    for (const DrawnItem &item : m_engine->items) {
        if (item.kind == kind && (page < 0 || item.page == page))
            found.append(item);
    }
    return found;
}

QStringList RecordingPaintDevice::textsIn(const QRectF &region, int page) const
{
    QStringList found;
    for (const DrawnItem &item : itemsOf(DrawnItem::Kind::Text, page)) {
        if (region.contains(item.rect.center()))
            found << item.text;
    }
    return found;
}
