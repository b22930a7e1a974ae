#pragma once
// A PDF file written as it grows: objects go straight to disk, and every commit appends a
// cross-reference section and a trailer (each later one pointing back with /Prev), so the
// file on disk is a complete PDF after every commit. Only the object offsets stay in memory.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vestrel::pdf {

class PdfFile {
public:
    PdfFile() = default;
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;
    ~PdfFile();

    // Creates (truncates) the file and writes the header; false when it cannot be created.
    bool create(const std::filesystem::path& path);
    bool isOpen() const { return file_ != nullptr; }
    // False once any write has failed (disk full, ...); the file is then incomplete.
    bool good() const { return good_; }

    // A new object number; the object itself is written later with writeObject.
    int reserve();
    // Writes object `number` (a new one, or a new version of an older one) with `body`
    // between "obj" and "endobj".
    void writeObject(int number, std::string_view body);
    // Writes object `number` as a stream: `dictionary` holds the entries other than /Length.
    void writeStream(int number, std::string_view dictionary, const std::uint8_t* data,
                     std::size_t size);
    // Copies `size` bytes of an open file into a stream object without holding them.
    bool writeStreamFromFile(int number, std::string_view dictionary, std::FILE* source,
                             std::uint64_t size);

    // Appends the cross-reference section of every object written since the last commit,
    // and the trailer; flushes. `trailerExtra` holds /Root, /Info ...
    bool commit(std::string_view trailerExtra);
    // Closes the file (after a last commit by the caller).
    bool close();

private:
    void put(std::string_view text);
    void put(const std::uint8_t* data, std::size_t size);
    void beginObject(int number);

    std::FILE* file_ = nullptr;
    bool good_ = true;
    std::uint64_t offset_ = 0;
    std::vector<std::uint64_t> offsets_{0};  // by object number; 0 = free
    std::vector<int> pending_;               // objects written since the last commit
    std::int64_t lastXref_ = -1;
};

// A number as PDF content writes it: at most four decimals, no trailing zeros.
std::string pdfNumber(double value);
// A PDF string: plain ASCII as a literal, anything else as UTF-16BE hex with the byte mark.
std::string pdfTextString(std::string_view utf8);

}  // namespace vestrel::pdf
