#pragma once
// The quarter-turn animation: the second piece leaves the board, spins about its
// middle while sliding round the pivot, and lands in its new cell.

namespace Game {

// One step of the turn in progress (only while `rotating`).
void turnStep(float dt);

}  // namespace Game
