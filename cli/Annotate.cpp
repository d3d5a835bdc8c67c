#include "cli/Annotate.h"

#include "cli/Descriptions.h"
#include "cli/JsonDocuments.h"
#include "cli/Source.h"
#include "frontend/Readout.h"
#include "support/Exception.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

namespace {

const QString StandardInputName = QStringLiteral("-");

// One readout and what its lines say.
struct TAnnotatedReadout
{
    QString Name; // the file's name, or "-" for standard input
    std::vector<TReadoutLine> Lines;
    std::vector<TDescription> Descriptions; // one per line, empty for a line without a code
};

QByteArray ReadInput(const QString& name)
{
    QFile file;
    if (name == StandardInputName) {
        if (!file.open(stdin, QIODevice::ReadOnly))
            throw Exception(QStringLiteral("Cannot read the standard input: %1").arg(file.errorString()));
    } else {
        file.setFileName(name);
        OpenForReading(file);
    }
    return file.readAll();
}

TAnnotatedReadout ReadAnnotated(const QString& name, const TMediaGroups& media)
{
    TAnnotatedReadout readout{name, ReadReadout(ReadInput(name), media), {}};
    for (const TReadoutLine& line : readout.Lines)
        readout.Descriptions.push_back(TDescription{line.CodeText, line.Code, {}, line.Error});
    return readout;
}

bool HasCode(const TDescription& description)
{
    return !description.Input.isEmpty();
}

// A code the reader refused, or a CRC that does not hold: the readout itself is wrong. (A code
// the database cannot describe, such as one of a manufacturer's media above 9, is reported but
// says nothing against the readout.)
bool Fails(const TReadoutLine& line)
{
    return !line.Error.isEmpty() || (line.Crc && !line.Crc->Holds);
}

QString CrcDigits(quint16 crc)
{
    return QStringLiteral("%1").arg(crc, 4, 16, QChar(u'0')).toUpper();
}

// The notes below a line: its code and description (or what is wrong), the texts its values
// spell, the check of its CRC.
QStringList Notes(const TReadoutLine& line, const TDescription& description)
{
    QStringList notes;
    if (HasCode(description))
        notes.append(DescriptionLine(description));
    for (const TReadoutValue& value : line.Values) {
        if (value.Text)
            notes.append(QStringLiteral("spells \"%1\"").arg(*value.Text));
    }
    if (line.Crc) {
        notes.append(line.Crc->Holds ? QStringLiteral("CRC %1 holds").arg(CrcDigits(line.Crc->Written))
                                     : QStringLiteral("CRC %1 does not hold: the telegram gives %2")
                                           .arg(CrcDigits(line.Crc->Written), CrcDigits(line.Crc->Computed)));
    }
    return notes;
}

void WriteText(const std::vector<TAnnotatedReadout>& readouts, QTextStream& out)
{
    for (const TAnnotatedReadout& readout : readouts) {
        if (readouts.size() > 1)
            out << "==> " << readout.Name << " <==\n";
        for (std::size_t i = 0; i < readout.Lines.size(); ++i) {
            out << readout.Lines[i].Text << '\n';
            for (const QString& note : Notes(readout.Lines[i], readout.Descriptions[i]))
                out << "    " << note << '\n';
        }
    }
}

QJsonArray ValuesArray(const std::vector<TReadoutValue>& values)
{
    QJsonArray array;
    for (const TReadoutValue& value : values) {
        QJsonObject object{{QStringLiteral("value"), value.Value}, {QStringLiteral("unit"), TextOrNull(value.Unit)}};
        if (value.Text)
            object.insert(QStringLiteral("text"), *value.Text);
        array.append(object);
    }
    return array;
}

QJsonObject LineObject(const TReadoutLine& line, const TDescription& description)
{
    QJsonObject object{{QStringLiteral("line"), line.Number}, {QStringLiteral("text"), line.Text},
        {QStringLiteral("code"), CodeValue(description.Code)},
        {QStringLiteral("description"), description.Error.isEmpty() ? TextOrNull(description.Description) : QJsonValue()},
        {QStringLiteral("values"), ValuesArray(line.Values)}};
    if (HasCode(description) && !description.Error.isEmpty())
        object.insert(QStringLiteral("error"), description.Error);
    if (line.Crc) {
        object.insert(QStringLiteral("crc"),
            QJsonObject{{QStringLiteral("written"), CrcDigits(line.Crc->Written)},
                {QStringLiteral("computed"), CrcDigits(line.Crc->Computed)}, {QStringLiteral("holds"), line.Crc->Holds}});
    }
    return object;
}

QJsonDocument JsonDocument(const std::vector<TAnnotatedReadout>& readouts, bool namesFiles)
{
    QJsonArray array;
    for (const TAnnotatedReadout& readout : readouts) {
        for (std::size_t i = 0; i < readout.Lines.size(); ++i) {
            if (!HasCode(readout.Descriptions[i]) && !readout.Lines[i].Crc)
                continue;
            QJsonObject object = LineObject(readout.Lines[i], readout.Descriptions[i]);
            if (namesFiles)
                object.insert(QStringLiteral("file"), readout.Name);
            array.append(object);
        }
    }
    return QJsonDocument(array);
}

} // namespace

int RunAnnotate(const TCommandLine& commandLine, const TLogProc& log, QTextStream& out)
{
    const QStringList names = commandLine.Files.isEmpty() ? QStringList{StandardInputName} : commandLine.Files;
    std::vector<TAnnotatedReadout> readouts;
    TCodeSelection selection;
    for (const QString& name : names) {
        readouts.push_back(ReadAnnotated(name, commandLine.Media));
        AddToSelection(selection, readouts.back().Descriptions);
    }
    if (!selection.empty()) {
        const std::unique_ptr<TOBISData> database = LoadDatabase(commandLine, log, &selection);
        for (TAnnotatedReadout& readout : readouts)
            Describe(*database, readout.Descriptions);
    }

    if (commandLine.Json)
        WriteJson(out, JsonDocument(readouts, !commandLine.Files.isEmpty()));
    else
        WriteText(readouts, out);

    for (const TAnnotatedReadout& readout : readouts) {
        if (std::any_of(readout.Lines.begin(), readout.Lines.end(), Fails))
            return LoadOrLookupError;
    }
    return Success;
}
