#include "excel/XlsWorkbook.h"

#include "excel/CompoundFile.h"
#include "excel/Limits.h"
#include "excel/WorkbookError.h"
#include "excel/XlsDateSerial.h"
#include "excel/XlsStreamCheck.h"

#include <QFile>

#include <freexl.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString FreeXLErrorText(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("the file cannot be opened");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("there is not enough memory");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_INVALID_MINI_STREAM:
    case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
        return QStringLiteral("the OLE2 container is damaged");
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_INVALID_SST:
    case FREEXL_BIFF_ILLEGAL_SST_INDEX:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX:
    case FREEXL_ILLEGAL_CELL_ROW_COL:
    case FREEXL_ILLEGAL_RK_VALUE:
        return QStringLiteral("the workbook stream is damaged");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("its text uses an unsupported character set");
    case FREEXL_CRAFTED_FILE:
        return QStringLiteral("the file is damaged or crafted to harm its reader");
    default:
        return QStringLiteral("unexpected error");
    }
}

void Check(int code, const QString& doing)
{
    if (code != FREEXL_OK)
        throw Exception(QStringLiteral("FreeXL failed %1: %2 (error %3)").arg(doing, FreeXLErrorText(code)).arg(code));
}

// FreeXL reads the whole workbook as it opens the file; what it would have to do for that
// is checked first, so that a small file cannot make it exhaust memory or time.
// FreeXL refuses to set aside more than 256 MiB of 16-byte cell slots for one sheet, and
// then fails without saying why.
constexpr qint64 FreeXLMaxSheetSlots = (qint64{256} << 20) / 16;

void CheckWhatFreeXLWouldDo(const QByteArray& content)
{
    const TXlsStreamDemand demand = XlsStreamDemand(ReadFreeXLWorkbookStream(content));
    if (demand.CellSlots > ExcelLimits::MaxXlsCellSlots)
        throw Exception(QStringLiteral("its worksheets declare %1 cells in all, more than %2").arg(demand.CellSlots).arg(ExcelLimits::MaxXlsCellSlots));
    if (demand.LargestSheetSlots > FreeXLMaxSheetSlots)
        throw Exception(QStringLiteral("a worksheet declares %1 cells, more than FreeXL reads (%2)").arg(demand.LargestSheetSlots).arg(FreeXLMaxSheetSlots));
    if (demand.DateDays > ExcelLimits::MaxXlsDateDays)
        throw Exception(QStringLiteral("its dates are too many or too far in the future to be read in reasonable time"));
}

class TFreeXLHandle
{
public:
    explicit TFreeXLHandle(const QString& fileName)
    {
        // FreeXL asks to be closed even when opening failed.
        const int code = freexl_open(QFile::encodeName(fileName).constData(), &FHandle);
        if (code != FREEXL_OK) {
            Close();
            Check(code, QStringLiteral("to open the file"));
        }
        // Some failures while reading the workbook come back as success without a handle.
        if (!FHandle)
            throw Exception(QStringLiteral("FreeXL failed to open the file: it could not read the workbook"));
    }
    ~TFreeXLHandle() { Close(); }
    TFreeXLHandle(const TFreeXLHandle&) = delete;
    TFreeXLHandle& operator=(const TFreeXLHandle&) = delete;

    const void* Get() const { return FHandle; }

private:
    void Close()
    {
        if (FHandle)
            freexl_close(FHandle);
        FHandle = nullptr;
    }

    const void* FHandle = nullptr;
};

unsigned int Info(const TFreeXLHandle& handle, unsigned short what)
{
    unsigned int value = 0;
    Check(freexl_get_info(handle.Get(), what, &value), QStringLiteral("to read the workbook information"));
    return value;
}

} // namespace

// What the worksheets of a workbook read from.
struct TXlsSource
{
    explicit TXlsSource(QString fileName)
        : FileName(std::move(fileName))
        , Handle(FileName)
        , Dates1904(Info(Handle, FREEXL_BIFF_DATEMODE) == FREEXL_BIFF_DATEMODE_1904)
    {
    }

    QString FileName;
    TFreeXLHandle Handle;
    bool Dates1904;
};

namespace {

class TXlsWorkSheet final : public TWorkSheet
{
public:
    TXlsWorkSheet(TXlsSource& source, unsigned short index, QString name)
        : FSource(source)
        , FIndex(index)
        , FName(std::move(name))
    {
    }

    QString Name() const override { return FName; }

    const TRangeValue& UsedRangeValue() override
    {
        if (!FValue)
            FValue = ReadWorkbookPart(FSource.FileName, [this] { return Read(); });
        return *FValue;
    }

private:
    TRangeValue Read() const;
    TCell CellValue(const FreeXL_CellValue& value) const;
    Exception Error(const QString& problem) const
    {
        return Exception(QStringLiteral("worksheet \"%1\": %2").arg(FName, problem));
    }

    TXlsSource& FSource;
    unsigned short FIndex;
    QString FName;
    std::optional<TRangeValue> FValue;
};

// FreeXL's dimensions count from A1; the used range starts at the first row and column
// holding a value.
TRangeValue TXlsWorkSheet::Read() const
{
    const void* handle = FSource.Handle.Get();
    Check(freexl_select_active_worksheet(handle, FIndex), QStringLiteral("to select worksheet \"%1\"").arg(FName));
    unsigned int rows = 0;
    unsigned short columns = 0;
    Check(freexl_worksheet_dimensions(handle, &rows, &columns), QStringLiteral("to read the size of worksheet \"%1\"").arg(FName));
    // A sheet may declare billions of rows and no column: it has no cell.
    if (rows == 0 || columns == 0)
        return TRangeValue(1, 1);

    // The cells at their sheet positions first, cropped to the used range at the end.
    TRangeValue cells(static_cast<int>(rows), columns);
    unsigned int firstRow = rows;
    unsigned short firstColumn = columns;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            // A declared area may be large and nearly empty: its empty cells must cost next to nothing.
            FreeXL_CellValue value;
            const int code = freexl_get_cell_value(handle, row, column, &value);
            if (code != FREEXL_OK)
                Check(code, QStringLiteral("to read a cell of worksheet \"%1\"").arg(FName));
            if (value.type == FREEXL_CELL_NULL)
                continue;
            TCell cell = CellValue(value);
            if (cell.IsEmpty())
                continue;
            firstRow = std::min(firstRow, row);
            firstColumn = std::min(firstColumn, column);
            cells.SetCell(static_cast<int>(row) + 1, column + 1, std::move(cell));
        }
    }
    if (firstRow == rows)
        return TRangeValue(1, 1);
    cells.Crop(static_cast<int>(firstRow) + 1, firstColumn + 1, static_cast<int>(rows - firstRow), columns - firstColumn);
    return cells;
}

TCell TXlsWorkSheet::CellValue(const FreeXL_CellValue& value) const
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return TCell::Number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        if (!std::isfinite(value.value.double_value))
            throw Error(QStringLiteral("a cell holds a number that is not finite"));
        return TCell::Number(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return TCell::Text(QString::fromUtf8(value.value.text_value));
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        // A value FreeXL could not put into a date (far out of range) stays its text.
        if (const std::optional<double> serial = XlsDateSerial(value.value.text_value, FSource.Dates1904))
            return TCell::Number(*serial);
        return TCell::Text(QString::fromUtf8(value.value.text_value));
    default:
        return {};
    }
}

void ReadWorkbook(TXlsSource& source, TWorkSheetList& sheets)
{
    if (Info(source.Handle, FREEXL_BIFF_PASSWORD) == FREEXL_BIFF_OBFUSCATED)
        throw Exception(QStringLiteral("the workbook is protected by a password"));
    const unsigned int count = Info(source.Handle, FREEXL_BIFF_SHEET_COUNT);
    if (count == 0)
        throw Exception(QStringLiteral("FreeXL found no worksheet in it"));
    if (count > std::numeric_limits<unsigned short>::max())
        throw Exception(QStringLiteral("it lists %1 worksheets").arg(count));
    for (unsigned int index = 0; index < count; ++index) {
        const auto sheetIndex = static_cast<unsigned short>(index);
        const char* name = nullptr;
        Check(freexl_get_worksheet_name(source.Handle.Get(), sheetIndex, &name), QStringLiteral("to read the worksheet names"));
        sheets.Add(std::make_unique<TXlsWorkSheet>(source, sheetIndex, QString::fromUtf8(name)));
    }
}

} // namespace

TXlsWorkbook::TXlsWorkbook(const QString& fileName, const QByteArray& content)
    : FSource(ReadWorkbookPart(fileName, [&] {
        CheckWhatFreeXLWouldDo(content);
        return std::make_unique<TXlsSource>(fileName);
    }))
{
    ReadWorkbookPart(fileName, [this] { ReadWorkbook(*FSource, FSheets); });
}

TXlsWorkbook::~TXlsWorkbook() = default;

TWorkSheets& TXlsWorkbook::Worksheets()
{
    return FSheets;
}
