#include "excel/XmlScanner.h"

#include "excel/Limits.h"
#include "support/Exception.h"

namespace {

bool EndsTagName(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

class TXmlScanner
{
public:
    TXmlScanner(std::string_view xml, std::string_view rootName, std::string_view containerName)
        : FXml(xml)
        , FRootName(rootName)
        , FContainerName(containerName)
        , FContainerDepth(containerName.empty() ? 1 : 2)
    {
    }

    TXmlPieces Run();

private:
    void SkipPast(std::string_view terminator, const char* what);
    void ReadStartTag();
    void ReadEndTag();
    void StartElement(std::string_view name, qsizetype tagBegin, qint64 attributes, bool selfClosing);
    void EndElement(qsizetype tagBegin);
    void EnterContainer();
    void ChildEnded();
    void CountNodes(qint64 count);
    bool InPrologue() const { return !FContainerName.empty() && !FContainerSeen && FDepth >= 1; }

    std::string_view FXml;
    std::string_view FRootName;
    std::string_view FContainerName;
    int FContainerDepth; // the depth of the container's children
    qsizetype FPos = 0;
    int FDepth = 0;
    bool FRootSeen = false;
    bool FContainerSeen = false;
    bool FInContainer = false;
    qsizetype FRootContentBegin = 0;
    qsizetype FPieceBegin = 0;
    qint64 FNodesInPiece = 0;
    TXmlPieces FPieces;
};

TXmlPieces TXmlScanner::Run()
{
    for (;;) {
        const size_t next = FXml.find('<', static_cast<size_t>(FPos));
        if (next == std::string_view::npos)
            break;
        FPos = static_cast<qsizetype>(next);
        const std::string_view rest = FXml.substr(next);
        if (rest.starts_with("<?")) {
            SkipPast("?>", "a processing instruction");
        } else if (rest.starts_with("<!--")) {
            SkipPast("-->", "a comment");
        } else if (rest.starts_with("<![CDATA[")) {
            if (FInContainer || InPrologue())
                CountNodes(1);
            SkipPast("]]>", "a CDATA section");
        } else if (rest.starts_with("<!")) {
            throw Exception(QStringLiteral("a DOCTYPE declaration is not allowed"));
        } else if (rest.starts_with("</")) {
            ReadEndTag();
        } else {
            ReadStartTag();
        }
    }
    if (!FRootSeen)
        throw Exception(QStringLiteral("there is no root element"));
    if (FDepth != 0)
        throw Exception(QStringLiteral("the XML ends before all its elements are closed"));
    return std::move(FPieces);
}

void TXmlScanner::SkipPast(std::string_view terminator, const char* what)
{
    const size_t end = FXml.find(terminator, static_cast<size_t>(FPos) + 2);
    if (end == std::string_view::npos)
        throw Exception(QStringLiteral("the XML ends inside %1").arg(QLatin1String(what)));
    FPos = static_cast<qsizetype>(end + terminator.size());
}

void TXmlScanner::ReadStartTag()
{
    const qsizetype tagBegin = FPos;
    const qsizetype size = static_cast<qsizetype>(FXml.size());
    qsizetype p = FPos + 1;
    while (p < size && !EndsTagName(FXml[static_cast<size_t>(p)]))
        ++p;
    const std::string_view name = FXml.substr(static_cast<size_t>(FPos + 1), static_cast<size_t>(p - FPos - 1));
    if (name.empty())
        throw Exception(QStringLiteral("a tag without a name at byte %1").arg(tagBegin));
    qint64 attributes = 0;
    char quote = 0;
    for (; p < size; ++p) {
        const char c = FXml[static_cast<size_t>(p)];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '=') {
            ++attributes;
        } else if (c == '>') {
            break;
        }
    }
    if (p >= size)
        throw Exception(QStringLiteral("the XML ends inside a tag"));
    const bool selfClosing = FXml[static_cast<size_t>(p - 1)] == '/';
    FPos = p + 1;
    StartElement(name, tagBegin, attributes, selfClosing);
}

void TXmlScanner::ReadEndTag()
{
    const size_t end = FXml.find('>', static_cast<size_t>(FPos));
    if (end == std::string_view::npos)
        throw Exception(QStringLiteral("the XML ends inside a tag"));
    const qsizetype tagBegin = FPos;
    FPos = static_cast<qsizetype>(end + 1);
    if (FDepth == 0)
        throw Exception(QStringLiteral("an end tag without a start tag at byte %1").arg(tagBegin));
    EndElement(tagBegin);
}

void TXmlScanner::StartElement(std::string_view name, qsizetype tagBegin, qint64 attributes, bool selfClosing)
{
    if (FDepth == 0) {
        if (FRootSeen)
            throw Exception(QStringLiteral("there is more than one root element"));
        if (LocalName(name) != FRootName)
            throw Exception(QStringLiteral("the root element is <%1>, not <%2>").arg(Latin1(name), Latin1(FRootName)));
        FRootSeen = true;
        FRootContentBegin = FPos;
        if (selfClosing)
            return;
        FDepth = 1;
        if (FContainerName.empty())
            EnterContainer();
        return;
    }
    if (InPrologue() && FDepth == 1 && LocalName(name) == FContainerName) {
        FContainerSeen = true;
        FPieces.Prologue = TByteRange{FRootContentBegin, tagBegin};
        if (!selfClosing) {
            ++FDepth;
            EnterContainer();
        }
        return;
    }
    if (FInContainer && FDepth == FContainerDepth)
        ++FPieces.Children;
    else if (FInContainer && FDepth == FContainerDepth + 1)
        ++FPieces.Grandchildren;
    // The element itself, its attributes and room for a text node.
    if (FInContainer || InPrologue())
        CountNodes(2 + attributes);
    if (selfClosing) {
        if (FInContainer && FDepth == FContainerDepth)
            ChildEnded();
        return;
    }
    if (++FDepth > ExcelLimits::MaxXmlDepth)
        throw Exception(QStringLiteral("the elements nest deeper than %1 levels").arg(ExcelLimits::MaxXmlDepth));
}

void TXmlScanner::EndElement(qsizetype tagBegin)
{
    --FDepth;
    if (FInContainer && FDepth == FContainerDepth - 1) {
        if (FPieceBegin < tagBegin)
            FPieces.Content.push_back(TByteRange{FPieceBegin, tagBegin});
        FInContainer = false;
    } else if (FInContainer && FDepth == FContainerDepth) {
        ChildEnded();
    }
    if (FDepth == 0 && !FContainerSeen && !FContainerName.empty())
        FPieces.Prologue = TByteRange{FRootContentBegin, tagBegin};
}

void TXmlScanner::EnterContainer()
{
    FInContainer = true;
    FPieceBegin = FPos;
    FNodesInPiece = 0;
}

void TXmlScanner::ChildEnded()
{
    if (FNodesInPiece < ExcelLimits::XmlPieceNodes)
        return;
    FPieces.Content.push_back(TByteRange{FPieceBegin, FPos});
    FPieceBegin = FPos;
    FNodesInPiece = 0;
}

void TXmlScanner::CountNodes(qint64 count)
{
    FNodesInPiece += count;
    if (FNodesInPiece > ExcelLimits::MaxXmlNodesPerParse)
        throw Exception(QStringLiteral("an element holds more than %1 XML nodes").arg(ExcelLimits::MaxXmlNodesPerParse));
}

} // namespace

TXmlPieces ScanXmlPieces(std::string_view xml, std::string_view rootName, std::string_view containerName)
{
    return TXmlScanner(xml, rootName, containerName).Run();
}

std::string_view LocalName(std::string_view name)
{
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
