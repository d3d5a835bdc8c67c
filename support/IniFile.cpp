#include "support/IniFile.h"

#include "support/Exception.h"
#include "support/IntegerText.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <utility>

namespace {

// The name of a "[Section]" line, or nothing for any other line.
std::optional<QString> SectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section lies in the lines: its header and the line after its last line.
struct TSectionLines
{
    qsizetype Header = -1;
    qsizetype End = -1;
};

std::optional<TSectionLines> FindSection(const QStringList& lines, const QString& section, qsizetype from = 0)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        const std::optional<QString> name = SectionName(lines[i]);
        if (!name || !SameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !SectionName(lines[end]))
            ++end;
        return TSectionLines {i, end};
    }
    return std::nullopt;
}

// The line of the key within the section, or -1.
qsizetype FindKey(const QStringList& lines, const TSectionLines& section, const QString& ident)
{
    for (qsizetype i = section.Header + 1; i < section.End; ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals >= 0 && SameName(lines[i].left(equals).trimmed(), ident))
            return i;
    }
    return -1;
}

} // namespace

TIniFile::TIniFile(QString FileName)
    : FFileName(std::move(FileName))
{ }

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    const QStringList lines = ReadText().Lines;
    const std::optional<TSectionLines> section = FindSection(lines, Section);
    if (!section)
        return Default;
    const qsizetype key = FindKey(lines, *section, Ident);
    if (key < 0)
        return Default;
    const QString& line = lines[key];
    return line.mid(line.indexOf(u'=') + 1).trimmed().left(MaxValueLength);
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    QString text = ReadString(Section, Ident, QString());
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = QStringLiteral("$") + text.mid(2);
    return TryStrToInt(text).value_or(Default);
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TText text = ReadText();
    QStringList& lines = text.Lines;
    const QString entry = Ident + u'=' + Value;
    const std::optional<TSectionLines> section = FindSection(lines, Section);
    if (!section) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines << u'[' + Section + u']' << entry;
    } else if (const qsizetype key = FindKey(lines, *section, Ident); key >= 0) {
        lines[key] = entry;
    } else {
        qsizetype insertAt = section->End;
        while (insertAt > section->Header + 1 && lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, entry);
    }
    WriteText(text);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& Section)
{
    TText text = ReadText();
    QStringList& lines = text.Lines;
    bool erased = false;
    while (const std::optional<TSectionLines> section = FindSection(lines, Section)) {
        lines.remove(section->Header, section->End - section->Header);
        erased = true;
    }
    if (erased)
        WriteText(text);
}

// The lines without their ends; a file whose first line ends in LF alone keeps LF, any other
// (and a new file) has CR LF, the format's own line end.
TIniFile::TText TIniFile::ReadText() const
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString content = QString::fromUtf8(file.readAll());
    const qsizetype firstEnd = content.indexOf(u'\n');
    TText text;
    text.LineEnd = firstEnd > 0 && content[firstEnd - 1] != u'\r' ? QStringLiteral("\n") : QStringLiteral("\r\n");
    text.Lines = content.split(u'\n');
    for (QString& line : text.Lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!text.Lines.isEmpty() && text.Lines.last().isEmpty())
        text.Lines.removeLast();
    return text;
}

void TIniFile::WriteText(const TText& Text)
{
    QSaveFile file(FFileName);
    const QByteArray content = (Text.Lines.join(Text.LineEnd) + Text.LineEnd).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw Exception(QStringLiteral("Unable to write to %1").arg(FFileName));
}
