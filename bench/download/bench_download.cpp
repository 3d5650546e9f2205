// 500 MB from a local server: FileDownloader against command-line curl on the
// same file in the same run, the peak memory of the downloading process, and
// what the signature check adds: the updater's whole verified download
// (signature, setup file checked on its way to disk) against the plain
// download, with a check after the download for comparison.
//
//   bench_download            run the comparison and print the figures
//   bench_download --fetch URL DEST
//                             (internal) one download, prints seconds and VmHWM
//   bench_download --verified URL DEST KEY SIGNATURE
//                             (internal) one verified download, prints seconds,
//                             and the seconds crypto_sign_verify_detached takes
//                             over the downloaded file afterwards

#include "updater/FileDownloader.h"
#include "updater/SetupUpdate.h"
#include "updater/SignatureCheck.h"

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
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sodium.h>

#include <cstdio>
#include <cstring>

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
// event loop: every connection gets the file after a 200 head, or its
// signature when the path ends in ".sig".
pid_t startServer(const QByteArray &path, const QByteArray &signaturePath, int *port)
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
    for (int served = 0; served < 5 * kRounds; ++served) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            break;
        char request[4096];
        const ssize_t received = recv(client, request, sizeof request - 1, 0);
        if (received <= 0) {
            close(client);
            continue;
        }
        request[received] = '\0';
        const bool wantsSignature = std::strstr(request, ".sig HTTP/") != nullptr;
        const int file = open(wantsSignature ? signaturePath.constData() : path.constData(), O_RDONLY);
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

// CPU seconds of this process, all threads: a figure that other load on the
// machine does not inflate the way it does wall time.
double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
    std::printf("%d %.3f %ld %ld %ld %.3f\n", ok ? 1 : 0, seconds, before, peakMemoryKb(), events, cpuSeconds());
    return ok ? 0 : 1;
}

double verifyAfterwards(const QString &path, const QByteArray &signature, const QByteArray &publicKey)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qint64 size = file.size();
    const uchar *data = file.map(0, size);
    QElapsedTimer timer;
    timer.start();
    const bool ok = data
        && crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()), data,
               size_t(size), reinterpret_cast<const unsigned char *>(publicKey.constData()))
            == 0;
    return ok ? timer.nsecsElapsed() / 1e9 : -1;
}

int fetchVerified(const QString &url, const QString &destination, const QString &keyHex, const QString &signaturePath)
{
    FileDownloader downloader;
    SetupUpdate update(&downloader);
    const QByteArray publicKey = SignatureCheck::publicKeyFromHex(keyHex.toLatin1());
    update.setPublicKey(publicKey);
    QElapsedTimer timer;
    timer.start();
    const bool ok = update.run(url, destination) == SetupUpdate::Outcome::Ready;
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds();
    QFile signatureFile(signaturePath);
    signatureFile.open(QIODevice::ReadOnly);
    const double afterwards = ok ? verifyAfterwards(destination, signatureFile.readAll(), publicKey) : -1;
    std::printf("%d %.3f %.3f %.3f\n", ok ? 1 : 0, seconds, afterwards, cpu);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--fetch"))
        return fetch(args[2], args[3]);
    if (args.size() == 6 && args[1] == QLatin1String("--verified"))
        return fetchVerified(args[2], args[3], args[4], args[5]);
    if (sodium_init() < 0)
        return 1;

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
    // The release signature, as signrelease makes it.
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, '\0');
    QByteArray secretKey(crypto_sign_SECRETKEYBYTES, '\0');
    crypto_sign_keypair(
        reinterpret_cast<unsigned char *>(publicKey.data()), reinterpret_cast<unsigned char *>(secretKey.data()));
    const QString signaturePath = source + QStringLiteral(".sig");
    {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const uchar *data = file.map(0, file.size());
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, data, size_t(file.size()),
            reinterpret_cast<const unsigned char *>(secretKey.constData()));
        QFile out(signaturePath);
        if (!data || !out.open(QIODevice::WriteOnly))
            return 1;
        out.write(reinterpret_cast<const char *>(signature), sizeof signature);
    }
    int port = 0;
    const pid_t server = startServer(QFile::encodeName(source), QFile::encodeName(signaturePath), &port);
    if (server < 0)
        return 1;
    const QString url = QStringLiteral("http://127.0.0.1:%1/Soft/pelorin/setup-Pelorin.exe").arg(port);
    const QString destination = dir.filePath(QStringLiteral("setup-Pelorin.exe"));

    double bestCurl = 1e9;
    double bestOurs = 1e9;
    double bestVerified = 1e9;
    double bestAfterwards = 1e9;
    double cpuOurs = 1e9;
    double cpuVerified = 1e9;
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
        if (figures.size() != 6 || figures[0] != "1" || QFileInfo(destination).size() != kFileSize) {
            out << "download failed\n";
            return 1;
        }
        bestOurs = std::min(bestOurs, figures[1].toDouble());
        baseline = figures[2].toLong();
        peak = std::max(peak, figures[3].toLong());
        events = figures[4].toLong();
        cpuOurs = std::min(cpuOurs, figures[5].toDouble());
        QFile::remove(destination);

        QProcess verified;
        verified.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--verified"), url, destination, QString::fromLatin1(publicKey.toHex()), signaturePath });
        verified.waitForFinished(-1);
        const QList<QByteArray> checked = verified.readAllStandardOutput().trimmed().split(' ');
        if (checked.size() != 4 || checked[0] != "1" || QFileInfo(destination).size() != kFileSize) {
            out << "verified download failed\n";
            return 1;
        }
        bestVerified = std::min(bestVerified, checked[1].toDouble());
        bestAfterwards = std::min(bestAfterwards, checked[2].toDouble());
        cpuVerified = std::min(cpuVerified, checked[3].toDouble());
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
    out << QStringLiteral(
        "verified download (signature, file checked as it arrives): %1 s  (+%2% over FileDownloader)\n")
               .arg(bestVerified, 0, 'f', 3)
               .arg((bestVerified / bestOurs - 1) * 100, 0, 'f', 1);
    out << QStringLiteral("CPU time (all threads): FileDownloader %1 s, verified download %2 s (+%3%)\n")
               .arg(cpuOurs, 0, 'f', 3)
               .arg(cpuVerified, 0, 'f', 3)
               .arg((cpuVerified / cpuOurs - 1) * 100, 0, 'f', 1);
    out << QStringLiteral("for comparison, crypto_sign_verify_detached after the download: %1 s  (+%2%)\n")
               .arg(bestAfterwards, 0, 'f', 3)
               .arg(bestAfterwards / bestOurs * 100, 0, 'f', 1);
    out << QStringLiteral("progress events: %1\n").arg(events);
    out << QStringLiteral("peak memory (VmHWM) of the downloading process: %1 MB (%2 MB before the download)\n")
               .arg(peak / 1024.0, 0, 'f', 1)
               .arg(baseline / 1024.0, 0, 'f', 1);
    return 0;
}
