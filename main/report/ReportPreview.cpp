#include "report/ReportPreview.h"

#include "common/Dialogs.h"
#include "report/ReportPreviewTexts.h"
#include "ui/CommonTexts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

namespace Text = ReportPreviewTexts;

const QString kZoomIn = QStringLiteral("+");
const QString kZoomOut = QStringLiteral("-");
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");

} // namespace

ReportPreview::ReportPreview(QWidget *owner, const BandedReport &report)
    : QWidget(owner, Qt::Window)
    , m_report(report)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(report.title);
    setLayoutDirection(Qt::RightToLeft);
    m_printer->setPageLayout(m_report.pageLayout);
    m_printer->setDocName(report.title);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewBar"));
    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("PreviewView"));
    // The pages themselves are laid out left to right like paper.
    m_view->setLayoutDirection(Qt::LeftToRight);
    m_view->setAccessibleName(Text::pagesName);
    // The pages scroll in an inner view, which takes the focus.
    for (QWidget *inner : m_view->findChildren<QWidget *>())
        if (inner->focusPolicy() != Qt::NoFocus)
            inner->setAccessibleName(Text::pagesName);
    connect(
        m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { m_report.render(printer); });

    QAction *printAction = bar->addAction(Text::print);
    printAction->setObjectName(QStringLiteral("PrintAction"));
    connect(printAction, &QAction::triggered, this, &ReportPreview::print);
    QAction *pdfAction = bar->addAction(Text::savePdf);
    pdfAction->setObjectName(QStringLiteral("SavePdfAction"));
    connect(pdfAction, &QAction::triggered, this, &ReportPreview::saveAsPdf);
    bar->addSeparator();
    connect(bar->addAction(kZoomIn), &QAction::triggered, m_view, [this] { m_view->zoomIn(); });
    connect(bar->addAction(kZoomOut), &QAction::triggered, m_view, [this] { m_view->zoomOut(); });
    connect(bar->addAction(Text::fitWidth), &QAction::triggered, m_view, &QPrintPreviewWidget::fitToWidth);
    connect(bar->addAction(Text::wholePage), &QAction::triggered, m_view, [this] { m_view->fitInView(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view);
}

ReportPreview::~ReportPreview() = default;

ReportPreview *ReportPreview::open(QWidget *owner, const BandedReport &report, const QRect &geometry)
{
    auto *preview = new ReportPreview(owner, report);
    if (geometry.isValid())
        preview->setGeometry(geometry);
    else
        preview->resize(900, 1000);
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

QRect ReportPreview::fittedGeometry(const QSize &wanted, const QRect &available)
{
    // The frame is not known before the window is shown; leave room for an
    // ordinary title bar and border.
    const QMargins frame(8, 34, 8, 8);
    const QRect room = available.marginsRemoved(frame);
    const QSize size = wanted.boundedTo(room.size());
    QRect geometry(QPoint(), size);
    geometry.moveCenter(room.center());
    return geometry;
}

ReportPreview *ReportPreview::openOwnWindow(const BandedReport &report, const QSize &wanted, QScreen *screen)
{
    auto *preview = new ReportPreview(nullptr, report);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        preview->setGeometry(fittedGeometry(wanted, screen->availableGeometry()));
    else
        preview->resize(wanted);
    preview->m_view->fitInView();
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

int ReportPreview::pageCount() const
{
    return m_view->pageCount();
}

void ReportPreview::saveAsPdf()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    const QString proposed = QDir(dir).filePath(
        m_report.title.trimmed().isEmpty() ? QStringLiteral("Pelorin.pdf") : m_report.title + ".pdf");
    QString path = Dialogs::saveFile(this, Text::savePdf, proposed, kPdfFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!m_report.writePdf(path, &error))
        Dialogs::message(this, CommonTexts::errorTitle, error, QMessageBox::Ok, Dialogs::Icon::Warning);
}

void ReportPreview::print()
{
    QPrintDialog dialog(m_printer.get(), this);
    if (Dialogs::exec(&dialog, QStringLiteral("print")))
        m_report.render(m_printer.get());
}
