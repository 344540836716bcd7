// SPDX-License-Identifier: MIT
// libcrypto's MD5 over the file read a piece at a time. The file is not mapped: one that shrinks
// meanwhile (an update) would end the program with SIGBUS.
#include "registration/md5stream.h"

#include <QFile>

#include <openssl/evp.h>

#include <fcntl.h>
#include <memory>

namespace tarnwell::Md5Stream {

namespace {

struct ContextFree {
    void operator()(EVP_MD_CTX *context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

Context started()
{
    Context context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1)
        context.reset();
    return context;
}

QByteArray finished(EVP_MD_CTX *context)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest, &length) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char *>(digest), int(length));
}

// Pieces small enough to stay in the processor's cache between the copy and the digest.
Outcome read(QFile &file, EVP_MD_CTX *context, const DigestProgress &progress)
{
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
        EVP_DigestUpdate(context, buffer.get(), size_t(got));
        done += got;
        if (progress && !progress(done, total))
            return {{}, {}, true};
    }
    return {finished(context), {}};
}

} // namespace

Outcome ofFile(QFile &file, const DigestProgress &progress)
{
    const Context context = started();
    if (!context)
        return {{}, QStringLiteral("the system's MD5 is not available")};
    // Read once from start to end: the system then reads further ahead of a file not yet in memory.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return read(file, context.get(), progress);
}

QByteArray ofBytes(QByteArrayView bytes)
{
    const Context context = started();
    if (!context)
        return {};
    EVP_DigestUpdate(context.get(), bytes.data(), size_t(bytes.size()));
    return finished(context.get());
}

} // namespace tarnwell::Md5Stream
