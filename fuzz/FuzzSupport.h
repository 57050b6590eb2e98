#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Unlike Q_ASSERT this holds in every build type, and it aborts, so libFuzzer reports the
// broken invariant as a crash and keeps the input that broke it.
#define LQ_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition))                                                                          \
            lqfuzz::fail(#condition, __FILE__, __LINE__);                                          \
    } while (false)

namespace lqfuzz {

[[noreturn]] inline void fail(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, condition);
    std::abort();
}

// The two texts an input stands for: its bytes read as UTF-16 in the machine's order, which
// reaches every code unit (lone surrogates, NULs, combining marks) in few bytes, and read as
// UTF-8, the way a paste or a file brings text in.
inline std::array<QString, 2> texts(const uint8_t *data, size_t size)
{
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    return {utf16, QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))};
}

} // namespace lqfuzz
