#pragma once

#include "records/chart/IqChart.h"

#include <QWidget>

#include <memory>

class QPrinter;
class QPushButton;

/// The IQ chart of the listed examinees in a window of its own, which
/// prints it and saves it as PDF or PNG. It deletes itself when closed.
class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    ChartWindow(QWidget *owner, IqChartPage page);
    ~ChartWindow() override;

    /// Opens the window over \a owner (not modal).
    static ChartWindow *open(QWidget *owner, IqChartPage page);

    const IqChartPage &page() const { return m_page; }
    /// The printer the print dialog sets up (kept between prints).
    QPrinter *printer() const { return m_printer.get(); }

    void print(); ///< CommandPrint
    void savePdf(); ///< CommandPdf
    void savePng(); ///< CommandPng

private:
    // The controls keep their names; tests reach them by objectName.
    QWidget *ChartView = nullptr;
    QPushButton *CommandPrint = nullptr;
    QPushButton *CommandPdf = nullptr;
    QPushButton *CommandPng = nullptr;
    QPushButton *CommandClose = nullptr;

    using Writer = bool (*)(const IqChartPage &, const QString &, QString *);
    void save(const QString &caption, const QString &name, const QString &filter, const QString &suffix, Writer write);

    IqChartPage m_page;
    std::unique_ptr<QPrinter> m_printer;
};
