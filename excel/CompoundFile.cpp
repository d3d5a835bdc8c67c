#include "excel/CompoundFile.h"

#include "support/Exception.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace {

constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr quint32 LastRegularSector = 0xFFFFFFFA;
constexpr qsizetype HeaderBytes = 512;
constexpr qsizetype HeaderFatSectors = 109; // the first FAT sector numbers stand in the header
constexpr qsizetype DirectoryEntryBytes = 128;
constexpr qsizetype MaxNameBytes = 64;
constexpr quint8 StreamEntry = 2;
constexpr quint8 RootEntry = 5;

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

class TCompoundFile
{
public:
    explicit TCompoundFile(const QByteArray& file);
    std::vector<QByteArray> StreamsNamed(const QStringList& names) const;

private:
    void ReadFat();
    std::vector<quint32> Chain(const std::vector<quint32>& table, quint32 start) const;
    QByteArray ReadStream(quint32 start, quint64 size) const;
    QByteArray ReadMiniStream(quint32 start, quint64 size) const;
    std::vector<quint32> ReadTable(quint32 start) const;
    qsizetype SectorOffset(quint32 sector) const;

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
    FMiniStreamCutoff = U32(file, 0x38);
    if ((FSectorShift != 9 && FSectorShift != 12) || FMiniSectorShift != 6)
        throw Damaged(QStringLiteral("unknown sector size"));
    ReadFat();
    FDirectory = ReadStream(U32(file, 0x30), std::numeric_limits<quint64>::max());
    FMiniFat = ReadTable(U32(file, 0x3C));
    if (FDirectory.size() < DirectoryEntryBytes || FDirectory[0x42] != RootEntry)
        throw Damaged(QStringLiteral("no root entry"));
    FMiniStream = ReadStream(U32(FDirectory, 0x74), qFromLittleEndian<quint64>(FDirectory.constData() + 0x78));
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

// A stream in the regular sectors; a short last sector of the file counts as far as it goes.
QByteArray TCompoundFile::ReadStream(quint32 start, quint64 size) const
{
    QByteArray content;
    if (start == EndOfChain || size == 0)
        return content;
    content.reserve(static_cast<qsizetype>(std::min<quint64>(size, static_cast<quint64>(FFile.size()))));
    const qsizetype sectorBytes = qsizetype{1} << FSectorShift;
    for (const quint32 sector : Chain(FFat, start)) {
        const qsizetype at = SectorOffset(sector);
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

std::vector<QByteArray> TCompoundFile::StreamsNamed(const QStringList& names) const
{
    std::vector<QByteArray> streams;
    qsizetype totalBytes = 0;
    for (qsizetype entry = 0; entry + DirectoryEntryBytes <= FDirectory.size(); entry += DirectoryEntryBytes) {
        // A name holds at most 64 bytes; FreeXL reads as many as the length says, from any
        // entry it passes on its way to the workbook stream, past the entry's end.
        const qsizetype nameBytes = U16(FDirectory, entry + 0x40);
        if (nameBytes > MaxNameBytes)
            throw Damaged(QStringLiteral("a directory entry has a name of %1 bytes").arg(nameBytes));
        if (FDirectory[entry + 0x42] != StreamEntry)
            continue;
        QString name;
        for (qsizetype i = 0; i + 2 <= nameBytes; i += 2)
            name += QChar(U16(FDirectory, entry + i));
        name.remove(QChar(u'\0'));
        if (!names.contains(name, Qt::CaseInsensitive))
            continue;
        quint64 size = qFromLittleEndian<quint64>(FDirectory.constData() + entry + 0x78);
        if (FSectorShift == 9)
            size &= 0xFFFFFFFF; // version 3 files leave the high half undefined
        const quint32 start = U32(FDirectory, entry + 0x74);
        streams.push_back(size < FMiniStreamCutoff ? ReadMiniStream(start, size) : ReadStream(start, size));
        // Streams occupy sectors of their own, so together they cannot outgrow the file.
        totalBytes += streams.back().size();
        if (totalBytes > FFile.size())
            throw Damaged(QStringLiteral("streams share sectors"));
    }
    return streams;
}

} // namespace

std::vector<QByteArray> ReadCompoundFileStreams(const QByteArray& file, const QStringList& names)
{
    return TCompoundFile(file).StreamsNamed(names);
}
