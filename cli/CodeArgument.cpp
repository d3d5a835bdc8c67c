#include "cli/CodeArgument.h"

#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QRegularExpression>

TOBISCode CodeFromArgument(const QString& text)
{
    // A-B:C.D.E*F or A-B:C.D.E.F
    static const QRegularExpression groupedForm(
        QStringLiteral("^([^-:.*]+)-([^-:.*]+):([^-:.*]+)\\.([^-:.*]+)\\.([^-:.*]+)[*.]([^-:.*]+)$"));
    const QRegularExpressionMatch match = groupedForm.match(text);
    if (!match.hasMatch())
        return TOBISData::OBISStrToOBISCode(text);
    try {
        return TOBISData::OBISStrToOBISCode(match.capturedTexts().mid(1).join(u'.'));
    } catch (const Exception&) {
        throw Exception(QStringLiteral("Unrecognized OBIS code \"%1\"").arg(text));
    }
}
