#include "report/RecordingPaintEngine.h"

#include <QPainterPath>
#include <QPixmap>

RecordingPaintEngine::RecordingPaintEngine()
    : QPaintEngine(QPaintEngine::AllFeatures)
{
}

bool RecordingPaintEngine::begin(QPaintDevice *)
{
    m_transform = QTransform();
    return true;
}

bool RecordingPaintEngine::end()
{
    return true;
}

void RecordingPaintEngine::updateState(const QPaintEngineState &state)
{
    if (state.state() & QPaintEngine::DirtyTransform)
        m_transform = state.transform();
}

void RecordingPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    DrawnItem item;
    item.kind = DrawnItem::Kind::Text;
    item.page = page;
    item.text = textItem.text();
    item.family = textItem.font().family();
    const QRectF box(p.x(), p.y() - textItem.ascent(), textItem.width(), textItem.ascent() + textItem.descent());
    item.rect = m_transform.mapRect(box);
    items.append(item);
}

void RecordingPaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &)
{
    addPicture(r, pm.size());
}

void RecordingPaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &, Qt::ImageConversionFlags)
{
    addPicture(r, image.size());
}

void RecordingPaintEngine::addPicture(const QRectF &r, const QSize &size)
{
    DrawnItem item;
    item.kind = DrawnItem::Kind::Picture;
    item.page = page;
    item.rect = m_transform.mapRect(r);
    item.pictureSize = size;
    items.append(item);
}

void RecordingPaintEngine::drawLines(const QLineF *lines, int lineCount)
{
    for (int i = 0; i < lineCount; ++i) {
        DrawnItem item;
        item.kind = DrawnItem::Kind::Line;
        item.page = page;
        const QLineF l = m_transform.map(lines[i]);
        item.rect = QRectF(l.p1(), l.p2()).normalized();
        items.append(item);
    }
}

void RecordingPaintEngine::drawRects(const QRectF *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i)
        addShape(m_transform.mapRect(rects[i]));
}

void RecordingPaintEngine::drawPath(const QPainterPath &path)
{
    addShape(m_transform.mapRect(path.boundingRect()));
}

void RecordingPaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode)
{
    QPolygonF polygon;
    for (int i = 0; i < pointCount; ++i)
        polygon << points[i];
    addShape(m_transform.map(polygon).boundingRect());
}

void RecordingPaintEngine::addShape(const QRectF &bounds)
{
    DrawnItem item;
    item.kind = DrawnItem::Kind::Shape;
    item.page = page;
    item.rect = bounds;
    items.append(item);
}
