#pragma once

#include <QFont>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QVector>

/// One thing drawn, in device coordinates.
struct DrawnItem
{
    enum class Kind { Text, Picture, Line, Shape };
    Kind kind = Kind::Text;
    int page = 0;
    QString text; ///< Text: the run's characters, in logical order
    QRectF rect; ///< Text: the run's box; Picture: target; Line: its bounds
    QString family; ///< Text: the font family
    QSize pictureSize; ///< Picture: the source picture's size
};

/// A paint engine that draws nothing and logs every text run, picture and
/// line with its place, so tests can check a printout without pixels.
class RecordingPaintEngine : public QPaintEngine
{
public:
    RecordingPaintEngine();

    QVector<DrawnItem> items;
    int page = 0;

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags flags) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawRects(const QRectF *rects, int rectCount) override;
    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;

private:
    void addShape(const QRectF &bounds);
    void addPicture(const QRectF &r, const QSize &size);
    QTransform m_transform;
};
