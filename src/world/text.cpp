#include "world/text.h"

#include <libintl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "state/game.h"

namespace {

// A text every catalogue of the game translates: a catalogue that gives it back as it is is
// damaged or belongs to another program.
constexpr const char* kProbeText = N_("ネヴァルト");

// Every language's files stand in a folder of its own here, as gettext expects its catalogues.
constexpr const char* kLocaleFolder = "locale";

bool is_lower(char c) {
  return c >= 'a' && c <= 'z';
}
bool is_upper(char c) {
  return c >= 'A' && c <= 'Z';
}

// gettext looks nothing up while the messages' locale is "C" or "POSIX", whatever LANGUAGE says,
// and the program itself never leaves "C". C.UTF-8 is built into glibc; the others are for a
// system without it.
bool choose_messages_locale() {
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8", ""}) {
    const char* got = std::setlocale(LC_MESSAGES, name);
    if (got != nullptr && std::strcmp(got, "C") != 0 && std::strcmp(got, "POSIX") != 0) {
      return true;
    }
  }
  std::setlocale(LC_MESSAGES, "C");
  return false;
}

}  // namespace

const char* tr(const Game& g, const char* text) {
  // dgettext answers "" with the catalogue's header.
  if (!g.text.translated || text == nullptr || text[0] == '\0') return text;
  return dgettext(kTextDomain, text);
}

bool is_language_code(const std::string& language) {
  const size_t n = language.size();
  size_t letters = 0;
  while (letters < n && is_lower(language[letters])) ++letters;
  if (letters < 2 || letters > 3) return false;
  if (letters == n) return true;
  return n == letters + 3 && language[letters] == '_' && is_upper(language[letters + 1]) &&
         is_upper(language[letters + 2]);
}

std::string catalogue_file(const std::string& data_dir, const std::string& language) {
  return (std::filesystem::path(data_dir) / kLocaleFolder / language / "LC_MESSAGES" /
          (std::string(kTextDomain) + ".mo"))
      .string();
}

bool localised_file(const Game& g, const char* file_name, char* out, size_t out_size) {
  if (out == nullptr || out_size == 0) return false;
  out[0] = '\0';
  if (!g.text.translated || g.text.language[0] == '\0' || file_name == nullptr) return false;
  const int n = std::snprintf(out, out_size, "%s/%s/%s", kLocaleFolder, g.text.language, file_name);
  if (n < 0 || static_cast<size_t>(n) >= out_size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool use_language(Game& g, const std::string& data_dir, const std::string& language,
                  std::string* error) {
  if (!is_language_code(language)) {
    *error = "'" + language + "' is no language code (such as en or pt_BR)";
    return false;
  }
  if (language == kSourceLanguage) return true;

  // gettext takes a relative folder from wherever the program stands at each lookup.
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::absolute(data_dir, ec);
  if (ec) dir = data_dir;
  const std::string file = catalogue_file(dir.string(), language);
  // Only a regular file: gettext would wait forever at the opening of a FIFO.
  if (!std::filesystem::is_regular_file(file, ec) || ::access(file.c_str(), R_OK) != 0) {
    *error = "no texts in the language " + language + ": cannot read " + file;
    return false;
  }
  if (!choose_messages_locale()) {
    *error = "no locale to show texts in another language: C.UTF-8 is not installed";
    return false;
  }
  const std::string locale_dir = (dir / kLocaleFolder).string();
  if (::setenv("LANGUAGE", language.c_str(), 1) != 0 ||
      bindtextdomain(kTextDomain, locale_dir.c_str()) == nullptr ||
      bind_textdomain_codeset(kTextDomain, "UTF-8") == nullptr) {
    *error = "cannot bind the catalogue " + file + ": " + std::strerror(errno);
    return false;
  }
  if (dgettext(kTextDomain, kProbeText) == kProbeText) {
    *error = file + " holds none of the game's texts (damaged, or another program's)";
    return false;
  }
  g.text.translated = true;
  static_assert(sizeof g.text.language > 6, "a language code has up to 6 characters");
  std::snprintf(g.text.language, sizeof g.text.language, "%s", language.c_str());
  return true;
}
