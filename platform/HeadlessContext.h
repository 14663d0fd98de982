// An off-screen GL context (EGL pbuffer on Mesa's surfaceless platform) for tests, the headless
// runner and benchmarks: desktop GL, RGBA, 16-bit depth, no display needed.
#pragma once

#include <memory>
#include <string>

namespace platform {

class HeadlessContext {
public:
    HeadlessContext();
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Creates the pbuffer and the context and makes it current. False (with error()) on failure.
    bool create(int width, int height);
    bool makeCurrent();
    void swapBuffers();
    void destroy();
    bool isValid() const;
    int width() const { return width_; }
    int height() const { return height_; }
    const std::string& error() const { return error_; }

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

} // namespace platform
