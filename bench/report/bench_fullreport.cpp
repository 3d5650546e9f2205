// Full report of 10,000 examinees: laid out and written as PDF (target < 3 s).
// Arguments: [examinees] [file.pdf] to keep the last PDF.

#include "BenchFolder.h"

#include "data/RecordSource.h"
#include "records/report/FullReport.h"
#include "report/RecordingPaintDevice.h"

#include <QApplication>
#include <QBuffer>

#include <ctime>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int examinees = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    BenchFolder folder(examinees);

    RecordSource Adodc2;
    if (!Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")))
        return 1;
    FullReportClinic clinic;
    clinic.name = QStringLiteral("كلينيك نمونه");
    clinic.address = QStringLiteral("تهران، خيابان نمونه، پلاک ۱۲");
    clinic.values.summary = QStringLiteral("info@clinic.example\r\nwww.clinic.example\r\n021-5555\r\n");
    clinic.values.showLogo = true;
    clinic.values.logo = QImage(QStringLiteral(PELORIN_CONTENT_DIR "/art/default_logo.png"));

    for (int run = 0; run < 3; ++run) {
        // Drawing alone, onto the recording device.
        QElapsedTimer drawn;
        drawn.start();
        const int recorded = int(RecordingPaintDevice::record(BuildFullReport(Adodc2, clinic))->items().size());
        const double drawnMs = msSince(drawn);

        // The target: laid out and written as PDF.
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu0 = std::clock();
        const BandedReport report = BuildFullReport(Adodc2, clinic);
        const double built = msSince(t);
        const int pages = int(report.paginate().size());
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        const bool ok = report.writePdf(&pdf);
        const double total = msSince(t);
        const double cpu = double(std::clock() - cpu0) * 1000 / CLOCKS_PER_SEC;
        std::printf("full report, %d examinees, %d pages: built %.0f ms, laid out and written as PDF %.0f ms "
                    "(%.1f MB, %.0f ms of CPU)%s; painted alone (%d items) %.0f ms\n",
            Adodc2.rowCount(), pages, built, total, pdf.size() / 1e6, cpu, ok ? "" : " FAILED", recorded, drawnMs);
    }
    if (argc > 2) {
        QString error;
        if (!BuildFullReport(Adodc2, clinic).writePdf(QString::fromLocal8Bit(argv[2]), &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    }
    Database::closeAll();
    return 0;
}
