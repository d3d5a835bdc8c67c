#include "excel/CompoundFile.h"

#include "support/Exception.h"

#include <QtEndian>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr quint32 LastRegularSector = 0xFFFFFFFA;
constexpr qsizetype HeaderBytes = 512;
constexpr qsizetype HeaderFatSectors = 109; // the first FAT sector numbers stand in the header
constexpr qsizetype DirectoryEntryBytes = 128;
constexpr qsizetype MaxNameBytes = 64;
constexpr quint8 StreamEntry = 2; // the object type of a directory entry

Exception Damaged(const QString& what)
{
    return Exception(QStringLiteral("the OLE2 container is damaged (%1)").arg(what));
}

quint32 U32(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 4 > data.size())
        throw Damaged(QStringLiteral("a structure lies beyond its end"));
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 U16(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 2 > data.size())
        throw Damaged(QStringLiteral("a structure lies beyond its end"));
    return qFromLittleEndian<quint16>(data.constData() + at);
}

// Where a stream starts and how long it is, as a directory entry says (the low 32 bits of
// the size: a workbook stream is never larger).
struct TStreamPlace
{
    quint32 Start;
    quint32 Size;
};

// Whether the last sector of a stream may be cut short by the end of the file.
enum class TLastSector { MayBeShort, MustBeWhole };

class TCompoundFile
{
public:
    explicit TCompoundFile(const QByteArray& file);
    QByteArray WorkbookStream();

private:
    void ReadFat();
    std::vector<quint32> Chain(const std::vector<quint32>& table, quint32 start) const;
    QByteArray ReadStream(quint32 start, quint64 size, TLastSector last = TLastSector::MayBeShort) const;
    QByteArray ReadMiniStream(quint32 start, quint64 size) const;
    void LoadMiniStream(const TStreamPlace& root);
    std::vector<quint32> ReadTable(quint32 start) const;
    qsizetype SectorOffset(quint32 sector) const;
    QString EntryName(qsizetype entry) const;

    const QByteArray& FFile;
    int FSectorShift = 0;
    int FMiniSectorShift = 0;
    quint32 FMiniStreamCutoff = 0;
    std::vector<quint32> FFat;
    std::vector<quint32> FMiniFat;
    QByteArray FDirectory;
    QByteArray FMiniStream;
};

TCompoundFile::TCompoundFile(const QByteArray& file)
    : FFile(file)
{
    if (file.size() < HeaderBytes)
        throw Damaged(QStringLiteral("the header is cut off"));
    if (U16(file, 0x1C) != 0xFFFE)
        throw Damaged(QStringLiteral("unknown byte order"));
    FSectorShift = U16(file, 0x1E);
    FMiniSectorShift = U16(file, 0x20);
    // Without a mini FAT no stream can lie in the mini stream, however small; one no larger
    // than the cutoff does.
    FMiniStreamCutoff = U32(file, 0x40) > 0 ? U32(file, 0x38) : 0;
    if ((FSectorShift != 9 && FSectorShift != 12) || FMiniSectorShift != 6)
        throw Damaged(QStringLiteral("unknown sector size"));
    ReadFat();
    FDirectory = ReadStream(U32(file, 0x30), std::numeric_limits<quint64>::max());
    FMiniFat = ReadTable(U32(file, 0x3C));
}

// The FAT sectors are listed in the header, then in a chain of DIFAT sectors.
void TCompoundFile::ReadFat()
{
    // No file needs more FAT sectors than it has sectors; a larger count would only let the
    // table outgrow the file.
    const qsizetype sectorCount = FFile.size() >> FSectorShift;
    const size_t fatSectorCount = std::min<size_t>(U32(FFile, 0x2C), static_cast<size_t>(sectorCount));
    const qsizetype entriesPerSector = qsizetype{1} << (FSectorShift - 2);
    std::vector<quint32> fatSectors;
    for (qsizetype i = 0; i < HeaderFatSectors && fatSectors.size() < fatSectorCount; ++i)
        fatSectors.push_back(U32(FFile, 0x4C + 4 * i));
    quint32 difat = U32(FFile, 0x44);
    for (qsizetype hops = 0; fatSectors.size() < fatSectorCount && difat <= LastRegularSector; ++hops) {
        if (hops > sectorCount)
            throw Damaged(QStringLiteral("the DIFAT chain loops"));
        const qsizetype at = SectorOffset(difat);
        for (qsizetype i = 0; i < entriesPerSector - 1 && fatSectors.size() < fatSectorCount; ++i)
            fatSectors.push_back(U32(FFile, at + 4 * i));
        difat = U32(FFile, at + 4 * (entriesPerSector - 1));
    }
    for (const quint32 sector : fatSectors) {
        if (sector > LastRegularSector)
            break;
        const qsizetype at = SectorOffset(sector);
        for (qsizetype i = 0; i < entriesPerSector; ++i)
            FFat.push_back(at + 4 * i + 4 <= FFile.size() ? U32(FFile, at + 4 * i) : FreeSector);
    }
}

qsizetype TCompoundFile::SectorOffset(quint32 sector) const
{
    const qsizetype at = (static_cast<qsizetype>(sector) + 1) << FSectorShift;
    if (sector > LastRegularSector || at >= FFile.size())
        throw Damaged(QStringLiteral("sector %1 lies beyond the end of the file").arg(sector));
    return at;
}

std::vector<quint32> TCompoundFile::Chain(const std::vector<quint32>& table, quint32 start) const
{
    std::vector<quint32> chain;
    for (quint32 sector = start; sector != EndOfChain;) {
        if (sector >= table.size())
            throw Damaged(QStringLiteral("a sector chain leads nowhere"));
        if (chain.size() >= table.size())
            throw Damaged(QStringLiteral("a sector chain loops"));
        chain.push_back(sector);
        sector = table[sector];
    }
    return chain;
}

// A stream in the regular sectors; a short last sector of the file counts as far as it goes,
// unless it must be whole.
QByteArray TCompoundFile::ReadStream(quint32 start, quint64 size, TLastSector last) const
{
    QByteArray content;
    if (start == EndOfChain || size == 0)
        return content;
    content.reserve(static_cast<qsizetype>(std::min<quint64>(size, static_cast<quint64>(FFile.size()))));
    const qsizetype sectorBytes = qsizetype{1} << FSectorShift;
    for (const quint32 sector : Chain(FFat, start)) {
        const qsizetype at = SectorOffset(sector);
        if (last == TLastSector::MustBeWhole && at + sectorBytes > FFile.size())
            throw Damaged(QStringLiteral("sector %1 is cut short by the end of the file").arg(sector));
        content.append(FFile.constData() + at, std::min(sectorBytes, FFile.size() - at));
        if (static_cast<quint64>(content.size()) >= size)
            break;
    }
    if (static_cast<quint64>(content.size()) > size)
        content.truncate(static_cast<qsizetype>(size));
    return content;
}

QByteArray TCompoundFile::ReadMiniStream(quint32 start, quint64 size) const
{
    QByteArray content;
    if (start == EndOfChain || size == 0)
        return content;
    const qsizetype sectorBytes = qsizetype{1} << FMiniSectorShift;
    for (const quint32 sector : Chain(FMiniFat, start)) {
        const qsizetype at = static_cast<qsizetype>(sector) << FMiniSectorShift;
        if (at + sectorBytes > FMiniStream.size())
            throw Damaged(QStringLiteral("a mini sector lies beyond the mini stream"));
        content.append(FMiniStream.constData() + at, sectorBytes);
        if (static_cast<quint64>(content.size()) >= size)
            break;
    }
    if (static_cast<quint64>(content.size()) > size)
        content.truncate(static_cast<qsizetype>(size));
    return content;
}

// A table of sector numbers (the mini FAT) stored as a stream.
std::vector<quint32> TCompoundFile::ReadTable(quint32 start) const
{
    const QByteArray bytes = ReadStream(start, std::numeric_limits<quint64>::max());
    std::vector<quint32> table;
    for (qsizetype at = 0; at + 4 <= bytes.size(); at += 4)
        table.push_back(U32(bytes, at));
    return table;
}

// The mini stream, whole: its size is checked against the file before anything is set aside,
// and a sector the file cuts short is damage.
void TCompoundFile::LoadMiniStream(const TStreamPlace& root)
{
    if (root.Size > static_cast<quint64>(FFile.size()))
        throw Damaged(QStringLiteral("the mini stream claims %1 bytes, more than the file holds").arg(root.Size));
    FMiniStream = ReadStream(root.Start, root.Size, TLastSector::MustBeWhole);
    if (FMiniStream.size() != qsizetype{root.Size})
        throw Damaged(QStringLiteral("the mini stream is shorter than its root entry says"));
}

// The name up to its first null character.
QString TCompoundFile::EntryName(qsizetype entry) const
{
    // A name holds at most 64 bytes, within its entry.
    const qsizetype nameBytes = U16(FDirectory, entry + 0x40);
    if (nameBytes > MaxNameBytes)
        throw Damaged(QStringLiteral("a directory entry has a name of %1 bytes").arg(nameBytes));
    QString name;
    for (qsizetype i = 0; i + 2 <= nameBytes; i += 2) {
        const QChar c(U16(FDirectory, entry + i));
        if (c.isNull())
            break;
        name += c;
    }
    return name;
}

// The workbook stream: the first stream entry named "Workbook" (BIFF 8) or "Book"
// (BIFF 5/7). The root entry, which gives the mini stream, is the first entry.
QByteArray TCompoundFile::WorkbookStream()
{
    if (FDirectory.size() < DirectoryEntryBytes)
        throw Damaged(QStringLiteral("the directory is empty"));
    const TStreamPlace root{U32(FDirectory, 0x74), U32(FDirectory, 0x78)};
    for (qsizetype entry = DirectoryEntryBytes; entry + DirectoryEntryBytes <= FDirectory.size(); entry += DirectoryEntryBytes) {
        const QString name = EntryName(entry);
        const TStreamPlace place{U32(FDirectory, entry + 0x74), U32(FDirectory, entry + 0x78)};
        if (static_cast<quint8>(FDirectory[entry + 0x42]) != StreamEntry || (name != u"Workbook" && name != u"Book"))
            continue;
        if (place.Size > FMiniStreamCutoff)
            return ReadStream(place.Start, place.Size);
        LoadMiniStream(root);
        return ReadMiniStream(place.Start, place.Size);
    }
    throw Exception(QStringLiteral("the OLE2 file holds no workbook stream"));
}

} // namespace

QByteArray ReadWorkbookStream(const QByteArray& file)
{
    return TCompoundFile(file).WorkbookStream();
}
