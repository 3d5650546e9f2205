// Loading the shipped content: the loader decodes every picture to its last
// row. Anchor: reading only the pictures' headers, as a check that trusts
// them would, in the same run.

#include "test/content/ContentPack.h"
#include "test/content/PackCheck.h"
#include "test/content/TestContent.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = QStringLiteral(PELORIN_CONTENT_DIR);
    std::vector<double> headers, loads, checks;
    QElapsedTimer t;
    for (int round = 0; round < 5; ++round) {
        t.start();
        int read = 0;
        QDirIterator it(dir, { QStringLiteral("*.png") }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            read += QImageReader(it.next()).size().isValid() ? 1 : 0;
        headers.push_back(t.nsecsElapsed() / 1e6);
        if (read == 0)
            qFatal("no pictures in %s", qPrintable(dir));

        t.restart();
        TestContent content;
        QString error;
        if (!content.load(dir, &error))
            qFatal("%s", qPrintable(error));
        loads.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        ContentPack pack;
        if (!pack.loadFolder(dir, &error))
            qFatal("%s", qPrintable(error));
        PackCheck::check(pack, PackCheck::Fields::Optional);
        checks.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("content load: first (every picture decoded) %.0f ms, again (pictures unchanged) median %.1f ms; "
                "anchor: headers only %.1f ms; "
                "whole pack check %.0f ms\n",
        loads.front(), median(loads), median(headers), median(checks));
    return 0;
}
