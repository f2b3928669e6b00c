#include "support/DiscImages.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace pelko::test {

namespace {

int Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

bool MakeIsoImage(const std::filesystem::path& source, const std::filesystem::path& image,
                  const std::vector<std::string>& options) {
    std::vector<std::string> args{"genisoimage", "-quiet", "-input-charset", "utf-8", "-o", image.native()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(source.native());
    return Run(args) == 0;
}

}  // namespace pelko::test
