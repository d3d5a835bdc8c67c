#pragma once

#include <QtGlobal>

#include <string_view>
#include <vector>

struct TByteRange
{
    qsizetype Begin = 0;
    qsizetype End = 0;
};

// The stretches of an XML part that are handed to the XML parser one after the other, each
// a sequence of whole elements.
struct TXmlPieces
{
    // The children of the root that precede the container, when the container is a child of
    // the root; the whole content of the root when there is no such container.
    TByteRange Prologue;
    // The content of the container, cut between two of its children whenever enough nodes
    // have gathered, so that no parse builds a tree much larger than ExcelLimits::XmlPieceNodes.
    std::vector<TByteRange> Content;
    // The number of elements one and two levels below the container (the rows and the cells
    // of a sheet), for sizing what is read from them.
    qint64 Children = 0;
    qint64 Grandchildren = 0;
};

// Walks the markup of a UTF-8 XML part without building a tree: the cheap check that comes
// before parsing. The part must have one root element named rootName (namespace prefixes
// are ignored), must not contain a DOCTYPE, nest deeper than ExcelLimits::MaxXmlDepth or hold
// a child of the container with more than ExcelLimits::MaxXmlNodesPerParse nodes. The
// container is the root itself when containerName is empty, otherwise the first child of the
// root named so. Throws Exception carrying the problem.
TXmlPieces ScanXmlPieces(std::string_view xml, std::string_view rootName, std::string_view containerName);

// The name after a namespace prefix: "x:row" gives "row".
std::string_view LocalName(std::string_view name);
