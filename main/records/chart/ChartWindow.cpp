#include "records/chart/ChartWindow.h"

#include "common/Dialogs.h"
#include "data/AppInfo.h"
#include "records/chart/ChartWindowTexts.h"
#include "ui/CommonTexts.h"
#include "ui/Fonts.h"
#include "ui/Style.h"
#include "ui/TimedNotice.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace T = ChartWindowTexts;

namespace {

const QColor kBackground(232, 240, 234);

// The page as it prints, drawn to the widget's size.
class ChartPageView : public QWidget
{
public:
    ChartPageView(const IqChartPage &page, QWidget *parent)
        : QWidget(parent)
        , m_page(page)
    {
        setObjectName(QStringLiteral("ChartView"));
        setMinimumSize(480, 300);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        PaintIqChartPage(p, QRectF(rect()).adjusted(12, 10, -12, -8), m_page);
    }

private:
    const IqChartPage &m_page;
};

QString documentsFolder()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return dir.isEmpty() ? QDir::homePath() : dir;
}

} // namespace

ChartWindow::ChartWindow(QWidget *owner, IqChartPage page)
    : QWidget(owner, Qt::Window)
    , m_page(std::move(page))
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FrmChart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(T::title);
    setLayoutDirection(Qt::RightToLeft);
    setFont(Fonts::nazanin(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);
    m_printer->setPageLayout(IqChartPageLayout());
    m_printer->setDocName(T::title);

    ChartView = new ChartPageView(m_page, this);

    const struct
    {
        QPushButton *ChartWindow::*member;
        const char *name;
        const QString &caption;
        void (ChartWindow::*action)();
    } buttons[] = {
        { &ChartWindow::CommandPrint, "CommandPrint", T::print, &ChartWindow::print },
        { &ChartWindow::CommandPdf, "CommandPdf", T::savePdf, &ChartWindow::savePdf },
        { &ChartWindow::CommandPng, "CommandPng", T::savePng, &ChartWindow::savePng },
        { &ChartWindow::CommandClose, "CommandClose", T::close, nullptr },
    };
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    for (const auto &b : buttons) {
        auto *button = new QPushButton(b.caption, this);
        button->setObjectName(QLatin1String(b.name));
        button->setFont(Fonts::nazanin(11, true));
        button->setStyleSheet(Style::pinkButtons(5));
        button->setMinimumSize(120, 36);
        this->*b.member = button;
        if (b.action)
            connect(button, &QPushButton::clicked, this, b.action);
        else
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        if (!b.action)
            row->addStretch();
        row->addWidget(button);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(ChartView, 1);
    layout->addLayout(row);
    resize(960, 640);
}

ChartWindow::~ChartWindow() = default;

ChartWindow *ChartWindow::open(QWidget *owner, IqChartPage page)
{
    auto *window = new ChartWindow(owner, std::move(page));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ChartWindow::print()
{
    QPrintDialog dialog(m_printer.get(), this);
    if (!Dialogs::exec(&dialog, QStringLiteral("print")))
        return;
    if (!RenderIqChart(m_page, m_printer.get()))
        Dialogs::message(this, CommonTexts::errorTitle, T::printFailed, QMessageBox::Ok, Dialogs::Icon::Warning);
}

void ChartWindow::savePdf()
{
    save(T::savePdf, T::pdfName, T::pdfFilter, QStringLiteral("pdf"), &WriteIqChartPdf);
}

void ChartWindow::savePng()
{
    save(T::savePng, T::pngName, T::pngFilter, QStringLiteral("png"), &WriteIqChartPng);
}

void ChartWindow::save(
    const QString &caption, const QString &name, const QString &filter, const QString &suffix, Writer write)
{
    QString path = Dialogs::saveFile(this, caption, QDir(documentsFolder()).filePath(name), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    if (QFileInfo::exists(path)
        && Dialogs::message(this, AppInfo::title(), T::replace, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QString error;
    if (!write(m_page, path, &error)) {
        Dialogs::message(this, CommonTexts::errorTitle, T::saveFailed + QLatin1Char('\n') + error, QMessageBox::Ok,
            Dialogs::Icon::Warning);
        return;
    }
    ShowTimedNotice(this, T::saved);
}
