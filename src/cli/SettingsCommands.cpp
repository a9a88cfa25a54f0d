#include "cli/SettingsCommands.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>

#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"

namespace quenderlink::cli {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

[[nodiscard]] std::optional<SettingKey> KnownKey(std::string_view section, std::string_view key) {
  for (const SettingKey& known : AllSettingKeys())
    if (SameName(known.section, section) && SameName(known.key, key)) return known;
  return std::nullopt;
}

// The settings file as the programs start it: created with its defaults when missing.
IniSettingsFile OpenSettings(const CommandContext& context) {
  IniSettingsFile settings(context.LoadProgramState().programFolder);
  settings.EnsureIniFile();
  return settings;
}

void PrintLine(std::string_view section, std::string_view key, std::string_view value) {
  std::cout << '[' << section << "] " << key << '=' << value << '\n';
}

// Every known key with the value it reads as, then whatever else the file holds.
[[nodiscard]] int ShowSettings(const CommandContext& context) {
  const IniSettingsFile settings = OpenSettings(context);
  for (const SettingKey& known : AllSettingKeys())
    PrintLine(known.section, known.key, settings.ReadString(known.section, known.key, known.defaultText));
  for (const IniEntry& entry : settings.ListEntries())
    if (!KnownKey(entry.section, entry.key)) PrintLine(entry.section, entry.key, entry.value);
  return kExitOk;
}

[[nodiscard]] int GetSetting(const CommandContext& context, const std::string& section, const std::string& key) {
  const IniSettingsFile settings = OpenSettings(context);
  const std::optional<SettingKey> known = KnownKey(section, key);
  constexpr std::string_view kUnset = "\n";  // cannot be a value: values are single lines
  const std::string value = settings.ReadString(section, key, known ? known->defaultText : kUnset);
  if (value == kUnset) return Failed("[" + section + "] " + key + " is not set");
  std::cout << value << '\n';
  return kExitOk;
}

[[nodiscard]] int SetSetting(const CommandContext& context, const std::string& section, const std::string& key,
                             const std::string& value) {
  if (section.empty() || key.empty()) return BadInput("section and key must not be empty");
  if (value.find_first_of("\r\n") != std::string::npos) return BadInput("a value is a single line");
  IniSettingsFile settings = OpenSettings(context);
  if (!settings.WriteString(section, key, value)) return Failed(settings.Path().string() + ": cannot be written");
  return kExitOk;
}

}  // namespace

void AddSettingsCommands(CLI::App& app, CommandContext& context) {
  auto* settings = app.add_subcommand("settings", "The settings file Quenderlink.ini in the program folder");
  settings->require_subcommand(1);

  settings->add_subcommand("show", "Every setting with its value (from the file, else its default)")
      ->callback([&context] { context.exitCode = ShowSettings(context); });

  auto* get = settings->add_subcommand("get", "Print one setting's value");
  auto getSection = std::make_shared<std::string>();
  auto getKey = std::make_shared<std::string>();
  get->add_option("SECTION", *getSection, "Section, e.g. \"Ping Sites\"")->required();
  get->add_option("KEY", *getKey, "Key, e.g. \"Max Resend\"")->required();
  get->callback([&context, getSection, getKey] { context.exitCode = GetSetting(context, *getSection, *getKey); });

  auto* set = settings->add_subcommand("set", "Write one setting");
  auto setSection = std::make_shared<std::string>();
  auto setKey = std::make_shared<std::string>();
  auto setValue = std::make_shared<std::string>();
  set->add_option("SECTION", *setSection, "Section")->required();
  set->add_option("KEY", *setKey, "Key")->required();
  set->add_option("VALUE", *setValue, "Value")->required();
  set->callback([&context, setSection, setKey, setValue] {
    context.exitCode = SetSetting(context, *setSection, *setKey, *setValue);
  });
}

}  // namespace quenderlink::cli
