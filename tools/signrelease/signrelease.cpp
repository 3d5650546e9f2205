// Release signing for Pelorinupdate.
//
//   signrelease keygen PUBLIC PRIVATE   writes a new Ed25519 key pair: PUBLIC
//                                       holds the 64 hexadecimal characters for
//                                       PELORIN_UPDATE_PUBLIC_KEY, PRIVATE the
//                                       secret key (hexadecimal, mode 0600)
//   signrelease sign PRIVATE FILE       writes FILE.sig, the 64-byte signature
//                                       of the whole of FILE

#include <sodium.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: signrelease keygen PUBLIC PRIVATE\n"
        "       signrelease sign PRIVATE FILE\n");
    return 2;
}

int fail(const std::string &what)
{
    std::fprintf(stderr, "signrelease: %s: %s\n", what.c_str(), std::strerror(errno));
    return 1;
}

// Writes \a text to a new file (an existing key is never overwritten).
bool writeNew(const char *path, const std::string &text, mode_t mode)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd < 0)
        return false;
    const bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size()) && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

std::string hex(const unsigned char *data, size_t size)
{
    std::string text(size * 2 + 1, '\0');
    sodium_bin2hex(text.data(), text.size(), data, size);
    text.pop_back();
    return text;
}

int keygen(const char *publicPath, const char *privatePath)
{
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(publicKey, secretKey);
    std::string secret = hex(secretKey, sizeof secretKey) + "\n";
    sodium_memzero(secretKey, sizeof secretKey);
    const bool written = writeNew(privatePath, secret, 0600);
    sodium_memzero(secret.data(), secret.size());
    if (!written)
        return fail(privatePath);
    if (!writeNew(publicPath, hex(publicKey, sizeof publicKey) + "\n", 0644))
        return fail(publicPath);
    return 0;
}

int sign(const char *privatePath, const char *filePath)
{
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    {
        FILE *in = std::fopen(privatePath, "r");
        if (!in)
            return fail(privatePath);
        char text[2 * crypto_sign_SECRETKEYBYTES + 2] = {};
        const size_t n = std::fread(text, 1, sizeof text - 1, in);
        std::fclose(in);
        size_t size = 0;
        const bool ok = sodium_hex2bin(secretKey, sizeof secretKey, text, n, "\r\n", &size, nullptr) == 0
            && size == sizeof secretKey;
        sodium_memzero(text, sizeof text);
        if (!ok) {
            std::fprintf(stderr, "signrelease: %s: not a secret key\n", privatePath);
            return 1;
        }
    }

    const int fd = open(filePath, O_RDONLY);
    if (fd < 0)
        return fail(filePath);
    struct stat info
    {
    };
    if (fstat(fd, &info) != 0)
        return fail(filePath);
    const size_t size = size_t(info.st_size);
    // The whole file as one message, as crypto_sign_verify_detached takes it.
    void *data = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
    close(fd);
    if (data == MAP_FAILED)
        return fail(filePath);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, static_cast<const unsigned char *>(data), size, secretKey);
    sodium_memzero(secretKey, sizeof secretKey);
    if (data)
        munmap(data, size);

    const std::string sigPath = std::string(filePath) + ".sig";
    const std::string temp = sigPath + ".new";
    unlink(temp.c_str());
    if (!writeNew(temp.c_str(), std::string(reinterpret_cast<char *>(signature), sizeof signature), 0644)
        || rename(temp.c_str(), sigPath.c_str()) != 0)
        return fail(sigPath);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (sodium_init() < 0) {
        std::fprintf(stderr, "signrelease: libsodium could not start\n");
        return 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "keygen") == 0)
        return keygen(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "sign") == 0)
        return sign(argv[2], argv[3]);
    return usage();
}
