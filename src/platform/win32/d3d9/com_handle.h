#pragma once
// Sole owner of one COM interface reference: Release when the owner dies. The
// wrappers of the layer hold their interface through this, so no caller of the
// layer ever sees a reference count.

namespace platform::win32 {

template <typename Interface>
class ComHandle {
public:
    ComHandle() = default;
    // Takes over a reference the caller already holds (as a Create call returns it).
    explicit ComHandle(Interface* held) : held(held) {}
    ~ComHandle() {
        if (held != nullptr) {
            held->Release();
        }
    }
    ComHandle(const ComHandle&) = delete;
    ComHandle& operator=(const ComHandle&) = delete;

    Interface* get() const { return held; }
    // For a Create call's out parameter: drops what is held, then takes the result.
    Interface** put() {
        if (held != nullptr) {
            held->Release();
            held = nullptr;
        }
        return &held;
    }
    Interface* operator->() const { return held; }

private:
    Interface* held = nullptr;
};

}  // namespace platform::win32
