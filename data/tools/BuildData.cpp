// kestrune-build-data --container FILE --workbook FILE (--sheet NAME CSV)...
// Turns the project's definition sources into the ciphered database the executables carry
// and into the sample object-definition workbook.

#include "data/tools/SampleWorkbook.h"
#include "data/tools/SheetFiles.h"
#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

struct TArguments
{
    QString Container;
    QString Workbook;
    std::vector<TSheetFile> Sheets;
};

TArguments ParseArguments(const QStringList& arguments)
{
    TArguments result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const qsizetype values = option == u"--sheet" ? 2 : 1;
        if (i + values >= arguments.size())
            throw Exception(QStringLiteral("%1 needs %2 value(s)").arg(option).arg(values));
        if (option == u"--container")
            result.Container = arguments[++i];
        else if (option == u"--workbook")
            result.Workbook = arguments[++i];
        else if (option == u"--sheet") {
            result.Sheets.push_back({arguments[i + 1], arguments[i + 2]});
            i += 2;
        } else
            throw Exception(QStringLiteral("Unknown option %1").arg(option));
    }
    if (result.Container.isEmpty() || result.Workbook.isEmpty() || result.Sheets.empty())
        throw Exception(QStringLiteral("Usage: kestrune-build-data --container FILE --workbook FILE (--sheet NAME CSV)..."));
    return result;
}

void WriteContainer(const QString& fileName, const std::vector<TSheetFile>& sheets)
{
    TOBISData database;
    TWorkSheetList worksheets = SheetFileWorkSheets(sheets);
    database.LoadFromExcelDocument([](const QString&) {}, worksheets);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create \"%1\": %2").arg(fileName, file.errorString()));
    database.SaveToCipheredStream(file);
    if (!file.commit())
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    try {
        const TArguments arguments = ParseArguments(application.arguments().mid(1));
        WriteContainer(arguments.Container, arguments.Sheets);
        WriteSampleWorkbook(arguments.Workbook, arguments.Sheets);
    } catch (const Exception& e) {
        std::fprintf(stderr, "kestrune-build-data: %s\n", e.what());
        return 1;
    }
    return 0;
}
