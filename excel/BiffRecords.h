#pragma once

#include "support/Exception.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <vector>

// The records of a BIFF workbook stream (.xls), and reading their fields.

enum TBiffRecordId : quint16 {
    briFormula = 0x0006,
    briEof = 0x000A,
    briFilePass = 0x002F,
    briContinue = 0x003C,
    briCodePage = 0x0042,
    briBoundSheet = 0x0085,
    briMulRk = 0x00BD,
    briRString = 0x00D6,
    briSst = 0x00FC,
    briLabelSst = 0x00FD,
    briDimensions = 0x0200,
    briNumber = 0x0203,
    briLabel = 0x0204,
    briBoolErr = 0x0205,
    briString = 0x0207,
    briRk = 0x027E,
    briBof = 0x0809,
};

// One record: its type, its body, and the stream offset of its header.
struct TBiffRecord
{
    quint16 Id = 0;
    QByteArrayView Body;
    qsizetype Offset = 0;
};

// The records of a stream one after the other, from an offset.
class TBiffRecordWalk
{
public:
    TBiffRecordWalk(const QByteArray& stream, qsizetype offset);

    // Moves to the next record; false at the end of the stream. Raises Exception on a record
    // longer than the format allows or running past the end of the stream.
    bool Next(TBiffRecord& record);
    // The type of the record after the last one read, 0 at the end of the stream.
    quint16 NextId() const;

private:
    const QByteArray& FStream;
    qsizetype FAt;
};

// The text of a string's bytes in a workbook's code page (older workbooks store 8-bit text).
class TBiffCodePage
{
public:
    TBiffCodePage() = default;
    // Raises Exception for a code page that cannot be decoded.
    explicit TBiffCodePage(quint16 codePage);
    QString Decode(QByteArrayView bytes) const;

private:
    mutable QStringDecoder FDecoder{"windows-1252"};
};

// Reads the fields of a record, or of a record and the CONTINUE records after it as one
// run of bytes (a shared string table). Every read is checked against what is left; a
// failure names the record and its offset.
class TBiffReader
{
public:
    explicit TBiffReader(const TBiffRecord& record);
    explicit TBiffReader(std::vector<TBiffRecord> records);

    quint8 U8();
    quint16 U16();
    quint32 U32();
    double Double();
    void Skip(quint64 bytes);
    // What is left, in this record and the ones after it.
    quint64 BytesLeft() const;

    // A BIFF 8 string: a character count of countBytes bytes (1 or 2), a flags byte, the
    // optional counts of formatting runs and extended data, the characters (8-bit or 16-bit,
    // changing at a CONTINUE record, which then begins with a flags byte), then the runs and
    // the extended data, which are passed over.
    QString Biff8String(int countBytes);
    // A BIFF 5 string: a character count of countBytes bytes, then 8-bit characters in the
    // code page.
    QString Biff5String(int countBytes, const TBiffCodePage& codePage);

    // The problem, naming the record being read and its offset.
    Exception Error(const QString& problem) const;

private:
    QByteArrayView Take(qsizetype bytes);
    void EnterNextRecordIfAtEnd();

    std::vector<TBiffRecord> FRecords;
    size_t FIndex = 0;
    qsizetype FPos = 0;
};

// "record 0x00FD at byte 1234: problem".
Exception BiffRecordError(const TBiffRecord& record, const QString& problem);
