// Which language the game's texts are shown in. Set once at start-up; the catalogue itself is
// bound by libintl for the whole process, so a game that never chose a language looks nothing up.
#pragma once

struct TextState {
  // A language other than the game's own Japanese was chosen (--lang): every text is looked up
  // in its catalogue where it is drawn or shown.
  bool translated = false;
  // Its code ("en", "pt_BR"; "" while the texts are the game's own), which also names the
  // folder of its pictures.
  char language[8] = {};
};
