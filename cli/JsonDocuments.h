#pragma once

#include "cli/Descriptions.h"
#include "obisdata/Model.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QTextStream>

#include <optional>
#include <vector>

// The JSON documents of --json; their shapes are given in the usage text.

QJsonDocument SearchDocument(const std::vector<TOBISData::TMatch>& matches);
QJsonDocument DescriptionsDocument(const std::vector<TDescription>& descriptions);
QJsonDocument WordsDocument(const QStringList& words);

// "A.B.C.D.E.F", or null.
QJsonValue CodeValue(const std::optional<TOBISCode>& code);
// The text, or null when it is empty.
QJsonValue TextOrNull(const QString& text);

void WriteJson(QTextStream& out, const QJsonDocument& document);
