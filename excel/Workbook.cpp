#include "excel/Workbook.h"

#include "excel/Limits.h"
#include "excel/WorkbookError.h"
#include "excel/XlsWorkbook.h"
#include "excel/XlsxWorkbook.h"

#include <QFile>

namespace {

const QByteArray ZipSignature("PK\x03\x04", 4);
const QByteArray Ole2Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

QByteArray ReadWorkbookFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists())
        throw WorkbookError(fileName, QStringLiteral("the file does not exist"));
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookError(fileName, QStringLiteral("the file cannot be opened (%1)").arg(file.errorString()));
    const auto tooLarge = [&] {
        return WorkbookError(fileName, QStringLiteral("the file is larger than %1 bytes").arg(ExcelLimits::MaxFileBytes));
    };
    if (file.size() > ExcelLimits::MaxFileBytes)
        throw tooLarge();
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw WorkbookError(fileName, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    if (content.size() > ExcelLimits::MaxFileBytes) // it grew while being read
        throw tooLarge();
    if (content.isEmpty())
        throw WorkbookError(fileName, QStringLiteral("the file is empty"));
    return content;
}

} // namespace

std::unique_ptr<TWorkbook> OpenWorkbook(const QString& fileName)
{
    QByteArray content = ReadWorkbookFile(fileName);
    if (content.startsWith(ZipSignature))
        return std::make_unique<TXlsxWorkbook>(fileName, std::move(content));
    if (content.startsWith(Ole2Signature))
        return std::make_unique<TXlsWorkbook>(fileName, content);
    throw WorkbookError(fileName, QStringLiteral("the file is neither an .xlsx nor an .xls workbook"));
}
