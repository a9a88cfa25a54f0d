#include "exchange/TemplateParts.h"

#include <zip.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "exchange/PackageXml.h"

namespace quenderlink {
namespace {

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Package = std::unique_ptr<zip_t, ZipCloser>;

std::optional<std::string> ReadEntry(zip_t* archive, const std::string& name) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(archive, name.c_str(), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
      stat.size > kLargestTemplatePart)
    return std::nullopt;
  zip_file_t* entry = zip_fopen(archive, name.c_str(), 0);
  if (entry == nullptr) return std::nullopt;
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_fread(entry, bytes.data(), bytes.size());
  zip_fclose(entry);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) return std::nullopt;
  return bytes;
}

std::optional<pugi::xml_document> ReadXmlEntry(zip_t* archive, const std::string& name) {
  const std::optional<std::string> text = ReadEntry(archive, name);
  std::optional<pugi::xml_document> document(std::in_place);
  if (!text || !ParsePackageXml(*document, *text)) return std::nullopt;
  return document;
}

// Relationship targets are relative to the folder of the part that names them, or absolute in the package.
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
  if (!target.empty() && target.front() == '/') return target.substr(1);
  return (std::filesystem::path(sourcePart).parent_path() / target).lexically_normal().generic_string();
}

std::string RelationshipsPartOf(const std::string& part) {
  const std::filesystem::path path(part);
  return (path.parent_path() / "_rels" / (path.filename().string() + ".rels")).generic_string();
}

bool TypeEndsWith(pugi::xml_node relationship, std::string_view kind) {
  const std::string_view type = relationship.attribute("Type").value();
  return type.size() > kind.size() && type.substr(type.size() - kind.size()) == kind &&
         type[type.size() - kind.size() - 1] == '/';
}

// The target of the first relationship of the part's that matches; empty when none does.
template <typename Matches>
std::string TargetOf(const pugi::xml_document& relationships, const std::string& sourcePart, Matches matches) {
  for (pugi::xml_node relationship : relationships.document_element().children())
    if (LocalName(relationship) == "Relationship" && matches(relationship))
      return ResolveTarget(sourcePart, relationship.attribute("Target").value());
  return {};
}

// The relationship id of the workbook's first sheet; empty when it lists no sheet.
std::string FirstSheetId(const pugi::xml_document& workbook) {
  const pugi::xml_node sheet = ChildNamed(ChildNamed(workbook.document_element(), "sheets"), "sheet");
  for (pugi::xml_attribute attribute : sheet.attributes()) {
    const std::string_view name = attribute.name();
    if (name.size() > 3 && name.substr(name.size() - 3) == ":id") return attribute.value();
  }
  return {};
}

Package OpenPackage(std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source == nullptr ? nullptr : zip_open_from_source(source, ZIP_RDONLY, &error);
  // The archive owns its source once open; before that it is ours to free.
  if (archive == nullptr && source != nullptr) zip_source_free(source);
  zip_error_fini(&error);
  return Package(archive);
}

}  // namespace

std::variant<TemplateParts, WorkbookFailure> ReadTemplateParts(std::string_view bytes) {
  const WorkbookFailure unreadable{WorkbookFailure::Kind::Refused, kTemplateLoadFailedText};
  const Package package = OpenPackage(bytes);
  if (!package) return unreadable;

  const auto packageRelationships = ReadXmlEntry(package.get(), "_rels/.rels");
  if (!packageRelationships) return unreadable;
  const std::string workbookPart = TargetOf(*packageRelationships, "", [](pugi::xml_node relationship) {
    return TypeEndsWith(relationship, "officeDocument");
  });
  const auto workbook = ReadXmlEntry(package.get(), workbookPart);
  const auto workbookRelationships = ReadXmlEntry(package.get(), RelationshipsPartOf(workbookPart));
  if (workbookPart.empty() || !workbook || !workbookRelationships) return unreadable;

  const std::string sheetId = FirstSheetId(*workbook);
  if (sheetId.empty()) return WorkbookFailure{WorkbookFailure::Kind::Refused, kNoSheetText};
  TemplateParts parts;
  parts.sheetName = TargetOf(*workbookRelationships, workbookPart, [&sheetId](pugi::xml_node relationship) {
    return sheetId == relationship.attribute("Id").value();
  });
  parts.stylesName = TargetOf(*workbookRelationships, workbookPart, [](pugi::xml_node relationship) {
    return TypeEndsWith(relationship, "styles");
  });
  auto sheetXml = ReadEntry(package.get(), parts.sheetName);
  auto stylesXml = ReadEntry(package.get(), parts.stylesName);
  if (parts.sheetName.empty() || parts.stylesName.empty() || !sheetXml || !stylesXml) return unreadable;
  parts.sheetXml = std::move(*sheetXml);
  parts.stylesXml = std::move(*stylesXml);
  return parts;
}

}  // namespace quenderlink
