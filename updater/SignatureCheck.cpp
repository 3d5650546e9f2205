#include "updater/SignatureCheck.h"

#include <openssl/evp.h>
#include <sodium.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Blocks handed to the hashing thread; a few of them in flight bound the
// memory whatever the file size.
constexpr qsizetype kBlockSize = 1 << 20;
constexpr size_t kBlocksInFlight = 8;

bool isCanonicalScalar(const unsigned char *s)
{
    unsigned char wide[crypto_core_ed25519_NONREDUCEDSCALARBYTES] = {};
    std::copy(s, s + crypto_core_ed25519_SCALARBYTES, wide);
    unsigned char reduced[crypto_core_ed25519_SCALARBYTES];
    crypto_core_ed25519_scalar_reduce(reduced, wide);
    return sodium_memcmp(reduced, s, crypto_core_ed25519_SCALARBYTES) == 0;
}

} // namespace

// SHA-512 of R || A || file on its own thread (OpenSSL's is about 2.5 times
// libsodium's portable one).
struct SignatureCheck::Hasher
{
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<QByteArray> blocks;
    // Hashed blocks keep their memory for the next ones: a fresh megabyte
    // per block costs page faults worth a third of the hash.
    std::deque<QByteArray> spare;
    bool ended = false;
    bool ok = true;
    std::thread thread;

    Hasher()
    {
        ok = context && EVP_DigestInit_ex(context, EVP_sha512(), nullptr) == 1;
        thread = std::thread([this] { run(); });
    }

    ~Hasher()
    {
        end();
        EVP_MD_CTX_free(context);
    }

    QByteArray takeSpare()
    {
        std::lock_guard lock(mutex);
        if (spare.empty())
            return {};
        QByteArray block = std::move(spare.front());
        spare.pop_front();
        return block;
    }

    void push(QByteArray block)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return blocks.size() < kBlocksInFlight; });
        blocks.push_back(std::move(block));
        changed.notify_all();
    }

    void end()
    {
        {
            std::lock_guard lock(mutex);
            ended = true;
            changed.notify_all();
        }
        if (thread.joinable())
            thread.join();
    }

    void run()
    {
        for (;;) {
            QByteArray block;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return !blocks.empty() || ended; });
                if (blocks.empty())
                    return;
                block = std::move(blocks.front());
                blocks.pop_front();
                changed.notify_all();
            }
            if (ok)
                ok = EVP_DigestUpdate(context, block.constData(), size_t(block.size())) == 1;
            block.resize(0);
            std::lock_guard lock(mutex);
            spare.push_back(std::move(block));
        }
    }
};

QByteArray SignatureCheck::publicKeyFromHex(QByteArrayView hex)
{
    if (hex.size() != 2 * kPublicKeySize)
        return {};
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    return QByteArray::fromHex(hex.toByteArray());
}

SignatureCheck::SignatureCheck(const QByteArray &publicKey, const QByteArray &signature)
    : m_hasher(std::make_unique<Hasher>())
    , m_publicKey(publicKey)
    , m_signature(signature)
{
    static const bool ready = sodium_init() >= 0;
    m_hasher->ok = m_hasher->ok && ready;
    m_block.reserve(kBlockSize);
    // The hash an Ed25519 verifier takes: R, the public key, the message.
    if (m_signature.size() == kSignatureSize && m_publicKey.size() == kPublicKeySize) {
        m_block.append(m_signature.left(32));
        m_block.append(m_publicKey);
    }
}

SignatureCheck::~SignatureCheck() = default;

void SignatureCheck::add(const char *data, qint64 size)
{
    while (size > 0) {
        const qsizetype take = qsizetype(std::min<qint64>(size, kBlockSize - m_block.size()));
        m_block.append(data, take);
        data += take;
        size -= take;
        if (m_block.size() == kBlockSize) {
            m_hasher->push(std::move(m_block));
            m_block = m_hasher->takeSpare();
            m_block.reserve(kBlockSize);
        }
    }
}

bool SignatureCheck::finish()
{
    if (!m_block.isEmpty())
        m_hasher->push(std::move(m_block));
    m_block = QByteArray();
    m_hasher->end();
    if (!m_hasher->ok || m_signature.size() != kSignatureSize || m_publicKey.size() != kPublicKeySize)
        return false;

    unsigned char digest[64];
    unsigned int digestSize = 0;
    if (EVP_DigestFinal_ex(m_hasher->context, digest, &digestSize) != 1 || digestSize != sizeof digest)
        return false;

    const auto *r = reinterpret_cast<const unsigned char *>(m_signature.constData());
    const unsigned char *s = r + 32;
    const auto *a = reinterpret_cast<const unsigned char *>(m_publicKey.constData());
    // The same refusals as libsodium's verifier (non-canonical S, a key or R
    // of small order or off the curve), then S·B − h·A must give R back.
    if (!isCanonicalScalar(s) || !crypto_core_ed25519_is_valid_point(a) || !crypto_core_ed25519_is_valid_point(r))
        return false;
    unsigned char h[crypto_core_ed25519_SCALARBYTES];
    crypto_core_ed25519_scalar_reduce(h, digest);
    unsigned char sB[32];
    unsigned char hA[32];
    unsigned char check[32];
    if (crypto_scalarmult_ed25519_base_noclamp(sB, s) != 0 || crypto_scalarmult_ed25519_noclamp(hA, h, a) != 0
        || crypto_core_ed25519_sub(check, sB, hA) != 0)
        return false;
    return sodium_memcmp(check, r, 32) == 0;
}
