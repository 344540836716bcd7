// SPDX-License-Identifier: MIT
// Windows' own MD5 (CNG), over the file read a piece at a time.
#include "registration/md5stream.h"

#include <QFile>

#include <memory>

#include <windows.h>
#include <bcrypt.h>

namespace tarnwell::Md5Stream {

namespace {

// An open MD5 hash object of CNG, closed with its provider.
class Hash
{
public:
    Hash()
    {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
            m_algorithm = nullptr;
            return;
        }
        if (!BCRYPT_SUCCESS(BCryptCreateHash(m_algorithm, &m_hash, nullptr, 0, nullptr, 0, 0)))
            m_hash = nullptr;
    }
    ~Hash()
    {
        if (m_hash)
            BCryptDestroyHash(m_hash);
        if (m_algorithm)
            BCryptCloseAlgorithmProvider(m_algorithm, 0);
    }
    Hash(const Hash &) = delete;
    Hash &operator=(const Hash &) = delete;

    bool ok() const { return m_hash != nullptr; }
    void add(const char *data, qint64 size)
    {
        BCryptHashData(m_hash, reinterpret_cast<PUCHAR>(const_cast<char *>(data)), ULONG(size), 0);
    }
    QByteArray result()
    {
        QByteArray digest(16, Qt::Uninitialized);
        if (!BCRYPT_SUCCESS(BCryptFinishHash(m_hash, reinterpret_cast<PUCHAR>(digest.data()), 16, 0)))
            return {};
        return digest;
    }

private:
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_HASH_HANDLE m_hash = nullptr;
};

} // namespace

Outcome ofFile(QFile &file, const DigestProgress &progress)
{
    Hash hash;
    if (!hash.ok())
        return {{}, QStringLiteral("the system's MD5 is not available")};
    constexpr qint64 kChunk = 128 << 10;
    const auto buffer = std::make_unique<char[]>(kChunk);
    const qint64 total = file.size();
    qint64 done = 0;
    for (;;) {
        const qint64 got = file.read(buffer.get(), kChunk);
        if (got < 0)
            return {{}, file.errorString()};
        if (got == 0)
            break;
        hash.add(buffer.get(), got);
        done += got;
        if (progress && !progress(done, total))
            return {{}, {}, true};
    }
    return {hash.result(), {}};
}

QByteArray ofBytes(QByteArrayView bytes)
{
    Hash hash;
    if (!hash.ok())
        return {};
    hash.add(bytes.data(), bytes.size());
    return hash.result();
}

} // namespace tarnwell::Md5Stream
