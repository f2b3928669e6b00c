// Generates the benchmark tree: FILES files spread over FOLDERS folders (nested up to four
// deep), names mixing ASCII, GB18030 two-byte and four-byte characters, and a few sparse
// files over 4 GiB.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-tree DIR FILES FOLDERS\n");
        return 2;
    }
    const std::string root = argv[1];
    const long files = std::atol(argv[2]);
    const long folders = std::atol(argv[3]);
    const char* words[] = {"photo", "光盘", "音乐", "文档", "𠀀字", "😀emoji", "Setup", "readme", "数据备份"};
    const char* exts[] = {".txt", ".jpg", ".mp3", ".dat", ".iso", ".doc", ".zip", ""};
    ::mkdir(root.c_str(), 0755);
    std::vector<std::string> dirs;
    for (long d = 0; d < folders; ++d) {
        // Each folder goes below an earlier one so the tree is a few levels deep.
        const std::string parent = d < 10 ? root : dirs[static_cast<std::size_t>((d * 7919) % d)];
        std::string path = parent + "/" + words[d % 9] + "_" + std::to_string(d);
        if (std::count(path.begin() + static_cast<long>(root.size()), path.end(), '/') > 4) {
            path = root + "/" + words[d % 9] + "_" + std::to_string(d);
        }
        if (::mkdir(path.c_str(), 0755) != 0) {
            std::perror(path.c_str());
            return 1;
        }
        dirs.push_back(path);
    }
    for (long f = 0; f < files; ++f) {
        const std::string& dir = dirs[static_cast<std::size_t>(f % folders)];
        const std::string path = dir + "/" + words[(f / 3) % 9] + "-" + std::to_string(f) + exts[f % 8];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror(path.c_str());
            return 1;
        }
        if (f % 50000 == 7) {
            if (::ftruncate(fd, (5ll << 30) + f) != 0) std::perror("ftruncate");
        } else if (f % 13 == 0) {
            const std::string content(static_cast<std::size_t>(f % 4000), 'x');
            if (::write(fd, content.data(), content.size()) < 0) std::perror("write");
        }
        ::close(fd);
    }
    return 0;
}
