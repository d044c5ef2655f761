#pragma once
// tessak-run's host: runs a game written in Lua alone. It makes the window from
// the game folder's conf.lua, object 1 with main.lua and its `start` thread,
// gives scripts functions to draw, read input, save, load and quit (see
// script_functions.cpp), draws what they queued once per frame, and reloads the
// scripts when one changes on disk, keeping the game's state.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runner/draw_list.h"
#include "runner/game_config.h"
#include "runner/input_state.h"
#include "runner/script_watch.h"

class Core;
class Object;
class Texture;
struct lua_State;

namespace runner {

// A message as text of the log page: markup characters escaped, lines kept.
std::string pageText(const std::string& text);

class Runner {
public:
    struct Setup {
        std::string gameFolder;  // absolute; the runner works from it
        std::string fontFile;    // absolute path of the built-in font picture
        std::string iconFile;    // window icon; empty for the system's own
        GameConfig config;
    };

    explicit Runner(Setup setup);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Start-up, then frames until the game quits or its window closes. Returns
    // 0; a fatal error (a failing script) leaves through Log::error's exception.
    int run();

    // The runner the script functions serve (one per process).
    static Runner& current();
    // The traceback of the running runner's failing script; empty when no
    // runner runs (for the error box, which may come at any time).
    static std::string currentTraceback();

    Core& core() { return *engine; }
    DrawList& drawList() { return draws; }
    const InputState& input() const { return inputState; }
    float frameTime() const { return lastFrameTime; }
    int screenWidth() const;
    int screenHeight() const;

    // Loads a picture once per path (relative to the game folder); the index
    // stays valid across reloads and loads, so scripts may keep it in keys.
    int loadTexture(const std::string& path);
    Texture* texture(int index) const;
    int fontTexture() const { return fontIndex; }

    // Starts an object's thread as Core::startThread does, and keeps hold of it
    // so that a failure can be traced back through its stack.
    bool startThread(Object* object, const std::string& functionName);

    // Carried out at the end of the frame, outside every script.
    void requestSave(const std::string& path);
    void requestLoad(const std::string& path);
    void requestQuit() { quitRequested = true; }

    // The stack of the script that is failing right now, for the error box.
    std::string failingTraceback() const;
    // Where saves and the log go, with the platform's separator at its end.
    const std::string& dataFolder() const { return dataPath; }
    std::string resolveDataPath(const std::string& path) const;

private:
    static void frameCallback(float dt);
    void frame(float dt);
    void drawPicture();
    void carryOutRequests();
    void reloadIfChanged();
    // Saves the state to `savedPath` (when not empty) and loads `loadPath`
    // back, restarting every thread; on a failed load the saved state comes back.
    bool replaceState(const std::string& savePath, const std::string& loadPath);
    void restartThreads();
    void forgetEndedThreads();
    void forgetAllThreads();
    // The first `state` variable whose value a state file cannot hold; empty when none.
    std::string unsavableVariable() const;
    void reportProblem(const std::string& message) const;

    Setup setup;
    Core* engine = nullptr;
    DrawList draws;
    InputState inputState;
    ScriptWatch watch;
    float lastFrameTime = 1.0f / 60.0f;
    std::uint32_t lastWatchCheck = 0;
    std::string dataPath;
    std::map<std::string, int> textureIndex;
    std::vector<Texture*> textures;
    int fontIndex = 0;
    // Threads the runner started, with the registry references that keep them
    // readable after they end; dropped once the core has forgotten them.
    std::map<lua_State*, int> startedThreads;
    std::vector<std::string> saveRequests;
    std::string loadRequest;
    bool quitRequested = false;
};

}  // namespace runner
