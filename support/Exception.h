#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one kind of failure the program raises: an exception that carries a message.
// Loaders wrap the message of a caught Exception as it travels outwards.
class Exception : public std::exception
{
public:
    explicit Exception(QString message);

    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// The silent abort: ends a command without any message being shown.
class ESilentAbort : public Exception
{
public:
    ESilentAbort();
};
