#pragma once

#include <QString>
#include <optional>

// Database files of the program kultbuh replaces: Microsoft Jet (Access)
// files, recognised by the signature in their first page. The program and
// kultbuh-db never open them as their own database; "kultbuh-db import"
// converts one.
namespace kb::sql {

enum class JetFormat { Jet3, Jet4, Ace }; // Ace: Access 2007 and later

// The format the file's header names; nullopt when the file is no Jet file
// or cannot be read.
std::optional<JetFormat> jetFormat(const QString& fileName);

// The message given when a Jet file is met where a database of the program is expected.
QString jetFileRefusal(const QString& shownPath);

} // namespace kb::sql
