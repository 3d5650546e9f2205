#include "FormPainter.h"

#include "Fonts.h"
#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

using namespace Palette;

namespace {

constexpr int FormWidth = 8925;
constexpr int FormHeight = 11520;
constexpr int Dpi = 300;
constexpr double Scale = Dpi / 1440.0;
constexpr int BoxWidth = 675;
constexpr int RightColumn = 6720;
constexpr int LeftColumn = 4800;
constexpr int NumberGap = 60;
constexpr int NumberWidth = 615;

constexpr int RightTops[18]
    = { 2592, 2976, 3360, 3648, 4032, 4416, 4800, 5184, 5472, 5856, 6240, 6528, 6912, 7296, 7584, 7968, 8352, 8690 };
constexpr int LeftTops[18]
    = { 2688, 2976, 3360, 3744, 4032, 4416, 4800, 5184, 5472, 5856, 6240, 6528, 6912, 7296, 7584, 7968, 8352, 8736 };

const QColor Line(90, 110, 100);
const QColor Tint(232, 240, 235);

// Personal data: caption and the place where the scoring sheet prints the value.
struct Field
{
    const char *caption;
    QRect value;
};

const Field Fields[] = {
    { "نام و نام خانوادگی:", QRect(4573, 831, 2385, 375) },
    { "تاریخ تولد:", QRect(2206, 814, 1379, 375) },
    { "سن:", QRect(1340, 826, 570, 375) },
    { "تحصیلات:", QRect(5322, 1306, 2276, 375) },
    { "آزمونگر:", QRect(2683, 1360, 1920, 375) },
    { "تاریخ اجرا:", QRect(292, 1344, 1202, 375) },
};
const QRect IqRow(150, 1680, 8625, 450);

std::array<QRect, 36> makeBoxes()
{
    std::array<QRect, 36> boxes;
    for (int column = 0; column < 2; ++column) {
        const int *tops = column == 0 ? RightTops : LeftTops;
        for (int r = 0; r < 18; ++r) {
            // A row keeps a gap below its box; the tighter rows get lower boxes.
            const int gap = r < 17 ? tops[r + 1] - tops[r] : 384;
            const int height = gap >= 384 ? 288 : 240;
            boxes[column * 18 + r] = QRect(column == 0 ? RightColumn : LeftColumn, tops[r], BoxWidth, height);
        }
    }
    return boxes;
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

void drawRight(QPainter &p, const QRectF &r, const QString &s)
{
    p.drawText(r, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, s);
}

void drawHeader(QPainter &p)
{
    p.setPen(QPen(Badge, 30));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(60, 30, FormWidth - 120, FormHeight - 60), 120, 120);

    p.setPen(Ink);
    p.setFont(Fonts::titr(300));
    p.drawText(QRectF(1500, 150, 6000, 560), Qt::AlignCenter, text("برگه پاسخ آزمون تصویری"));

    p.setFont(Fonts::nazli(215, true));
    for (const Field &f : Fields) {
        const QRectF caption(f.value.right() + 30, f.value.top(), 1400, f.value.height());
        const QFontMetricsF fm(p.font());
        const double w = fm.horizontalAdvance(text(f.caption));
        p.setPen(Ink);
        p.drawText(QRectF(caption.left(), caption.top() - 40, w + 20, caption.height() + 80),
            Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter, text(f.caption));
        p.setPen(QPen(Line, 12, Qt::DotLine));
        p.drawLine(QPointF(f.value.left(), f.value.bottom() + 20), QPointF(f.value.right(), f.value.bottom() + 20));
    }

    p.setPen(QPen(Line, 15));
    p.setBrush(Tint);
    p.drawRoundedRect(IqRow, 90, 90);
    p.setPen(Ink);
    drawRight(p, QRectF(IqRow.left(), IqRow.top() - 30, IqRow.width() - 120, IqRow.height() + 60),
        text("هوشبهر و طبقه‌بندی"));
}

void drawTable(QPainter &p)
{
    const auto &boxes = answerBoxes();
    p.setFont(Fonts::nazli(200, true));
    for (int column : { RightColumn, LeftColumn }) {
        const QRectF head(column - 60, 2190, BoxWidth + NumberGap + NumberWidth + 120, 330);
        p.setPen(Qt::NoPen);
        p.setBrush(Badge);
        p.drawRoundedRect(head, 60, 60);
        p.setPen(Qt::white);
        p.drawText(QRectF(column, head.top() - 30, BoxWidth, head.height() + 60), Qt::AlignCenter, text("پاسخ"));
        p.drawText(QRectF(column + BoxWidth + NumberGap, head.top() - 30, NumberWidth, head.height() + 60),
            Qt::AlignCenter, text("شماره"));
    }
    for (int i = 0; i < 36; ++i) {
        const QRect &box = boxes[i];
        const QRectF number(box.right() + 1 + NumberGap, box.top(), NumberWidth, box.height());
        if (i % 2 == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(Tint);
            p.drawRoundedRect(
                QRectF(box.left() - 60, box.top() - 30, BoxWidth + NumberGap + NumberWidth + 120, box.height() + 60),
                45, 45);
        }
        p.setPen(QPen(Line, 15));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(box), 30, 30);
        p.setPen(Ink);
        p.setFont(Fonts::digits(150));
        p.drawText(number, Qt::AlignCenter, QString::number(i + 1));
    }
}

void drawNotes(QPainter &p)
{
    const QRectF notes(240, 2190, 4200, 6840);
    p.setPen(QPen(Line, 15));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(notes, 90, 90);
    p.setPen(Ink);
    p.setFont(Fonts::nazli(200, true));
    drawRight(p, QRectF(notes.left(), notes.top() + 30, notes.width() - 150, 400), text("ملاحظات آزمونگر"));
    p.setPen(QPen(Line, 10, Qt::DotLine));
    for (double y = notes.top() + 840; y < notes.bottom() - 150; y += 420)
        p.drawLine(QPointF(notes.left() + 150, y), QPointF(notes.right() - 150, y));

    p.setPen(Ink);
    p.setFont(Fonts::nazli(200, true));
    drawRight(p, QRectF(4800, 9500, 3900, 400), text("امضای آزمونگر:"));
    p.setPen(QPen(Line, 12, Qt::DotLine));
    p.drawLine(QPointF(4900, 9850), QPointF(7300, 9850));

    p.setPen(QColor(120, 130, 125));
    p.setFont(Fonts::nazli(150));
    p.drawText(QRectF(240, 10900, 8445, 300), Qt::AlignCenter, text("مجموعهٔ نمایشی Pelorin، بدون اعتبار بالینی"));
}

} // namespace

const std::array<QRect, 36> &answerBoxes()
{
    static const std::array<QRect, 36> boxes = makeBoxes();
    return boxes;
}

QImage paintAnswerForm()
{
    QImage image(qRound(FormWidth * Scale + 0.5), qRound(FormHeight * Scale), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(Dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(Scale, Scale);
    drawHeader(p);
    drawTable(p);
    drawNotes(p);
    return image;
}

QImage answerFormPreview()
{
    QImage form = paintAnswerForm();
    QPainter p(&form);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(Scale, Scale);
    p.setPen(QColor(20, 60, 160));
    p.setFont(Fonts::nazli(220, true));
    const char *samples[] = { "سارا احمدی", "1396/02/11", "7", "دوم دبستان", "دکتر رضایی", "1403/05/20" };
    for (int i = 0; i < 6; ++i)
        drawRight(p, QRectF(Fields[i].value), text(samples[i]));
    p.drawText(QRectF(192, 1728, 672, 375), Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter, "IQ:");
    p.drawText(QRectF(672, 1728, 2496, 375), Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter, "108");
    p.drawText(QRectF(1776, 1701, 5340, 375), Qt::AlignCenter, text("متوسط (Average)"));
    p.setFont(Fonts::digits(170));
    for (int i = 0; i < 36; ++i)
        p.drawText(QRectF(answerBoxes()[i]), Qt::AlignCenter, QString::number((i * 5) % 7));
    p.end();
    return form.scaled(form.width() / 2, form.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
