#pragma once
// Key edges for the screens: a key's press or release since the screen last
// looked, from the platform's "down now or pressed since the last query".
namespace Game {

enum class KeyChange { NONE, PRESSED, RELEASED };

// Asks the platform whether `virtualKey` is pressed (down now or pressed since
// the last query) and compares with the last seen state, which it updates.
KeyChange readKey(int virtualKey, bool& previous);

}  // namespace Game
