// Scoring sheet: from the print button to the preview shown with its page
// painted (target < 300 ms), and the sheet written as PDF. Argument:
// [file.pdf] to keep that PDF.

#include "report/ReportPreview.h"
#include "test/sheet/ScoringSheet.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    ScoringSheet sheet;
    sheet.code = QStringLiteral("12");
    sheet.firstName = QStringLiteral("سارا");
    sheet.lastName = QStringLiteral("احمدي");
    sheet.age = QStringLiteral("7");
    sheet.birthDate = QStringLiteral("1394/02/11");
    sheet.education = QStringLiteral("اول دبستان");
    sheet.examiner = QStringLiteral("دکتر رضايي");
    sheet.testDate = QStringLiteral("1401/07/28");
    sheet.clinicAddress = QStringLiteral("تهران، خيابان وليعصر، کوچه نمونه، پلاک ۱۲، طبقه دوم");
    sheet.clinic.summary = QStringLiteral("info@clinic.example\r\nwww.clinic.example\r\n021-5555-1234\r\n");
    sheet.iq = QStringLiteral("104");
    sheet.classification = QStringLiteral("بهنجار يا متوسط Normal");
    sheet.clinicName = QStringLiteral("كلينيك نمونه");
    sheet.clinic.showLogo = true;
    sheet.clinic.logo = QImage(QStringLiteral(PELORIN_CONTENT_DIR "/art/default_logo.png"));
    sheet.answerFormPath = QStringLiteral(PELORIN_CONTENT_DIR "/answer_form.png");
    for (int i = 0; i < 36; ++i)
        sheet.answers[size_t(i)] = i < 33 ? QString::number(i % 7) : QString(); // the last never stored

    QWidget owner;
    owner.show();
    for (int run = 0; run < 4; ++run) {
        QElapsedTimer t;
        t.start();
        ReportPreview *preview = PrintScoringSheet(&owner, sheet);
        while (preview->pageCount() == 0)
            QApplication::processEvents();
        preview->grab(); // the window as it is first painted
        const double shown = t.nsecsElapsed() / 1e6;
        std::printf("scoring sheet preview %s: shown with its page in %.0f ms\n",
            run == 0 ? "(first, cold)" : "(again)", shown);
        preview->close();
        QApplication::processEvents();
    }

    QElapsedTimer t;
    t.start();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    BuildScoringSheet(sheet).writePdf(&pdf);
    std::printf("scoring sheet as PDF: %.0f ms (%.1f MB)\n", t.nsecsElapsed() / 1e6, pdf.size() / 1e6);
    if (argc > 1) {
        QString error;
        if (!BuildScoringSheet(sheet).writePdf(QString::fromLocal8Bit(argv[1]), &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    }
    return 0;
}
