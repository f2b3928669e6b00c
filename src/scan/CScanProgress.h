#pragma once
// The progress window a scan reports to. Called from the scan worker thread; implementations
// marshal to their own thread. IsCancelled only ever goes from false to true.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace pelko::scan {

// The pixel size of a window's picture area. A window without one (a terminal, a test) gets
// this fixed box, about what the scanning dialog's picture area measures.
struct PictureAreaSize {
    int width = 260;
    int height = 230;
};

class CScanProgress {
public:
    virtual ~CScanProgress() = default;
    virtual bool IsCancelled() = 0;
    // True once the medium being read has left its drive. A window that watches the drive
    // reports that as a cancel too; this tells the two apart, so the scan can say which it was.
    virtual bool MediumGone() const { return false; }
    // The full path of the folder now being read (model bytes).
    virtual void ShowFolderPath(std::string_view path) = 0;
    // A file of the medium has been recorded, `size` bytes long; for windows that count.
    virtual void FileRecorded(std::uint64_t size) { (void)size; }

    // The size of the picture area thumbnails are fitted into when no thumbnail size is set.
    virtual PictureAreaSize PictureArea() { return {}; }
    // A thumbnail has just been made at `thumbnailPath` (a local file) from the picture at
    // `picturePath` (model bytes): the window shows its picture area with that file in place
    // of its path field until the next ShowFolderPath.
    virtual void ShowPicture(std::string_view picturePath, const std::filesystem::path& thumbnailPath) {
        (void)picturePath;
        (void)thumbnailPath;
    }
};

}  // namespace pelko::scan
