// The player's files at their limits: a file of exactly the limit is read, one byte more is
// refused; standard input only where "-" is allowed; a named pipe written only once it has a
// reader. (Pipes without a writer, devices and folders are the hostile end-to-end story's.)
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace apptest {
namespace {

TEST(PlayerFiles, AFileIsReadUpToItsLimitAndNotAByteBeyond) {
    testsupport::TempDir folder;
    const std::size_t limit = 1000;
    const struct {
        std::size_t size;
        bool read;
    } cases[] = {{0, true}, {limit - 1, true}, {limit, true}, {limit + 1, false}};
    for (const auto& c : cases) {
        const std::string path = folder.write("f", std::string(c.size, 'x'));
        std::string bytes;
        std::string why;
        EXPECT_EQ(platform::readFile(path, limit, bytes, why), c.read) << c.size;
        EXPECT_EQ(bytes.size(), c.read ? c.size : 0u) << c.size;
        EXPECT_EQ(why, c.read ? "" : "it holds more than 1000 bytes") << c.size;
    }
    // "-" is a file name like any other unless the reader takes standard input.
    std::string bytes;
    std::string why;
    EXPECT_FALSE(platform::readFile("-", limit, bytes, why));
    EXPECT_EQ(errno, ENOENT);
}

TEST(PlayerFiles, APipeIsWrittenOnlyWhenSomethingReadsIt) {
    testsupport::TempDir folder;
    const std::string pipe = folder.path() + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string why;
    EXPECT_EQ(platform::openOutput(pipe, why), nullptr);
    EXPECT_EQ(why, "it is a named pipe that nothing reads");

    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::FILE* file = platform::openOutput(pipe, why);
    ASSERT_NE(file, nullptr) << why;
    EXPECT_FALSE(platform::isSeekable(file));
    std::fputs("hello", file);
    std::fclose(file);
    char got[8] = {};
    EXPECT_EQ(read(reader, got, sizeof got), 5);
    EXPECT_STREQ(got, "hello");
    close(reader);
}

} // namespace
} // namespace apptest
