// The hidden debug listing ListBox1: a fixed ring of text lines. Once full, each new line
// replaces the oldest, so a long session keeps a bounded tail of the log.
#pragma once

#include <cstdint>

constexpr int kDebugLines = 4000;
constexpr int kDebugLineBytes = 64;  // including the terminating NUL

struct DebugState {
  char lines[kDebugLines][kDebugLineBytes];  // ring, oldest at first
  int32_t first;                             // ring index of the oldest line
  int32_t count;                             // lines held, 0..kDebugLines
  int32_t dropped;                           // oldest lines given up since the last clear
};
