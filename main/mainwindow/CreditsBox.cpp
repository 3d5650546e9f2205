#include "mainwindow/CreditsBox.h"

#include "data/AppPaths.h"
#include "mainwindow/MainWindowTexts.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"
#include "ui/WebLinks.h"

#include <QDir>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The platform's timer gives about 64 ticks a second; one cycle of 2035
// ticks then lasts about half a minute.
constexpr int kTickMs = 16;

QFont lineFont(double pointSize)
{
    return Fonts::arial(pointSize, true);
}

// Shaping Persian text is the costly part of a tick; each line is measured
// once per size it takes.
QSize textSizeTwips(const QString &text, double pointSize)
{
    static QHash<QPair<QString, int>, QSize> cache;
    const QPair<QString, int> key(text, int(pointSize * 100));
    const auto hit = cache.constFind(key);
    if (hit != cache.constEnd())
        return *hit;
    const QFontMetrics fm(lineFont(pointSize));
    const QSize size(fm.horizontalAdvance(text) * Twips::kPerPixel, fm.height() * Twips::kPerPixel);
    cache.insert(key, size);
    return size;
}

// A credit line draws its text from a picture made once per font size: the
// line moves about 20 times a second and shaping it on every paint would
// cost more than everything else the idle window does.
class CreditLine : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        const qreal dpr = devicePixelRatioF();
        if (m_cache.isNull() || m_cacheSize != size() || m_cacheFont != font() || m_cacheDpr != dpr) {
            m_cache = QPixmap(size() * dpr);
            m_cache.setDevicePixelRatio(dpr);
            m_cache.fill(Qt::transparent);
            QPainter p(&m_cache);
            p.setFont(font());
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(QRect(QPoint(0, 0), size()), Qt::AlignCenter, text());
            m_cacheSize = size();
            m_cacheFont = font();
            m_cacheDpr = dpr;
        }
        QPainter p(this);
        p.drawPixmap(0, 0, m_cache);
    }

private:
    QPixmap m_cache;
    QSize m_cacheSize;
    QFont m_cacheFont;
    qreal m_cacheDpr = 0;
};

} // namespace

QStringList CreditsBox::creditTexts()
{
    return MainWindowTexts::credits;
}

CreditsBox::CreditsBox(int widthTwips, int heightTwips, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setFixedSize(Twips::px(widthTwips), Twips::px(heightTwips));
    // The box paints its own opaque background, so a moving line repaints
    // only the box beneath it, never the window behind.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_background = QPixmap(size());
    m_background.fill(QColor(81, 128, 91));
    const QPixmap bitmap(QDir(AppPaths::contentDir()).filePath(QStringLiteral("art/credits_box.png")), "PNG");
    if (!bitmap.isNull())
        m_background = bitmap.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    setCursor(Qt::PointingHandCursor);

    const QStringList texts = creditTexts();
    for (int i = 0; i < CreditsScroller::kLines; ++i) {
        auto *label = new CreditLine(texts[i], this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i + 1));
        label->setAlignment(Qt::AlignCenter);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QPalette linePalette = label->palette();
        linePalette.setColor(QPalette::WindowText, QColor(255, 255, 0));
        label->setPalette(linePalette);
        Label1 << label;
    }
    Text1 = new QLabel(QStringLiteral("Text1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();

    auto measureWidth = [texts](int line, double pt) { return textSizeTwips(texts[line], pt).width(); };
    auto measureHeight = [texts](int line, double pt) { return textSizeTwips(texts[line], pt).height(); };
    m_scroller = std::make_unique<CreditsScroller>(widthTwips, heightTwips, measureWidth, measureHeight);
    m_scroller->place();
    apply();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::CoarseTimer);
    connect(Timer1, &QTimer::timeout, this, &CreditsBox::tick);
    Timer1->start(kTickMs);
}

void CreditsBox::tick()
{
    m_scroller->setOffsetText(Text1->text());
    m_scroller->tick();
    Text1->setText(m_scroller->offsetText());
    apply();
}

void CreditsBox::apply()
{
    // Only labels whose pixel geometry or size changed are touched, so a tick
    // repaints just what moved.
    for (int i = 0; i < CreditsScroller::kLines; ++i) {
        QLabel *label = Label1[i];
        const double pt = m_scroller->pointSize(i);
        if (label->font().pointSizeF() != pt)
            label->setFont(lineFont(pt));
        const QSize size = textSizeTwips(label->text(), pt);
        const QRect geometry(Twips::px(m_scroller->left(i)), Twips::px(m_scroller->top(i)), Twips::px(size.width()),
            Twips::px(size.height()));
        if (label->geometry() != geometry)
            label->setGeometry(geometry);
    }
}

void CreditsBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.drawPixmap(r, m_background, r);
}

void CreditsBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        WebLinks::open(WebLinks::siteRoot());
    QFrame::mousePressEvent(event);
}
