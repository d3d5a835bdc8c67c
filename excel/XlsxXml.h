#pragma once

#include "excel/XmlScanner.h"
#include "support/Exception.h"

#include <QString>

#include <pugixml.hpp>

#include <string_view>
#include <vector>

// One XML part of an .xlsx package, parsed in place piece by piece (see ScanXmlPieces), so
// that the tree in memory stays small however large the part is. Failures are Exceptions
// whose message starts with the part name.
class TXlsxXmlPart
{
public:
    TXlsxXmlPart(QString partName, std::vector<char> xml, std::string_view rootName, std::string_view containerName = {});

    // The number of elements one and two levels below the container.
    qint64 ContainerChildren() const { return FPieces.Children; }
    qint64 ContainerGrandchildren() const { return FPieces.Grandchildren; }

    // Calls visit(element) for each child element of the root before the container.
    template<class TVisit>
    void ForEachPrologueElement(TVisit&& visit)
    {
        ForEachElement(FPieces.Prologue, visit);
    }
    // Calls visit(element) for each child element of the container, in document order.
    template<class TVisit>
    void ForEachContainerElement(TVisit&& visit)
    {
        for (const TByteRange& piece : FPieces.Content)
            ForEachElement(piece, visit);
    }

    // An Exception for a problem found in this part.
    Exception Error(const QString& problem) const;

private:
    template<class TVisit>
    void ForEachElement(TByteRange piece, TVisit& visit)
    {
        if (piece.Begin >= piece.End)
            return;
        Parse(piece);
        for (pugi::xml_node node = FDocument.first_child(); node; node = node.next_sibling()) {
            if (node.type() == pugi::node_element)
                visit(node);
        }
    }
    void Parse(TByteRange piece);

    QString FPartName;
    std::vector<char> FXml;
    TXmlPieces FPieces;
    pugi::xml_document FDocument;
};

// Whether the element's name without namespace prefix is localName.
bool HasLocalName(pugi::xml_node element, std::string_view localName);
// The first child element with that local name, or an empty node.
pugi::xml_node ChildByLocalName(pugi::xml_node element, std::string_view localName);
// The first attribute whose name without namespace prefix is localName, or an empty one.
pugi::xml_attribute AttributeByLocalName(pugi::xml_node element, std::string_view localName);

// The text an element holds, from its text and CDATA children.
QString ElementText(pugi::xml_node element);
// The text of a string item (<si> or <is>): its <t>, or the <t> of its rich text runs
// joined; phonetic runs are left out. Escaped characters such as "_x000D_" are decoded.
QString StringItemText(pugi::xml_node item);
