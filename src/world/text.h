// The texts the game shows, in the player's language. The game is written in Japanese and stays
// so unless another language is chosen at start-up (--lang); then every text is looked up, at
// the moment it is drawn or shown, in that language's GNU gettext catalogue, which the build
// compiles from po/ into the data folder as locale/<language>/LC_MESSAGES/nevalt.mo. The tables
// keep their Japanese texts, and so does everything the game compares or stores: a translation
// only ever reaches the picture, a message box or the window's caption.
#pragma once

#include <cstddef>
#include <string>

struct Game;

// Marks a text kept in a table or a constant, so that the catalogue's extraction finds it; tr()
// translates it where it is shown.
#define N_(text) text

constexpr const char* kTextDomain = "nevalt";
// The language the texts are written in: choosing it looks nothing up.
constexpr const char* kSourceLanguage = "ja";

// The text as the player reads it: its translation while a language is chosen, otherwise the
// text itself. The game's own texts all have an entry in every catalogue: a text without one is
// shown as it is, but costs a search of the catalogue's files each time.
[[gnu::format_arg(2)]] const char* tr(const Game& g, const char* text);

// A language's code as the catalogues are named: two or three small letters, maybe followed by
// "_" and a country in two capitals ("en", "pt_BR").
bool is_language_code(const std::string& language);

// The catalogue of `language` in the data folder.
std::string catalogue_file(const std::string& data_dir, const std::string& language);

// The chosen language's own version of a file of the data folder (a picture with words painted
// in it), named as the game's own file is, from the data folder: locale/<language>/<file_name>,
// written into out. False, with out empty, while the texts are the game's own or when the name
// does not fit into out_size bytes.
bool localised_file(const Game& g, const char* file_name, char* out, size_t out_size);

// Shows the game's texts in `language` from now on, whatever the user's locale: the catalogue
// in data_dir is bound for the whole process (LANGUAGE names the language, and the messages take
// a locale of their own that is never "C", in which gettext would look nothing up). The game's
// own language leaves everything as it is; another one's code is kept in g.text. False, with a
// readable reason and nothing changed in g, for a code that names no language, a missing or
// unreadable catalogue, or one that does not hold the game's texts.
bool use_language(Game& g, const std::string& data_dir, const std::string& language,
                  std::string* error);
