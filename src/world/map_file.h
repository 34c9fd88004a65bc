// Map files and stage loading. A map file holds a 20-byte header, the terrain layer and the object
// layer, 4096 bytes each, row by row.
#pragma once

#include <cstddef>
#include <cstdint>

struct Game;

constexpr int kMapFileBytes = 8212;
constexpr int kTerrainLayerOffset = 20;
constexpr int kObjectLayerOffset = 4116;

// Object codes of a map file that are not unit images.
constexpr int kObjectSquadReserve = 60;
constexpr int kObjectAceReserve = 61;

// The message shown when a stage's map file cannot be read, and the caption of its box.
extern const char* const kMapMissingText;
extern const char* const kMapMissingCaption;
// The message for a map file cut short: printf format of the file name, the bytes it holds (%zu)
// and the bytes a map needs (%d).
extern const char* const kMapShortFormat;

// "map001.fmf" to "map010.fmf" for stage indices 0 to 9; "map001.fmf" for any other index.
const char* stage_map_file(int stage);

// The unit type an object code places, and its side through *side; 0 when the code places no
// unit (reserve cells included).
int object_unit_type(int code, int* side);

// Reads the stage's map file from the working directory and sets up the stage from it (as
// load_map_image). A file that is missing, no regular file, unreadable or shorter than a map
// leaves everything as it was, tells the player in a message box and returns false.
bool load_stage_map(Game& g, int stage);

// Sets up a stage from the bytes of a map file: the header, both layers, empty rosters, the
// starting units in reading order and the reserve cells. Bytes missing from a short image read as
// 0; bytes past 8212 are ignored. A terrain byte that is no terrain code is stored as 0. Reserve
// squads beyond the 18 that reserve_points holds are ignored, keeping its end marker. The
// placements leave occupancy and vision current but do not paint img_main: the caller draws the
// map afterwards (the stage start does, over the whole picture).
void load_map_image(Game& g, const uint8_t* bytes, size_t size);
