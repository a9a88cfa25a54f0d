#include "exchange/PackageXml.h"

#include <charconv>
#include <sstream>

namespace quenderlink {

bool ParsePackageXml(pugi::xml_document& document, const std::string& text) {
  return document.load_buffer(text.data(), text.size(), pugi::parse_full, pugi::encoding_utf8) &&
         document.document_element();
}

std::string PackageXmlText(const pugi::xml_document& document) {
  std::ostringstream out;
  // The part's own declaration was kept as a node, so none is added.
  document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

std::string XmlNumber(double value) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  return {text, written.ptr};
}

std::string_view LocalName(pugi::xml_node node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node ChildNamed(pugi::xml_node parent, std::string_view localName) {
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element && LocalName(child) == localName) return child;
  return {};
}

std::string NameInPart(pugi::xml_node anyNode, std::string_view localName) {
  pugi::xml_node root = anyNode.root().first_child();
  while (root && root.type() != pugi::node_element) root = root.next_sibling();
  const std::string_view rootName = root.name();
  const std::size_t colon = rootName.find(':');
  const std::string prefix(colon == std::string_view::npos ? std::string_view() : rootName.substr(0, colon + 1));
  return prefix + std::string(localName);
}

}  // namespace quenderlink
