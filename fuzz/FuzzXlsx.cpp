// The .xlsx reader over arbitrary bytes, from the ZIP archive to the worksheets and the import
// of the definitions (see WorkbookChecks.h). Most mutations are made to one part of the
// package, which is then packed again, so that they reach the XML inside the compressed
// entries; the others are made to the file's bytes.
#include "fuzz/FuzzFiles.h"
#include "fuzz/WorkbookChecks.h"

#include <zip.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using TEntries = std::vector<std::pair<std::string, std::string>>; // name, content

// Parts larger than this are left to the mutations of the bytes.
constexpr zip_uint64_t MaxMutatedPart = 1 << 20;
// How much a mutation may grow a part.
constexpr size_t PartGrowth = 256;

std::optional<std::string> ReadEntry(zip_t* archive, zip_uint64_t index, zip_uint64_t size)
{
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file)
        return std::nullopt;
    std::string content(size, '\0');
    const zip_int64_t read = zip_fread(file, content.data(), size);
    zip_fclose(file);
    if (read != static_cast<zip_int64_t>(size))
        return std::nullopt;
    return content;
}

std::optional<TEntries> ReadEntries(const unsigned char* data, size_t size)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return std::nullopt;
    }
    TEntries entries;
    for (zip_int64_t index = 0; index < zip_get_num_entries(archive, 0); ++index) {
        zip_stat_t stat;
        const auto at = static_cast<zip_uint64_t>(index);
        std::optional<std::string> content;
        if (zip_stat_index(archive, at, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && stat.size <= MaxMutatedPart)
            content = ReadEntry(archive, at, stat.size);
        if (!content) {
            zip_discard(archive);
            return std::nullopt;
        }
        entries.emplace_back(stat.name, std::move(*content));
    }
    zip_discard(archive);
    return entries;
}

std::optional<std::string> ReadWholeSource(zip_source_t* source)
{
    zip_stat_t stat;
    if (zip_source_open(source) != 0)
        return std::nullopt;
    std::optional<std::string> bytes;
    if (zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
        bytes.emplace(stat.size, '\0');
        if (zip_source_read(source, bytes->data(), stat.size) != static_cast<zip_int64_t>(stat.size))
            bytes.reset();
    }
    zip_source_close(source);
    return bytes;
}

std::optional<std::string> PackEntries(const TEntries& entries, bool deflate)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = target ? zip_open_from_source(target, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(target);
        return std::nullopt;
    }
    zip_source_keep(target); // for reading after the archive is closed
    bool added = true;
    for (const auto& [name, content] : entries) {
        zip_source_t* part = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = part ? zip_file_add(archive, name.c_str(), part, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            zip_source_free(part);
            added = false;
            break;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    std::optional<std::string> bytes;
    if (added && zip_close(archive) == 0)
        bytes = ReadWholeSource(target);
    else
        zip_discard(archive);
    zip_source_free(target);
    return bytes;
}

} // namespace

extern "C" size_t LLVMFuzzerMutate(unsigned char* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(unsigned char* data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    std::optional<TEntries> entries;
    if (random() % 4 != 0)
        entries = ReadEntries(data, size);
    if (!entries || entries->empty())
        return LLVMFuzzerMutate(data, size, maxSize);

    std::string& part = (*entries)[random() % entries->size()].second;
    const size_t length = part.size();
    part.resize(length + PartGrowth);
    part.resize(LLVMFuzzerMutate(reinterpret_cast<unsigned char*>(part.data()), length, part.size()));
    const std::optional<std::string> packed = PackEntries(*entries, random() % 2 == 0);
    if (!packed || packed->size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, packed->data(), packed->size());
    return packed->size();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString path = FuzzFilePath(QStringLiteral("fuzz.xlsx"));
    WriteFuzzFile(path, QByteArrayView(data, static_cast<qsizetype>(size)));
    CheckWorkbookFile(path);
    return 0;
}
