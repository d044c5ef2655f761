#pragma once
// A game folder's optional conf.lua: plain assignments read in a state of their
// own before the game starts, e.g.
//
//     title = "Bouncing balls"
//     width, height = 800, 600
//     fullscreen = false
//     identity = "balls"   -- the data folder for saves and the log
#include <string>

namespace runner {

struct GameConfig {
    std::string title = "tessak-run";
    int width = 800;
    int height = 600;
    bool fullscreen = false;
    // Sub-folder of the platform's data folder; empty: the game folder's name.
    std::string identity;
};

// Reads the file into `config`, keeping the defaults of what it does not set.
// False with `problem` set when the file does not compile, fails, or sets a
// value of the wrong kind.
bool readGameConfig(const std::string& path, GameConfig& config, std::string& problem);

}  // namespace runner
