#include "report/BandedReport.h"

#include "data/RecordSource.h"
#include "data/SqlFailure.h"
#include "ui/Fonts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;
constexpr int kRuleWidth = 10; // twips, a hairline on paper

// Fonts in twips, so that they keep their point size once the painter is
// scaled from twips to the device.
QFont elementFont(const ReportElement &e)
{
    QFont f(Fonts::resolve(e.fontFamily));
    f.setPixelSize(qMax(1, qRound(e.pointSize * kTwipsPerPoint)));
    f.setBold(e.bold);
    return f;
}

QTextOption textOption(const ReportElement &e, const QString &text)
{
    Qt::Alignment a = e.alignment;
    if (a & (Qt::AlignLeft | Qt::AlignRight))
        a |= Qt::AlignAbsolute;
    QTextOption opt(a);
    Qt::LayoutDirection dir = e.direction;
    if (dir == Qt::LayoutDirectionAuto)
        dir = text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    opt.setTextDirection(dir);
    opt.setWrapMode(e.wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    return opt;
}

QRectF fitted(const QRect &box, const QSize &picture)
{
    if (picture.isEmpty())
        return QRectF(box);
    QSizeF s = QSizeF(picture).scaled(QSizeF(box.size()), Qt::KeepAspectRatio);
    return QRectF(
        box.x() + (box.width() - s.width()) / 2, box.y() + (box.height() - s.height()) / 2, s.width(), s.height());
}

} // namespace

BandedReport::BandedReport()
    : pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 10, 12, 10), QPageLayout::Millimeter)
{
    const char *names[] = { "Section4", "Section2", "Section1", "Section3", "Section5" };
    for (size_t i = 0; i < m_bands.size(); ++i)
        m_bands[i].name = QString::fromLatin1(names[i]);
}

ReportBand *BandedReport::section(const QString &name)
{
    for (ReportBand &b : m_bands) {
        if (b.name.compare(name, Qt::CaseInsensitive) == 0)
            return &b;
    }
    return nullptr;
}

ReportElement *BandedReport::element(const QString &section, const QString &name)
{
    ReportBand *b = this->section(section);
    return b ? b->element(name) : nullptr;
}

const ReportElement *BandedReport::element(const QString &section, const QString &name) const
{
    return const_cast<BandedReport *>(this)->element(section, name);
}

bool BandedReport::setCaption(const QString &section, const QString &name, const QString &text)
{
    ReportElement *e = element(section, name);
    if (!e)
        return false;
    e->text = text;
    return true;
}

bool BandedReport::setPicture(const QString &section, const QString &name, const QImage &picture)
{
    ReportElement *e = element(section, name);
    if (!e)
        return false;
    e->picture = picture;
    return true;
}

void BandedReport::setDataSource(const RecordSource &source)
{
    m_fields = source.fieldNames();
    m_rows.clear();
    m_rows.reserve(source.rowCount());
    for (int r = 0; r < source.rowCount(); ++r) {
        QStringList values;
        values.reserve(m_fields.size());
        for (int f = 0; f < m_fields.size(); ++f)
            values << source.value(r, f);
        m_rows.append(values);
    }
}

void BandedReport::setRows(const QStringList &fieldNames, const QVector<QStringList> &rows)
{
    m_fields = fieldNames;
    m_rows = rows;
}

QString BandedReport::rowValue(int row, const QString &field) const
{
    if (row < 0 || row >= m_rows.size())
        return QString();
    for (int f = 0; f < m_fields.size(); ++f) {
        if (m_fields[f].compare(field, Qt::CaseInsensitive) == 0)
            return m_rows[row].value(f);
    }
    return QString();
}

int BandedReport::printableHeight() const
{
    return qRound(pageLayout.paintRect(QPageLayout::Point).height() * kTwipsPerPoint);
}

int BandedReport::printableWidth() const
{
    return qRound(pageLayout.paintRect(QPageLayout::Point).width() * kTwipsPerPoint);
}

QVector<BandedReport::Page> BandedReport::paginate() const
{
    const int pageHeight = printableHeight();
    const int headerH = band(Band::PageHeader).height;
    const int detailH = band(Band::Detail).height;
    const int footerH = band(Band::PageFooter).height;
    const int bottom = pageHeight - footerH; // where the page footer starts

    QVector<Page> pages;
    Page page;
    int y = 0;
    auto startPage = [&] {
        page.clear();
        y = 0;
        if (headerH > 0) {
            page.append({ Band::PageHeader, y, -1 });
            y += headerH;
        }
    };
    auto closePage = [&] {
        if (footerH > 0)
            page.append({ Band::PageFooter, bottom, -1 });
        pages.append(page);
    };

    page.clear();
    if (band(Band::ReportHeader).height > 0) {
        page.append({ Band::ReportHeader, 0, -1 });
        y = band(Band::ReportHeader).height;
    }
    if (headerH > 0) {
        page.append({ Band::PageHeader, y, -1 });
        y += headerH;
    }
    for (int r = 0; r < rowCount(); ++r) {
        // A page always takes at least one row, so an oversized band cannot
        // loop forever.
        const bool pageHasRow = !page.isEmpty()
            && std::any_of(page.cbegin(), page.cend(), [](const Placed &p) { return p.band == Band::Detail; });
        if (y + detailH > bottom && pageHasRow) {
            closePage();
            startPage();
        }
        page.append({ Band::Detail, y, r });
        y += detailH;
    }
    const int reportFooterH = band(Band::ReportFooter).height;
    if (reportFooterH > 0) {
        if (y + reportFooterH > bottom || band(Band::ReportFooter).startsPage) {
            closePage();
            startPage();
        }
        page.append({ Band::ReportFooter, y, -1 });
    }
    closePage();
    return pages;
}

void BandedReport::paint(QPainter &painter, const std::function<bool()> &newPage) const
{
    const QPaintDevice *dev = painter.device();
    const qreal sx = dev ? qreal(dev->logicalDpiX()) / kTwipsPerInch : 1.0;
    const qreal sy = dev ? qreal(dev->logicalDpiY()) / kTwipsPerInch : 1.0;

    // Fonts are made once per element, not once per row.
    std::array<QVector<QFont>, 5> fonts;
    for (size_t b = 0; b < m_bands.size(); ++b) {
        for (const ReportElement &e : m_bands[b].elements)
            fonts[b].append(elementFont(e));
    }
    // Column values repeat a lot (dates, ages, scores): each width is measured once.
    std::array<QVector<QHash<QString, qreal>>, 5> widths;
    std::array<QVector<QFontMetricsF>, 5> metrics;
    for (size_t b = 0; b < m_bands.size(); ++b) {
        widths[b].resize(m_bands[b].elements.size());
        for (const QFont &f : fonts[b])
            metrics[b].append(QFontMetricsF(f));
    }
    QPen rulePen(Qt::black, kRuleWidth);
    rulePen.setCapStyle(Qt::FlatCap);

    const QVector<Page> pages = paginate();
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0 && !newPage())
            return;
        painter.save();
        painter.scale(sx, sy);
        for (const Placed &placed : pages[p]) {
            const ReportBand &b = band(placed.band);
            const QVector<QFont> &bandFonts = fonts[size_t(placed.band)];
            painter.save();
            painter.translate(0, placed.top);
            for (int i = 0; i < b.elements.size(); ++i) {
                const ReportElement &e = b.elements[i];
                switch (e.kind) {
                case ReportElement::Kind::Label:
                case ReportElement::Kind::Field: {
                    QString text = e.kind == ReportElement::Kind::Label ? e.text : rowValue(placed.row, e.field);
                    if (e.kind == ReportElement::Kind::Field && e.format)
                        text = e.format(text, placed.row);
                    if (text.trimmed().isEmpty())
                        break;
                    // Multi-line texts come with CR LF line ends.
                    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
                    if (!e.wrap && text.size() > 1) {
                        // A one-line text wider than its box is set smaller
                        // rather than run over the rules beside it.
                        QHash<QString, qreal> &known = widths[size_t(placed.band)][i];
                        auto hit = known.constFind(text);
                        if (hit == known.constEnd())
                            hit = known.insert(text, metrics[size_t(placed.band)][i].horizontalAdvance(text));
                        const qreal wide = *hit;
                        if (wide > e.rect.width()) {
                            QFont smaller = bandFonts[i];
                            smaller.setPixelSize(qMax(1, int(smaller.pixelSize() * e.rect.width() / wide)));
                            painter.setFont(smaller);
                        } else {
                            painter.setFont(bandFonts[i]);
                        }
                    } else {
                        painter.setFont(bandFonts[i]);
                    }
                    painter.setPen(Qt::black);
                    painter.drawText(QRectF(e.rect), text, textOption(e, text));
                    break;
                }
                case ReportElement::Kind::Picture:
                    if (!e.picture.isNull())
                        painter.drawImage(fitted(e.rect, e.picture.size()), e.picture);
                    break;
                case ReportElement::Kind::Drawing:
                    if (e.draw) {
                        painter.save();
                        e.draw(painter, QRectF(e.rect));
                        painter.restore();
                    }
                    break;
                case ReportElement::Kind::HorizontalRule:
                    painter.setPen(rulePen);
                    painter.drawLine(QLineF(e.rect.left(), e.rect.top(), e.rect.left() + e.rect.width(), e.rect.top()));
                    break;
                case ReportElement::Kind::VerticalRule:
                    painter.setPen(rulePen);
                    painter.drawLine(
                        QLineF(e.rect.left(), e.rect.top(), e.rect.left(), e.rect.top() + e.rect.height()));
                    break;
                }
            }
            painter.restore();
        }
        painter.restore();
    }
}

bool BandedReport::render(QPagedPaintDevice *device) const
{
    if (!device)
        return false;
    device->setPageLayout(pageLayout);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    paint(painter, [device] { return device->newPage(); });
    return painter.end();
}

bool BandedReport::writePdf(QIODevice *out) const
{
    QPdfWriter writer(out);
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Pelorin"));
    return render(&writer);
}

bool BandedReport::writePdf(const QString &path, QString *error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    const bool ok = writePdf(&file);
    file.close();
    if (!ok || file.error() != QFileDevice::NoError) {
        if (error)
            *error = FileFailureText(file);
        return false;
    }
    return true;
}
