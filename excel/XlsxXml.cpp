#include "excel/XlsxXml.h"

#include "support/IntegerText.h"


#include <QStringDecoder>

#include <cstring>
#include <optional>
#include <string>

namespace {

// Character and entity references expanded, line ends normalised, CDATA kept, a blank-only
// text kept when it is an element's only content (a cell text " "), text stored in its element.
constexpr unsigned ParseOptions = pugi::parse_fragment | pugi::parse_escapes | pugi::parse_eol | pugi::parse_cdata
    | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

// A part may be stored as UTF-16 with a byte order mark; the scanner and the parser read UTF-8.
std::vector<char> ToUtf8(std::vector<char> xml)
{
    const auto startsWith = [&xml](unsigned char first, unsigned char second) {
        return xml.size() >= 2 && static_cast<unsigned char>(xml[0]) == first && static_cast<unsigned char>(xml[1]) == second;
    };
    const bool littleEndian = startsWith(0xFF, 0xFE);
    if (!littleEndian && !startsWith(0xFE, 0xFF))
        return xml;
    QStringDecoder decoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    const QString text = decoder(QByteArrayView(xml.data() + 2, static_cast<qsizetype>(xml.size()) - 2));
    const QByteArray utf8 = text.toUtf8();
    return std::vector<char>(utf8.begin(), utf8.end());
}

void AppendText(pugi::xml_node element, std::string& text)
{
    text += element.value(); // the text stored in the element itself comes first
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    }
}

// The code unit written as "_xHHHH_" at position i, if there is one.
std::optional<char16_t> EscapedCodeUnitAt(const QString& text, qsizetype i)
{
    if (i + 7 > text.size() || text[i] != u'_' || text[i + 1] != u'x' || text[i + 6] != u'_')
        return std::nullopt;
    int code = 0;
    for (qsizetype k = i + 2; k < i + 6; ++k) {
        const int digit = HexDigitValue(text[k]);
        if (digit < 0)
            return std::nullopt;
        code = code * 16 + digit;
    }
    return static_cast<char16_t>(code);
}

QString DecodeEscapes(const QString& text)
{
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (const std::optional<char16_t> code = EscapedCodeUnitAt(text, i)) {
            decoded += QChar(*code);
            i += 7;
        } else {
            decoded += text[i++];
        }
    }
    return decoded;
}

// Stored strings are UTF-8 and write characters that XML cannot carry (and "_x" itself) as
// "_xHHHH_".
QString StoredText(const char* utf8)
{
    const QString text = QString::fromUtf8(utf8);
    return std::strstr(utf8, "_x") ? DecodeEscapes(text) : text;
}

} // namespace

TXlsxXmlPart::TXlsxXmlPart(QString partName, std::vector<char> xml, std::string_view rootName, std::string_view containerName)
    : FPartName(std::move(partName))
    , FXml(ToUtf8(std::move(xml)))
{
    try {
        FPieces = ScanXmlPieces(std::string_view(FXml.data(), FXml.size()), rootName, containerName);
    } catch (const Exception& e) {
        throw Error(e.Message());
    }
}

Exception TXlsxXmlPart::Error(const QString& problem) const
{
    return Exception(QStringLiteral("%1: %2").arg(FPartName, problem));
}

void TXlsxXmlPart::Parse(TByteRange piece)
{
    const pugi::xml_parse_result result = FDocument.load_buffer_inplace(
        FXml.data() + piece.Begin, static_cast<size_t>(piece.End - piece.Begin), ParseOptions, pugi::encoding_utf8);
    if (!result) {
        throw Error(QStringLiteral("XML error at byte %1: %2")
                        .arg(piece.Begin + static_cast<qsizetype>(result.offset))
                        .arg(QLatin1String(result.description())));
    }
}

bool HasLocalName(pugi::xml_node element, std::string_view localName)
{
    return LocalName(element.name()) == localName;
}

pugi::xml_node ChildByLocalName(pugi::xml_node element, std::string_view localName)
{
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && HasLocalName(child, localName))
            return child;
    }
    return {};
}

pugi::xml_attribute AttributeByLocalName(pugi::xml_node element, std::string_view localName)
{
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        if (LocalName(attribute.name()) == localName)
            return attribute;
    }
    return {};
}

QString ElementText(pugi::xml_node element)
{
    if (!element.first_child())
        return QString::fromUtf8(element.value());
    std::string text;
    AppendText(element, text);
    return QString::fromUtf8(text);
}

QString StringItemText(pugi::xml_node item)
{
    // The usual item: a single <t> holding plain text.
    const pugi::xml_node first = item.first_child();
    if (first && !first.next_sibling() && HasLocalName(first, "t") && !first.first_child())
        return StoredText(first.value());

    std::string text;
    for (pugi::xml_node child = item.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (HasLocalName(child, "t"))
            AppendText(child, text);
        else if (HasLocalName(child, "r"))
            AppendText(ChildByLocalName(child, "t"), text);
    }
    return StoredText(text.c_str());
}
