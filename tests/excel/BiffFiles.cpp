#include "BiffFiles.h"

#include <QtEndian>

#include <bit>
#include <vector>

namespace {

template<class T>
void Append(QByteArray& bytes, T value)
{
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

} // namespace

TBody& TBody::U8(quint8 value)
{
    FBytes.append(static_cast<char>(value));
    return *this;
}

TBody& TBody::U16(quint16 value)
{
    Append(FBytes, value);
    return *this;
}

TBody& TBody::U32(quint32 value)
{
    Append(FBytes, value);
    return *this;
}

TBody& TBody::Double(double value)
{
    Append(FBytes, std::bit_cast<quint64>(value));
    return *this;
}

TBody& TBody::Bytes(const QByteArray& bytes)
{
    FBytes += bytes;
    return *this;
}

QByteArray Record(quint16 id, const TBody& body)
{
    return TBody().U16(id).U16(static_cast<quint16>(body.Bytes().size())).Bytes(body.Bytes()).Bytes();
}

QByteArray Bof(quint16 version)
{
    return Record(0x0809, TBody().U16(version).U16(0x0010).U32(0).U32(0).U32(0));
}

QByteArray Eof()
{
    return Record(0x000A, TBody());
}

TBody Biff8Text(const QByteArray& latin1)
{
    return TBody().U16(static_cast<quint16>(latin1.size())).U8(0).Bytes(latin1);
}

QByteArray WorkbookStream(const QByteArray& globals, const std::vector<std::pair<QByteArray, QByteArray>>& sheets, quint16 version)
{
    const bool biff8 = version == 0x0600;
    const auto boundSheet = [&](quint32 offset, const QByteArray& name) {
        const bool chart = name.startsWith("chart:");
        const QByteArray shown = chart ? name.mid(6) : name;
        TBody body;
        body.U32(offset).U8(0).U8(chart ? 2 : 0).U8(static_cast<quint8>(shown.size()));
        if (biff8)
            body.U8(0);
        return Record(0x0085, body.Bytes(shown));
    };
    QByteArray head = Bof(version) + globals;
    qsizetype listSize = 0;
    for (const auto& [name, records] : sheets)
        listSize += boundSheet(0, name).size();
    QByteArray list;
    QByteArray substreams;
    const qsizetype firstSheetAt = head.size() + listSize + Eof().size();
    for (const auto& [name, records] : sheets) {
        list += boundSheet(static_cast<quint32>(firstSheetAt + substreams.size()), name);
        substreams += Bof(version) + records + Eof();
    }
    return head + list + Eof() + substreams;
}

QByteArray CompoundFile(const QByteArray& stream, const QString& name)
{
    constexpr qsizetype sector = 512;
    constexpr quint32 endOfChain = 0xFFFFFFFE;
    const auto streamSectors = static_cast<quint32>((stream.size() + sector - 1) / sector);
    // Sector 0 holds the FAT, sector 1 the directory, the stream follows.
    std::vector<quint32> fat{0xFFFFFFFD, endOfChain};
    for (quint32 i = 0; i < streamSectors; ++i)
        fat.push_back(i + 1 == streamSectors ? endOfChain : i + 3);
    if (fat.size() > 128)
        throw std::runtime_error("stream too large for one FAT sector");
    fat.resize(128, 0xFFFFFFFF);

    QByteArray header;
    header += QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(16, '\0');
    Append<quint16>(header, 0x003E);
    Append<quint16>(header, 0x0003);
    Append<quint16>(header, 0xFFFE);
    Append<quint16>(header, 9); // 512-byte sectors
    Append<quint16>(header, 6); // 64-byte mini sectors
    header += QByteArray(6, '\0');
    Append<quint32>(header, 0); // directory sectors (none counted with 512-byte sectors)
    Append<quint32>(header, 1); // FAT sectors
    Append<quint32>(header, 1); // the first directory sector
    Append<quint32>(header, 0);
    Append<quint32>(header, 4096); // mini stream cutoff
    Append<quint32>(header, endOfChain); // no mini FAT
    Append<quint32>(header, 0);
    Append<quint32>(header, endOfChain); // no DIFAT sector
    Append<quint32>(header, 0);
    Append<quint32>(header, 0); // the FAT sector
    while (header.size() < sector)
        Append<quint32>(header, 0xFFFFFFFF);

    QByteArray fatSector;
    for (const quint32 entry : fat)
        Append(fatSector, entry);

    const auto entry = [](const QString& entryName, quint8 type, quint32 start, quint32 size) {
        QByteArray bytes;
        for (const QChar c : entryName)
            Append<quint16>(bytes, c.unicode());
        Append<quint16>(bytes, 0);
        bytes.resize(64, '\0');
        Append<quint16>(bytes, static_cast<quint16>(2 * (entryName.size() + 1)));
        bytes.append(static_cast<char>(type));
        bytes.append('\1'); // black
        Append<quint32>(bytes, 0xFFFFFFFF); // left sibling
        Append<quint32>(bytes, 0xFFFFFFFF); // right sibling
        Append<quint32>(bytes, type == 5 ? 1 : 0xFFFFFFFF); // child
        bytes += QByteArray(16 + 4 + 16, '\0');
        Append<quint32>(bytes, start);
        Append<quint32>(bytes, size);
        Append<quint32>(bytes, 0);
        return bytes;
    };
    QByteArray directory = entry(QStringLiteral("Root Entry"), 5, endOfChain, 0)
        + entry(name, 2, streamSectors ? 2 : endOfChain, static_cast<quint32>(stream.size()));
    directory.resize(sector, '\0');
    QByteArray padded = stream;
    padded.resize(qsizetype{streamSectors} * sector, '\0');
    return header + fatSector + directory + padded;
}
