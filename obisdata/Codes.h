#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>

class TLexicalAnalyser;
class TStreamReader;
class TStreamWriter;

// The field letter of an OBIS code, A to F. Fields are always walked in this order.
enum class TColumn : quint8 { A, B, C, D, E, F };

inline constexpr std::array<TColumn, 6> AllColumns{
    TColumn::A, TColumn::B, TColumn::C, TColumn::D, TColumn::E, TColumn::F};

QChar ColumnLetter(TColumn column);
// "A".."F" (upper case only); empty for any other character.
std::optional<TColumn> ColumnFromLetter(QChar letter);

// Six values indexed by field letter.
template <typename T>
struct TColumnArray
{
    std::array<T, 6> Items{};

    T& operator[](TColumn column) { return Items[static_cast<std::size_t>(column)]; }
    const T& operator[](TColumn column) const { return Items[static_cast<std::size_t>(column)]; }
    bool operator==(const TColumnArray&) const = default;
};

// An OBIS code: six bytes A..F. 1.0.1.8.0.255 has A = 1, B = 0, C = 1, D = 8, E = 0, F = 255.
using TOBISCode = TColumnArray<quint8>;
// Per field: does a search look at that field of the accompanying code?
using TOBISCodeFilter = TColumnArray<bool>;

// The media number 0..9: field A of every code in a media list.
using TMediaNr = int;
inline constexpr int MediaCount = 10;
bool IsMediaNr(int number);
// "Abstract", "Electricity (AC)", ...; media 3 has no name.
QString MediaName(TMediaNr media);
// The media's name, or its number where it has none: for messages.
QString MediaLabel(TMediaNr media);

// A set of the 256 byte values, stored inline as 32 bytes: member n is bit n mod 8 of byte n div 8.
class TByteSet
{
public:
    bool Contains(quint8 value) const { return (FBytes[value >> 3] >> (value & 7)) & 1; }
    void Include(quint8 value) { FBytes[value >> 3] = static_cast<quint8>(FBytes[value >> 3] | (1 << (value & 7))); }
    // Includes every value from lo to hi; nothing when lo > hi.
    void IncludeRange(quint8 lo, quint8 hi);

    std::array<quint8, 32>& Bytes() { return FBytes; }
    const std::array<quint8, 32>& Bytes() const { return FBytes; }
    bool operator==(const TByteSet&) const = default;

private:
    std::array<quint8, 32> FBytes{};
};

enum class TValueKind : quint8 { vkNone, vkSingle, vkRange, vkSet };

// The value pattern of one code field: nothing, one value, a range or a set of byte values.
// Fields that do not belong to the current kind keep what they held before the kind changed.
class TValue
{
public:
    TValueKind Kind = TValueKind::vkNone;
    quint8 ByteValue = 0;
    quint8 LoRange = 0;
    quint8 HiRange = 0;
    TByteSet SetValue;

    static TValue CreateSingle(quint8 value);
    // lo is not required to be at most hi: [5-3] covers nothing.
    static TValue CreateRange(quint8 lo, quint8 hi);
    // Reads a pattern from definition text (the definition-line language).
    static TValue Create(TLexicalAnalyser& L);
    // A new owned pattern with all five fields equal to value's.
    static std::unique_ptr<TValue> Another(const TValue& value);

    void AddRange(quint8 lo, quint8 hi);
    bool HasElement(quint8 value) const
    {
        switch (Kind) {
        case TValueKind::vkSingle:
            return value == ByteValue;
        case TValueKind::vkRange:
            return LoRange <= value && value <= HiRange;
        case TValueKind::vkSet:
            return SetValue.Contains(value);
        case TValueKind::vkNone:
            break;
        }
        return false;
    }
    QString ToString() const;
    void AppendTo(QString& text) const;

    // The 36-byte value record of the database stream.
    static TValue CreateFromStream(TStreamReader& S);
    void SaveToStream(TStreamWriter& S) const;

    bool operator==(const TValue&) const = default;
};

// The six patterns of an item definition. Made empty, it holds no pattern at all; whoever
// builds a definition sets all six, and every reader relies on all six being present.
class TValues
{
public:
    TValues() = default;
    // A deep copy of the six patterns.
    static TValues Another(const TValues& values);

    const TValue& GetValue(TColumn column) const { return *FItems[static_cast<std::size_t>(column)]; }
    bool HasValue(TColumn column) const { return FItems[static_cast<std::size_t>(column)] != nullptr; }
    // Takes ownership; the pattern it replaces is released.
    void SetValue(TColumn column, std::unique_ptr<TValue> value);

    // Six value records, fields A to F.
    void SaveToStream(TStreamWriter& S) const;

private:
    std::array<std::unique_ptr<TValue>, 6> FItems;
};
