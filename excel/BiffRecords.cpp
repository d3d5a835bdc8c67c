#include "excel/BiffRecords.h"

#include <QtEndian>

#include <bit>

namespace {

constexpr qsizetype RecordHeaderBytes = 4;
constexpr quint16 MaxRecordLength = 8224;

QString RecordName(quint16 id)
{
    return QStringLiteral("0x%1").arg(id, 4, 16, QLatin1Char('0'));
}

} // namespace

Exception BiffRecordError(const TBiffRecord& record, const QString& problem)
{
    return Exception(QStringLiteral("record %1 at byte %2: %3").arg(RecordName(record.Id)).arg(record.Offset).arg(problem));
}

// ---- TBiffRecordWalk ----

TBiffRecordWalk::TBiffRecordWalk(const QByteArray& stream, qsizetype offset)
    : FStream(stream)
    , FAt(offset)
{
}

bool TBiffRecordWalk::Next(TBiffRecord& record)
{
    if (FAt < 0 || FAt + RecordHeaderBytes > FStream.size())
        return false;
    const quint16 id = qFromLittleEndian<quint16>(FStream.constData() + FAt);
    const quint16 length = qFromLittleEndian<quint16>(FStream.constData() + FAt + 2);
    record = TBiffRecord{id, {}, FAt};
    if (length > MaxRecordLength)
        throw BiffRecordError(record, QStringLiteral("its length %1 exceeds the %2 bytes a record may have").arg(length).arg(MaxRecordLength));
    if (FAt + RecordHeaderBytes + length > FStream.size())
        throw BiffRecordError(record, QStringLiteral("its %1 bytes run past the end of the stream").arg(length));
    record.Body = QByteArrayView(FStream.constData() + FAt + RecordHeaderBytes, length);
    FAt += RecordHeaderBytes + length;
    return true;
}

quint16 TBiffRecordWalk::NextId() const
{
    if (FAt < 0 || FAt + RecordHeaderBytes > FStream.size())
        return 0;
    return qFromLittleEndian<quint16>(FStream.constData() + FAt);
}

// ---- TBiffCodePage ----

namespace {

// The name the text converter knows a Windows code page by.
QByteArray CodePageName(quint16 codePage)
{
    switch (codePage) {
    case 367:
        return "US-ASCII";
    case 10000:
    case 32768:
        return "macintosh";
    case 32769:
        return "windows-1252";
    default:
        break;
    }
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
        return "windows-" + QByteArray::number(codePage);
    return "cp" + QByteArray::number(codePage);
}

} // namespace

TBiffCodePage::TBiffCodePage(quint16 codePage)
    : FDecoder(CodePageName(codePage).constData())
{
    if (!FDecoder.isValid())
        throw Exception(QStringLiteral("its text uses the code page %1, which is not supported").arg(codePage));
}

QString TBiffCodePage::Decode(QByteArrayView bytes) const
{
    FDecoder.resetState();
    return FDecoder.decode(bytes);
}

// ---- TBiffReader ----

TBiffReader::TBiffReader(const TBiffRecord& record)
    : FRecords{record}
{
}

TBiffReader::TBiffReader(std::vector<TBiffRecord> records)
    : FRecords(std::move(records))
{
}

Exception TBiffReader::Error(const QString& problem) const
{
    return BiffRecordError(FRecords[std::min(FIndex, FRecords.size() - 1)], problem);
}

void TBiffReader::EnterNextRecordIfAtEnd()
{
    while (FPos == FRecords[FIndex].Body.size() && FIndex + 1 < FRecords.size()) {
        ++FIndex;
        FPos = 0;
    }
}

// A field never spans two records.
QByteArrayView TBiffReader::Take(qsizetype bytes)
{
    EnterNextRecordIfAtEnd();
    const QByteArrayView body = FRecords[FIndex].Body;
    if (FPos + bytes > body.size())
        throw Error(QStringLiteral("the record is too short for its fields (%1 bytes)").arg(body.size()));
    const QByteArrayView field = body.sliced(FPos, bytes);
    FPos += bytes;
    return field;
}

quint8 TBiffReader::U8()
{
    return static_cast<quint8>(Take(1)[0]);
}

quint16 TBiffReader::U16()
{
    return qFromLittleEndian<quint16>(Take(2).data());
}

quint32 TBiffReader::U32()
{
    return qFromLittleEndian<quint32>(Take(4).data());
}

double TBiffReader::Double()
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(Take(8).data()));
}

quint64 TBiffReader::BytesLeft() const
{
    quint64 left = static_cast<quint64>(FRecords[FIndex].Body.size() - FPos);
    for (size_t i = FIndex + 1; i < FRecords.size(); ++i)
        left += static_cast<quint64>(FRecords[i].Body.size());
    return left;
}

void TBiffReader::Skip(quint64 bytes)
{
    if (bytes > BytesLeft())
        throw Error(QStringLiteral("%1 bytes to pass over run past its end").arg(bytes));
    while (bytes > 0) {
        EnterNextRecordIfAtEnd();
        const auto step = static_cast<qsizetype>(std::min<quint64>(bytes, static_cast<quint64>(FRecords[FIndex].Body.size() - FPos)));
        FPos += step;
        bytes -= static_cast<quint64>(step);
    }
}

QString TBiffReader::Biff8String(int countBytes)
{
    const quint32 count = countBytes == 1 ? U8() : U16();
    const quint8 flags = U8();
    bool wide = flags & 0x01;
    const quint16 runs = (flags & 0x08) ? U16() : 0;
    const quint32 extended = (flags & 0x04) ? U32() : 0;
    if (count > BytesLeft())
        throw Error(QStringLiteral("a string of %1 characters runs past its end").arg(count));
    QString text;
    text.reserve(static_cast<qsizetype>(count));
    for (quint32 left = count; left > 0;) {
        if (FPos == FRecords[FIndex].Body.size()) {
            if (FIndex + 1 == FRecords.size())
                throw Error(QStringLiteral("a string of %1 characters runs past its end").arg(count));
            ++FIndex;
            FPos = 0;
            wide = U8() & 0x01; // the characters go on in this record, with their width anew
            continue;
        }
        const qsizetype width = wide ? 2 : 1;
        const qsizetype fitting = std::min<qsizetype>(left, (FRecords[FIndex].Body.size() - FPos) / width);
        if (fitting == 0)
            throw Error(QStringLiteral("a character of a string is cut"));
        const char* at = FRecords[FIndex].Body.data() + FPos;
        if (wide) {
            const qsizetype before = text.size();
            text.resize(before + fitting);
            qFromLittleEndian<quint16>(at, fitting, text.data() + before);
        } else {
            text.append(QLatin1StringView(at, fitting));
        }
        FPos += fitting * width;
        left -= static_cast<quint32>(fitting);
    }
    Skip(quint64{runs} * 4 + extended);
    return text;
}

QString TBiffReader::Biff5String(int countBytes, const TBiffCodePage& codePage)
{
    const quint32 count = countBytes == 1 ? U8() : U16();
    if (count > BytesLeft())
        throw Error(QStringLiteral("a string of %1 characters runs past its end").arg(count));
    return codePage.Decode(Take(static_cast<qsizetype>(count)));
}
