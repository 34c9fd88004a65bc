#include "ui/font_lookup.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

namespace {

// "ネ", "ゴ", "司", "令" and the full-width space: kana, kanji and the space of every caption.
constexpr FcChar32 kProbeChars[] = {0x30CD, 0x30B4, 0x53F8, 0x4EE4, 0x3000};

bool charset_covers_probes(FcPattern* font) {
  FcCharSet* charset = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch) return false;
  for (FcChar32 c : kProbeChars) {
    if (!FcCharSetHasChar(charset, c)) return false;
  }
  return true;
}

}  // namespace

bool find_game_font(FontFile* out, std::string* error) {
  // A private configuration, released before returning: fontconfig's shared default one is
  // never freed and would outlive every font we open.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) {
    if (error) *error = "fontconfig could not be initialised";
    return false;
  }
  // Asking for the name alone gives a Latin fallback; with lang=ja fontconfig prefers the
  // Japanese gothic its aliases name for it.
  const std::string query = std::string(kGameFontName) + ":lang=ja";
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(query.c_str()));
  if (pattern == nullptr) {
    if (error) *error = "fontconfig could not parse the font name";
    FcConfigDestroy(config);
    return false;
  }
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* candidates = FcFontSort(config, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  bool found = false;
  if (candidates != nullptr) {
    for (int i = 0; i < candidates->nfont && !found; ++i) {
      FcPattern* font = candidates->fonts[i];
      FcChar8* file = nullptr;
      if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
      if (!charset_covers_probes(font)) continue;
      int index = 0;
      FcPatternGetInteger(font, FC_INDEX, 0, &index);
      out->path = reinterpret_cast<const char*>(file);
      out->index = index;
      found = true;
    }
    FcFontSetDestroy(candidates);
  }
  FcConfigDestroy(config);
  if (!found && error) {
    *error = std::string("no Japanese font found for \"") + kGameFontName +
             "\"; install a Japanese gothic font (Debian: fonts-ipafont-gothic)";
  }
  return found;
}

bool font_has_japanese_glyphs(_TTF_Font* font) {
  if (font == nullptr) return false;
  for (FcChar32 c : kProbeChars) {
    if (!TTF_GlyphIsProvided32(font, c)) return false;
  }
  return true;
}
