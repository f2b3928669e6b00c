// Fills one folder with FILES files side by side, as a camera card or a download folder holds
// them: every (FILES / PICTURES)-th file is a copy of one of the given JPEG pictures (taken in
// turn, so the copies differ in size), the others are sparse files of varied sizes with names
// mixing ASCII and GB18030 characters. The folder is made when missing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: make-flat-folder DIR FILES PICTURES PICTURE.jpg...\n");
        return 2;
    }
    const std::string dir = argv[1];
    const long files = std::atol(argv[2]);
    const long pictures = std::atol(argv[3]);
    if (files <= 0 || pictures <= 0 || pictures > files) {
        std::fprintf(stderr, "make-flat-folder: need 0 < PICTURES <= FILES\n");
        return 2;
    }
    std::vector<std::string> sources;
    for (int i = 4; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) bytes.clear();
        if (bytes.empty()) {
            std::fprintf(stderr, "make-flat-folder: cannot read %s\n", argv[i]);
            return 1;
        }
        sources.push_back(std::move(bytes));
    }
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(dir.c_str());
        return 1;
    }
    const char* words[] = {"photo", "光盘", "音乐", "文档", "𠀀字", "Setup", "readme", "数据备份"};
    const char* exts[] = {".txt", ".mp3", ".dat", ".iso", ".doc", ".xls", ".png.bak", ""};
    const long every = files / pictures;
    long written = 0;
    for (long f = 0; f < files; ++f) {
        const bool picture = f % every == 0 && written < pictures;
        const std::string path = picture
                                     ? dir + "/照片-" + std::to_string(f) + ".jpg"
                                     : dir + "/" + words[(f / 3) % 8] + "-" + std::to_string(f) + exts[f % 8];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror(path.c_str());
            return 1;
        }
        bool ok = true;
        if (picture) {
            const std::string& bytes =
                sources[static_cast<std::size_t>(written % static_cast<long>(sources.size()))];
            ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            ++written;
        } else {
            ok = ::ftruncate(fd, (f * 7919) % 5'000'000) == 0;
        }
        if (::close(fd) != 0 || !ok) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
