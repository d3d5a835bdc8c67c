#include "frontend/SearchInput.h"

#include "support/IntegerText.h"

std::optional<quint8> ReadFieldValue(const QString& text, bool hex)
{
    const std::optional<qint32> value = TryStrToInt(hex ? QStringLiteral("$") + text : text);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return static_cast<quint8>(*value);
}

TSearchWords ReadWords(const QString& text)
{
    TSearchWords words;
    const qsizetype size = text.size();
    qsizetype p = 0;
    while (p < size) {
        while (p < size && text[p] == u' ')
            ++p;
        const bool minus = p < size && text[p] == u'-';
        if (minus)
            ++p;
        const qsizetype start = p;
        if (p < size && text[p] == u'"') {
            const qsizetype closing = text.indexOf(u'"', p + 1);
            p = closing < 0 ? size : closing + 1;
        } else {
            while (p < size && text[p] != u' ')
                ++p;
        }
        if (start < size)
            (minus ? words.MinusWords : words.PlusWords).append(text.mid(start, p - start));
    }
    return words;
}
