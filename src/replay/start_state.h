// The state a game carries in from before NewGame, written at its start and put back before a replay.
#pragma once

#include "core/game.h"
#include "platform/ports.h"
#include "replay/bytes.h"

namespace kesmir::replay {

// Writes what the frames of a game read and NewGame does not set afresh: the random generator, the options,
// the clock, the input, the play field and its effects. The status bar's pixels are not kept: every game draws
// all of it within its first second and again when it ends, so a replay shows the bare bar until then.
void WriteStartState(ByteWriter& out, Game& game);
// Puts it back; false when the bytes end early or do not fit (the game is then partly set).
bool ReadStartState(ByteReader& in, Game& game);

// A surface's pixels, three bytes each; the reader fills a surface of the same size. With a base picture each
// pixel is written as its difference (exclusive or) from the base's pixel at the same place, so that the
// unchanged parts of a picture pack to almost nothing; the reader must be given the same base.
void WritePixels(ByteWriter& out, const Surface& surface, const Image* base = nullptr);
bool ReadPixels(ByteReader& in, Surface& surface, const Image* base = nullptr);

}  // namespace kesmir::replay
