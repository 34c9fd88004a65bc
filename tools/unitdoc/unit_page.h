// The page of docs/units.md: every unit type and terrain with the figures the game plays with,
// read from the tables of a Game, and the comparison of a committed page with it.
#pragma once

#include <string>

struct Game;

// The Markdown page for the tables of g as they stand (init_tables, or form_create, fills
// them); the price of each type in each stage comes from the game's own stage set-up, run over
// g and undone afterwards. The English column holds tr() of the Japanese texts, so it is English
// once use_language has chosen it and the Japanese again otherwise.
std::string units_page(Game& g);

// "" when the file at `path` holds exactly `page`; otherwise what is wrong with it (missing,
// unreadable, or the first line that differs, with both versions).
std::string page_difference(const std::string& path, const std::string& page);
