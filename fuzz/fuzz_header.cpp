// A journal file's first bytes, read as SQLite lays out its header, against what
// parseJournalHeader and checkJournalVersion make of them. The input is the bytes as they
// would start a file; its last bytes give the file's size, whether a log lies beside it,
// the version this program reads and the file's path.

#include "FuzzSupport.h"

#include "core/JournalHeader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

namespace {

quint32 bigEndian(const std::vector<uint8_t> &bytes, size_t offset, size_t width)
{
    quint32 value = 0;
    for (size_t i = 0; i < width; ++i)
        value = value << 8 | bytes[offset + i];
    return value;
}

// A refusal names the file exactly as it was given, whatever characters its path holds.
bool namesThePath(const QString &error, const QString &path)
{
    return error.startsWith(path + u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool hasLog = input.ConsumeBool();
    const qint64 fileSize = input.ConsumeIntegral<qint64>();
    const int supportedVersion = input.ConsumeIntegral<int>();
    const size_t pathLength = input.ConsumeIntegralInRange<size_t>(0, 64);
    std::vector<uint8_t> bytes = input.ConsumeRemainingBytes<uint8_t>();
    const size_t pathStart = bytes.size() - std::min(pathLength, bytes.size());
    const QString path = QString::fromUtf8(reinterpret_cast<const char *>(bytes.data()) + pathStart,
                                           qsizetype(bytes.size() - pathStart));
    bytes.resize(pathStart);

    const auto header = parseJournalHeader(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                           fileSize, hasLog, path);
    static constexpr char magic[] = "SQLite format 3";
    if (bytes.size() < 100 || std::memcmp(bytes.data(), magic, sizeof magic) != 0) {
        LQ_FUZZ_CHECK(!header.ok());
        LQ_FUZZ_CHECK(namesThePath(header.error(), path));
        return 0;
    }

    const quint32 rawPageSize = bigEndian(bytes, 16, 2);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    const qint64 expectedSize = pageSize * bigEndian(bytes, 28, 4);
    const bool headerIsCurrent = bigEndian(bytes, 24, 4) == bigEndian(bytes, 92, 4);
    if (headerIsCurrent && !hasLog && fileSize < expectedSize) {
        LQ_FUZZ_CHECK(!header.ok());
        LQ_FUZZ_CHECK(namesThePath(header.error(), path));
        LQ_FUZZ_CHECK(header.error().contains(QString::number(fileSize)));
        LQ_FUZZ_CHECK(header.error().contains(QString::number(expectedSize)));
        return 0;
    }
    LQ_FUZZ_CHECK(header.ok());
    LQ_FUZZ_CHECK(header->hasLog == hasLog);
    LQ_FUZZ_CHECK(header->isEmpty == (bigEndian(bytes, 40, 4) == 0));
    LQ_FUZZ_CHECK(header->version == int(bigEndian(bytes, 60, 4)));
    LQ_FUZZ_CHECK(header->journalId == int(bigEndian(bytes, 68, 4)));

    const auto usable = checkJournalVersion(*header, supportedVersion, path);
    const bool ours =
        header->journalId == JournalHeader::applicationId && header->version <= supportedVersion;
    LQ_FUZZ_CHECK(usable.ok() == (header->isEmpty || ours));
    if (!usable)
        LQ_FUZZ_CHECK(namesThePath(usable.error(), path));
    return 0;
}
