#include "cli/SitesCommands.h"

#include <iostream>
#include <map>
#include <string>

#include "cli/SiteListArgument.h"
#include "cli/SiteRecordJson.h"
#include "cli/WorkbookExport.h"
#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/RecordText.h"
#include "core/SiteListLoader.h"
#include "exchange/SiteListExport.h"
#include "net/HostAddress.h"

namespace quenderlink::cli {
namespace {

// A text option as its record field will hold it, or why it cannot.
struct OptionText {
  std::string text;  // Windows-1252
  std::string problem;
  bool replaced = false;  // some character became "?"
};

template <std::size_t N>
OptionText FitsField(const char (&)[N], const std::string& option, const std::string& utf8) {
  Windows1252Text converted = Windows1252FromUtf8(utf8);
  if (converted.text.size() >= N) return {{}, option + " takes at most " + std::to_string(N - 1) + " characters"};
  return {std::move(converted.text), {}, converted.firstReplaced != std::string::npos};
}

struct AddOptions {
  std::string file;
  std::string host;
  std::optional<std::uint16_t> port;
  std::uint16_t telnetPort = 0;
  std::string name;
  std::string milepost;
};

[[nodiscard]] int AddSite(const CommandContext& context, const AddOptions& options) {
  const ProgramState state = context.LoadProgramState();
  SiteRecord record = NewSiteRecord(options.port.value_or(state.params.defaultPortNum));
  const OptionText host = FitsField(record.HostText, "--host", options.host);
  const OptionText name = FitsField(record.SiteName, "--name", options.name);
  const OptionText milepost = FitsField(record.Milepost, "--milepost", options.milepost);
  for (const OptionText* text : {&host, &name, &milepost})
    if (!text->problem.empty()) return BadInput(text->problem);
  if (options.host.empty()) return BadInput("--host must not be empty");
  for (const auto& [text, option] : {std::pair{&host, "--host"}, {&name, "--name"}, {&milepost, "--milepost"}})
    if (text->replaced) std::cerr << ReplacedCharactersText(option) << '\n';

  SetFieldText(record.HostText, host.text);
  SetFieldText(record.IpByNumber, AddressForHost(host.text));
  if (!name.text.empty()) SetFieldText(record.SiteName, name.text);
  if (!milepost.text.empty()) SetFieldText(record.Milepost, milepost.text);
  record.TelnetPort = options.telnetPort;

  CSiteinfoClass file;
  if (!file.AppendRecord(options.file, record))
    return Failed(options.file + ": error " + std::to_string(file.lastError()) + ": " +
                  SiteFileErrorText(file.lastError()));

  SiteTable table;
  if (LoadSiteTable(options.file, table, state.params.telnetPortTrk1) == 0 && !table.empty())
    std::cout << "Added row " << table.records().back().RowNumber << ": " << options.host << " ("
              << FieldText(record.IpByNumber) << ") port " << record.DevicePort << '\n';
  return kExitOk;
}

void AddShow(CLI::App& sites, CommandContext& context) {
  auto* show = sites.add_subcommand("show", "List the records of a site list file");
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  show->add_option("FILE", *file, "Site list file")->required();
  show->add_flag("--json", *json, "Print a JSON array, one object per record");
  show->callback([&context, file, json] {
    ProgramState state = context.LoadProgramState();
    context.exitCode = LoadSiteListArgument(*file, state);
    if (context.exitCode != kExitOk) return;
    const SiteTable& table = state.sites;
    if (*json)
      std::cout << SiteTableJson(table).dump(2) << '\n';
    else
      std::cout << FormatSiteListExport(table, SiteListExportFormat::Text);
  });
}

void AddAdd(CLI::App& sites, CommandContext& context) {
  auto* add = sites.add_subcommand("add", "Append a new site to a site list file (created when missing)");
  auto options = std::make_shared<AddOptions>();
  add->add_option("FILE", options->file, "Site list file")->required();
  add->add_option("--host", options->host, "DNS name or dotted IPv4 address of the unit")->required();
  add->add_option("--port", options->port, "Datagram port (default: the setting Default Port Num)")
      ->check(CLI::Range(1, 65535));
  add->add_option("--telnet-port", options->telnetPort, "Telnet port (0: the setting Telnet Port Trk1)")
      ->check(CLI::Range(0, 65535));
  add->add_option("--name", options->name, "Site name");
  add->add_option("--milepost", options->milepost, "Milepost");
  add->callback([&context, options] { context.exitCode = AddSite(context, *options); });
}

enum class ExportFormat { Text, Csv, Workbook };

struct ExportOptions {
  std::string file;
  ExportFormat format = ExportFormat::Text;
  std::optional<std::string> out;
  std::optional<std::string> templateFile;
};

[[nodiscard]] int ExportListing(const SiteTable& table, SiteListExportFormat format, const ExportOptions& options) {
  if (!options.out) return BadInput("--out is required for txt and csv");
  if (options.templateFile) return BadInput("--template applies to xlsx only");
  if (!ExportSiteList(table, format, *options.out)) return Failed(*options.out + ": Failed to create file!");
  return kExitOk;
}

[[nodiscard]] int Export(const CommandContext& context, const ExportOptions& options) {
  ProgramState state = context.LoadProgramState();
  const int loaded = LoadSiteListArgument(options.file, state);
  if (loaded != kExitOk) return loaded;
  switch (options.format) {
    case ExportFormat::Text: return ExportListing(state.sites, SiteListExportFormat::Text, options);
    case ExportFormat::Csv: return ExportListing(state.sites, SiteListExportFormat::Csv, options);
    case ExportFormat::Workbook: return ExportWorkbook(state, options.out, options.templateFile);
  }
  return kExitBadInput;
}

void AddExport(CLI::App& sites, CommandContext& context) {
  auto* exporter =
      sites.add_subcommand("export", "Write a site list file as text, comma-separated values or a workbook");
  auto options = std::make_shared<ExportOptions>();
  exporter->add_option("FILE", options->file, "Site list file")->required();
  exporter->add_option("--format", options->format, "txt, csv or xlsx")
      ->required()
      ->transform(CLI::CheckedTransformer(std::map<std::string, ExportFormat>{
          {"txt", ExportFormat::Text}, {"csv", ExportFormat::Csv}, {"xlsx", ExportFormat::Workbook}}));
  exporter->add_option("--out", options->out,
                       "Output file (required for txt and csv; xlsx: Quenderlink_Date_..._Time_....xlsx in the home)");
  exporter->add_option("--template", options->templateFile,
                       "xlsx only: workbook whose first sheet is filled (default: the home's "
                       "ExcelTemplateDetectors_V97.xlsx when present)");
  exporter->callback([&context, options] { context.exitCode = Export(context, *options); });
}

}  // namespace

void AddSitesCommands(CLI::App& app, CommandContext& context) {
  auto* sites = app.add_subcommand("sites", "Site list files");
  sites->require_subcommand(1);
  AddShow(*sites, context);
  AddAdd(*sites, context);
  AddExport(*sites, context);
}

}  // namespace quenderlink::cli
