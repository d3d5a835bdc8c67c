#pragma once

#include "obisdata/Codes.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <memory>

class QIODevice;

// The bytes of a device from its current position on: a QBuffer's bytes are read in place
// (without a copy), any other device is read into memory.
class TDeviceBytes
{
public:
    explicit TDeviceBytes(QIODevice& device);

    const char* Data() const { return FData; }
    qint64 Size() const { return FSize; }
    // The device position of the first byte.
    qint64 StartOffset() const { return FStartOffset; }

private:
    QByteArray FOwned;
    const char* FData = nullptr;
    qint64 FSize = 0;
    qint64 FStartOffset = 0;
};

// Reads the records of a database stream, little-endian, checking every read against the
// bytes that are left: a damaged stream raises "Damaged database stream" with what was
// wrong and the byte offset, and nothing is read outside the data. The bytes are the plain
// stream, or a ciphered container read from its first byte and deciphered as they are read.
class TStreamReader
{
public:
    enum class TBytes { Plain, Ciphered };
    explicit TStreamReader(QIODevice& device, TBytes bytes = TBytes::Plain);

    quint8 ReadByte(const char* what);
    bool ReadBoolean(const char* what);
    qint32 ReadInt32(const char* what);
    void ReadBytes(void* buffer, qint64 count, const char* what);
    // Passes over count bytes without reading (or deciphering) them.
    void Skip(qint64 count, const char* what);
    // A count read from the stream, of records each at least minimumRecordSize bytes long.
    qint32 ReadCount(qint64 minimumRecordSize, const char* what);
    [[noreturn]] void RaiseDamaged(const QString& what) const;

    qint64 BytesLeft() const { return FBytes.Size() - FPosition; }
    // Leaves the device just after the bytes read.
    void Finish();

private:
    void Require(qint64 count, const char* what) const;
    void ReadDeciphered(void* buffer, qint64 count);

    QIODevice& FDevice;
    TDeviceBytes FBytes;
    bool FCiphered;
    qint64 FPosition = 0;
    // Ciphered bytes are deciphered a window at a time: the many small reads of a record then
    // cost a copy each, and a window deciphers whole blocks at once.
    static constexpr qint64 WindowSize = 4096;
    std::array<char, WindowSize> FWindow;
    qint64 FWindowStart = 0;
    qint64 FWindowSize = 0;
};

// Writes the records of a database stream at the device's current position.
class TStreamWriter
{
public:
    explicit TStreamWriter(QIODevice& device);
    ~TStreamWriter();
    TStreamWriter(const TStreamWriter&) = delete;
    TStreamWriter& operator=(const TStreamWriter&) = delete;

    void WriteByte(quint8 value);
    void WriteBoolean(bool value) { WriteByte(value ? 1 : 0); }
    void WriteInt32(qint32 value);
    void WriteBytes(const void* data, qint64 count);
    // Hands everything written to the device; raises when the device fails.
    void Flush();

private:
    QIODevice& FDevice;
    QByteArray FPending;
};

// The blocks of the stream.
QString ReadStreamString(TStreamReader& S);
void SkipStreamString(TStreamReader& S);
void WriteStreamString(TStreamWriter& S, const QString& text);
QStringList ReadStreamStrings(TStreamReader& S);
void WriteStreamStrings(TStreamWriter& S, const QStringList& list);
std::unique_ptr<TValue> ReadStreamOptionalValue(TStreamReader& S);
void WriteStreamOptionalValue(TStreamWriter& S, const TValue* value);
TByteSet ReadStreamByteSet(TStreamReader& S);
void WriteStreamByteSet(TStreamWriter& S, const TByteSet& set);
