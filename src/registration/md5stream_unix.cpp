// SPDX-License-Identifier: MIT
// libcrypto's MD5 over the file read a piece at a time, several times faster than a portable one. The
// library is loaded when the first digest is asked for, not as the program starts: the window shows
// without waiting for it. Where it cannot be loaded, Qt's own MD5 does the work. The file is not
// mapped: one that shrinks meanwhile (an update) would end the program with SIGBUS.
#include "registration/md5stream.h"

#include <QCryptographicHash>
#include <QFile>

#include <atomic>
#include <dlfcn.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

namespace tarnwell::Md5Stream {

namespace {

// The few entry points of libcrypto's EVP interface that a digest needs; its types stay opaque.
struct Crypto {
    void *(*newContext)() = nullptr;
    void (*freeContext)(void *) = nullptr;
    const void *(*md5)() = nullptr;
    int (*init)(void *, const void *, void *) = nullptr;
    int (*update)(void *, const void *, size_t) = nullptr;
    int (*final)(void *, unsigned char *, unsigned int *) = nullptr;
    bool ok() const { return newContext && freeContext && md5 && init && update && final; }
};

const Crypto &crypto()
{
    static Crypto loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        void *library = ::dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        const auto find = [library](auto &entry, const char *name) {
            entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(::dlsym(library, name));
        };
        find(loaded.newContext, "EVP_MD_CTX_new");
        find(loaded.freeContext, "EVP_MD_CTX_free");
        find(loaded.md5, "EVP_md5");
        find(loaded.init, "EVP_DigestInit_ex");
        find(loaded.update, "EVP_DigestUpdate");
        find(loaded.final, "EVP_DigestFinal_ex");
    });
    return loaded;
}

// An MD5 in progress: libcrypto's where it is there, else Qt's.
class Hash
{
public:
    Hash()
    {
        const Crypto &lib = crypto();
        if (lib.ok() && (m_context = lib.newContext()) && lib.init(m_context, lib.md5(), nullptr) != 1) {
            lib.freeContext(m_context);
            m_context = nullptr;
        }
        if (!m_context)
            m_portable = std::make_unique<QCryptographicHash>(QCryptographicHash::Md5);
    }
    ~Hash()
    {
        if (m_context)
            crypto().freeContext(m_context);
    }
    Hash(const Hash &) = delete;
    Hash &operator=(const Hash &) = delete;

    void add(const char *data, qint64 size)
    {
        if (m_context)
            crypto().update(m_context, data, size_t(size));
        else
            m_portable->addData(QByteArrayView(data, size));
    }
    QByteArray result()
    {
        if (!m_context)
            return m_portable->result();
        unsigned char digest[16];
        unsigned int length = 0;
        if (crypto().final(m_context, digest, &length) != 1 || length != sizeof digest)
            return {};
        return QByteArray(reinterpret_cast<const char *>(digest), int(length));
    }

private:
    void *m_context = nullptr;
    std::unique_ptr<QCryptographicHash> m_portable;
};

} // namespace

Outcome ofFile(QFile &file, const DigestProgress &progress)
{
    // Read once from start to end: the system then reads further ahead of a file not yet in memory.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    // Pieces large enough that few calls are made, small enough to stay in the processor's cache. A second
    // thread reads the next piece while this one digests the last: copying from the system's cache
    // otherwise adds a tenth to the time.
    constexpr qint64 kChunk = 512 << 10;
    constexpr int kPieces = 3;
    const auto buffers = std::make_unique<char[]>(kChunk * kPieces);
    qint64 sizes[kPieces] = {};
    std::counting_semaphore<kPieces> empty(kPieces);
    std::counting_semaphore<kPieces> full(0);
    std::atomic<bool> stop = false;
    std::thread reader([&] {
        for (int i = 0;; i = (i + 1) % kPieces) {
            empty.acquire();
            const qint64 got = stop ? 0 : file.read(buffers.get() + i * kChunk, kChunk);
            sizes[i] = got;
            full.release();
            if (got <= 0)
                return;
        }
    });
    const qint64 total = file.size();
    Hash hash;
    qint64 done = 0;
    bool failed = false;
    bool cancelled = false;
    for (int i = 0;; i = (i + 1) % kPieces) {
        full.acquire();
        const qint64 got = sizes[i];
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        hash.add(buffers.get() + i * kChunk, got);
        done += got;
        // Given up: the reader stops at the piece this frees.
        cancelled = progress && !progress(done, total);
        stop = cancelled;
        empty.release();
        if (cancelled)
            break;
    }
    reader.join();
    if (failed)
        return {{}, file.errorString()};
    if (cancelled)
        return {{}, {}, true};
    return {hash.result(), {}};
}

QByteArray ofBytes(QByteArrayView bytes)
{
    Hash hash;
    hash.add(bytes.data(), bytes.size());
    return hash.result();
}

} // namespace tarnwell::Md5Stream
