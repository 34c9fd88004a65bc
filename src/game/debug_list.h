// The hidden unit listing: the three buttons that dump the rosters and the attack pairs, and
// the lines the scenes log after a player's walk and a computer's attack.
#pragma once

struct Game;

// Appends one line (cut to kDebugLineBytes - 1 bytes); a null line appends an empty one.
// When the list is full the oldest line is dropped.
void debug_append(Game& g, const char* line);
void debug_clear(Game& g);

// The lines in the order they were appended: index 0 is the oldest still held.
int debug_line_count(const Game& g);
// nullptr when i is outside 0..debug_line_count(g) - 1.
const char* debug_line(const Game& g, int i);

// "pX <x> pY <y>": a player unit's walk ended on cell (x, y).
void debug_log_walk(Game& g, int x, int y);
// "damage <d>": a computer unit's attack resolved with result d (MISS logs as -1).
void debug_log_damage(Game& g, int d);

// "E_UNIT": the computer's 60 roster slots, "<i> id <type> px <x> py <y>".
void Button1Click(Game& g);
// "NEAR": the 100 pair_list entries, then sort_swap and sort_pivot, "D<distance> P<p_slot>
// E<e_slot>".
void Button2Click(Game& g);
// "P_UNIT": the player's 60 roster slots, as Button1Click.
void Button3Click(Game& g);
