#include "excel/ZipArchive.h"

#include "support/Exception.h"

#include <zip.h>

#include <algorithm>

namespace {

// The first buffer for an entry is sized by its claimed size, but never beyond this.
constexpr qint64 MaxInitialBufferBytes = qint64{16} << 20;

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

std::vector<char> TZipArchive::Read(const QString& name)
{
    const zip_int64_t index = zip_name_locate(FArchive.get(), name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        throw Exception(QStringLiteral("%1 is missing").arg(name));
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(FArchive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        throw Exception(QStringLiteral("%1 cannot be read (%2)").arg(name, QString::fromUtf8(zip_strerror(FArchive.get()))));
    const qint64 compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? static_cast<qint64>(std::min<zip_uint64_t>(stat.comp_size, INT64_MAX / FLimits.MaxRatio)) : 0;
    const qint64 claimedSize = (stat.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(std::min<zip_uint64_t>(stat.size, INT64_MAX)) : 0;

    const qint64 totalLeft = FLimits.MaxTotalBytes - FBytesRead;
    const qint64 ratioLimit = std::max(FLimits.RatioFloorBytes, compressedSize * FLimits.MaxRatio);
    const qint64 limit = std::min(totalLeft, ratioLimit);

    const std::unique_ptr<zip_file_t, TZipFileClose> file(zip_fopen_index(FArchive.get(), static_cast<zip_uint64_t>(index), 0));
    if (!file)
        throw Exception(QStringLiteral("%1 cannot be opened (%2)").arg(name, QString::fromUtf8(zip_strerror(FArchive.get()))));

    // One byte more than expected, so that a full buffer shows there is more to come.
    std::vector<char> content(static_cast<size_t>(std::min({claimedSize, limit, MaxInitialBufferBytes})) + 1);
    qint64 used = 0;
    for (;;) {
        if (used == static_cast<qint64>(content.size()))
            content.resize(static_cast<size_t>(std::min(used * 2, limit + 1)));
        const zip_int64_t count = zip_fread(file.get(), content.data() + used, content.size() - static_cast<size_t>(used));
        if (count < 0)
            throw Exception(QStringLiteral("%1 is damaged (%2)").arg(name, QString::fromUtf8(zip_file_strerror(file.get()))));
        if (count == 0)
            break;
        used += count;
        if (used > limit && ratioLimit < totalLeft)
            throw Exception(QStringLiteral("%1 decompresses to more than %2 times its compressed size").arg(name).arg(FLimits.MaxRatio));
        if (used > limit)
            throw Exception(QStringLiteral("%1 takes the decompressed size of the workbook beyond %2 bytes").arg(name).arg(FLimits.MaxTotalBytes));
    }
    content.resize(static_cast<size_t>(used));
    FBytesRead += used;
    return content;
}
