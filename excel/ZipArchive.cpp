#include "excel/ZipArchive.h"

#include "support/Exception.h"

#include <zip.h>

#include <algorithm>

namespace {

// Entries claiming at most this size are read in one pass; see TZipArchive::Read.
constexpr qint64 MaxOnePassBytes = qint64{16} << 20;
// The pieces an entry is measured in.
constexpr qint64 MeasurePieceBytes = qint64{64} << 10;

struct TZipFileClose
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

zip_t* OpenArchive(const QByteArray& data)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data.constData(), static_cast<zip_uint64_t>(data.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        zip_source_free(source);
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw Exception(QStringLiteral("the file is not a valid ZIP archive (%1)").arg(reason));
    }
    zip_error_fini(&error);
    return archive;
}

} // namespace

void TZipArchive::TDiscard::operator()(zip* archive) const
{
    zip_discard(archive);
}

TZipArchive::TZipArchive(QByteArray data, TZipLimits limits)
    : FData(std::move(data))
    , FLimits(limits)
    , FArchive(OpenArchive(FData))
{
}

TZipArchive::~TZipArchive() = default;

bool TZipArchive::Contains(const QString& name) const
{
    return zip_name_locate(FArchive.get(), name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

TZipArchive::TEntry TZipArchive::Find(const QString& name) const
{
    const zip_int64_t index = zip_name_locate(FArchive.get(), name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        throw Exception(QStringLiteral("%1 is missing").arg(name));
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(FArchive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        throw Exception(QStringLiteral("%1 cannot be read (%2)").arg(name, QString::fromUtf8(zip_strerror(FArchive.get()))));
    const qint64 compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? static_cast<qint64>(std::min<zip_uint64_t>(stat.comp_size, INT64_MAX / FLimits.MaxRatio)) : 0;

    TEntry entry;
    entry.Name = name;
    entry.Index = static_cast<quint64>(index);
    entry.ClaimedSize = (stat.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(std::min<zip_uint64_t>(stat.size, INT64_MAX)) : 0;
    entry.RatioLimit = std::max(FLimits.RatioFloorBytes, compressedSize * FLimits.MaxRatio);
    entry.Limit = std::min(FLimits.MaxTotalBytes - FBytesRead, entry.RatioLimit);
    return entry;
}

void TZipArchive::CheckLimit(const TEntry& entry, qint64 produced) const
{
    if (produced <= entry.Limit)
        return;
    if (entry.RatioLimit < FLimits.MaxTotalBytes - FBytesRead)
        throw Exception(QStringLiteral("%1 decompresses to more than %2 times its compressed size").arg(entry.Name).arg(FLimits.MaxRatio));
    throw Exception(QStringLiteral("%1 takes the decompressed size of the workbook beyond %2 bytes").arg(entry.Name).arg(FLimits.MaxTotalBytes));
}

qint64 TZipArchive::Decompress(const TEntry& entry, char* target, qint64 capacity) const
{
    const std::unique_ptr<zip_file_t, TZipFileClose> file(zip_fopen_index(FArchive.get(), entry.Index, 0));
    if (!file)
        throw Exception(QStringLiteral("%1 cannot be opened (%2)").arg(entry.Name, QString::fromUtf8(zip_strerror(FArchive.get()))));
    // Without a target the content is only measured, a piece at a time.
    std::vector<char> piece(target ? 0 : MeasurePieceBytes);
    qint64 produced = 0;
    for (;;) {
        char* at = target ? target + produced : piece.data();
        const qint64 room = target ? capacity - produced : static_cast<qint64>(piece.size());
        if (room == 0)
            return produced;
        const zip_int64_t count = zip_fread(file.get(), at, static_cast<zip_uint64_t>(room));
        if (count < 0)
            throw Exception(QStringLiteral("%1 is damaged (%2)").arg(entry.Name, QString::fromUtf8(zip_file_strerror(file.get()))));
        if (count == 0)
            return produced;
        produced += count;
        CheckLimit(entry, produced);
    }
}

std::vector<char> TZipArchive::Read(const QString& name)
{
    const TEntry entry = Find(name);
    std::vector<char> content;
    // A small entry is read in one pass into a buffer of the size it claims, with one byte
    // more to show whether there is more to come. Any other entry is measured first and then
    // read into a buffer of its size: a buffer that grew as the content came would hold much
    // of it twice.
    if (entry.ClaimedSize <= MaxOnePassBytes) {
        content.resize(static_cast<size_t>(std::min(entry.ClaimedSize, entry.Limit)) + 1);
        const qint64 produced = Decompress(entry, content.data(), static_cast<qint64>(content.size()));
        content.resize(static_cast<size_t>(produced));
        if (produced <= entry.ClaimedSize) {
            FBytesRead += produced;
            return content;
        }
        content = std::vector<char>();
    }
    const qint64 size = Decompress(entry, nullptr, 0);
    content.resize(static_cast<size_t>(size));
    if (Decompress(entry, content.data(), size) != size)
        throw Exception(QStringLiteral("%1 is damaged (it decompresses to different sizes)").arg(name));
    FBytesRead += size;
    return content;
}
