// The readable form of a map file: a header line and two 64 by 64 character grids, terrain and
// objects, one character per code, with '#' comment lines (the legend) and blank lines free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mapc {

// The character of a terrain or object code, 0 when the code has none.
char terrain_char(int code);
char object_char(int code);
// The code of a grid character, -1 when it stands for none.
int terrain_code(char c);
int object_code(char c);

// Text to the 8212 bytes of a map file. On a fault returns false with `error` naming the source,
// line and column ("stage.txt:12:7: unknown terrain character 'q'").
bool compile_map_text(std::string_view text, std::string_view source_name,
                      std::vector<uint8_t>& bytes, std::string& error);

// A map file to its text, with the legend as comments. Fails (with `error` naming the cell) for a
// file of another size, a code without a character, or an object on the outer ring.
bool decompile_map(const std::vector<uint8_t>& bytes, std::string& text, std::string& error);

}  // namespace mapc
