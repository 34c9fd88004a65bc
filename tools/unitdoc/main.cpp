// unitdoc: writes the page of unit types and terrains (docs/units.md) from the game's own
// tables, or checks that a committed page is still what they give.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/game_tick.h"
#include "state/game.h"
#include "unit_page.h"
#include "world/text.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "unitdoc: %s\n", message.c_str());
  return 1;
}

// Written beside the page first and then put in its place, so a failed write leaves the old page.
bool write_page(const std::string& path, const std::string& page, std::string* error) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << page;
    out.close();
    if (!out) {
      *error = "cannot write " + tmp;
      std::remove(tmp.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    *error = "cannot put " + tmp + " in place of " + path + ": " + ec.message();
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes the page of unit types and terrains from the game's own tables."};
  std::string data_dir;
  std::string write;
  std::string check;
  app.add_option("--data", data_dir, "The game's data folder, for the English catalogue")
      ->required();
  auto* write_opt = app.add_option("--write", write, "Write the page to this file");
  auto* check_opt =
      app.add_option("--check", check, "Fail, saying where, when this file is not the page");
  write_opt->excludes(check_opt);
  CLI11_PARSE(app, argc, argv);
  if (write.empty() && check.empty()) return fail("give --write FILE or --check FILE");

  auto g = std::make_unique<Game>();
  form_create(*g, 0);
  std::string error;
  if (!use_language(*g, data_dir, "en", &error)) return fail(error);
  const std::string page = units_page(*g);

  if (!write.empty()) return write_page(write, page, &error) ? 0 : fail(error);
  const std::string difference = page_difference(check, page);
  if (difference.empty()) return 0;
  return fail(difference +
              "\nThe page is not what the game's tables give: run `make units-doc` (or "
              "`cmake --build build --target units_doc`) to write it again, and commit it.");
}
