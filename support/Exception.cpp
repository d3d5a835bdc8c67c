#include "support/Exception.h"

#include <utility>

Exception::Exception(QString message)
    : FMessage(std::move(message))
    , FUtf8(FMessage.toUtf8())
{
}

ESilentAbort::ESilentAbort()
    : Exception(QStringLiteral("Operation aborted"))
{
}
