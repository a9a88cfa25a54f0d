#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace quenderlink {

// The package's XML parts are read and written as they are: every node kept,
// nothing re-indented, so a part changes only where the rows or formats go in.
[[nodiscard]] bool ParsePackageXml(pugi::xml_document& document, const std::string& text);
std::string PackageXmlText(const pugi::xml_document& document);
// A number as the parts hold it: shortest exact form, '.' whatever the locale.
std::string XmlNumber(double value);

// Elements are matched by their name without a namespace prefix: writers differ
// in whether they put the spreadsheet namespace on a prefix.
std::string_view LocalName(pugi::xml_node node);
pugi::xml_node ChildNamed(pugi::xml_node parent, std::string_view localName);
// A new element's name with the prefix its part's root element uses.
std::string NameInPart(pugi::xml_node anyNode, std::string_view localName);

}  // namespace quenderlink
