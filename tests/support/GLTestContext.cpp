// The shared off-screen context and helpers behind GLTest and DebugCapture.
#include "tests/support/GLTestContext.h"

#include "platform/HeadlessContext.h"
#include "platform/Platform.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <filesystem>

namespace testsupport {
namespace {

platform::HeadlessContext& sharedContext() {
    // Created once and kept for the life of the test process: creating llvmpipe contexts is slow.
    static platform::HeadlessContext* context = [] {
        auto* c = new platform::HeadlessContext();
        if (!c->create(GLTest::kWidth, GLTest::kHeight)) {
            ADD_FAILURE() << "headless GL context: " << c->error();
        }
        return c;
    }();
    return *context;
}

} // namespace

void GLTest::SetUp() {
    ASSERT_TRUE(sharedContext().isValid()) << sharedContext().error();
    ASSERT_TRUE(sharedContext().makeCurrent());
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a GL error was left behind";
}

std::vector<std::uint8_t> GLTest::readPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::uint32_t GLTest::pixelAt(int x, int y) const {
    std::uint8_t p[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

void GLTest::gameCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(kWidth) / kHeight, 1.0, 12000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::string corporaDir() {
    const std::string dir = OMBRELIX_CORPORA_DIR;
    return std::filesystem::exists(dir + "/manifest.tsv") ? dir : "";
}

MessageBoxCapture::MessageBoxCapture() {
    previous_ = platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
        boxes.push_back(request);
        return request.buttons == platform::Buttons::YesNo ? platform::Answer::Yes
                                                           : platform::Answer::Ok;
    });
}

MessageBoxCapture::~MessageBoxCapture() {
    platform::setMessageBoxHandler(previous_);
}

int litPixels(const std::vector<std::uint8_t>& rgba) {
    int lit = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        lit += (rgba[i] | rgba[i + 1] | rgba[i + 2]) != 0;
    }
    return lit;
}

DebugCapture::DebugCapture() {
    platform::setDebugObserver([this](const char* text) { text_ += text; });
}

DebugCapture::~DebugCapture() {
    platform::setDebugObserver(nullptr);
}

int DebugCapture::count(const std::string& needle) const {
    int n = 0;
    for (std::size_t at = text_.find(needle); at != std::string::npos;
         at = text_.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace testsupport
