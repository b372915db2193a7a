// Many processes holding many open files, as on a busy desktop: the load under which the
// benchmarks time the menu while it looks for the ports' holders.
//   descriptor_holders <processes> <descriptors each>
// Prints "ready" once every process holds its files, and keeps them until its input closes.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A child: opens its files, says so, and waits for the release.
[[noreturn]] void Hold(int descriptors, int ready, int release) {
    for (int i = 0; i < descriptors; ++i) {
        if (::open("/dev/null", O_RDONLY) < 0) {
            ::_exit(1);
        }
    }
    const char byte = 1;
    if (::write(ready, &byte, 1) != 1) {
        ::_exit(1);
    }
    char ignored = 0;
    while (::read(release, &ignored, 1) > 0) {
    }
    ::_exit(0);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: descriptor_holders <processes> <descriptors each>\n");
        return 2;
    }
    const int processes = std::atoi(argv[1]);
    const int descriptors = std::atoi(argv[2]);
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
        std::perror("descriptor_holders: pipe");
        return 1;
    }
    std::vector<pid_t> children;
    for (int i = 0; i < processes; ++i) {
        const pid_t child = ::fork();
        if (child < 0) {
            std::perror("descriptor_holders: fork");
            break;
        }
        if (child == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            Hold(descriptors, ready[1], release[0]);
        }
        children.push_back(child);
    }
    ::close(ready[1]);
    ::close(release[0]);
    int held = 0;
    char byte = 0;
    while (held < static_cast<int>(children.size()) && ::read(ready[0], &byte, 1) == 1) {
        ++held;
    }
    std::printf(held == processes ? "ready\n" : "failed\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    ::close(release[1]);
    for (const pid_t child : children) {
        ::waitpid(child, nullptr, 0);
    }
    return held == processes ? 0 : 1;
}
