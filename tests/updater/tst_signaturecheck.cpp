#include "updater/SignatureCheck.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sodium.h>

namespace {

struct KeyPair
{
    QByteArray publicKey;
    QByteArray secretKey;
};

KeyPair makeKeys()
{
    KeyPair keys { QByteArray(crypto_sign_PUBLICKEYBYTES, '\0'), QByteArray(crypto_sign_SECRETKEYBYTES, '\0') };
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(keys.publicKey.data()),
        reinterpret_cast<unsigned char *>(keys.secretKey.data()));
    return keys;
}

QByteArray sign(const QByteArray &message, const QByteArray &secretKey)
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
        reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()),
        reinterpret_cast<const unsigned char *>(secretKey.constData()));
    return signature;
}

bool libsodiumVerifies(const QByteArray &message, const QByteArray &signature, const QByteArray &publicKey)
{
    return signature.size() == crypto_sign_BYTES && publicKey.size() == crypto_sign_PUBLICKEYBYTES
        && crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
               reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()),
               reinterpret_cast<const unsigned char *>(publicKey.constData()))
        == 0;
}

bool streamedVerifies(const QByteArray &message, const QByteArray &signature, const QByteArray &publicKey, int piece)
{
    SignatureCheck check(publicKey, signature);
    for (qsizetype at = 0; at < message.size(); at += piece)
        check.add(message.constData() + at, std::min<qint64>(piece, message.size() - at));
    return check.finish();
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes[at] ^ 0x01);
    return bytes;
}

// S + L: the same scalar written in a form the verifier must refuse.
QByteArray withNonCanonicalS(QByteArray signature)
{
    static const unsigned char l[32] = { 0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7, 0xa2, 0xde,
        0xf9, 0xde, 0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10 };
    unsigned carry = 0;
    for (int i = 0; i < 32; ++i) {
        const unsigned sum = unsigned(static_cast<unsigned char>(signature[32 + i])) + l[i] + carry;
        signature[32 + i] = char(sum & 0xff);
        carry = sum >> 8;
    }
    return signature;
}

QByteArray messageOf(qsizetype size)
{
    QByteArray message(size, Qt::Uninitialized);
    randombytes_buf(message.data(), size_t(message.size()));
    return message;
}

} // namespace

class TestSignatureCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreesWithLibsodium_data();
    void agreesWithLibsodium();
    void publicKeyFromHex_data();
    void publicKeyFromHex();
    void signreleaseSignsWhatTheUpdaterAccepts();
    void signreleaseKeepsAnExistingKey();
};

void TestSignatureCheck::initTestCase()
{
    QVERIFY(sodium_init() >= 0);
}

void TestSignatureCheck::agreesWithLibsodium_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("publicKey");
    QTest::addColumn<int>("piece");
    QTest::addColumn<bool>("valid");

    const KeyPair keys = makeKeys();
    const KeyPair other = makeKeys();
    const QByteArray message = messageOf(3 * (1 << 20) + 12345); // across the hashing blocks
    const QByteArray good = sign(message, keys.secretKey);
    const QByteArray empty;

    QTest::newRow("signed file") << message << good << keys.publicKey << 1024 << true;
    QTest::newRow("signed file, odd pieces") << message << good << keys.publicKey << 777777 << true;
    QTest::newRow("signed file, one piece") << message << good << keys.publicKey << int(message.size()) << true;
    QTest::newRow("empty file") << empty << sign(empty, keys.secretKey) << keys.publicKey << 1024 << true;
    QTest::newRow("one byte") << QByteArray("x") << sign("x", keys.secretKey) << keys.publicKey << 1 << true;
    QTest::newRow("first byte changed") << flipped(message, 0) << good << keys.publicKey << 1024 << false;
    QTest::newRow("last byte changed") << flipped(message, message.size() - 1) << good << keys.publicKey << 1024
                                       << false;
    QTest::newRow("one byte more") << message + 'x' << good << keys.publicKey << 1024 << false;
    QTest::newRow("one byte less") << message.chopped(1) << good << keys.publicKey << 1024 << false;
    QTest::newRow("other key") << message << good << other.publicKey << 1024 << false;
    QTest::newRow("signed with the other key")
        << message << sign(message, other.secretKey) << keys.publicKey << 1024 << false;
    QTest::newRow("R changed") << message << flipped(good, 3) << keys.publicKey << 1024 << false;
    QTest::newRow("S changed") << message << flipped(good, 40) << keys.publicKey << 1024 << false;
    QTest::newRow("S not canonical") << message << withNonCanonicalS(good) << keys.publicKey << 1024 << false;
    QTest::newRow("all-zero signature") << message << QByteArray(64, '\0') << keys.publicKey << 1024 << false;
    QTest::newRow("key of small order") << message << good << QByteArray(32, '\0') << 1024 << false;
    QTest::newRow("short signature") << message << good.left(10) << keys.publicKey << 1024 << false;
    QTest::newRow("long signature") << message << good + 'x' << keys.publicKey << 1024 << false;
    QTest::newRow("short key") << message << good << keys.publicKey.left(31) << 1024 << false;
}

void TestSignatureCheck::agreesWithLibsodium()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, publicKey);
    QFETCH(int, piece);
    QFETCH(bool, valid);
    QCOMPARE(libsodiumVerifies(message, signature, publicKey), valid);
    QCOMPARE(streamedVerifies(message, signature, publicKey, piece), valid);
}

void TestSignatureCheck::publicKeyFromHex_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QByteArray>("key");
    const QByteArray key = QByteArray::fromHex("00ff10ab" + QByteArray(56, '7'));
    QTest::newRow("64 hex digits") << QByteArray("00ff10ab" + QByteArray(56, '7')) << key;
    QTest::newRow("capitals") << QByteArray("00FF10AB" + QByteArray(56, '7')) << key;
    QTest::newRow("63 digits") << QByteArray(63, 'a') << QByteArray();
    QTest::newRow("65 digits") << QByteArray(65, 'a') << QByteArray();
    QTest::newRow("not hex") << QByteArray("zz" + QByteArray(62, 'a')) << QByteArray();
    QTest::newRow("blank inside") << QByteArray("a " + QByteArray(62, 'a')) << QByteArray();
}

void TestSignatureCheck::publicKeyFromHex()
{
    QFETCH(QByteArray, hex);
    QFETCH(QByteArray, key);
    QCOMPARE(SignatureCheck::publicKeyFromHex(hex), key);
}

void TestSignatureCheck::signreleaseSignsWhatTheUpdaterAccepts()
{
    QTemporaryDir dir;
    const QString tool = QStringLiteral(PELORIN_BINARY_DIR "/tools/signrelease/signrelease");
    const QString publicPath = dir.filePath(QStringLiteral("release.pub"));
    const QString privatePath = dir.filePath(QStringLiteral("release.key"));
    QCOMPARE(QProcess::execute(tool, { QStringLiteral("keygen"), publicPath, privatePath }), 0);
    QVERIFY(!(QFile::permissions(privatePath) & (QFileDevice::ReadOther | QFileDevice::ReadGroup)));

    QFile publicFile(publicPath);
    QVERIFY(publicFile.open(QIODevice::ReadOnly));
    const QByteArray publicHex = publicFile.readAll().trimmed();
    const QByteArray publicKey = SignatureCheck::publicKeyFromHex(publicHex);
    QCOMPARE(publicKey.size(), 32);

    const QString setup = dir.filePath(QStringLiteral("setup-Pelorin.exe"));
    const QByteArray contents = messageOf(200000);
    QFile file(setup);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    QCOMPARE(QProcess::execute(tool, { QStringLiteral("sign"), privatePath, setup }), 0);

    QFile signatureFile(setup + QStringLiteral(".sig"));
    QVERIFY(signatureFile.open(QIODevice::ReadOnly));
    const QByteArray signature = signatureFile.readAll();
    QCOMPARE(signature.size(), 64);
    QVERIFY(libsodiumVerifies(contents, signature, publicKey));
    QVERIFY(streamedVerifies(contents, signature, publicKey, 1024));
    QVERIFY(!streamedVerifies(flipped(contents, 1000), signature, publicKey, 1024));
}

void TestSignatureCheck::signreleaseKeepsAnExistingKey()
{
    QTemporaryDir dir;
    const QString tool = QStringLiteral(PELORIN_BINARY_DIR "/tools/signrelease/signrelease");
    const QString privatePath = dir.filePath(QStringLiteral("release.key"));
    QFile existing(privatePath);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    QProcess run;
    run.start(tool, { QStringLiteral("keygen"), dir.filePath(QStringLiteral("release.pub")), privatePath });
    QVERIFY(run.waitForFinished());
    QCOMPARE(run.exitCode(), 1);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("keep me"));
    // Signing with something that is not a key writes no signature.
    const QString setup = dir.filePath(QStringLiteral("setup-Pelorin.exe"));
    QFile file(setup);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    QCOMPARE(QProcess::execute(tool, { QStringLiteral("sign"), privatePath, setup }), 1);
    QVERIFY(!QFile::exists(setup + QStringLiteral(".sig")));
}

QTEST_GUILESS_MAIN(TestSignatureCheck)
#include "tst_signaturecheck.moc"
