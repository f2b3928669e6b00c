#pragma once
// A file built into the program by cmake/EmbedFiles.cmake: its number and its exact bytes.

#include <cstddef>

namespace pelko::exporting {

struct EmbeddedFile {
    int id;
    const unsigned char* bytes;
    std::size_t size;
};

extern const EmbeddedFile kEmbeddedFiles[];
extern const int kEmbeddedFileCount;

}  // namespace pelko::exporting
