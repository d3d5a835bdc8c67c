#include "support/HexString.h"

#include "support/Exception.h"
#include "support/IntegerText.h"

quint8 HexCharToValue(QChar C)
{
    const int value = HexDigitValue(C);
    if (value < 0)
        throw Exception(QStringLiteral("Illegal hex-character"));
    return static_cast<quint8>(value);
}

quint8 HexCharsToByte(QChar Hi, QChar Lo)
{
    const quint8 high = HexCharToValue(Hi);
    return static_cast<quint8>(high * 16 + HexCharToValue(Lo));
}

QString HexStrToByteStr(const QString& S)
{
    QString result;
    qsizetype i = 0;
    while (i < S.size()) {
        QString pair;
        for (; i < S.size() && pair.size() < 2; ++i) {
            if (S[i] != u' ')
                pair.append(S[i]);
        }
        if (pair.size() == 1)
            throw Exception(QStringLiteral("HexStrToByteStr: Hex-character missing"));
        if (pair.isEmpty())
            throw Exception(QStringLiteral("HexStrToByteStr: blanks after the last hex-character"));
        result.append(QChar(HexCharsToByte(pair[0], pair[1])));
    }
    return result;
}
