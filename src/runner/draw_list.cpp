#include "runner/draw_list.h"

#include <algorithm>

namespace runner {

std::vector<SpriteDraw> layoutText(int fontTexture, float x, float y, const std::string& text,
                                   float scale, std::uint32_t colour, float& width, float& height) {
    std::vector<SpriteDraw> draws;
    const float advance = font::CELL_WIDTH * scale;
    const float lineHeight = font::CELL_HEIGHT * scale;
    int column = 0;
    int line = 0;
    int widest = 0;
    for (const char character : text) {
        if (character == '\n') {
            ++line;
            column = 0;
            continue;
        }
        int code = static_cast<unsigned char>(character);
        if (code < font::FIRST || code > font::LAST) {
            code = '?';
        }
        if (code != ' ') {
            const int index = code - font::FIRST;
            SpriteDraw glyph;
            glyph.texture = fontTexture;
            glyph.source.left = (index % font::COLUMNS) * font::CELL_WIDTH;
            glyph.source.top = (index / font::COLUMNS) * font::CELL_HEIGHT;
            glyph.source.right = glyph.source.left + font::CELL_WIDTH;
            glyph.source.bottom = glyph.source.top + font::CELL_HEIGHT;
            glyph.x = x + column * advance;
            glyph.y = y + line * lineHeight;
            glyph.scaleX = glyph.scaleY = scale;
            glyph.colour = colour;
            draws.push_back(glyph);
        }
        ++column;
        widest = std::max(widest, column);
    }
    width = widest * advance;
    height = text.empty() ? 0.0f : (line + 1) * lineHeight;
    return draws;
}

void DrawList::addAll(const std::vector<SpriteDraw>& draws) {
    pending.insert(pending.end(), draws.begin(), draws.end());
}

void DrawList::setClearColour(std::uint32_t colour) {
    pendingClear = true;
    pendingColour = colour;
}

void DrawList::settle() {
    if (pending.empty() && !pendingClear) {
        return;
    }
    shown.swap(pending);
    pending.clear();
    shownClear = pendingClear;
    shownColour = pendingColour;
    pendingClear = false;
}

}  // namespace runner
