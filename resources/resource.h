#pragma once
// Resource ids of ambrel.exe, shared by ambrel.rc and the code that loads them.
// Prefixes: IDI_ icons, IDB_ bitmaps, IDS_ strings, IDR_ other raw resources.

// The executable's icon; the lowest icon id is the one Explorer shows.
#define IDI_AMBREL 1

// Clock window: background of the whole bar and the two image buttons over its ends.
#define IDB_CLOCK_BACKGROUND 101
#define IDB_OPTIONS_BUTTON 102
#define IDB_EXIT_BUTTON 103

// The help's text for the program's own help window (built by tools/hlpbuild from the help
// source): the title and then the text, UTF-16LE, each ended by a NUL character.
#define IDR_HELP_TEXT 201
