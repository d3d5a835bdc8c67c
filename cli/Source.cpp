#include "cli/Source.h"

#include "data/BuiltInDatabase.h"
#include "frontend/WorkbookLoad.h"
#include "support/Exception.h"

#include <QBuffer>
#include <QDir>

void OpenForReading(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open \"%1\": %2").arg(file.fileName(), file.errorString()));
}

std::unique_ptr<TOBISData> LoadDatabase(const TCommandLine& commandLine, const TLogProc& log, const TCodeSelection* selection)
{
    using enum TCommandLine::TSource;
    switch (commandLine.Source) {
    case BuiltIn: {
        QByteArray container = BuiltInDatabaseContainer();
        QBuffer resource(&container);
        resource.open(QIODevice::ReadOnly);
        return TOBISData::CreateFromCipheredStream(resource, selection);
    }
    case Database:
    case PlainDatabase: {
        QFile file(commandLine.SourcePath);
        OpenForReading(file);
        return commandLine.Source == Database ? TOBISData::CreateFromCipheredStream(file, selection)
                                              : TOBISData::CreateFromStream(file, selection);
    }
    case Csv: {
        auto database = std::make_unique<TOBISData>();
        QString directory = commandLine.SourcePath;
        if (!directory.endsWith(u'/') && !directory.endsWith(QDir::separator()))
            directory += QDir::separator();
        database->LoadFromCSVFiles(log, directory);
        return database;
    }
    case Workbook: {
        auto database = std::make_unique<TOBISData>();
        LoadExcelFile(*database, commandLine.SourcePath, log);
        return database;
    }
    }
    return nullptr;
}

