#pragma once

#include "excel/Limits.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

struct zip;

// Decompression bounds for the entries read from one archive.
struct TZipLimits
{
    qint64 MaxTotalBytes = ExcelLimits::MaxTotalDecompressedBytes;
    qint64 MaxRatio = ExcelLimits::MaxCompressionRatio;
    qint64 RatioFloorBytes = ExcelLimits::CompressionRatioFloorBytes;
};

// A ZIP archive held in memory, read entry by entry. All entries read count towards one
// total decompressed size, and an entry may not decompress far beyond its compressed size.
// Both are checked against the bytes really produced, not the sizes the archive claims.
// Failures are Exceptions carrying just the problem.
class TZipArchive
{
public:
    explicit TZipArchive(QByteArray data, TZipLimits limits = {});
    ~TZipArchive();
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    // Entry names are compared without regard to letter case, as part names of a package are.
    bool Contains(const QString& name) const;
    // The decompressed content of an entry.
    std::vector<char> Read(const QString& name);

private:
    struct TDiscard
    {
        void operator()(zip* archive) const;
    };
    struct TEntry
    {
        QString Name;
        quint64 Index = 0;
        qint64 ClaimedSize = 0; // by the archive, untrusted
        qint64 RatioLimit = 0;  // the most it may decompress to by its compressed size
        qint64 Limit = 0;       // the most it may decompress to, the total included
    };

    TEntry Find(const QString& name) const;
    // Raises the error of an entry that has decompressed to more than its limit.
    void CheckLimit(const TEntry& entry, qint64 produced) const;
    // Decompresses the entry into target until capacity bytes are there or the entry ends,
    // or only counts its bytes when target is null; returns the bytes produced.
    qint64 Decompress(const TEntry& entry, char* target, qint64 capacity) const;

    QByteArray FData; // the archive reads from this buffer
    TZipLimits FLimits;
    std::unique_ptr<zip, TDiscard> FArchive;
    qint64 FBytesRead = 0;
};
