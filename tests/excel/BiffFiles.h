#pragma once

#include <QByteArray>
#include <QString>

// .xls files put together by hand for the reader tests: BIFF records and the compound file
// around a workbook stream.

// Little-endian fields of a record body.
class TBody
{
public:
    TBody& U8(quint8 value);
    TBody& U16(quint16 value);
    TBody& U32(quint32 value);
    TBody& Double(double value);
    TBody& Bytes(const QByteArray& bytes);
    const QByteArray& Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
};

QByteArray Record(quint16 id, const TBody& body);
QByteArray Bof(quint16 version = 0x0600);
QByteArray Eof();
// A BIFF 8 string of 8-bit characters with a 16-bit count (LABEL, STRING).
TBody Biff8Text(const QByteArray& latin1);

// A workbook stream of globals (after the BOF record) and sheets, each a name and the
// records between its BOF and EOF records; type is the BOUNDSHEET sheet type of all sheets
// but those named "chart:..." (a chart sheet). version 0x0600 writes BIFF 8, 0x0500 BIFF 5.
QByteArray WorkbookStream(const QByteArray& globals, const std::vector<std::pair<QByteArray, QByteArray>>& sheets,
    quint16 version = 0x0600);

// An OLE2 compound file of 512-byte sectors holding stream under the directory entry name.
QByteArray CompoundFile(const QByteArray& stream, const QString& name = QStringLiteral("Workbook"));
