#include "cli/ProgramCommands.h"

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliPrompts.h"
#include "core/Lookups.h"
#include "core/ProgramFileIdentification.h"
#include "core/RegularFile.h"

namespace quenderlink::cli {
namespace {

void AddIdentify(CLI::App& program, CommandContext& context) {
  auto* identify = program.add_subcommand("identify", "Tell which product type a program file is built for");
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  identify->add_option("FILE", *file, "Program file (.bin image or .s19 S-records)")->required();
  identify->add_flag("--json", *json, R"(Print {"ProductType": n, "name": "..."})");
  identify->callback([&context, file, json] {
    // Identification reads to the end of the file, which a device may never reach.
    if (const RegularFile opened = RegularFile::Open(*file); !opened.ok()) {
      context.exitCode = BadInput(opened.refusal());
      return;
    }
    const std::uint8_t productType = IdentifyProgramFile(*file);
    if (*json)
      std::cout << nlohmann::ordered_json{{"ProductType", productType}, {"name", ProductShortName(productType)}}
                << '\n';
    else
      std::cout << static_cast<int>(productType) << ' ' << ProductShortName(productType) << '\n';
    context.exitCode = kExitOk;
  });
}

void AddCheck(CLI::App& program, CommandContext& context) {
  auto* check = program.add_subcommand("check", "Check that a file may be used as a program file");
  auto file = std::make_shared<std::string>();
  check->add_option("FILE", *file, "Program file")->required();
  check->callback([&context, file] {
    CliPrompts prompts(std::cerr, false);
    if (!CheckProgramFile(*file, prompts)) {
      context.exitCode = kExitFailed;
      return;
    }
    std::cout << "OK " << *file << '\n';
    context.exitCode = kExitOk;
  });
}

}  // namespace

void AddProgramCommands(CLI::App& app, CommandContext& context) {
  auto* program = app.add_subcommand("program", "Program (firmware) files");
  program->require_subcommand(1);
  AddIdentify(*program, context);
  AddCheck(*program, context);
}

}  // namespace quenderlink::cli
