#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

/// Checks a file against its Ed25519 detached signature (64 bytes, made with
/// libsodium's crypto_sign_detached over the whole file) while the file is
/// still arriving: the bytes are hashed on a thread of their own as they are
/// added, so the check costs hardly more than the download itself. The
/// result is what crypto_sign_verify_detached gives for the same bytes,
/// signature and key (canonical S, R and key valid points of the main group).
class SignatureCheck
{
public:
    static constexpr int kSignatureSize = 64;
    static constexpr int kPublicKeySize = 32;

    /// The 32-byte key written as 64 hexadecimal characters; empty when the
    /// text is anything else.
    static QByteArray publicKeyFromHex(QByteArrayView hex);

    /// Starts a check of the bytes to come. A signature or key of the wrong
    /// size makes finish() false.
    SignatureCheck(const QByteArray &publicKey, const QByteArray &signature);
    ~SignatureCheck();
    SignatureCheck(const SignatureCheck &) = delete;
    SignatureCheck &operator=(const SignatureCheck &) = delete;

    /// The next bytes of the file, in order.
    void add(const char *data, qint64 size);

    /// Waits for the hash and tells whether the signature matches every byte
    /// added. Call once.
    bool finish();

private:
    struct Hasher;
    std::unique_ptr<Hasher> m_hasher;
    QByteArray m_publicKey;
    QByteArray m_signature;
    QByteArray m_block;
};
