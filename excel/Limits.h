#pragma once

#include <QtGlobal>

// Bounds that keep an untrusted workbook file from exhausting memory or time.
namespace ExcelLimits {

// Largest workbook file that is read into memory.
inline constexpr qint64 MaxFileBytes = qint64{1} << 30;

// Total decompressed size of all .xlsx entries read from one workbook.
inline constexpr qint64 MaxTotalDecompressedBytes = qint64{1} << 30;
// An entry may decompress to at most this many times its compressed size...
inline constexpr qint64 MaxCompressionRatio = 200;
// ...once it is larger than this; smaller entries are never suspicious.
inline constexpr qint64 CompressionRatioFloorBytes = qint64{8} << 20;

// Deepest element nesting accepted in an XML part.
inline constexpr int MaxXmlDepth = 128;
// XML parts are handed to the parser in pieces of about this many nodes (elements and
// attributes)...
inline constexpr qint64 XmlPieceNodes = 16'384;
// ...and no single parse may hold more than this many (one very large row or string item).
inline constexpr qint64 MaxXmlNodesPerParse = 4'000'000;

// The sheet size of the .xlsx format (the .xls format's is smaller).
inline constexpr int MaxSheetRows = 1'048'576;
inline constexpr int MaxSheetColumns = 16'384;

// Cells holding a value in one worksheet, and entries of the shared string table (both formats).
inline constexpr qint64 MaxCellsPerSheet = 20'000'000;
inline constexpr qint64 MaxSharedStrings = 10'000'000;

} // namespace ExcelLimits
