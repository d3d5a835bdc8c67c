#include "obisdata/CsvFiles.h"

#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// A quoted field from its opening quote: the text without the quotes, a doubled quote
// standing for one. Returns the position just after the closing quote.
qsizetype ReadQuotedField(QStringView line, qsizetype position, QString& field)
{
    ++position; // the opening quote
    while (position < line.size()) {
        if (line[position] != u'"') {
            field.append(line[position++]);
            continue;
        }
        if (position + 1 < line.size() && line[position + 1] == u'"') {
            field.append(u'"');
            position += 2;
            continue;
        }
        return position + 1;
    }
    return position;
}

} // namespace

QStringList SplitCsvLine(QStringView line)
{
    QStringList fields;
    qsizetype position = 0;
    while (position < line.size()) {
        QString field;
        if (line[position] == u'"') {
            position = ReadQuotedField(line, position, field);
        } else {
            const qsizetype comma = line.indexOf(u',', position);
            const qsizetype end = comma < 0 ? line.size() : comma;
            field = line.mid(position, end - position).toString();
            position = end;
        }
        fields.append(std::move(field));
        if (position < line.size() && line[position] == u',') {
            ++position;
            if (position == line.size())
                fields.append(QString());
        }
    }
    return fields;
}

QStringList ReadTextLines(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open \"%1\": %2").arg(FileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Cannot read \"%1\": %2").arg(FileName, file.errorString()));
    // The files are 8-bit text in the system's code page.
    QStringDecoder decoder(QStringDecoder::System);
    const QString text = decoder.decode(bytes);

    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        lines.append(text.mid(start, end - start));
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

void TOBISData::LoadCSVFile(int Media, const QString& FileName)
{
    if (!IsMediaNr(Media))
        throw Exception(QStringLiteral("Range check error"));
    ForgetWordList();
    AllMediaData[static_cast<std::size_t>(Media)] = std::make_unique<TOBISMediaData>();

    int lineNr = 1;
    for (const QString& line : ReadTextLines(FileName)) {
        // Lines of 0 or 1 characters and lines without kind and field A are passed over.
        if (line.size() >= 2 && !line.startsWith(u",,"))
            ProcessLine(Media, lineNr, SplitCsvLine(line));
        ++lineNr;
    }
}

void TOBISData::LoadFromCSVFiles(const TLogProc& LogProc, const QString& Directory)
{
    // Media 0 comes last, so that its all-media items reach every list read before it.
    for (int media = MediaCount - 1; media >= 0; --media) {
        const QString fileName = Directory + QString::number(media) + QStringLiteral(".csv");
        if (!QFileInfo::exists(fileName))
            continue;
        LogProc(QStringLiteral("Processing file : ") + fileName);
        LoadCSVFile(media, fileName);
    }
    ExpandTables();
}
