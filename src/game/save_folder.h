// Where the game keeps what it saves (the campaign's SAVE.TXT, a suspended battle) and how a file
// there is replaced without ever being left half-written.
#pragma once

#include <cstddef>
#include <string>

#include "world/text.h"

struct Game;

// The caption of the message boxes about saving and loading.
constexpr const char* kSaveCaption = N_("セーブ");

// The file `name` in the save folder g.save.dir, or in the working folder when none is set.
std::string save_folder_file(const Game& g, const char* name);

// Makes the save folder when one is set and missing (the user's folder is made on the first
// save). False, with *error naming the folder and the reason, when it cannot be made.
bool make_save_folder(const Game& g, std::string* error);

// Replaces the file at `path` with `size` bytes without ever leaving it half-written: they go to
// `path` + ".tmp" in the same folder, which `rename_fn` (rename in the game; tests pass one that
// fails) then moves over the old file. On any failure the old file is left as it was, the
// temporary file is removed and *error says what went wrong.
using RenameFn = int (*)(const char* from, const char* to);
bool replace_file(const char* path, const void* data, size_t size, RenameFn rename_fn,
                  std::string* error);

// Tells the player, in a message box captioned kSaveCaption, the headline (translated here, as
// the caption) and on a second line the detail (which file, what went wrong); without a host, on
// stderr.
void tell_save_problem(Game& g, const char* headline, const std::string& detail);
