// Suspend and resume, one of the helps of --assist: the battle in progress is kept in a battle
// file beside the save file, written at the start of every player turn and when the window is
// closed during the player's turn, and "Continue" takes it up again. A victory, a defeat or
// "Start" removes it. Without --assist none of this happens and no battle file is touched.
#pragma once

#include <string>

#include "world/text.h"

struct Game;

// The headlines of the message boxes; the second line says which file and what went wrong.
constexpr const char* kSuspendFailedText = N_("戦闘の途中経過を保存できませんでした");
constexpr const char* kResumeFailedText = N_("中断した戦闘を再開できませんでした");
constexpr const char* kDiscardFailedText = N_("中断した戦闘の記録を消せませんでした");

// BATTLE.DAT in the folder of the save file.
std::string battle_file(const Game& g);

// Replaces the battle file with the battle as it stands, the save folder made first if need be.
// False when it could not be written: the player has been told, and the file written last is
// still whole. True without --assist, which writes nothing.
bool suspend_battle(Game& g);

// "Continue", after the save has been read: when a battle file exists, holds up and is of the
// stage "Continue" arrives at, the battle goes on from it at the start of that player turn: its
// state back, the map drawn from it, the battle music and the "Player's Turn" banner with its
// pause, then the map. True then. A file that is damaged, cut short, of another format or of
// another stage is told in a message box and left alone, and false is returned: the ordinary
// "Continue" follows. No file (or no --assist): false, with nothing said.
bool resume_battle(Game& g);

// A victory, a defeat or "Start": the battle file goes, so "Continue" cannot bring back a battle
// that is over or belongs to a campaign left behind. A file that cannot be removed is told.
void discard_battle(Game& g);

// The scenes of the player's turn in which no action is half done, so the rosters say all there
// is: the map, the map menu and its screens, and the menus and choices of a unit or an HQ before
// the command is carried out. Not a walk, an attack's pause, the computer's turn or a banner.
bool battle_can_suspend(int scene);

// The main window's close box (FormClose of the form): with --assist, a battle closed in one of
// those scenes is written first, so it can be taken up where it was left.
void FormClose(Game& g);
