#pragma once

#include <QString>

// The texts that the help and about windows assemble from catalogue texts
// and product facts. Catalogue texts carry the two characters backslash
// and n where a line break belongs; the assembled texts hold CR LF there.
namespace CatalogueText {

// Every backslash-n of the text becomes CR LF.
QString WithLineBreaks(const QString& text);

// The help text: message 11000, the product description, messages 11003
// and 11004, and the e-mail address.
QString HelpText(const QString& message11000, const QString& description,
                 const QString& message11003, const QString& message11004, const QString& email);

// The about text: the notice, then messages 11101 and 11102, each in a
// paragraph of its own.
QString AboutText(const QString& notice, const QString& message11101, const QString& message11102);

} // namespace CatalogueText
