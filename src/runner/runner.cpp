#include "runner/runner.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include <lua.hpp>

#include "core/core.h"
#include "core/object.h"
#include "graphics/graphics.h"
#include "graphics/texture.h"
#include "log/log.h"
#include "platform/platform.h"
#include "runner/script_functions.h"
#include "runner/traceback.h"

namespace fs = std::filesystem;

namespace runner {

namespace {

Runner* active = nullptr;

constexpr char WINDOW_CLASS[] = "TessakRunClass";
// How often the game folder is looked at for changed scripts.
constexpr std::uint32_t WATCH_INTERVAL_MS = 250;
// The state kept across a live reload, and across a load that fails.
constexpr char RELOAD_FILE[] = "live-reload.state";
constexpr char BACKUP_FILE[] = "before-load.state";

// Scripts make plain objects only.
Object* makeNoObject(std::int32_t) { return nullptr; }

}  // namespace

std::string pageText(const std::string& text) {
    std::string page;
    bool lineStart = true;
    for (const char character : text) {
        switch (character) {
            case '<':
                page += "&lt;";
                break;
            case '>':
                page += "&gt;";
                break;
            case '&':
                page += "&amp;";
                break;
            case '\n':
                page += "<br>";
                break;
            case ' ':
                // The page folds runs of blanks: an indentation is kept as such.
                page += lineStart ? "&nbsp;" : " ";
                break;
            default:
                page += character;
        }
        lineStart = character == '\n' || (lineStart && character == ' ');
    }
    return page;
}

Runner::Runner(Setup setup) : setup(std::move(setup)) { active = this; }

Runner::~Runner() {
    // The threads go with the state that the core closes.
    forgetAllThreads();
    if (active == this) {
        active = nullptr;
    }
    delete engine;
    // The records only: their device textures stay with the device, which
    // lives as long as the process.
    for (Texture* picture : textures) {
        delete picture;
    }
}

Runner& Runner::current() { return *active; }

std::string Runner::currentTraceback() {
    return active != nullptr ? active->failingTraceback() : std::string();
}

int Runner::run() {
    platform::System& system = platform::current().system();
    const GameConfig& config = setup.config;
    std::string identity = config.identity;
    if (identity.empty()) {
        identity = fs::path(setup.gameFolder).filename().string();
    }
    const std::string subFolder = std::string("tessak-run") + system.pathSeparator() + identity;
    dataPath = system.dataFolder(subFolder);
    if (!dataPath.empty()) {
        dataPath += system.pathSeparator();
    }
    Log::open(subFolder);
    Log::info("Running the game in " + pageText(setup.gameFolder));

    engine = new Core(makeNoObject, frameCallback);
    registerScriptFunctions(*engine);

    Graphics::initialize(WINDOW_CLASS, config.title, setup.iconFile);
    // The nearest format the display offers, asked for exactly, so that no
    // box interrupts the start: a window where the display can hold one.
    const ScreenFormat request(
        config.width, config.height, platform::d3dfmt::X8R8G8B8, 0,
        config.fullscreen ? ScreenFormat::FULLSCREEN : ScreenFormat::WINDOWED);
    ScreenFormat chosen = request;
    Graphics::findNearestScreenFormat(request, chosen);
    Graphics::setScreenFormat(chosen);
    fontIndex = loadTexture(setup.fontFile);

    engine->reset();
    Object* main = engine->createObject(0, "main.lua");
    watch.start(".");
    lastWatchCheck = system.milliseconds();
    inputState.poll(platform::current().input(), Graphics::getWindow());
    if (!startThread(main, "start")) {
        Log::error("main.lua defines no function 'start'.");
    }
    engine->run();
    return 0;
}

int Runner::screenWidth() const { return Graphics::getCurrentScreenFormat().width; }
int Runner::screenHeight() const { return Graphics::getCurrentScreenFormat().height; }

int Runner::loadTexture(const std::string& path) {
    const auto found = textureIndex.find(path);
    if (found != textureIndex.end()) {
        return found->second;
    }
    textures.push_back(Graphics::loadTexture(path));
    const int index = static_cast<int>(textures.size());
    textureIndex[path] = index;
    return index;
}

Texture* Runner::texture(int index) const {
    if (index < 1 || index > static_cast<int>(textures.size())) {
        return nullptr;
    }
    return textures[static_cast<std::size_t>(index - 1)];
}

bool Runner::startThread(Object* object, const std::string& functionName) {
    lua_State* thread = engine->createThread(object, functionName);
    if (thread == nullptr) {
        return false;
    }
    lua_State* L = engine->getLuaState();
    lua_pushthread(thread);
    lua_xmove(thread, L, 1);
    startedThreads[thread] = luaL_ref(L, LUA_REGISTRYINDEX);
    engine->resumeThread(object, thread, 0);
    return true;
}

std::string Runner::failingTraceback() const {
    // A script failure is fatal, so at most one thread has failed.
    for (const auto& entry : startedThreads) {
        const int status = lua_status(entry.first);
        if (status != 0 && status != LUA_YIELD) {
            return tracebackOf(entry.first);
        }
    }
    if (engine != nullptr && engine->getRunningThread() != nullptr) {
        return tracebackOf(engine->getRunningThread());
    }
    return {};
}

void Runner::forgetEndedThreads() {
    lua_State* L = engine->getLuaState();
    for (auto entry = startedThreads.begin(); entry != startedThreads.end();) {
        if (engine->ownsThread(entry->first)) {
            ++entry;
            continue;
        }
        luaL_unref(L, LUA_REGISTRYINDEX, entry->second);
        entry = startedThreads.erase(entry);
    }
}

void Runner::forgetAllThreads() {
    // Their references live in the state that the load closes.
    startedThreads.clear();
}

void Runner::requestSave(const std::string& path) { saveRequests.push_back(path); }

void Runner::requestLoad(const std::string& path) { loadRequest = path; }

std::string Runner::resolveDataPath(const std::string& path) const {
    if (fs::path(path).is_absolute()) {
        return path;
    }
    return dataPath + path;
}

void Runner::frameCallback(float dt) { active->frame(dt); }

void Runner::frame(float dt) {
    lastFrameTime = dt;
    draws.settle();
    drawPicture();
    carryOutRequests();
    reloadIfChanged();
    forgetEndedThreads();
    inputState.poll(platform::current().input(), Graphics::getWindow());
}

void Runner::drawPicture() {
    if (!Graphics::beginFrame()) {
        return;
    }
    if (draws.hasClearColour()) {
        Graphics::clear(draws.clearColour());
    }
    for (const SpriteDraw& draw : draws.picture()) {
        if (Texture* picture = texture(draw.texture)) {
            Graphics::drawSpriteAt(picture, draw.source, draw.x, draw.y, draw.scaleX, draw.scaleY,
                                   draw.colour, draw.centreX, draw.centreY, draw.angle);
        }
    }
    Graphics::endFrame();
}

void Runner::carryOutRequests() {
    std::vector<std::string> saves;
    saves.swap(saveRequests);
    for (const std::string& path : saves) {
        const std::string unsavable = unsavableVariable();
        if (!unsavable.empty()) {
            reportProblem("saveGame(\"" + path + "\") not done: " + unsavable);
        } else if (!engine->saveState(resolveDataPath(path))) {
            reportProblem("saveGame(\"" + path + "\") could not write " + resolveDataPath(path));
        }
    }
    if (!loadRequest.empty()) {
        const std::string path = resolveDataPath(loadRequest);
        loadRequest.clear();
        std::error_code error;
        if (!fs::is_regular_file(path, error)) {
            reportProblem("loadGame: there is no saved game " + path);
        } else {
            replaceState(dataPath + BACKUP_FILE, path);
        }
    }
    if (quitRequested) {
        platform::current().system().postQuitMessage(0);
    }
}

void Runner::reloadIfChanged() {
    const std::uint32_t now = platform::current().system().milliseconds();
    if (now - lastWatchCheck < WATCH_INTERVAL_MS) {
        return;
    }
    lastWatchCheck = now;
    if (!watch.changed()) {
        return;
    }
    const std::string errors = compileErrors(watch.scripts());
    if (!errors.empty()) {
        reportProblem("Scripts changed but do not compile; the game goes on unchanged:\n" + errors);
        return;
    }
    Log::info("Scripts changed: reloading them, the state kept.");
    replaceState(dataPath + RELOAD_FILE, dataPath + RELOAD_FILE);
}

bool Runner::replaceState(const std::string& savePath, const std::string& loadPath) {
    const std::string unsavable = unsavableVariable();
    bool saved = false;
    if (unsavable.empty()) {
        saved = engine->saveState(savePath);
    }
    if (!saved && savePath == loadPath) {
        reportProblem(unsavable.empty() ? "The state could not be kept in " + savePath
                                        : "The state cannot be kept: " + unsavable);
        return false;
    }
    forgetAllThreads();
    bool loaded = engine->loadState(loadPath);
    if (!loaded && saved) {
        reportProblem("Loading " + loadPath + " failed; the game goes on as it was.");
        engine->loadState(savePath);
    }
    restartThreads();
    return loaded;
}

void Runner::restartThreads() {
    const std::vector<Object*> objects(engine->getObjects().begin(), engine->getObjects().end());
    for (Object* object : objects) {
        // A thread started before may have deleted a later object.
        bool present = false;
        for (const Object* existing : engine->getObjects()) {
            present = present || existing == object;
        }
        if (present && !startThread(object, "resume")) {
            startThread(object, "start");
        }
    }
}

std::string Runner::unsavableVariable() const {
    lua_State* L = engine->getLuaState();
    std::string found;
    lua_pushnil(L);
    while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
        const int type = lua_type(L, -1);
        if (type != LUA_TNIL && type != LUA_TBOOLEAN && type != LUA_TNUMBER &&
            type != LUA_TSTRING) {
            lua_pushvalue(L, -2);
            const char* name = lua_tostring(L, -1);
            found = std::string("the global '") + (name != nullptr ? name : "?") + "' holds a " +
                    lua_typename(L, type) +
                    " (a saved state holds only numbers, strings, booleans and object keys)";
            lua_pop(L, 3);
            return found;
        }
        lua_pop(L, 1);
    }
    return found;
}

void Runner::reportProblem(const std::string& message) const {
    std::cerr << "tessak-run: " << message << std::endl;
    Log::writeEntry(pageText(message), "FFFF00", "<blink>~</blink>");
}

}  // namespace runner
