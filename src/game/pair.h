#pragma once
// The falling pair's rules on the board: the drop, the sideways moves, the start
// of a quarter turn and the entry of the next pair.

namespace Game {

// One row down for the pieces that can go; restarts the fall timer.
void dropPair();
void moveLeft();
void moveRight();
// Starts a quarter turn when the cell the turn needs is empty and the last turn
// was not ended under the same press.
void tryStartTurn();
// Called once neither piece falls: the previewed pair enters, or, with the entry
// cell taken, the game ends and the menu returns.
void nextPairOrGameOver();

}  // namespace Game
