#pragma once

#include <QString>
#include <QStringList>

// A settings file in the ini format: "[Section]" lines open sections, "Key=Value" lines hold
// values. Section and key names compare without regard to letter case; blanks around names
// and values are ignored. Every call goes to the file: reads parse it afresh, each write
// rewrites it at once (the file is created by the first write, its folder is not). The file
// is UTF-8; its lines keep the ends they had (CR LF or LF), and a new file has CR LF.
class TIniFile
{
public:
    explicit TIniFile(QString FileName);

    const QString& FileName() const { return FFileName; }

    // At most MaxValueLength characters of the value; Default when the key is absent.
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // A decimal integer, "$" and hexadecimal digits, or "0x" and hexadecimal digits; Default for
    // anything else.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // An integer as ReadInteger reads it: any non-zero value is true.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;

    // Each write raises "Unable to write to %s" (the file name) when the file cannot be written.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    // Removes the section with all its keys.
    void EraseSection(const QString& Section);

    static constexpr qsizetype MaxValueLength = 2047;

private:
    struct TText
    {
        QStringList Lines;
        QString LineEnd = QStringLiteral("\r\n");
    };
    TText ReadText() const;
    void WriteText(const TText& Text);

    QString FFileName;
};
