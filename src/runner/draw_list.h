#pragma once
// The pictures that scripts ask for during a frame's update pass, kept in the
// order asked and drawn together in the frame, and the built-in font's layout.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d_types.h"

namespace runner {

struct SpriteDraw {
    int texture = 0;  // index into the runner's textures
    platform::Rect source{};
    float x = 0, y = 0;
    float scaleX = 1, scaleY = 1;
    float centreX = 0, centreY = 0;  // in scaled pixels from the top-left corner
    float angle = 0;                 // degrees, clockwise
    std::uint32_t colour = 0xFFFFFFFFu;
};

// The font picture that tools/make_resources.py draws (resources/font.png):
// the characters 32 to 126 in rows of 16 cells.
namespace font {
constexpr int CELL_WIDTH = 12;
constexpr int CELL_HEIGHT = 24;
constexpr int COLUMNS = 16;
constexpr int FIRST = 32;
constexpr int LAST = 126;
}  // namespace font

// The sprites that draw `text` with its top-left corner at (x, y), `scale`
// times the font's size; a line feed starts a new line, and a character
// outside the font shows as '?'. `width` and `height` receive the size of the
// text in pixels.
std::vector<SpriteDraw> layoutText(int fontTexture, float x, float y, const std::string& text,
                                   float scale, std::uint32_t colour, float& width, float& height);

class DrawList {
public:
    void add(const SpriteDraw& draw) { pending.push_back(draw); }
    void addAll(const std::vector<SpriteDraw>& draws);
    void setClearColour(std::uint32_t colour);

    // Ends the frame's requests: what scripts asked for this frame becomes
    // the picture; a frame in which no script drew or cleared keeps the last
    // one, so a frame that ran no script shows no blank.
    void settle();
    const std::vector<SpriteDraw>& picture() const { return shown; }
    bool hasClearColour() const { return shownClear; }
    std::uint32_t clearColour() const { return shownColour; }

private:
    std::vector<SpriteDraw> pending;
    bool pendingClear = false;
    std::uint32_t pendingColour = 0;
    std::vector<SpriteDraw> shown;
    bool shownClear = false;
    std::uint32_t shownColour = 0;
};

}  // namespace runner
