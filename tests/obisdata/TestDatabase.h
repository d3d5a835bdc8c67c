#pragma once

#include "obisdata/CsvFiles.h"
#include "obisdata/Model.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// Small builders for databases in tests.

inline TValue Single(quint8 value)
{
    return TValue::CreateSingle(value);
}

inline TValue Range(quint8 lo, quint8 hi)
{
    return TValue::CreateRange(lo, hi);
}

inline TOBISCode Code(const char* dotted)
{
    return TOBISData::OBISStrToOBISCode(QString::fromLatin1(dotted));
}

inline TOBISCodeFilter FilterOf(std::initializer_list<TColumn> columns)
{
    TOBISCodeFilter filter;
    for (const TColumn column : columns)
        filter[column] = true;
    return filter;
}

inline std::unique_ptr<TOBISItemData> MakeItem(
    qint32 lineNr, const std::array<TValue, 6>& values, const QStringList& texts = {})
{
    auto item = std::make_unique<TOBISItemData>();
    item->LineNr = lineNr;
    for (const TColumn column : AllColumns)
        item->Values.SetValue(column, TValue::Another(values[static_cast<std::size_t>(column)]));
    item->Texts = texts;
    return item;
}

inline TOBISMediaData& EnsureMedia(TOBISData& database, int media)
{
    auto& mediaData = database.AllMediaData[static_cast<std::size_t>(media)];
    if (!mediaData)
        mediaData = std::make_unique<TOBISMediaData>();
    return *mediaData;
}

// Feeds CSV-style definition lines to the database, numbered from firstLineNr.
inline void AddLines(TOBISData& database, int media, std::initializer_list<const char*> lines, int firstLineNr = 1)
{
    EnsureMedia(database, media);
    int lineNr = firstLineNr;
    for (const char* line : lines)
        database.ProcessLine(media, lineNr++, SplitCsvLine(QString::fromUtf8(line)));
}

inline QStringList Lines(std::initializer_list<const char*> lines)
{
    QStringList result;
    for (const char* line : lines)
        result.append(QString::fromUtf8(line));
    return result;
}

// Names the cases of a parameterised test by their Name member.
struct CaseName
{
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& tested) const
    {
        return tested.param.Name;
    }
};
