// 500 MB from a local server: FileDownloader against command-line curl on the
// same file in the same run, and the peak memory of the downloading process.
//
//   bench_download            run the comparison and print the figures
//   bench_download --fetch URL DEST
//                             (internal) one download, prints seconds and VmHWM

#include "updater/FileDownloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr qint64 kFileSize = 500LL * 1000 * 1000;
constexpr int kRounds = 3;

long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// A plain server in its own process, so it does not share the downloader's
// event loop: every connection gets the file after a 200 head.
pid_t startServer(const QByteArray &path, int *port)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(listener, 8) != 0)
        return -1;
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    *port = ntohs(address.sin_port);

    const pid_t pid = fork();
    if (pid != 0) {
        close(listener);
        return pid;
    }
    for (int served = 0; served < 4 * kRounds; ++served) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            break;
        char request[4096];
        if (recv(client, request, sizeof request, 0) <= 0) {
            close(client);
            continue;
        }
        const int file = open(path.constData(), O_RDONLY);
        struct stat info
        {
        };
        fstat(file, &info);
        const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(qint64(info.st_size))
            + "\r\nConnection: close\r\n\r\n";
        if (send(client, head.constData(), size_t(head.size()), 0) == head.size()) {
            off_t offset = 0;
            while (offset < info.st_size && sendfile(client, file, &offset, size_t(info.st_size - offset)) > 0) { }
        }
        close(file);
        close(client);
    }
    _exit(0);
}

int fetch(const QString &url, const QString &destination)
{
    FileDownloader downloader;
    long events = 0;
    QObject::connect(&downloader, &FileDownloader::DownloadProgress, [&events] { ++events; });
    const long before = peakMemoryKb();
    QElapsedTimer timer;
    timer.start();
    const bool ok = downloader.DownloadFile(url, destination);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%d %.3f %ld %ld %ld\n", ok ? 1 : 0, seconds, before, peakMemoryKb(), events);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--fetch"))
        return fetch(args[2], args[3]);

    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.bin"));
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < block.size(); ++i)
            block[i] = char(i * 131 % 251);
        for (qint64 written = 0; written < kFileSize; written += block.size())
            file.write(block.constData(), std::min<qint64>(block.size(), kFileSize - written));
    }
    int port = 0;
    const pid_t server = startServer(QFile::encodeName(source), &port);
    if (server < 0)
        return 1;
    const QString url = QStringLiteral("http://127.0.0.1:%1/Soft/pelorin/setup-Pelorin.exe").arg(port);
    const QString destination = dir.filePath(QStringLiteral("setup-Pelorin.exe"));

    double bestCurl = 1e9;
    double bestOurs = 1e9;
    long peak = 0;
    long baseline = 0;
    long events = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(QStringLiteral("curl"), { QStringLiteral("-s"), QStringLiteral("-o"), destination, url })
            != 0) {
            out << "curl failed\n";
            return 1;
        }
        bestCurl = std::min(bestCurl, timer.nsecsElapsed() / 1e9);
        QFile::remove(destination);

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--fetch"), url, destination });
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 5 || figures[0] != "1" || QFileInfo(destination).size() != kFileSize) {
            out << "download failed\n";
            return 1;
        }
        bestOurs = std::min(bestOurs, figures[1].toDouble());
        baseline = figures[2].toLong();
        peak = std::max(peak, figures[3].toLong());
        events = figures[4].toLong();
        QFile::remove(destination);
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);

    const double mb = kFileSize / 1e6;
    out << QStringLiteral("file: %1 MB, best of %2 rounds\n").arg(mb).arg(kRounds);
    out << QStringLiteral("curl -o:        %1 s  %2 MB/s\n").arg(bestCurl, 0, 'f', 3).arg(mb / bestCurl, 0, 'f', 0);
    out << QStringLiteral("FileDownloader: %1 s  %2 MB/s  (%3 of curl's throughput)\n")
               .arg(bestOurs, 0, 'f', 3)
               .arg(mb / bestOurs, 0, 'f', 0)
               .arg(bestCurl / bestOurs, 0, 'f', 2);
    out << QStringLiteral("progress events: %1\n").arg(events);
    out << QStringLiteral("peak memory (VmHWM) of the downloading process: %1 MB (%2 MB before the download)\n")
               .arg(peak / 1024.0, 0, 'f', 1)
               .arg(baseline / 1024.0, 0, 'f', 1);
    return 0;
}
