#pragma once
// A Motion-JPEG AVI file written frame by frame, with the OpenDML extension so that a
// recording may grow past the 1 GB a plain AVI allows: the first RIFF 'AVI ' and then as
// many RIFF 'AVIX' parts as needed, each with its own chunk index, found through a super
// index in the stream header; the first part also carries the old 'idx1' index.
//
// After every frame the sizes and frame counts in the headers are brought up to date in
// place, so the file on disk always describes the frames written completely so far: a
// program that is killed leaves a file that plays up to its last whole frame (without an
// index for its last part; players then read the chunks in order).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::recording {

struct AviFormat {
    int width = 0;
    int height = 0;
    double framesPerSecond = 15.0;  // until the measured rate replaces it
    // A part is closed and the next one begun before it would grow past this many bytes.
    // 1 GB as OpenDML readers expect; tests make it small.
    std::uint64_t partLimit = std::uint64_t(1) << 30;
    bool replaceExisting = true;  // false: a file already at the path is an error
};

class AviFile {
public:
    AviFile() = default;
    ~AviFile();
    AviFile(const AviFile&) = delete;
    AviFile& operator=(const AviFile&) = delete;

    // Creates (or replaces) `path` and writes its headers. False, with lastError(), when
    // the file cannot be created or written.
    bool open(const std::filesystem::path& path, const AviFormat& format);
    bool isOpen() const { return fd_ >= 0; }

    // Appends one JPEG picture as the next frame and updates the headers. False when the
    // write fails; the file then still describes every frame before this one.
    bool writeFrame(const std::vector<std::uint8_t>& jpeg);

    // The frame rate written into the headers (from the next update on).
    void setFramesPerSecond(double fps);

    // Writes the indexes and the final headers and closes the file. False when that could
    // not be written; the frames already written stay readable.
    bool close();

    std::uint64_t frames() const { return totalFrames_; }
    std::uint64_t fileSize() const { return fileEnd_; }
    int parts() const { return int(parts_.size()); }
    const std::string& lastError() const { return error_; }

private:
    struct IndexEntry {
        std::uint64_t offset;  // of the chunk's data, from the start of the file
        std::uint32_t size;    // of the data
    };
    struct Part {
        std::uint64_t riffOffset = 0;  // of the RIFF header
        std::uint64_t moviOffset = 0;  // of the 'movi' list header
        std::uint64_t indexOffset = 0; // of its 'ix00' chunk, once written
        std::uint32_t indexBytes = 0;
        std::vector<IndexEntry> entries;
    };

    bool writeHeaders();
    bool beginPart();
    bool endPart();
    bool updateHeaders();        // the stream's figures and the open part's sizes
    bool updateStreamHeaders();
    bool writeAt(std::uint64_t offset, const void* data, std::size_t size);
    bool append(const void* data, std::size_t size);
    bool put32At(std::uint64_t offset, std::uint32_t value);
    bool fail(const std::string& what);

    int fd_ = -1;
    AviFormat format_;
    std::string error_;
    std::uint64_t fileEnd_ = 0;
    std::uint64_t totalFrames_ = 0;
    std::uint32_t largestFrame_ = 0;
    std::vector<Part> parts_;
    // Where the header fields that change live.
    std::uint64_t avihOffset_ = 0;
    std::uint64_t strhOffset_ = 0;
    std::uint64_t superIndexOffset_ = 0;
    std::uint64_t dmlhOffset_ = 0;
};

// The header layout's fixed numbers, for the tests that read a file back.
inline constexpr int kSuperIndexEntries = 256;  // 256 parts of 1 GB

}  // namespace vestrel::recording
